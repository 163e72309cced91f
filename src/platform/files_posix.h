#pragma once

#include <optional>
#include <string>

#include "platform/path.h"

// Shared by the POSIX implementations of platform/: a path read as Windows reads it (see
// files.h) turned into the path of the entry on disk.
namespace platform {

// The on-disk path of the existing entry `path` names, with a trailing separator kept so that
// "file\" names no file; nothing when a component is missing or the path is longer than the
// extended-length form allows.
std::optional<std::string> ResolveWindowsPath(const Path& path);

}  // namespace platform
