#pragma once

#include <windows.h>
// windows.h first: the other system headers rely on its types.
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <atomic>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/product_config.h"
#include "controls/png_button.h"
#include "framework/dialog.h"
#include "framework/list_view.h"
#include "log/log_events.h"
#include "platform/handles_win.h"
#include "platform/path.h"
#include "tasks/run_decisions.h"
#include "tasks/running_installer.h"
#include "window/control_table.h"
#include "window/skin_images.h"

// A label of the main window; plain static control.
using CStatic = framework::Control;
using CListCtrl = framework::ListView;

// The one window of the launcher: a borderless modal dialog (template 102) whose screens are
// pages of its child controls, shown and hidden together. Which controls it has, where they
// stand, what they show and on which pages is one table (ControlTable).
class COrvaneDlg : public framework::Dialog {
public:
    // `skin` has started loading the skin images (SkinImages::StartLoading) and outlives the window.
    COrvaneDlg(HWND parent, SkinImages& skin) noexcept;
    ~COrvaneDlg() override;

    using framework::Dialog::DoModal;

    // One row per control of the template that has a member, in the order of the layout:
    // binding, placement, fonts and texts, button images, colours and pages all walk it.
    static std::span<const ControlRow> ControlTable() noexcept;

    // The dpi the window lays itself out at (96 is 100 %): its monitor's, fitted to the work area.
    int DisplayDpi() const noexcept { return m_dpi; }

    // The system's answers at the end of a run (platform/system_services.h); none uses the window.
    static bool IsRunningUnderWow64() noexcept;
    static bool IsWindows7() noexcept;
    static bool RestartSystem() noexcept;

    // The run's threads hand their writes to the window to the user-interface thread with this
    // message; it is sent, so the writes are carried out in the order they were made.
    static constexpr UINT kRunUpdateMessage = WM_APP + 1;
    // The skin's worker posts this when it has loaded everything after the window asked for it.
    static constexpr UINT kSkinLoadedMessage = WM_APP + 2;

protected:
    void DoDataExchange() noexcept override;
    BOOL OnInitDialog() noexcept override;
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
    // Enter never ends the dialog; Esc (and WM_CLOSE through IDCANCEL) does, but not during a run.
    void OnOK() noexcept override;
    void OnCancel() noexcept override;
    // Whether Windows' high-contrast mode is on. Wine always says no: a test forces it here.
    virtual bool IsHighContrast() const noexcept;

private:
    class RunHost;

    // What each of the run's threads is given as its parameter.
    struct ProgressDotsJob {
        HWND window;             // takes the animation steps
        const wchar_t* heading;  // the text the dots are appended to
        HANDLE stop;             // set when the run has ended
    };
    struct WorkerJob {
        const ConfigItemList* installs;
        InstallRunHost* host;
    };
    struct CountdownJob {
        HWND window;  // shows the restart page and the seconds
        SystemServices* system;
    };

    // Pages: every control of the page shown (SW_SHOW) or hidden (SW_HIDE); nothing else changes.
    void ShowMenuPage(bool show) noexcept;
    void ShowDefaultInstallPage(bool show) noexcept;
    void ShowCustomInstallPage(bool show) noexcept;
    void ShowProgressPage(bool show) noexcept;
    void ShowManualsPage(bool show) noexcept;
    void ShowFinishPage(bool show) noexcept;
    void ShowRestartPage(bool show) noexcept;
    void ShowPage(Page page, bool show) noexcept;
    // Shows the controls of `pages` (and `alsoShown`) and hides every other control of the table.
    void ShowExactly(Page pages, const framework::Control* alsoShown = nullptr) noexcept;

    // The table's row of a control member.
    const ControlFacts& FactsOf(const framework::Control& control) noexcept;

    // Keyboard cues: which of them (UISF_HIDEFOCUS, UISF_HIDEACCEL) still wait for the keyboard.
    void StartKeyboardRecord() noexcept;
    static LRESULT CALLBACK KeyboardFilter(int code, WPARAM wParam, LPARAM lParam) noexcept;
    void OnDialogKey(const MSG& message) noexcept;
    void ShowKeyboardCues(UINT flags) noexcept;
    // The system's colours instead of the skin while high contrast is on; the buttons follow.
    void ApplySystemColours() noexcept;

    // Layout, done by OnInitDialog at the window's dpi, and again (all but the texts and the
    // lists' styles) when Windows says the window moved to a monitor of another scale.
    void AdoptMonitorDpi() noexcept;
    void OnDpiChanged(int dpi, const RECT& suggested) noexcept;
    void PlaceControls() noexcept;
    void MakeBackgroundBrush() noexcept;
    void ApplyFonts(bool withTexts) noexcept;
    void SetButtonImages() noexcept;
    void FillImageList() noexcept;
    void PrepareLists() noexcept;
    // The skin's hover and pressed images and the list icons, when they were not ready for the
    // first paint; the icons are also taken, waiting for them, before a list gets its first row.
    void OnSkinLoaded() noexcept;
    void EnsureListIcons() noexcept;
    void AttachListIcons() noexcept;
    void SetListLayout() noexcept;
    // A list's columns as the control table gives them, at the window's dpi: for the list as it
    // starts, or as a run leaves it (duringRun).
    void InsertTableColumn(const CListCtrl& list, int index, bool duringRun) noexcept;
    void SetColumnWidths(const CListCtrl& list, bool duringRun) noexcept;
    HFONT FontOf(FontRole role) const noexcept;

    // Item lists.
    void FillInstallList(bool editable) noexcept;
    void AddListItem(CListCtrl& list, const ConfigItem& item) noexcept;
    void EnableInstallButton(bool enable) noexcept;

    // Launch target resolution: true when `path` holds the full path of an existing entry;
    // otherwise the failure message, owned by this window, has been shown and closed.
    bool ResolveLaunchTarget(const ConfigItem& item, platform::Path& path) noexcept;
    // Hands an item's resolved file to the shell (see platform::ShellExecuteFile; `record` then
    // holds the process, if any); a path too long for the shell is said in a message owned by
    // this window, naming the file. True when the shell started it.
    bool HandToShell(SHELLEXECUTEINFOW& record, const ConfigItem& item, const platform::Path& path,
                     bool inItsFolder) noexcept;

    // Manuals.
    bool OpenManual(const ConfigItem& item) noexcept;

    // Installation run.
    static DWORD WINAPI ProgressDotsThread(LPVOID job) noexcept;      // a ProgressDotsJob
    static DWORD WINAPI RunCheckedInstallers(LPVOID job) noexcept;    // a WorkerJob
    static DWORD WINAPI RestartCountdownThread(LPVOID job) noexcept;  // a CountdownJob
    void StartProgressDots() noexcept;
    bool RunInstaller(const ConfigItem& item) noexcept;
    void SetRunningRowStatus(const wchar_t* text) noexcept;
    void WaitPumping(HANDLE thread) noexcept;
    void PumpOneMessage() noexcept;
    void OnRunUpdate(WPARAM kind, LPARAM data) noexcept;

    // Handlers of the message map.
    bool OnSysCommand(UINT id, LPARAM lParam) noexcept;  // false: default processing
    void OnPaint() noexcept;
    HICON OnQueryDragIcon() noexcept;
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) noexcept;
    LRESULT OnNcHitTest(POINT screenPoint) noexcept;
    bool OnDrawItem(int id, const DRAWITEMSTRUCT& request) noexcept;  // false: default processing
    std::optional<LRESULT> OnEraseBkgnd(HDC dc) noexcept;             // nothing: default processing

    void OnDefaultInstall() noexcept;
    void OnBack() noexcept;
    void OnExitRequest() noexcept;
    void OnInstall() noexcept;
    void OnCustomInstall() noexcept;
    void OnManuals() noexcept;
    void OnSelectNone() noexcept;
    void OnSelectAll() noexcept;
    void OnFinish() noexcept;
    std::optional<LRESULT> OnCommand(WPARAM wParam) noexcept;

    // List notifications; `result` starts at 0 and is the notification's result.
    void OnManualListDblClk(NMHDR* header, LRESULT* result) noexcept;
    void OnInstallListDblClk(NMHDR* header, LRESULT* result) noexcept;
    void OnInstallListItemChanged(NMHDR* header, LRESULT* result) noexcept;
    void OnInstallListCustomDraw(NMHDR* header, LRESULT* result) noexcept;
    std::optional<LRESULT> OnNotify(NMHDR* header) noexcept;

    static const ControlRow kControls[];

    bool m_bListEditable = false;
    platform::UniqueIcon m_hIcon;
    platform::UniqueFont m_fontTitle;
    platform::UniqueFont m_font16;
    platform::UniqueFont m_font14;
    platform::UniqueFont m_font10;
    platform::UniqueFont m_font30;
    CPngButton m_btnCustomInstall;
    CPngButton m_btnExit;
    CPngButton m_btnDefaultInstall;
    CPngButton m_btnManuals;
    CStatic m_stCustomInstallInfo;
    CStatic m_stTitle;
    CStatic m_stSubtitle;
    CStatic m_stDefaultInstallInfo;
    CStatic m_stDefaultInstallInfo2;
    CStatic m_stManualsInfo;
    CStatic m_picLogo;
    platform::UniqueBrush m_brBackground;
    // Written by the user-interface thread only; read by the dialog's own handlers.
    std::atomic<bool> m_bRunning = false;
    platform::UniqueKernelHandle m_hRunThread;
    platform::UniqueKernelHandle m_hRestartThread;
    // The launch record of the worker; the process it gives is handed to m_runningInstaller.
    SHELLEXECUTEINFOW m_execInfo{};
    RunningInstaller m_runningInstaller;
    platform::UniqueImageList m_imageList;
    CPngButton m_btnBack;
    CPngButton m_btnCancel;
    CPngButton m_btnInstall;
    CStatic m_stDefaultPageText1;
    CStatic m_stDefaultPageText2;
    CStatic m_stDefaultPageTitle;
    CPngButton m_btnSelectNone;
    CPngButton m_btnSelectAll;
    CStatic m_stCustomPageText1;
    CStatic m_stCustomPageTitle;
    CStatic m_stCustomPageText2;
    // Written by the worker, read by the user-interface thread: atomic, no lock.
    std::atomic<int> m_nRunningIndex = -1;
    CListCtrl m_listInstalls;
    CListCtrl m_listManuals;
    CStatic m_stManualsPageTitle;
    CStatic m_stManualsPageText1;
    CStatic m_stManualsPageText2;
    CStatic m_stProgressText;
    CStatic m_stProgressTitle;
    CStatic m_stFinishTitle;
    CStatic m_stFinishText;
    CPngButton m_btnFinish;
    std::array<CStatic, 5> m_stProgressDots;
    CStatic m_stRestartText;
    CStatic m_stRestartSeconds;
    CStatic m_stRestartLead;

    // The progress-dots thread is never waited for during the run; it is told to stop when the
    // run ends and waited for when the window object goes, since its job lives here.
    ProgressDotsJob m_dotsJob{};
    platform::UniqueKernelHandle m_runEnded;  // manual-reset event: ProgressDotsJob::stop
    platform::UniqueKernelHandle m_hDotsThread;

    // Why the dialog ends when IDCANCEL comes next: Esc, unless WM_CLOSE (or the finish button
    // through it) came first. For the log; user-interface thread only.
    LeaveReason m_leaveReason = LeaveReason::Escape;

    // The skin images and list icons, decoded once while start-up goes on.
    SkinImages& m_skin;
    // The controls stacked above m_listInstalls, nearest first; found at its first paint.
    std::vector<HWND> m_siblingsAboveInstallList;

    // The window's own record of keyboard use: Wine never tells a window (no WM_UPDATEUISTATE,
    // no ODS_NOFOCUSRECT), so the keys are watched in the dialog's message loops.
    UINT m_uiHidden = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    platform::UniqueHook m_keyboardHook;
    bool m_bHighContrast = false;
    int m_dpi = kBaseDpi;
};

// The dpi the main window will start at, for loading the skin before the window exists: the
// screen's, fitted to the monitor where the window appears. The window checks it (AdoptMonitorDpi).
int StartingDpi() noexcept;

// The one main window; null until its OnInitDialog publishes it, null again once it is gone.
extern COrvaneDlg* g_pMainDlg;

// The About box (template 100): no members, default handling only.
class CAboutDlg : public framework::Dialog {
public:
    explicit CAboutDlg(HWND parent) noexcept;
};
