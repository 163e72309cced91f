#include "window/orvane_dlg.h"

#include <windowsx.h>

#include "config/prefixes.h"
#include "config/process_objects.h"
#include "framework/phase_trace.h"
#include "resource.h"

COrvaneDlg* g_pMainDlg = nullptr;

COrvaneDlg::COrvaneDlg(HWND parent, SkinImages& skin) noexcept
    : framework::Dialog(IDD_ORVANE_DIALOG, parent), m_skin(skin) {
    // An owned copy at the standard icon size (not the shared one), so the member may destroy it.
    m_hIcon.Reset(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
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
    for (const ControlRow& row : ControlTable()) Bind(row.member.control(*this), row.facts.id);
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
        case WM_COMMAND:
            if (auto result = OnCommand(wParam)) return result;
            break;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case kRunUpdateMessage:
            OnRunUpdate(wParam, lParam);
            return 0;
        case kSkinLoadedMessage:
            OnSkinLoaded();
            return 0;
        case WM_SHOWWINDOW:
            if (wParam) framework::MarkPhase("window shown");
            break;
        case WM_CLOSE:
            // It ends the dialog through IDCANCEL, as Esc does; the log tells the two apart.
            if (m_leaveReason == LeaveReason::Escape) m_leaveReason = LeaveReason::WindowClosed;
            break;
        case WM_QUERYENDSESSION:
            LogSessionEnding(g_runLog);
            break;
        case WM_ENDSESSION:
            // The system may end the process any time after this.
            if (wParam) {
                LogLeave(g_runLog, LeaveReason::ClosedBySystem);
                LogEnd(g_runLog, 0);
            }
            break;
        case WM_UPDATEUISTATE:
            // Windows' own record of keyboard use (a keyboard start, for one); Wine sends none.
            if (LOWORD(wParam) == UIS_CLEAR) ShowKeyboardCues(HIWORD(wParam) & (UISF_HIDEFOCUS | UISF_HIDEACCEL));
            break;
        case WM_SYSCOLORCHANGE:
            // Top-level windows get it; common controls only when their parent passes it on.
            SendMessageW(m_listInstalls.Handle(), message, wParam, lParam);
            SendMessageW(m_listManuals.Handle(), message, wParam, lParam);
            ApplySystemColours();
            break;
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SETTINGCHANGE:
            if (IsHighContrast() != m_bHighContrast) ApplySystemColours();
            break;
        default:
            // Default processing only: WM_DESTROY, WM_SIZE, WM_TIMER, and the image buttons'
            // WM_PNGBUTTON_STATE, which this window does not use.
            break;
    }
    return framework::Dialog::HandleMessage(message, wParam, lParam);
}

std::optional<LRESULT> COrvaneDlg::OnCommand(WPARAM wParam) noexcept {
    if (HIWORD(wParam) != BN_CLICKED) return std::nullopt;
    framework::MarkPhase("click", LOWORD(wParam));
    for (const ControlRow& row : ControlTable()) {
        if (row.facts.id != LOWORD(wParam) || !row.onClick) continue;
        // The caption as the button draws it.
        UiTextSlot caption{};
        if (row.facts.caption.slot) caption = g_uiTextTable[static_cast<std::size_t>(*row.facts.caption.slot)];
        LogButton(g_runLog, row.facts.id, RemovePrefixes(caption.text));
        (this->*row.onClick)();
        return 0;
    }
    return std::nullopt;
}

std::optional<LRESULT> COrvaneDlg::OnNotify(NMHDR* header) noexcept {
    if (!header) return std::nullopt;
    const bool fromManuals = header->hwndFrom == m_listManuals.Handle();
    const bool fromInstalls = header->hwndFrom == m_listInstalls.Handle();
    LRESULT result = 0;
    if (fromManuals && header->code == NM_DBLCLK) {
        OnManualListDblClk(header, &result);
    } else if (fromInstalls && header->code == NM_DBLCLK) {
        OnInstallListDblClk(header, &result);
    } else if (fromInstalls && header->code == LVN_ITEMCHANGED) {
        OnInstallListItemChanged(header, &result);
    } else if (fromInstalls && header->code == NM_CUSTOMDRAW) {
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

CAboutDlg::CAboutDlg(HWND parent) noexcept : framework::Dialog(IDD_ABOUTBOX, parent) {}
