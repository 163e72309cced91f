#include "platform/open_file.h"

namespace platform {

UniqueFile OpenFileForReading(const std::string& path) { return UniqueFile(std::fopen(path.c_str(), "rb")); }

}  // namespace platform
