#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/test_paths.h"

namespace test {

// A fixture image of tests/data/images as a wide path.
inline std::wstring ImagePath(const char* name) {
    const std::string path = DataDir() + "images\\" + name;
    return std::wstring(path.begin(), path.end());
}

struct Colour {
    int blue, green, red, alpha;
    bool operator==(const Colour&) const = default;
};

// Reads any bottom-up DIB section back by image row and column: indices through its
// colour table, 24-bit and 32-bit values directly (alpha -1 where the depth has none).
class DibReader {
public:
    explicit DibReader(HBITMAP bitmap) {
        valid_ = bitmap && GetObjectW(bitmap, sizeof(section_), &section_) == sizeof(section_);
        if (!valid_ || section_.dsBmih.biBitCount > 8) return;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        table_.resize(256);
        table_.resize(GetDIBColorTable(dc, 0, 256, table_.data()));
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
    bool Valid() const { return valid_; }
    const DIBSECTION& Section() const { return section_; }
    int Depth() const { return section_.dsBmih.biBitCount; }
    const std::vector<RGBQUAD>& Table() const { return table_; }

    int Index(int x, int y) const {
        const int depth = Depth();
        const BYTE byte = Row(y)[x * depth / 8];
        const int shift = 8 - depth - (x * depth) % 8;
        return (byte >> shift) & ((1 << depth) - 1);
    }
    Colour At(int x, int y) const {
        const int depth = Depth();
        if (depth <= 8) {
            const int index = Index(x, y);
            if (index >= static_cast<int>(table_.size())) return {-1, -1, -1, -1};
            const RGBQUAD& entry = table_[static_cast<size_t>(index)];
            return {entry.rgbBlue, entry.rgbGreen, entry.rgbRed, entry.rgbReserved};
        }
        const BYTE* pixel = Row(y) + x * depth / 8;
        return {pixel[0], pixel[1], pixel[2], depth == 32 ? pixel[3] : -1};
    }

private:
    const BYTE* Row(int y) const {
        const int height = section_.dsBmih.biHeight;
        const int row = height > 0 ? height - 1 - y : y;
        return static_cast<const BYTE*>(section_.dsBm.bmBits) + static_cast<size_t>(row) * section_.dsBm.bmWidthBytes;
    }

    DIBSECTION section_{};
    bool valid_ = false;
    std::vector<RGBQUAD> table_;
};

// A 32-bit top-down drawing target selected into a memory DC, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        Fill(fill);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    void Fill(COLORREF colour) {
        GdiFlush();
        for (int i = 0; i < width_ * height_; ++i)
            bits_[i] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    }
    // Colour as COLORREF (0x00BBGGRR), alpha byte ignored.
    COLORREF At(int x, int y) const {
        GdiFlush();
        const uint32_t value = bits_[y * width_ + x];
        return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    }
    int Count(COLORREF colour) const {
        int count = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) count += At(x, y) == colour;
        return count;
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};

}  // namespace test
