#include "config/process_objects.h"
#include "tasks/launch_target.h"
#include "window/orvane_dlg.h"

namespace {

// The resolution reads the process-wide folder and language; its message box belongs to the window.
LaunchContext WindowLaunchContext(HWND owner) { return LaunchContext{g_programFolder, g_languageState, owner}; }

}  // namespace

bool COrvaneDlg::ResolveLaunchTarget(const ConfigItem& item, std::string& path) noexcept {
    try {
        return ::ResolveLaunchTarget(WindowLaunchContext(Handle()), item, path);
    } catch (...) {
        return false;  // out of memory while forming the candidates
    }
}

std::string COrvaneDlg::ExpandLanguageToken(const ConfigItem& item, int mode) const {
    return ::ExpandLanguageToken(WindowLaunchContext(Handle()), item, static_cast<LanguageMode>(mode));
}

bool COrvaneDlg::FindRuleMatch(std::string candidate, std::string& path) const {
    return ::FindRuleMatch(WindowLaunchContext(Handle()), std::move(candidate), path);
}
