#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// A strict reader of PNG files that decodes nothing into memory: it checks the signature, every
// chunk's CRC, the header, and inflates the image data through a fixed buffer to see that it
// holds exactly the bytes (and row filters) the header promises, then that IEND ends it.
namespace checker {

struct PngCheck {
    bool valid = false;
    std::string problem;  // why not, in a few words
    bool hasHeader = false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Images larger than this many pixels are measured but not inflated.
inline constexpr std::uint64_t kMaxCheckedPixels = 16u << 20;

// Files longer than this are not read to their end.
inline constexpr std::uint64_t kMaxCheckedBytes = 64u << 20;

PngCheck CheckPng(std::FILE* file);
PngCheck CheckPngFile(const std::string& path);

}  // namespace checker
