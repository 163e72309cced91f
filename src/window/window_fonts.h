#pragma once

#include <windows.h>

#include "window/control_facts.h"

// One of the main window's five fonts, made as the window makes it; the caller owns it. Also
// used by the preview, which measures the window's texts in these fonts. nullptr for None.
HFONT CreateWindowFont(FontRole role) noexcept;
