#include "window/orvane_dlg.h"

#include <windowsx.h>

#include "resource.h"

COrvaneDlg* g_pMainDlg = nullptr;

COrvaneDlg::COrvaneDlg(HWND parent) noexcept : framework::Dialog(IDD_ORVANE_DIALOG, parent) {
    // An owned copy at the standard icon size (not the shared one), so the member may destroy it.
    m_hIcon.Reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    m_bRunning = false;
    m_bListEditable = false;
    m_nRunningIndex = -1;
}

COrvaneDlg::~COrvaneDlg() {
    // The dots thread's job lives in this object: the thread is told to stop and waited for.
    if (m_hDotsThread) {
        SetEvent(m_runEnded.Get());
        WaitForSingleObject(m_hDotsThread.Get(), INFINITE);
    }
    if (g_pMainDlg == this) g_pMainDlg = nullptr;
}

void COrvaneDlg::DoDataExchange() noexcept {
    Bind(m_btnCustomInstall, IDC_BTN_CUSTOM_INSTALL);
    Bind(m_btnExit, IDC_BTN_EXIT);
    Bind(m_btnDefaultInstall, IDC_BTN_DEFAULT_INSTALL);
    Bind(m_btnManuals, IDC_BTN_MANUALS);
    Bind(m_stCustomInstallInfo, IDC_ST_CUSTOM_INSTALL_INFO);
    Bind(m_stTitle, IDC_ST_TITLE);
    Bind(m_stSubtitle, IDC_ST_SUBTITLE);
    Bind(m_stDefaultInstallInfo, IDC_ST_DEFAULT_INSTALL_INFO);
    Bind(m_stDefaultInstallInfo2, IDC_ST_DEFAULT_INSTALL_INFO2);
    Bind(m_stManualsInfo, IDC_ST_MANUALS_INFO);
    Bind(m_picLogo, IDC_PIC_LOGO);
    Bind(m_btnBack, IDC_BTN_BACK);
    Bind(m_btnCancel, IDC_BTN_CANCEL);
    Bind(m_btnInstall, IDC_BTN_INSTALL);
    Bind(m_stDefaultPageText1, IDC_ST_DEFAULT_PAGE_TEXT1);
    Bind(m_stDefaultPageText2, IDC_ST_DEFAULT_PAGE_TEXT2);
    Bind(m_stDefaultPageTitle, IDC_ST_DEFAULT_PAGE_TITLE);
    Bind(m_btnSelectNone, IDC_BTN_SELECT_NONE);
    Bind(m_btnSelectAll, IDC_BTN_SELECT_ALL);
    Bind(m_stCustomPageText1, IDC_ST_CUSTOM_PAGE_TEXT1);
    Bind(m_stCustomPageTitle, IDC_ST_CUSTOM_PAGE_TITLE);
    Bind(m_stCustomPageText2, IDC_ST_CUSTOM_PAGE_TEXT2);
    Bind(m_listManuals, IDC_LIST_MANUALS);
    Bind(m_listInstalls, IDC_LIST_INSTALLS);
    Bind(m_stManualsPageTitle, IDC_ST_MANUALS_PAGE_TITLE);
    Bind(m_stManualsPageText1, IDC_ST_MANUALS_PAGE_TEXT1);
    Bind(m_stManualsPageText2, IDC_ST_MANUALS_PAGE_TEXT2);
    Bind(m_stProgressText, IDC_ST_PROGRESS_TEXT);
    Bind(m_stProgressTitle, IDC_ST_PROGRESS_TITLE);
    Bind(m_stFinishTitle, IDC_ST_FINISH_TITLE);
    Bind(m_stFinishText, IDC_ST_FINISH_TEXT);
    Bind(m_btnFinish, IDC_BTN_FINISH);
    for (int i = 0; i < static_cast<int>(m_stProgressDots.size()); ++i) {
        Bind(m_stProgressDots[static_cast<size_t>(i)], IDC_ST_PROGRESS_DOT1 + i);
    }
    Bind(m_stRestartText, IDC_ST_RESTART_TEXT);
    Bind(m_stRestartSeconds, IDC_ST_RESTART_SECONDS);
    Bind(m_stRestartLead, IDC_ST_RESTART_LEAD);
}

std::optional<LRESULT> COrvaneDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (framework::IsCtlColorMessage(message)) {
        const HBRUSH brush =
            OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message - WM_CTLCOLORMSGBOX);
        if (!brush) return std::nullopt;  // the platform's default colours
        return reinterpret_cast<LRESULT>(brush);
    }
    switch (message) {
        case WM_SYSCOMMAND:
            if (OnSysCommand(static_cast<UINT>(wParam), lParam)) return 0;
            return std::nullopt;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(OnQueryDragIcon());
        case WM_NCHITTEST:
            return OnNcHitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        case WM_DRAWITEM:
            if (OnDrawItem(static_cast<int>(wParam), *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            return std::nullopt;
        case WM_ERASEBKGND:
            return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
        case WM_CLOSE:
            OnClose();
            return std::nullopt;  // the dialog default: IDCANCEL, which ends the dialog
        case WM_DESTROY:
            OnDestroy();
            return std::nullopt;
        case WM_COMMAND:
            if (auto result = OnCommand(wParam, lParam)) return result;
            break;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case kRunUpdateMessage:
            OnRunUpdate(wParam, lParam);
            return 0;
        default:  // WM_SIZE and WM_TIMER among them: default processing only
            break;
    }
    return framework::Dialog::HandleMessage(message, wParam, lParam);
}

std::optional<LRESULT> COrvaneDlg::OnCommand(WPARAM wParam, LPARAM) noexcept {
    if (HIWORD(wParam) != BN_CLICKED) return std::nullopt;
    switch (LOWORD(wParam)) {
        case IDC_BTN_DEFAULT_INSTALL:
            OnDefaultInstall();
            break;
        case IDC_BTN_BACK:
            OnBack();
            break;
        case IDC_BTN_CANCEL:
        case IDC_BTN_EXIT:
            OnExitRequest();
            break;
        case IDC_BTN_INSTALL:
            OnInstall();
            break;
        case IDC_BTN_CUSTOM_INSTALL:
            OnCustomInstall();
            break;
        case IDC_BTN_MANUALS:
            OnManuals();
            break;
        case IDC_BTN_SELECT_NONE:
            OnSelectNone();
            break;
        case IDC_BTN_SELECT_ALL:
            OnSelectAll();
            break;
        case IDC_BTN_FINISH:
            OnFinish();
            break;
        default:
            return std::nullopt;
    }
    return 0;
}

std::optional<LRESULT> COrvaneDlg::OnNotify(NMHDR* header) noexcept {
    if (!header) return std::nullopt;
    LRESULT result = 0;
    if (header->idFrom == IDC_LIST_MANUALS && header->code == NM_DBLCLK) {
        OnManualListDblClk(header, &result);
    } else if (header->idFrom == IDC_LIST_INSTALLS && header->code == NM_DBLCLK) {
        OnInstallListDblClk(header, &result);
    } else if (header->idFrom == IDC_LIST_INSTALLS && header->code == LVN_ITEMCHANGED) {
        OnInstallListItemChanged(header, &result);
    } else if (header->idFrom == IDC_LIST_INSTALLS && header->code == NM_CUSTOMDRAW) {
        OnInstallListCustomDraw(header, &result);
    } else {
        return std::nullopt;
    }
    return result;
}

bool COrvaneDlg::OnSysCommand(UINT id, LPARAM) noexcept {
    // No menu entry sends 0x0010: only a system command sent from outside opens the About box.
    if ((id & 0xFFF0) != 0x0010) return false;
    CAboutDlg about(Handle());
    about.DoModal();
    return true;
}

HICON COrvaneDlg::OnQueryDragIcon() noexcept { return m_hIcon.Get(); }

void COrvaneDlg::OnClose() noexcept {}

void COrvaneDlg::OnDestroy() noexcept {}

CAboutDlg::CAboutDlg(HWND parent) noexcept : framework::Dialog(IDD_ABOUTBOX, parent) {}
