#include "platform/files_posix.h"
#include "platform/open_file.h"

namespace platform {

UniqueFile OpenFileForReading(const Path& path) {
    const auto resolved = ResolveWindowsPath(path);
    return UniqueFile(resolved ? std::fopen(resolved->c_str(), "rb") : nullptr);
}

}  // namespace platform
