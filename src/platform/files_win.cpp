#include <windows.h>
#include <io.h>

#include "platform/files.h"
#include "platform/handles_win.h"

namespace platform {

namespace {

bool IsDotEntry(const char* name) { return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')); }

}  // namespace

std::optional<std::uint32_t> ReadFileAttributes(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

bool FileExists(const std::string& path) { return _access(path.c_str(), 0) == 0; }

std::vector<std::string> FindMatches(const std::string& pattern, std::size_t limit, DotEntries dots) {
    std::vector<std::string> names;
    if (limit == 0) return names;
    WIN32_FIND_DATAA data{};
    const UniqueFindHandle search(FindFirstFileA(pattern.c_str(), &data));
    if (!search) return names;
    do {
        if (dots == DotEntries::Skip && IsDotEntry(data.cFileName)) continue;
        names.emplace_back(data.cFileName);
        if (names.size() == limit) break;
    } while (FindNextFileA(search.Get(), &data));
    return names;
}

}  // namespace platform
