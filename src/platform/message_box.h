#pragma once

#include <string>

namespace platform {

// A modal narrow message box (MessageBoxA) owned by `owner` (a window handle or null);
// returns the button the user chose. Without a window system the caption and text go to
// standard error and the result is IDOK (1).
int ShowMessageBox(void* owner, const std::string& text, const std::string& caption, unsigned type);

}  // namespace platform
