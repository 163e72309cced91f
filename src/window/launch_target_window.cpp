#include "config/process_objects.h"
#include "platform/wide_win.h"
#include "tasks/launch_target.h"
#include "window/orvane_dlg.h"

bool COrvaneDlg::ResolveLaunchTarget(const ConfigItem& item, platform::Path& path) noexcept {
    // The resolution reads the process-wide folder and language; its message box belongs to
    // this window (also when the worker asks, so the box stays in front of it).
    const HWND owner = Handle();
    const LaunchContext context{g_programFolder, g_languageState,
                                [owner](const std::string& text, const std::string& caption, unsigned type) {
                                    return platform::ShowOwnedMessageBox(owner, text, caption, type);
                                }};
    return ::ResolveLaunchTarget(context, item, path);
}

void COrvaneDlg::HandToShell(SHELLEXECUTEINFOW& record, const ConfigItem& item, const platform::Path& path,
                             bool inItsFolder) noexcept {
    if (platform::ShellExecuteFile(record, path, inItsFolder) != platform::ShellOutcome::PathTooLong) return;
    platform::ShowOwnedMessageBox(Handle(), FormatPathTooLong(*item.open, path), kLaunchFailureCaption, 0);
}
