// The installation run: the install button's handler, its waiting loop and the three threads
// (progress dots, installation worker, restart countdown). Each thread is given what it uses as
// its parameter.
//
// The run's threads never touch a control themselves: every write goes to the user-interface
// thread as a sent kRunUpdateMessage and is carried out there, in the order the writes were
// sent. The worker clears m_nRunningIndex before it sends a row's result, and an animation step
// writes the row that is running when the step is carried out, so a late step can never replace
// a result.
#include <windows.h>
// windows.h first: the other system headers rely on its types.
#include <shellapi.h>

#include <string>
#include <utility>

#include "config/process_objects.h"
#include "tasks/dot_labels.h"
#include "tasks/exit_codes.h"
#include "tasks/run_decisions.h"
#include "window/dialog_services.h"
#include "window/orvane_dlg.h"

namespace {

constexpr int kStatusColumn = 1;
constexpr DWORD kStepMs = 1000;

// What a kRunUpdateMessage asks for (its wParam).
enum class RunUpdate : WPARAM {
    RowStatus,        // lParam: RowText; the worker's write, always carried out
    StatusColumn,     // lParam unused: the run's layout of the installer list
    AnimationStep,    // lParam: the heading's text
    ShowRestartPage,  // lParam unused
    CountdownSecond,  // lParam: the number to show
};

struct RowText {
    int row;
    const wchar_t* text;
};

// Sent, not posted: the sender waits until the user-interface thread has carried it out, which
// is what orders the writes of the worker and the animation.
void SendRunUpdate(HWND window, RunUpdate kind, LPARAM data) noexcept {
    SendMessageW(window, COrvaneDlg::kRunUpdateMessage, static_cast<WPARAM>(kind), data);
}

// Redraws one control's rectangle of the main window at once, background included.
void RedrawControl(HWND dialog, const framework::Control& control) noexcept {
    RECT rect{};
    GetWindowRect(control.Handle(), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    InvalidateRect(dialog, &rect, TRUE);
    UpdateWindow(dialog);
}

}  // namespace

// The window as the worker sees it. Column queries go straight to the list (the system sends them
// to the user-interface thread).
class COrvaneDlg::RunHost final : public InstallRunHost {
public:
    explicit RunHost(COrvaneDlg& dialog) noexcept : dialog_(dialog) {}

    int ListColumnCount() override { return dialog_.m_listInstalls.GetColumnCount(); }
    // On the user-interface thread, which knows the window's scale.
    void AddStatusColumn() override { SendRunUpdate(dialog_.Handle(), RunUpdate::StatusColumn, 0); }
    bool IsListEnabled() override { return dialog_.m_listInstalls.IsEnabled(); }
    void SetRowStatus(int row, RowStatus status) override {
        RowText rowText{row, UiText(g_uiTextTable, StatusTextSlot(status))};
        SendRunUpdate(dialog_.Handle(), RunUpdate::RowStatus, reinterpret_cast<LPARAM>(&rowText));
    }
    void SetRunningIndex(int row) override { dialog_.m_nRunningIndex = row; }
    bool RunInstaller(const ConfigItem& item) override { return dialog_.RunInstaller(item); }

private:
    COrvaneDlg& dialog_;
};

void COrvaneDlg::OnInstall() noexcept {
    m_bRunning = true;
    StartProgressDots();
    // The progress page with the cancel button; the installer list keeps its enabled state, so on
    // the custom page the user can still change rows the worker has not come to.
    ShowExactly(Page::Progress, &m_btnCancel);

    RunHost host(*this);
    WorkerJob worker{&g_productConfig.installs, &host};
    m_hRunThread.Reset(CreateThread(nullptr, 0, RunCheckedInstallers, &worker, 0, nullptr));
    if (m_hRunThread) WaitPumping(m_hRunThread.Get());
    m_bRunning = false;
    if (m_runEnded) SetEvent(m_runEnded.Get());

    ShowExactly(Page::Finish);

    DialogSystemServices system;
    LogRestartDecision(g_runLog, CountdownRuns(system));
    if (!ShouldStartCountdown(system)) return;
    CountdownJob countdown{Handle(), &system};
    m_hRestartThread.Reset(CreateThread(nullptr, 0, RestartCountdownThread, &countdown, 0, nullptr));
    if (m_hRestartThread) WaitPumping(m_hRestartThread.Get());
}

void COrvaneDlg::StartProgressDots() noexcept {
    // One event for every run: reset here, set when the run ends.
    if (!m_runEnded) m_runEnded.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!m_runEnded) return;  // no way to stop it: the heading stays as it is
    ResetEvent(m_runEnded.Get());
    m_dotsJob = ProgressDotsJob{Handle(), UiText(g_uiTextTable, UiSlot::ProgressHeading), m_runEnded.Get()};
    m_hDotsThread.Reset(CreateThread(nullptr, 0, ProgressDotsThread, &m_dotsJob, 0, nullptr));
}

void COrvaneDlg::WaitPumping(HANDLE thread) noexcept {
    PumpOneMessage();
    for (;;) {
        // MWMO_INPUTAVAILABLE: without it the wait sleeps through input that was already queued
        // when the last message was taken (the button-up of a click whose button-down was just
        // handled) until something new arrives, which can be the animation's next step a second
        // later. With it the wait returns while anything is still queued.
        const DWORD result = MsgWaitForMultipleObjectsEx(1, &thread, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0 || result == WAIT_FAILED) return;
        PumpOneMessage();
    }
}

void COrvaneDlg::PumpOneMessage() noexcept {
    MSG message{};
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return;
    // The dialog's keys during a run too: Tab reaches the cancel button and Enter presses it.
    if (IsDialogMessageW(Handle(), &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

DWORD WINAPI COrvaneDlg::RunCheckedInstallers(LPVOID param) noexcept {
    const auto& job = *static_cast<const WorkerJob*>(param);
    RunTickedInstallers(*job.installs, *job.host);
    return 0;
}

bool COrvaneDlg::RunInstaller(const ConfigItem& item) noexcept {
    const auto row = static_cast<std::size_t>(m_nRunningIndex.load());
    platform::Path path;
    if (!ResolveLaunchTarget(item, path)) {
        LogInstallerFailed(g_runLog, row, "its rule matched nothing");
        return false;
    }
    // Started in its own folder, by its name.
    const bool started = HandToShell(m_execInfo, item, path, true);
    const HANDLE process = std::exchange(m_execInfo.hProcess, nullptr);
    if (process == nullptr) {
        LogInstallerFailed(g_runLog, row,
                           started ? "the shell gave no process to wait for" : "the shell did not start it");
        return false;
    }
    m_runningInstaller.Publish(process);
    WaitForSingleObject(process, INFINITE);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process, &exitCode);
    // The exit question may have taken the handle meanwhile: it then ends the installer and the
    // launcher, and says so in the log.
    if (!m_runningInstaller.Take()) return false;
    CloseHandle(process);
    LogInstallerEnded(g_runLog, row, exitCode);
    return IsSuccessfulExitCode(exitCode);
}

void COrvaneDlg::SetRunningRowStatus(const wchar_t* text) noexcept {
    const int row = m_nRunningIndex;
    if (row >= 0) m_listInstalls.SetItemText(row, kStatusColumn, text);
}

DWORD WINAPI COrvaneDlg::ProgressDotsThread(LPVOID param) noexcept {
    const auto& job = *static_cast<const ProgressDotsJob*>(param);
    wchar_t heading[kDotLabelCapacity];
    // One to five dots, one step a second, the first at once, until the run has ended.
    for (int dots = 1; WaitForSingleObject(job.stop, 0) == WAIT_TIMEOUT; dots = dots % kMaxProgressDots + 1) {
        BuildDotLabel(job.heading, dots, heading);
        SendRunUpdate(job.window, RunUpdate::AnimationStep, reinterpret_cast<LPARAM>(heading));
        if (WaitForSingleObject(job.stop, kStepMs) != WAIT_TIMEOUT) break;
    }
    return 0;
}

DWORD WINAPI COrvaneDlg::RestartCountdownThread(LPVOID param) noexcept {
    const auto& job = *static_cast<const CountdownJob*>(param);
    if (!CountdownRuns(*job.system)) return 0;
    SendRunUpdate(job.window, RunUpdate::ShowRestartPage, 0);
    for (int second = kCountdownFirst; second >= kCountdownLast; --second) {
        Sleep(kStepMs);
        SendRunUpdate(job.window, RunUpdate::CountdownSecond, second);
    }
    job.system->RestartSystem();
    return 0;
}

void COrvaneDlg::OnRunUpdate(WPARAM kind, LPARAM data) noexcept {
    switch (static_cast<RunUpdate>(kind)) {
        case RunUpdate::RowStatus: {
            const auto* rowText = reinterpret_cast<const RowText*>(data);
            m_listInstalls.SetItemText(rowText->row, kStatusColumn, rowText->text);
            break;
        }
        case RunUpdate::StatusColumn:
            // The control table's layout for a run: the name column narrowed, the status beside it.
            SetColumnWidths(m_listInstalls, true);
            InsertTableColumn(m_listInstalls, kStatusColumn, true);
            break;
        case RunUpdate::AnimationStep: {
            // A step that was on its way when the run ended changes nothing any more.
            if (!m_bRunning) break;
            const auto* text = reinterpret_cast<const wchar_t*>(data);
            SetRunningRowStatus(text);
            m_stProgressTitle.SetText(text);
            RedrawControl(Handle(), m_stProgressTitle);
            break;
        }
        case RunUpdate::ShowRestartPage:
            ShowRestartPage(true);
            break;
        case RunUpdate::CountdownSecond: {
            // Not swprintf, which would bring MinGW's wide printf engine into Setup.exe.
            const std::string digits = std::to_string(static_cast<int>(data));
            m_stRestartSeconds.SetText(std::wstring(digits.begin(), digits.end()).c_str());
            RedrawControl(Handle(), m_stRestartSeconds);
            break;
        }
    }
}
