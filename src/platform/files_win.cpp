#include <windows.h>

#include <cwchar>

#include "platform/files.h"
#include "platform/handles_win.h"
#include "platform/text.h"
#include "platform/wide_win.h"

namespace platform {

namespace {

// Windows refuses a path beyond the extended-length form's limit; Wine's conversion keeps its
// length in 16 bits and wraps instead, which can leave a shorter path that names something else.
constexpr std::size_t kMaxPathUnits = 32767;

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Whether a name is UTF-16 text, without half a surrogate pair standing alone: a name that is
// not has no UTF-8 form, so no launch rule can name it.
bool IsUtf16Text(const wchar_t* name) {
    for (; *name; ++name) {
        const bool high = *name >= 0xD800 && *name <= 0xDBFF, low = *name >= 0xDC00 && *name <= 0xDFFF;
        if (low || (high && !(name[1] >= 0xDC00 && name[1] <= 0xDFFF))) return false;
        if (high) ++name;
    }
    return true;
}

}  // namespace

std::wstring ExtendedLengthPath(const wchar_t* path) {
    const bool prefixed =
        path[0] == L'\\' && path[1] == L'\\' && (path[2] == L'?' || path[2] == L'.') && path[3] == L'\\';
    const DWORD needed = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (prefixed || needed == 0) return path;
    // Room before the full path for "\\?\" or, where the full path's own "\\" is replaced,
    // "\\?\UNC\".
    std::vector<wchar_t> buffer(needed + 6);
    wchar_t* full = buffer.data() + 6;
    if (GetFullPathNameW(path, needed, full, nullptr) >= needed) return path;
    const bool unc = full[0] == L'\\' && full[1] == L'\\';
    wchar_t* start = unc ? buffer.data() : full - 4;
    std::wmemcpy(start, unc ? L"\\\\?\\UNC\\" : L"\\\\?\\", unc ? 8 : 4);
    return start;
}

std::wstring WidePath(const Path& path) {
    const std::wstring wide = MultiByteToWide(path.c_str(), kUtf8CodePage);
    // The size asked for counts the terminator, as MAX_PATH does.
    if (GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr) <= MAX_PATH) return wide;
    return ExtendedLengthPath(wide.c_str());
}

std::optional<std::uint32_t> ReadFileAttributes(const Path& path) {
    const std::wstring wide = WidePath(path);
    if (wide.size() > kMaxPathUnits) return std::nullopt;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

std::vector<std::string> FindMatches(const Path& pattern, std::size_t limit, DotEntries dots) {
    std::vector<std::string> names;
    if (limit == 0) return names;
    const std::wstring wide = WidePath(pattern);
    if (wide.size() > kMaxPathUnits) return names;
    WIN32_FIND_DATAW data{};
    const UniqueFindHandle search(FindFirstFileW(wide.c_str(), &data));
    if (!search) return names;
    do {
        if (dots == DotEntries::Skip && IsDotEntry(data.cFileName)) continue;
        if (!IsUtf16Text(data.cFileName)) continue;
        names.push_back(WideToMultiByte(data.cFileName, kUtf8CodePage));
        if (names.size() == limit) break;
    } while (FindNextFileW(search.Get(), &data));
    return names;
}

}  // namespace platform
