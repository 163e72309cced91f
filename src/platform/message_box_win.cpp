#include "platform/message_box.h"
#include "platform/text.h"
#include "platform/wide_win.h"

namespace platform {

int ShowOwnedMessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned type) {
    return MessageBoxW(owner, MultiByteToWide(text.c_str(), kUtf8CodePage).c_str(),
                       MultiByteToWide(caption.c_str(), kUtf8CodePage).c_str(), type);
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) {
    return ShowOwnedMessageBox(nullptr, text, caption, type);
}

}  // namespace platform
