#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "platform/path.h"

namespace platform {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file for reading bytes (_wfopen on Windows, with the path's wide form of
// platform/wide_win.h). POSIX reads the path as Windows would on a medium (see files.h).
// Null when the file cannot be opened.
UniqueFile OpenFileForReading(const Path& path);

}  // namespace platform
