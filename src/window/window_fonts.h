#pragma once

#include <windows.h>

#include "window/control_facts.h"

// One of the main window's five fonts as the window makes it at `dpi` (FontFactsOf); the caller
// owns it. Also used by the preview, which measures the window's texts in these fonts. nullptr
// for None.
HFONT CreateWindowFont(FontRole role, int dpi = kBaseDpi) noexcept;
