#include <cstdio>

#include "platform/message_box.h"

namespace platform {

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned) {
    std::fprintf(stderr, "%s\n%s\n", caption.c_str(), text.c_str());
    return 1;  // IDOK
}

}  // namespace platform
