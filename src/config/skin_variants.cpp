#include "config/skin_variants.h"

#include <algorithm>

#include "platform/ascii_case.h"

std::optional<SkinVariantName> SplitSkinVariantName(std::string_view fileName) {
    std::string folded(fileName);
    for (char& c : folded) c = platform::FoldAsciiCase(c);
    const std::size_t marker = folded.rfind(".scale-");
    constexpr std::size_t kMarkerSize = 7;     // ".scale-"
    constexpr std::size_t kExtensionSize = 4;  // ".png"
    if (marker == std::string::npos || marker == 0 || !folded.ends_with(".png")) return std::nullopt;
    const std::size_t digitsAt = marker + kMarkerSize;
    if (folded.size() < digitsAt + 1 + kExtensionSize) return std::nullopt;
    const std::string_view digits =
        std::string_view(folded).substr(digitsAt, folded.size() - kExtensionSize - digitsAt);
    // Windows' own names have no leading zero: "scale-0200" is no scale.
    int scale = digits.size() <= 3 && digits[0] != '0' ? 0 : kNotAScale;
    for (const char c : digits)
        scale = c >= '0' && c <= '9' && scale != kNotAScale ? scale * 10 + (c - '0') : kNotAScale;
    if (scale < kMinVariantScale || scale > kMaxVariantScale) scale = kNotAScale;
    return SkinVariantName{
        std::string(fileName.substr(0, marker)) + std::string(fileName.substr(fileName.size() - kExtensionSize)),
        scale};
}

std::optional<SkinVariantName> ParseSkinVariantName(std::string_view fileName) {
    auto name = SplitSkinVariantName(fileName);
    if (name && name->scale == kNotAScale) return std::nullopt;
    return name;
}

long long VariantLength(long long baseLength, int scale) noexcept { return (baseLength * scale + 50) / 100; }

std::vector<int> VariantOrder(int percent, std::vector<int> scales) {
    // Ascending without repeats (an insertion sort: a handful of scales, and no std::sort in the
    // launcher's image), then those below the scale moved behind the rest, largest first.
    std::vector<int> order;
    for (const int scale : scales) {
        auto at = order.begin();
        while (at != order.end() && *at < scale) ++at;
        if (at == order.end() || *at != scale) order.insert(at, scale);
    }
    auto above = order.begin();
    while (above != order.end() && *above < percent) ++above;
    std::reverse(order.begin(), above);
    std::rotate(order.begin(), above, order.end());
    return order;
}
