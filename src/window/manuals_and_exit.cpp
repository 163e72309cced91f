#include <string>

#include "config/process_objects.h"
#include "tasks/exit_question.h"
#include "window/orvane_dlg.h"

bool COrvaneDlg::OpenManual(const ConfigItem& item) noexcept {
    if (!item.open) return false;
    platform::Path path;
    if (!ResolveLaunchTarget(item, path)) return false;
    SHELLEXECUTEINFOW info{};
    HandToShell(info, item, path, false);
    // The viewer is never waited for; its handle is only taken so it can be released here.
    const platform::UniqueKernelHandle viewer(info.hProcess);
    return true;
}

void COrvaneDlg::OnExitRequest() noexcept {
    const std::wstring question =
        ComposeExitQuestion(UiText(g_uiTextTable, UiSlot::ExitQuestion1), UiText(g_uiTextTable, UiSlot::ExitQuestion2));
    const wchar_t* caption = UiText(g_uiTextTable, UiSlot::ExitCaption);
    const bool yes = MessageBoxW(Handle(), question.c_str(), caption, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
    LogExitQuestion(g_runLog, yes);
    if (!yes) return;
    // Taken from the worker, which then leaves it open (see RunningInstaller).
    if (const HANDLE installer = m_runningInstaller.Take()) {
        const DWORD processId = GetProcessId(installer);
        LogInstallerStopped(g_runLog, processId, TerminateProcess(installer, 0) != FALSE);
    }
    LogLeave(g_runLog, LeaveReason::LeaveButton);
    LogEnd(g_runLog, 0);
    // ExitProcess stops the run's threads before anything is torn down; the C++ exit would
    // destroy the process-wide objects while those threads may still be using them.
    ExitProcess(0);
}
