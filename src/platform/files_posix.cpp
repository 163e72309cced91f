#include "platform/files_posix.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "platform/ascii_case.h"
#include "platform/files.h"

namespace platform {

namespace {

constexpr std::size_t kMaxPath = 260;  // MAX_PATH, the limit of the narrow Win32 calls
constexpr std::uint32_t kAttributeReadOnly = 0x01;
constexpr std::uint32_t kAttributeArchive = 0x20;  // what Windows and Wine report for a plain file

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasWildcard(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

// Characters no Windows name holds; Wine shows a Linux name with them under another
// spelling, so such an entry can never be matched by the name a rule gives.
bool IsWindowsName(std::string_view name) { return name.find_first_of("\\*?\"<>|:") == std::string_view::npos; }

// Windows' wildcard match: '*' any run (also empty), '?' exactly one character, the rest
// literal, without regard to case. Backtracks to the last '*' only, so the cost stays
// proportional to name length times pattern length.
bool MatchesWildcard(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*") return true;  // MS-DOS spelling of "every name", extension or not
    std::size_t n = 0, p = 0;
    std::size_t starPattern = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || FoldAsciiCase(pattern[p]) == FoldAsciiCase(name[n]))) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
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

// Every name in a folder except "." and "..", in case-insensitive order.
std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    UniqueDir dir(opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir) return names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char x, char y) { return FoldAsciiCase(x) < FoldAsciiCase(y); });
    });
    return names;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// Finds one component in `folder` ("/", "" for the current folder, or "a/b/") without
// regard to case; the name as stored on disk.
std::optional<std::string> LookUp(const std::string& folder, const std::string& component) {
    if (component == "..") return component;
    if (!IsWindowsName(component)) return std::nullopt;
    if (Exists(folder + component)) return component;
    for (auto& name : ListFolder(folder)) {
        if (EqualIgnoringAsciiCase(name, component)) return std::move(name);
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

std::optional<std::string> ResolveWindowsPath(const std::string& path) {
    if (path.empty() || path.size() >= kMaxPath) return std::nullopt;
    const SplitPath split = Split(path);
    if (split.components.empty()) {
        if (!split.absolute) return std::nullopt;
        return "/";
    }
    const auto folder = ResolveFolder(split, split.components.size() - 1);
    if (!folder) return std::nullopt;
    const auto name = LookUp(*folder, split.components.back());
    if (!name) return std::nullopt;
    return *folder + *name + (split.trailingSeparator ? "/" : "");
}

std::optional<std::uint32_t> ReadFileAttributes(const std::string& path) {
    const auto full = ResolveWindowsPath(path);
    struct stat info {};
    if (!full || stat(full->c_str(), &info) != 0) return std::nullopt;  // "file/" fails: it names no folder
    if (S_ISDIR(info.st_mode)) return kAttributeDirectory;
    return (info.st_mode & S_IWUSR) ? kAttributeArchive : kAttributeArchive | kAttributeReadOnly;
}

bool FileExists(const std::string& path) { return ReadFileAttributes(path).has_value(); }

std::vector<std::string> FindMatches(const std::string& pattern, std::size_t limit, DotEntries dots) {
    std::vector<std::string> names;
    if (limit == 0 || pattern.empty() || pattern.size() >= kMaxPath) return names;
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
    const bool atRoot = *folder == "/";
    if (dots == DotEntries::Keep && !atRoot) {
        for (const char* dot : {".", ".."}) {
            if (names.size() < limit && MatchesWildcard(dot, last)) names.emplace_back(dot);
        }
    }
    for (auto& name : ListFolder(*folder)) {
        if (names.size() >= limit) break;
        if (IsWindowsName(name) && MatchesWildcard(name, last)) names.push_back(std::move(name));
    }
    return names;
}

}  // namespace platform
