#include <windows.h>

#include "platform/files.h"
#include "platform/handles_win.h"
#include "platform/text.h"
#include "platform/wide_win.h"

namespace platform {

namespace {

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) { return text.rfind(prefix, 0) == 0; }

// A name as the file system stores it, in UTF-8; nothing for a name holding half a surrogate
// pair, which no UTF-8 text (and so no launch rule) can name.
std::optional<std::string> Utf8Name(const wchar_t* name) {
    const int needed = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, name, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::nullopt;
    std::string text(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, name, -1, text.data(), needed, nullptr, nullptr);
    text.pop_back();
    return text;
}

}  // namespace

std::wstring ExtendedLengthPath(const std::wstring& fullPath) {
    if (StartsWith(fullPath, L"\\\\?\\") || StartsWith(fullPath, L"\\\\.\\")) return fullPath;
    if (StartsWith(fullPath, L"\\\\")) return L"\\\\?\\UNC\\" + fullPath.substr(2);
    return L"\\\\?\\" + fullPath;
}

std::wstring WidePath(const Path& path) {
    std::wstring wide = MultiByteToWide(path.c_str(), kUtf8CodePage);
    // The size asked for counts the terminator, as MAX_PATH does.
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed <= MAX_PATH) return wide;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return wide;
    full.resize(length);
    return ExtendedLengthPath(full);
}

std::optional<std::uint32_t> ReadFileAttributes(const Path& path) {
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

std::vector<std::string> FindMatches(const Path& pattern, std::size_t limit, DotEntries dots) {
    std::vector<std::string> names;
    if (limit == 0) return names;
    WIN32_FIND_DATAW data{};
    const UniqueFindHandle search(FindFirstFileW(WidePath(pattern).c_str(), &data));
    if (!search) return names;
    do {
        if (dots == DotEntries::Skip && IsDotEntry(data.cFileName)) continue;
        auto name = Utf8Name(data.cFileName);
        if (!name) continue;
        names.push_back(std::move(*name));
        if (names.size() == limit) break;
    } while (FindNextFileW(search.Get(), &data));
    return names;
}

}  // namespace platform
