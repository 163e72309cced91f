#include <io.h>
#include <windows.h>

#include <utility>

#include "platform/files.h"

namespace platform {

namespace {

// Owns a search handle of FindFirstFileA.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) noexcept : handle_(handle) {}
    ~FindHandle() {
        if (Valid()) FindClose(handle_);
    }
    FindHandle(FindHandle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    FindHandle& operator=(FindHandle&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool Valid() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const noexcept { return handle_; }

private:
    HANDLE handle_;
};

bool IsDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

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
    FindHandle search(FindFirstFileA(pattern.c_str(), &data));
    if (!search.Valid()) return names;
    do {
        if (dots == DotEntries::Skip && IsDotEntry(data.cFileName)) continue;
        names.emplace_back(data.cFileName);
        if (names.size() == limit) break;
    } while (FindNextFileA(search.Get(), &data));
    return names;
}

}  // namespace platform
