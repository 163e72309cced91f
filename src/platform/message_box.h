#pragma once

#include <functional>
#include <string>

namespace platform {

// A modal narrow message box (MessageBoxA) owned by `owner` (a window handle or null);
// returns the button the user chose. Without a window system the caption and text go to
// standard error and the result is IDOK (1).
int ShowMessageBox(void* owner, const std::string& text, const std::string& caption, unsigned type);

// A message box the caller chooses (tests capture the text); empty stands for ShowMessageBox.
using MessageBoxFunction =
    std::function<int(void* owner, const std::string& text, const std::string& caption, unsigned type)>;

inline int ShowMessageWith(const MessageBoxFunction& show, void* owner, const std::string& text,
                           const std::string& caption, unsigned type) {
    return show ? show(owner, text, caption, type) : ShowMessageBox(owner, text, caption, type);
}

}  // namespace platform
