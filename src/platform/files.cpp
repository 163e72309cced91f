#include "platform/files.h"

#include <string_view>

namespace platform {

bool FileExists(const Path& path) { return ReadFileAttributes(path).has_value(); }

std::optional<std::string> FindFirstMatch(const Path& pattern, DotEntries dots) {
    auto names = FindMatches(pattern, 1, dots);
    if (names.empty()) return std::nullopt;
    return std::move(names.front());
}

std::optional<std::vector<std::string>> StoredNames(const Path& folder, const std::string& relative) {
    std::vector<std::string> names;
    std::string prefix = folder;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find_first_of("\\/", start);
        if (end == std::string::npos) end = relative.size();
        const std::string_view component = std::string_view(relative).substr(start, end - start);
        start = end + 1;
        if (component.empty() || component == ".") continue;
        if (component == ".." || component.find_first_of("*?") != std::string_view::npos) return std::nullopt;
        auto name = FindFirstMatch(prefix + std::string(component));
        if (!name) return std::nullopt;
        prefix += *name + "\\";
        names.push_back(std::move(*name));
    }
    return names;
}

}  // namespace platform
