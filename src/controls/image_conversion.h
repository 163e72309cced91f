#pragma once

#include <windows.h>

#include "controls/image.h"

namespace Gdiplus {
class GpBitmap;
}

namespace controls {

// A decoded image turned into a GDI DIB section, with what CImage reports about it.
struct ConvertedBitmap {
    UniqueBitmap bitmap;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    bool hasAlpha = false;
};

// The pixel rules of CImage::Load applied to an already decoded GDI+ bitmap; GDI+ must be
// running. Separate from the file loader so that every source pixel format can be fed in.
HRESULT ConvertToDibSection(Gdiplus::GpBitmap* source, ConvertedBitmap& result) noexcept;

}  // namespace controls
