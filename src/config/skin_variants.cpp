#include "config/skin_variants.h"

#include <algorithm>

#include "platform/ascii_case.h"

std::optional<SkinVariantName> ParseSkinVariantName(std::string_view fileName) {
    std::string folded(fileName);
    for (char& c : folded) c = platform::FoldAsciiCase(c);
    const std::size_t marker = folded.rfind(".scale-");
    constexpr std::size_t kMarkerSize = 7;  // ".scale-"
    constexpr std::size_t kExtensionSize = 4;  // ".png"
    if (marker == std::string::npos || marker == 0 || !folded.ends_with(".png")) return std::nullopt;
    const std::size_t digitsAt = marker + kMarkerSize;
    if (folded.size() < digitsAt + 1 + kExtensionSize) return std::nullopt;
    const std::string_view digits = std::string_view(folded).substr(digitsAt, folded.size() - kExtensionSize - digitsAt);
    if (digits.size() > 3 || digits[0] == '0') return std::nullopt;
    int scale = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        scale = scale * 10 + (c - '0');
    }
    if (scale < kMinVariantScale || scale > kMaxVariantScale) return std::nullopt;
    return SkinVariantName{std::string(fileName.substr(0, marker)) + std::string(fileName.substr(fileName.size() - kExtensionSize)),
                           scale};
}

int VariantLength(int baseLength, int scale) noexcept { return (baseLength * scale + 50) / 100; }

std::vector<int> VariantOrder(int percent, std::vector<int> scales) {
    // Nearest at or above the scale first, ascending; then the rest, descending.
    std::sort(scales.begin(), scales.end(), [percent](int a, int b) {
        const bool aAbove = a >= percent;
        const bool bAbove = b >= percent;
        if (aAbove != bAbove) return aAbove;
        return aAbove ? a < b : a > b;
    });
    scales.erase(std::unique(scales.begin(), scales.end()), scales.end());
    return scales;
}
