#include "app/orvane_app.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "config/process_objects.h"
#include "framework/phase_trace.h"
#include "log/log_events.h"
#include "platform/handles_win.h"
#include "platform/system_services.h"
#include "platform/text.h"
#include "platform/wide_win.h"

#if __has_include("window/orvane_dlg.h")
#include "window/orvane_dlg.h"
#define SETUP_HAS_MAIN_WINDOW 1
#endif

namespace {

// The longest name of a skin image, 400x70_Button_Pressed.png.
constexpr std::size_t kLongestSkinName = 25;

// The module path, however long: a path cut at a fixed buffer size would name a different
// folder, and every data file would then be looked for in the wrong place.
std::wstring ModulePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::wstring(buffer.data(), length);
        }
        if (buffer.size() >= 32768) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring FolderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// What the log says of the launcher and the system it runs on.
LauncherFacts ReadLauncherFacts() {
    LauncherFacts facts;
    facts.version = SETUP_VERSION;
    const platform::SystemVersion version = platform::WindowsVersion();
    facts.windowsMajor = version.major;
    facts.windowsMinor = version.minor;
    facts.windowsBuild = version.build;
    facts.underWow64 = platform::IsRunningUnderWow64();
    facts.elevated = platform::IsElevated();
    facts.dpi = static_cast<unsigned>(platform::SystemDpi());
    facts.medium = g_programFolder;
    return facts;
}

}  // namespace

void LocateProgramFolders() {
    // One wide call keeps every letter of the folder's name; the core carries it as UTF-8.
    const std::wstring wideFolder = FolderOf(ModulePath());
    g_programFolder = platform::WideToMultiByte(wideFolder.c_str(), platform::kUtf8CodePage);
    if (wideFolder.empty()) return;
    g_imageFolder = wideFolder + L"ImageIcon\\";
    // GDI+ opens the skin by these paths itself: where they would reach MAX_PATH it gets the
    // extended-length form, which has no such limit.
    if (g_imageFolder.size() + kLongestSkinName >= MAX_PATH)
        g_imageFolder = platform::ExtendedLengthPath(g_imageFolder.c_str());
}

BOOL COrvaneApp::InitInstance() {
    // First, so that it holds everything after; a log that cannot be made changes nothing.
    g_runLog.Open(platform::TemporaryFolder());
    framework::MarkPhase("static objects made");
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    framework::MarkPhase("common controls ready");

    m_gdiplus.emplace();
    framework::MarkPhase("GDI+ started");

    LocateProgramFolders();
#ifdef SETUP_HAS_MAIN_WINDOW
    // Decoded on a worker while the configuration is read and the window is made.
    SkinImages skin;
    skin.StartLoading(g_imageFolder, StartingDpi());
#endif
    const platform::Path configPath = g_programFolder + "conf.xml";
    const platform::Path languageFolder = g_programFolder + "Language";
    const platform::Path uiConfigPath = g_programFolder + "Language\\UICfg.xml";

    if (g_runLog.IsOpen()) {
        LogLauncher(g_runLog, ReadLauncherFacts());
        LogLanguageState(g_runLog, g_languageState);
    }

    // The configuration first: its "testLanguage" then governs the interface texts too.
    LoadProductConfig(g_languageState.wLanguage, languageFolder, configPath, g_productConfig, g_languageState, {},
                      &g_runLog);
    framework::MarkPhase("configuration read");
    LoadUiTextTable(g_languageState.wLanguage, languageFolder, g_uiTextTable, uiConfigPath, g_languageState, &g_runLog);
    framework::MarkPhase("interface texts read");

#ifdef SETUP_HAS_MAIN_WINDOW
    COrvaneDlg mainWindow(nullptr, skin);
    mainWindow.DoModal();
#endif
    LogEnd(g_runLog, 0);
    return FALSE;
}
