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
    if (MessageBoxW(Handle(), question.c_str(), caption, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
    // Read once: the worker writes the handle while it runs an installer.
    const HANDLE installer = m_execInfo.hProcess;
    if (installer) TerminateProcess(installer, 0);
    // ExitProcess stops the run's threads before anything is torn down; the C++ exit would
    // destroy the process-wide objects while those threads may still be using them.
    ExitProcess(0);
}
