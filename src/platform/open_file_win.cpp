#include "platform/open_file.h"
#include "platform/wide_win.h"

namespace platform {

UniqueFile OpenFileForReading(const Path& path) { return UniqueFile(_wfopen(WidePath(path).c_str(), L"rb")); }

}  // namespace platform
