#include "checker/text_units.h"

namespace checker {

std::wstring Utf16Units(const std::wstring& text) {
    if constexpr (sizeof(wchar_t) == 2) {
        return text;
    } else {
        std::wstring units;
        units.reserve(text.size());
        for (const wchar_t c : text) {
            const auto code = static_cast<char32_t>(c);
            if (code > 0xFFFF && code <= 0x10FFFF) {
                units.push_back(static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10)));
                units.push_back(static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
            } else {
                units.push_back(c);
            }
        }
        return units;
    }
}

}  // namespace checker
