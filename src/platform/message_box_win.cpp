#include <windows.h>

#include "platform/message_box.h"

namespace platform {

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) {
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), type);
}

}  // namespace platform
