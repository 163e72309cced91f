#pragma once

#include <string>

#include "config/language_state.h"
#include "config/product_config.h"
#include "config/ui_text_table.h"
#include "log/run_log.h"

// The process-wide objects of the design, constructed in this order before start-up runs.
// Core functions take them as arguments; only the application and the window name them.
extern RunLog g_runLog;                 // opened first by start-up; any thread writes to it
extern platform::Path g_programFolder;  // UTF-8, ends in a backslash
extern std::wstring g_imageFolder;      // UTF-16, g_programFolder + "ImageIcon\"
extern ProductConfig g_productConfig;
extern LanguageState g_languageState;
extern UiTextTable g_uiTextTable;
