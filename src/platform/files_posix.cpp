#include "platform/files_posix.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "platform/files.h"
#include "platform/text.h"

namespace platform {

namespace {

constexpr std::size_t kMaxPathUnits = 32767;  // the extended-length form's limit, in UTF-16 units
constexpr std::uint32_t kAttributeReadOnly = 0x01;
constexpr std::uint32_t kAttributeArchive = 0x20;  // what Windows and Wine report for a plain file

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasWildcard(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

// How many UTF-16 units the UTF-8 text takes: one per sequence, two for one of four bytes.
std::size_t Utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

// The lower-case letters of Windows' case table that a medium is likely to use, each range
// mapped to its upper case by `delta`; with `step` 2 only every second code from `first` is a
// lower-case letter (the pairs of Latin Extended-A and of Cyrillic's additions).
struct CaseRange {
    char16_t first;
    char16_t last;
    std::int16_t delta;
    std::uint8_t step;
};
constexpr CaseRange kLowerCase[] = {
    {0x61, 0x7A, -32, 1},     {0xE0, 0xF6, -32, 1},   {0xF8, 0xFE, -32, 1},    {0xFF, 0xFF, 121, 1},
    {0x101, 0x12F, -1, 2},    {0x133, 0x137, -1, 2},  {0x13A, 0x148, -1, 2},   {0x14B, 0x177, -1, 2},
    {0x17A, 0x17E, -1, 2},    {0x1A1, 0x1A1, -1, 1},  {0x1B0, 0x1B0, -1, 1},   {0x3AC, 0x3AC, -38, 1},
    {0x3AD, 0x3AF, -37, 1},   {0x3B1, 0x3C1, -32, 1}, {0x3C2, 0x3C2, -31, 1},  {0x3C3, 0x3CB, -32, 1},
    {0x3CC, 0x3CC, -64, 1},   {0x3CD, 0x3CE, -63, 1}, {0x430, 0x44F, -32, 1},  {0x450, 0x45F, -80, 1},
    {0x461, 0x481, -1, 2},    {0x48B, 0x4BF, -1, 2},  {0x4C2, 0x4CE, -1, 2},   {0x4CF, 0x4CF, -15, 1},
    {0x4D1, 0x52F, -1, 2},    {0x561, 0x586, -48, 1}, {0x1E01, 0x1E95, -1, 2}, {0x1EA1, 0x1EFF, -1, 2},
    {0xFF41, 0xFF5A, -32, 1},
};

char16_t UpperCase(char16_t unit) {
    for (const CaseRange& range : kLowerCase) {
        if (unit >= range.first && unit <= range.last && (unit - range.first) % range.step == 0) {
            return static_cast<char16_t>(unit + range.delta);
        }
    }
    return unit;
}

// A name as Windows compares it: its UTF-16 units, each in upper case. Nothing when the bytes
// are no UTF-8 text, which no Windows program can ask for by name.
std::optional<std::u16string> Folded(std::string_view name) {
    const std::string text(name);
    const std::wstring wide = MultiByteToWide(text.c_str(), kUtf8CodePage);
    if (WideToMultiByte(wide.c_str(), kUtf8CodePage) != text) return std::nullopt;
    std::u16string units;
    for (const wchar_t c : wide) {
        const auto code = static_cast<char32_t>(c);
        if (code > 0xFFFF) {
            units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            units.push_back(UpperCase(static_cast<char16_t>(code)));
        }
    }
    return units;
}

// The folded form of a name that Windows can hold; nothing for one with a character no Windows
// name holds or with bytes that are not UTF-8: Wine shows such a Linux name under another
// spelling, so it can never be matched by the name a rule gives.
std::optional<std::u16string> WindowsName(std::string_view name) {
    if (name.find_first_of("\\*?\"<>|:") != std::string_view::npos) return std::nullopt;
    return Folded(name);
}

// Windows' wildcard match on folded names: '*' any run (also empty), '?' exactly one UTF-16
// unit, the rest literal. Backtracks to the last '*' only, so the cost stays proportional to
// name length times pattern length.
bool MatchesWildcard(std::u16string_view name, std::u16string_view pattern) {
    if (pattern == u"*.*") return true;  // MS-DOS spelling of "every name", extension or not
    std::size_t n = 0, p = 0;
    std::size_t starPattern = std::u16string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starPattern != std::u16string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

// A path as Windows reads it: components split at either separator, "." dropped and ".."
// taking away the component before it, before anything on disk is looked at.
struct SplitPath {
    bool absolute = false;
    bool trailingSeparator = false;
    std::vector<std::string> components;
};

SplitPath Split(std::string_view path) {
    SplitPath split;
    split.absolute = !path.empty() && IsSeparator(path.front());
    split.trailingSeparator = !path.empty() && IsSeparator(path.back());
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        const std::string_view component = path.substr(start, end - start);
        if (component == "..") {
            if (!split.components.empty() && split.components.back() != "..") {
                split.components.pop_back();
            } else if (!split.absolute) {
                split.components.emplace_back(component);
            }
        } else if (!component.empty() && component != ".") {
            split.components.emplace_back(component);
        }
        start = end + 1;
    }
    return split;
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using UniqueDir = std::unique_ptr<DIR, DirCloser>;

struct FolderEntry {
    std::string name;
    std::u16string folded;
};

// Every name in a folder that a Windows program can see, except "." and "..", in the order
// NTFS keeps them: by their folded UTF-16 units.
std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    UniqueDir dir(opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir) return entries;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (auto folded = WindowsName(name)) entries.push_back({std::string(name), std::move(*folded)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.folded < b.folded; });
    return entries;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// Finds one component in `folder` ("/", "" for the current folder, or "a/b/") without
// regard to case; the name as stored on disk.
std::optional<std::string> LookUp(const std::string& folder, const std::string& component) {
    if (component == "..") return component;
    const auto folded = WindowsName(component);
    if (!folded) return std::nullopt;
    if (Exists(folder + component)) return component;
    for (auto& entry : ListFolder(folder)) {
        if (entry.folded == *folded) return std::move(entry.name);
    }
    return std::nullopt;
}

// The on-disk path of `count` leading components, ending in a separator (or empty for the
// current folder); nothing when one of them is missing.
std::optional<std::string> ResolveFolder(const SplitPath& split, std::size_t count) {
    std::string folder = split.absolute ? "/" : "";
    for (std::size_t i = 0; i < count; ++i) {
        const auto name = LookUp(folder, split.components[i]);
        if (!name) return std::nullopt;
        folder += *name + "/";
    }
    return folder;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.empty() ? "." : path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::optional<std::string> ResolveWindowsPath(const Path& path) {
    if (path.empty() || Utf16Length(path) > kMaxPathUnits) return std::nullopt;
    const SplitPath split = Split(path);
    // "/", or the current folder: ".", "./", "a/.." (Windows takes ".." from the text too).
    if (split.components.empty()) return split.absolute ? "/" : split.trailingSeparator ? "./" : ".";
    const auto folder = ResolveFolder(split, split.components.size() - 1);
    if (!folder) return std::nullopt;
    const auto name = LookUp(*folder, split.components.back());
    if (!name) return std::nullopt;
    return *folder + *name + (split.trailingSeparator ? "/" : "");
}

std::optional<std::uint32_t> ReadFileAttributes(const Path& path) {
    const auto full = ResolveWindowsPath(path);
    struct stat info {};
    if (!full || stat(full->c_str(), &info) != 0) return std::nullopt;  // "file/" fails: it names no folder
    if (S_ISDIR(info.st_mode)) return kAttributeDirectory;
    return (info.st_mode & S_IWUSR) ? kAttributeArchive : kAttributeArchive | kAttributeReadOnly;
}

std::vector<std::string> FindMatches(const Path& pattern, std::size_t limit, DotEntries dots) {
    std::vector<std::string> names;
    if (limit == 0 || pattern.empty() || Utf16Length(pattern) > kMaxPathUnits) return names;
    const SplitPath split = Split(pattern);
    if (split.components.empty() || split.trailingSeparator) return names;
    for (std::size_t i = 0; i + 1 < split.components.size(); ++i) {
        if (HasWildcard(split.components[i])) return names;  // Windows: the name is invalid
    }
    const auto folder = ResolveFolder(split, split.components.size() - 1);
    if (!folder || !IsFolder(*folder)) return names;
    const std::string& last = split.components.back();
    if (!HasWildcard(last)) {
        if (auto name = LookUp(*folder, last); name && *name != "..") names.push_back(std::move(*name));
        return names;
    }
    const auto folded = Folded(last);
    if (!folded) return names;
    const bool atRoot = *folder == "/";
    if (dots == DotEntries::Keep && !atRoot) {
        for (const char16_t* dot : {u".", u".."}) {
            if (names.size() < limit && MatchesWildcard(dot, *folded)) names.push_back(dot[1] ? ".." : ".");
        }
    }
    for (auto& entry : ListFolder(*folder)) {
        if (names.size() >= limit) break;
        if (MatchesWildcard(entry.folded, *folded)) names.push_back(std::move(entry.name));
    }
    return names;
}

}  // namespace platform
