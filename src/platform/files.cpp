#include "platform/files.h"

namespace platform {

std::optional<std::string> FindFirstMatch(const std::string& pattern, DotEntries dots) {
    auto names = FindMatches(pattern, 1, dots);
    if (names.empty()) return std::nullopt;
    return std::move(names.front());
}

}  // namespace platform
