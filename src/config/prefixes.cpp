#include "config/prefixes.h"

wchar_t* RemovePrefixes(wchar_t* text) noexcept {
    wchar_t* to = text;
    for (const wchar_t* from = text; *from; ++from) {
        if (*from == L'&' && *++from == 0) break;  // "&x" keeps x, "&&" one "&"
        *to++ = *from;
    }
    *to = 0;
    return text;
}
