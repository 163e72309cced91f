#pragma once

#include <optional>
#include <string>

// Shared by the POSIX implementations of platform/: a narrow path read as Windows reads it
// (see files.h) turned into the path of the entry on disk.
namespace platform {

// The on-disk path of the existing entry `path` names, with a trailing separator kept so that
// "file\" names no file; nothing when a component is missing or the path is MAX_PATH long.
std::optional<std::string> ResolveWindowsPath(const std::string& path);

}  // namespace platform
