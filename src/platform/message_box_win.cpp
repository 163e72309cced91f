#include <windows.h>

#include "platform/message_box.h"

namespace platform {

int ShowMessageBox(void* owner, const std::string& text, const std::string& caption, unsigned type) {
    return MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(), type);
}

}  // namespace platform
