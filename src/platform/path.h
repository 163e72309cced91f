#pragma once

#include <string>

namespace platform {

// A path as the core carries it, on every platform: UTF-8 text, '\' or '/' between components.
// The Windows seam hands it to the wide calls as UTF-16, so a folder named in any script is
// reached; nothing on the way passes through the ANSI code page. The POSIX seam looks it up as
// Windows would (see files.h).
using Path = std::string;

}  // namespace platform
