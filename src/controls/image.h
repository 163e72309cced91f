#pragma once

#include <windows.h>

#include "platform/handles_win.h"

// Image services of the skinned interface: PNG files decoded by GDI+ (flat API) into image
// objects that keep their alpha, drawn onto device contexts, and turned into plain GDI bitmaps
// for the tiled background brush. Every failure is silent: an empty image reports 0 x 0 and
// draws nothing.
namespace controls {

// Opaque GDI+ objects; the flat API hands them out as pointers.
struct GdiplusImage;
struct GdiplusGraphics;

}  // namespace controls

namespace Gdiplus {
class GpBitmap;
}

namespace controls {

struct GdiplusShutdown {
    void operator()(ULONG_PTR token) const noexcept;
};

// One start-up of GDI+, shut down when the object goes (its token is 0 when the start-up
// failed). The application keeps one for the whole process, the converter one while any CImage
// lives; the library runs until every start-up has been matched by a shutdown.
class GdiplusSession {
public:
    GdiplusSession() noexcept;
    bool Started() const noexcept { return static_cast<bool>(token_); }

private:
    platform::UniqueHandle<ULONG_PTR, GdiplusShutdown> token_;
};

// An owned, decoded image object. Default-constructed, or after a failed load, it is in the
// error state: width and height 0, and drawing it does nothing.
class Image {
public:
    Image() noexcept = default;
    ~Image();
    Image(Image&& other) noexcept;
    Image& operator=(Image&& other) noexcept;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // The picture loader of the window's painting (GdipLoadImageFromFile, no colour management).
    static Image FromFile(const wchar_t* path) noexcept;

    bool IsLoaded() const noexcept { return image_ != nullptr; }
    UINT GetWidth() const noexcept;
    UINT GetHeight() const noexcept;

    GdiplusImage* Native() const noexcept { return image_; }

protected:
    explicit Image(GdiplusImage* image) noexcept : image_(image) {}

private:
    GdiplusImage* image_ = nullptr;
};

// The image kind of the buttons: a bitmap decoded with GdipCreateBitmapFromFile.
class Bitmap : public Image {
public:
    Bitmap() noexcept = default;
    static Bitmap FromFile(const wchar_t* path) noexcept;

    // FromFile, then copied into a bitmap of its own in memory, in the same pixel format: the copy
    // makes GDI+ decode the whole file now, where Windows' GDI+ would otherwise decode it at the
    // first draw, and lets the file go. Draws exactly like FromFile's bitmap. Indexed images, and
    // a bitmap that can't be copied, are kept as decoded.
    static Bitmap DecodeFile(const wchar_t* path) noexcept;

    // A new bitmap of exactly `width` x `height` pixels (premultiplied ARGB, or 24-bit RGB for an
    // image without alpha) with this one scaled into it by GDI+'s best filter (high-quality
    // bicubic). The filter reaches beyond the edges, where it meets the image mirrored: edges keep
    // their colour and opacity instead of fading.
    // Empty when this one is, or on failure.
    Bitmap Scaled(int width, int height) const noexcept;

private:
    using Image::Image;
};

// The width and height a PNG file's header gives, without decoding the file; nothing when the
// file is missing or no PNG.
bool ReadPngSize(const wchar_t* path, SIZE& size) noexcept;

// A drawing surface on a device context for one paint or draw request, with GDI+'s default
// settings (source-over compositing, so images blend by their alpha).
class Graphics {
public:
    explicit Graphics(HDC dc) noexcept;
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    bool IsValid() const noexcept { return graphics_ != nullptr; }

    // Whole image scaled into the rectangle (GdipDrawImageRectI).
    bool DrawImage(const Image& image, int x, int y, int width, int height) noexcept;
    // The source part with its top-left at (x, y), pixel units (GdipDrawImagePointRectI).
    bool DrawImage(const Image& image, int x, int y, int srcX, int srcY, int srcWidth, int srcHeight) noexcept;
    // The source part scaled into the destination, pixel units (GdipDrawImageRectRectI).
    bool DrawImage(const Image& image, const RECT& destination, int srcX, int srcY, int srcWidth,
                   int srcHeight) noexcept;

private:
    GdiplusGraphics* graphics_ = nullptr;
};

// The platform's move-only owners of GDI objects.
using UniqueBitmap = platform::UniqueBitmap;
using UniqueBrush = platform::UniqueBrush;

// Turns an image file into a bottom-up GDI DIB section: indexed images keep their depth and
// palette (alpha dropped), 24-bit and 32-bit ARGB rows are copied as they are (not
// premultiplied), anything else is drawn by GDI+ into 32-bit ARGB or RGB. Keeps its own GDI+
// start-up while any CImage lives.
class CImage {
public:
    CImage() noexcept;
    ~CImage();
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // S_OK, E_FAIL (not started, not decodable, no DIB section, bad palette) or E_OUTOFMEMORY.
    HRESULT Load(const wchar_t* path) noexcept;
    // The same for a file already decoded by Bitmap::FromFile (E_FAIL when it failed to load), so
    // that a file shown both as a bitmap and as an image object is decoded once.
    HRESULT Load(const Bitmap& decoded) noexcept;
    // Hands the bitmap to the caller; the CImage is empty afterwards.
    HBITMAP Detach() noexcept;

    bool IsNull() const noexcept { return !bitmap_; }
    int GetWidth() const noexcept { return width_; }
    int GetHeight() const noexcept { return height_; }
    int GetBPP() const noexcept { return bitsPerPixel_; }
    bool HasAlphaChannel() const noexcept { return hasAlpha_; }

private:
    void Destroy() noexcept;
    HRESULT Convert(Gdiplus::GpBitmap* source) noexcept;

    UniqueBitmap bitmap_;
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    bool hasAlpha_ = false;
};

// A brush that tiles the bitmap's colour values; it keeps its own copy of them, so the
// bitmap may be released right after. Empty when there is no bitmap.
UniqueBrush MakePatternBrush(HBITMAP bitmap) noexcept;

// The background brush of the main window from an image file, as one step.
UniqueBrush MakePatternBrushFromFile(const wchar_t* path) noexcept;

}  // namespace controls
