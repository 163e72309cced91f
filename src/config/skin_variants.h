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

struct SkinVariantName {
    std::string base;  // the base image's file name: "menu.png"
    int scale;         // percent
};

// "<stem>.scale-<N>.png" (".scale-" and ".png" in any case, N from 100 to 400 without leading
// zeros); nothing for any other name.
std::optional<SkinVariantName> ParseSkinVariantName(std::string_view fileName);

// The width or height a variant made for `scale` has, for the base image's: the base length
// times the scale, rounded half up.
int VariantLength(int baseLength, int scale) noexcept;

// The order in which a window at `percent` tries the variants it has (their scales): the one
// made for its scale, then the larger ones from the smallest up (each scaled down), then the
// smaller ones from the largest down (scaled up). The base image comes after all of them.
std::vector<int> VariantOrder(int percent, std::vector<int> scales);
