#include "config/process_objects.h"

// Definition order is construction order: the log first (so it goes last), the folders and the
// configuration, then the language state, which asks the platform for the user's language.
RunLog g_runLog;
platform::Path g_programFolder;
std::wstring g_imageFolder;
ProductConfig g_productConfig;
LanguageState g_languageState;
UiTextTable g_uiTextTable{};
