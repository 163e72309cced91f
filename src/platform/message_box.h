#pragma once

#include <functional>
#include <string>

namespace platform {

// Shows a message (UTF-8 text and caption, MessageBox type bits) and returns the button chosen.
// The core never knows a window: a caller with a window supplies a function whose box that
// window owns.
using MessageBoxFunction = std::function<int(const std::string& text, const std::string& caption, unsigned type)>;

// A modal message box (MessageBoxW, the texts turned from UTF-8 into UTF-16) without an owner;
// returns the button the user chose. Without a window system the caption and text go to
// standard error and the result is IDOK (1).
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type);

// `show`, or ShowMessageBox when it is empty.
inline int ShowMessageWith(const MessageBoxFunction& show, const std::string& text, const std::string& caption,
                           unsigned type) {
    return show ? show(text, caption, type) : ShowMessageBox(text, caption, type);
}

}  // namespace platform
