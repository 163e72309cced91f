#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Higher-resolution variants of a skin image, named as Windows names scaled assets: beside
// "menu.png" a medium may carry "menu.scale-150.png", "menu.scale-200.png" and so on, each drawn
// for one display scale from 100 to 400 (%), at the base image's size times that scale.

inline constexpr int kMinVariantScale = 100;
inline constexpr int kMaxVariantScale = 400;

inline constexpr int kNotAScale = -1;

struct SkinVariantName {
    std::string base;  // the base image's file name: "menu.png"
    int scale;         // percent, or kNotAScale
};

// Any name of a variant's form, "<stem>.scale-<N>.png" (".scale-" and ".png" in any case): the
// base image's name, and N when it is a scale from 100 to 400 written without leading zeros,
// else kNotAScale (setup-check warns of those); nothing for a name of another form.
std::optional<SkinVariantName> SplitSkinVariantName(std::string_view fileName);

// A variant the launcher can use: as above, with a scale; nothing for any other name.
std::optional<SkinVariantName> ParseSkinVariantName(std::string_view fileName);

// The width or height a variant made for `scale` has, for the base image's: the base length
// times the scale, rounded half up (in 64 bits: a PNG header may claim any length).
long long VariantLength(long long baseLength, int scale) noexcept;

// The order in which a window at `percent` tries the variants it has (their scales): the one
// made for its scale, then the larger ones from the smallest up (each scaled down), then the
// smaller ones from the largest down (scaled up). The base image comes after all of them.
std::vector<int> VariantOrder(int percent, std::vector<int> scales);
