#include "app/orvane_app.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "config/process_objects.h"
#include "framework/phase_trace.h"

#if __has_include("window/orvane_dlg.h")
#include "window/orvane_dlg.h"
#define SETUP_HAS_MAIN_WINDOW 1
#endif

namespace {

// The module path, however long: a path cut at a fixed buffer size would name a different
// folder, and every data file would then be looked for in the wrong place.
template <typename Char, typename Query>
std::basic_string<Char> ModulePath(Query query) {
    std::vector<Char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = query(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::basic_string<Char>(buffer.data(), length);
        }
        if (buffer.size() >= 32768) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

template <typename Char>
std::basic_string<Char> FolderOf(const std::basic_string<Char>& path) {
    const auto slash = path.find_last_of(Char('\\'));
    return slash == std::basic_string<Char>::npos ? std::basic_string<Char>() : path.substr(0, slash + 1);
}

}  // namespace

void LocateProgramFolders() {
    // Two separate calls: the wide path keeps characters that the ANSI code page cannot
    // represent, the narrow one is the form every narrow file call understands.
    const std::wstring wideFolder = FolderOf(ModulePath<wchar_t>(GetModuleFileNameW));
    g_imageFolder = wideFolder.empty() ? std::wstring() : wideFolder + L"ImageIcon\\";
    g_programFolder = FolderOf(ModulePath<char>(GetModuleFileNameA));
}

BOOL COrvaneApp::InitInstance() {
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
    skin.StartLoading(g_imageFolder);
#endif
    const std::string configPath = g_programFolder + "conf.xml";
    const std::string languageFolder = g_programFolder + "Language";
    const std::string uiConfigPath = g_programFolder + "Language\\UICfg.xml";

    // The configuration first: its "testLanguage" then governs the interface texts too.
    LoadProductConfig(g_languageState.wLanguage, languageFolder, configPath, g_productConfig, g_languageState);
    framework::MarkPhase("configuration read");
    LoadUiTextTable(g_languageState.wLanguage, languageFolder, g_uiTextTable, uiConfigPath, g_languageState);
    framework::MarkPhase("interface texts read");

#ifdef SETUP_HAS_MAIN_WINDOW
    COrvaneDlg mainWindow(nullptr, skin);
    mainWindow.DoModal();
#endif
    return FALSE;
}
