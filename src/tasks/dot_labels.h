#pragma once

#include <cstddef>

#include "config/language_file.h"

// The progress heading's text with `dots` full stops appended, in a fixed buffer with room for
// the longest interface text (a language-file text), five dots and the terminator. A longer
// base, which no text slot holds, is cut so that the buffer never overruns.
inline constexpr int kMaxProgressDots = 5;
inline constexpr std::size_t kDotLabelCapacity = kIniTextUnits + kMaxProgressDots;

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
