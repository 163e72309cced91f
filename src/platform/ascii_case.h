#pragma once

#include <algorithm>
#include <string_view>

// Names compared as the narrow Windows calls compare ASCII names (profile sections and keys,
// file names): letters without regard to case, every other byte as it is.
namespace platform {

constexpr char FoldAsciiCase(char c) noexcept { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return FoldAsciiCase(x) == FoldAsciiCase(y); });
}

}  // namespace platform
