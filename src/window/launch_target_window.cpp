#include <utility>

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
                                },
                                &g_runLog};
    return ::ResolveLaunchTarget(context, item, path);
}

namespace {

// Which list the item belongs to and its row there, for the log.
std::pair<ItemKind, std::size_t> PlaceOf(const ConfigItem& item) noexcept {
    const auto& installs = g_productConfig.installs;
    for (std::size_t row = 0; row < installs.size(); ++row) {
        if (installs[row].get() == &item) return {ItemKind::Installer, row};
    }
    const auto& manuals = g_productConfig.manuals;
    std::size_t row = 0;
    while (row < manuals.size() && manuals[row].get() != &item) ++row;
    return {ItemKind::Manual, row};
}

}  // namespace

bool COrvaneDlg::HandToShell(SHELLEXECUTEINFOW& record, const ConfigItem& item, const platform::Path& path,
                             bool inItsFolder) noexcept {
    ShellStart start;
    const platform::ShellOutcome outcome = platform::ShellExecuteFile(record, path, inItsFolder, &start.error);
    start.started = outcome == platform::ShellOutcome::Started;
    start.pathTooLong = outcome == platform::ShellOutcome::PathTooLong;
    start.processId = record.hProcess ? GetProcessId(record.hProcess) : 0;
    const auto [kind, row] = PlaceOf(item);
    const std::size_t slash = path.find_last_of('\\');
    LogShellStart(g_runLog, kind, row, path, inItsFolder && slash != std::string::npos ? path.substr(0, slash) : "",
                  start);
    if (start.pathTooLong)
        platform::ShowOwnedMessageBox(Handle(), FormatPathTooLong(*item.open, path), kLaunchFailureCaption, 0);
    return start.started;
}
