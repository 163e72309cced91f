#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace platform {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file for reading bytes by a narrow path: the ANSI path on Windows (fopen of the C
// runtime takes the active code page). POSIX reads the path as Windows would on a medium:
// '\' separates components and each component is matched without regard to ASCII case.
// Null when the file cannot be opened.
UniqueFile OpenFileForReading(const std::string& path);

}  // namespace platform
