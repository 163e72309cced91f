#pragma once

#include <cstddef>

// The progress heading's text with `dots` full stops appended, in a fixed buffer of 256 UTF-16
// units. The base text is cut so that it, the dots and the terminator always fit.
inline constexpr std::size_t kDotLabelCapacity = 256;
inline constexpr int kMaxProgressDots = 5;

template <typename Char>
constexpr void BuildDotLabel(const Char* base, int dots, Char (&buffer)[kDotLabelCapacity]) noexcept {
    if (dots < 0) dots = 0;
    if (dots > kMaxProgressDots) dots = kMaxProgressDots;
    constexpr std::size_t kBaseLimit = kDotLabelCapacity - 1 - kMaxProgressDots;
    std::size_t length = 0;
    while (base && length < kBaseLimit && base[length] != Char{}) {
        buffer[length] = base[length];
        ++length;
    }
    for (int i = 0; i < dots; ++i) buffer[length++] = Char('.');
    buffer[length] = Char{};
}
