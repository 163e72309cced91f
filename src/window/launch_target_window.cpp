#include "config/process_objects.h"
#include "tasks/launch_target.h"
#include "window/orvane_dlg.h"

bool COrvaneDlg::ResolveLaunchTarget(const ConfigItem& item, std::string& path) noexcept {
    // The resolution reads the process-wide folder and language; its message box belongs to
    // this window (also when the worker asks, so the box stays in front of it).
    const HWND owner = Handle();
    const LaunchContext context{g_programFolder, g_languageState,
                                [owner](const std::string& text, const std::string& caption, unsigned type) {
                                    return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
                                }};
    return ::ResolveLaunchTarget(context, item, path);
}
