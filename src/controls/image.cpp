#include "controls/image.h"

#include "controls/image_conversion.h"
#include "platform/handles_win.h"

// objidl.h first: gdiplus.h needs PROPID, which WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
// (kept apart so include sorting leaves objidl.h first)
#include <gdiplus.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <utility>
#include <vector>

namespace controls {

namespace gp = Gdiplus::DllExports;

namespace {

Gdiplus::GpImage* AsNative(GdiplusImage* image) noexcept { return reinterpret_cast<Gdiplus::GpImage*>(image); }
GdiplusImage* FromNative(Gdiplus::GpImage* image) noexcept { return reinterpret_cast<GdiplusImage*>(image); }
Gdiplus::GpGraphics* AsNative(GdiplusGraphics* graphics) noexcept {
    return reinterpret_cast<Gdiplus::GpGraphics*>(graphics);
}

// A Bitmap always holds a GDI+ bitmap (GdipCreateBitmapFromFile or a copy of one).
Gdiplus::GpBitmap* AsNativeBitmap(const Bitmap& bitmap) noexcept {
    return static_cast<Gdiplus::GpBitmap*>(AsNative(bitmap.Native()));
}

ULONG_PTR StartGdiplus() noexcept {
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, own background thread
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 0;
    return token;
}

}  // namespace

void GdiplusShutdown::operator()(ULONG_PTR token) const noexcept { Gdiplus::GdiplusShutdown(token); }

GdiplusSession::GdiplusSession() noexcept : token_(StartGdiplus()) {}

Image::~Image() {
    if (image_) gp::GdipDisposeImage(AsNative(image_));
}

Image::Image(Image&& other) noexcept : image_(other.image_) { other.image_ = nullptr; }

Image& Image::operator=(Image&& other) noexcept {
    if (this != &other) {
        if (image_) gp::GdipDisposeImage(AsNative(image_));
        image_ = other.image_;
        other.image_ = nullptr;
    }
    return *this;
}

Image Image::FromFile(const wchar_t* path) noexcept {
    Gdiplus::GpImage* image = nullptr;
    if (!path || gp::GdipLoadImageFromFile(path, &image) != Gdiplus::Ok) {
        if (image) gp::GdipDisposeImage(image);
        return Image();
    }
    return Image(FromNative(image));
}

UINT Image::GetWidth() const noexcept {
    UINT width = 0;
    if (image_ && gp::GdipGetImageWidth(AsNative(image_), &width) != Gdiplus::Ok) width = 0;
    return width;
}

UINT Image::GetHeight() const noexcept {
    UINT height = 0;
    if (image_ && gp::GdipGetImageHeight(AsNative(image_), &height) != Gdiplus::Ok) height = 0;
    return height;
}

Bitmap Bitmap::FromFile(const wchar_t* path) noexcept {
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (!path || gp::GdipCreateBitmapFromFile(path, &bitmap) != Gdiplus::Ok) {
        if (bitmap) gp::GdipDisposeImage(bitmap);
        return Bitmap();
    }
    return Bitmap(FromNative(bitmap));
}

Bitmap Bitmap::DecodeFile(const wchar_t* path) noexcept {
    Bitmap decoded = FromFile(path);
    if (!decoded.IsLoaded()) return decoded;
    // The same pixel format: a premultiplied copy would draw faster under Wine, but blends scaled
    // draws in another order and differs from the file's pixels by one here and there. Wine's
    // copy of a 1-bit image loses its pixels, so indexed images are not copied.
    Gdiplus::PixelFormat format = 0;
    Gdiplus::GpBitmap* copy = nullptr;
    if (gp::GdipGetImagePixelFormat(AsNativeBitmap(decoded), &format) != Gdiplus::Ok || (format & PixelFormatIndexed) ||
        gp::GdipCloneBitmapAreaI(0, 0, static_cast<INT>(decoded.GetWidth()), static_cast<INT>(decoded.GetHeight()),
                                 format, AsNativeBitmap(decoded), &copy) != Gdiplus::Ok) {
        if (copy) gp::GdipDisposeImage(copy);
        return decoded;
    }
    return Bitmap(FromNative(copy));
}

namespace {

// One horizontal band of a scaled image: rows [top, top + rows) of the result, drawn from a
// source of its own (GDI+ lets no two threads use one image at once).
struct ScaleBand {
    Gdiplus::GpImage* source;
    BYTE* scan0;  // the band's first row in the result's pixels
    INT stride;
    Gdiplus::PixelFormat format;
    int width;
    int height;  // of the whole result
    int top;
    int rows;
    bool drawn;
};

DWORD WINAPI DrawScaleBand(LPVOID parameter) noexcept {
    auto& band = *static_cast<ScaleBand*>(parameter);
    Gdiplus::GpBitmap* target = nullptr;
    Gdiplus::GpGraphics* surface = nullptr;
    Gdiplus::GpImageAttributes* attributes = nullptr;
    UINT sourceWidth = 0;
    UINT sourceHeight = 0;
    band.drawn = gp::GdipCreateBitmapFromScan0(band.width, band.rows, band.stride, band.format, band.scan0, &target) ==
                     Gdiplus::Ok &&
                 gp::GdipGetImageGraphicsContext(target, &surface) == Gdiplus::Ok &&
                 gp::GdipCreateImageAttributes(&attributes) == Gdiplus::Ok &&
                 gp::GdipGetImageWidth(band.source, &sourceWidth) == Gdiplus::Ok &&
                 gp::GdipGetImageHeight(band.source, &sourceHeight) == Gdiplus::Ok;
    if (band.drawn) {
        gp::GdipSetCompositingMode(surface, Gdiplus::CompositingModeSourceCopy);
        gp::GdipSetInterpolationMode(surface, Gdiplus::InterpolationModeHighQualityBicubic);
        // Pixel centres, not corners, are scaled onto each other: no half-pixel shift.
        gp::GdipSetPixelOffsetMode(surface, Gdiplus::PixelOffsetModeHighQuality);
        gp::GdipSetImageAttributesWrapMode(attributes, Gdiplus::WrapModeTileFlipXY, 0, FALSE);
        // The whole image is placed so that this band's rows land in the band's bitmap; GDI+
        // works out the pixels within it only.
        band.drawn = gp::GdipDrawImageRectRectI(surface, band.source, 0, -band.top, band.width, band.height, 0, 0,
                                                static_cast<INT>(sourceWidth), static_cast<INT>(sourceHeight),
                                                Gdiplus::UnitPixel, attributes, nullptr, nullptr) == Gdiplus::Ok;
    }
    if (attributes) gp::GdipDisposeImageAttributes(attributes);
    if (surface) gp::GdipDeleteGraphics(surface);
    if (target) gp::GdipDisposeImage(target);
    return 0;
}

}  // namespace

Bitmap Bitmap::Scaled(int width, int height) const noexcept {
    if (!IsLoaded() || width <= 0 || height <= 0) return Bitmap();
    // Opaque images stay without alpha (24-bit, as the background usually is at 100 %): the
    // background brush's bitmap is then a copy of their rows.
    Gdiplus::PixelFormat sourceFormat = 0;
    gp::GdipGetImagePixelFormat(AsNative(Native()), &sourceFormat);
    const Gdiplus::PixelFormat format = (sourceFormat & PixelFormatAlpha) ? PixelFormat32bppPARGB : PixelFormat24bppRGB;
    Gdiplus::GpBitmap* scaled = nullptr;
    if (gp::GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &scaled) != Gdiplus::Ok) return Bitmap();
    Bitmap result(FromNative(scaled));
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData pixels{};
    if (gp::GdipBitmapLockBits(scaled, &all, Gdiplus::ImageLockModeWrite, format, &pixels) != Gdiplus::Ok)
        return Bitmap();

    // A large image is scaled in two bands at once, the second on a thread of its own: the
    // window waits for the background, and GDI+ scales pixel by pixel.
    constexpr int kBandedPixels = 256 * 1024;
    const int bandCount = width * height >= kBandedPixels && height >= 2 ? 2 : 1;
    ScaleBand bands[2]{};
    for (int i = 0; i < bandCount; ++i) {
        ScaleBand& band = bands[i];
        band.top = height * i / bandCount;
        band.rows = height * (i + 1) / bandCount - band.top;
        band.scan0 = static_cast<BYTE*>(pixels.Scan0) + static_cast<ptrdiff_t>(band.top) * pixels.Stride;
        band.stride = pixels.Stride;
        band.format = format;
        band.width = width;
        band.height = height;
        if (gp::GdipCloneImage(AsNative(Native()), &band.source) != Gdiplus::Ok) band.source = nullptr;
    }
    const platform::UniqueKernelHandle helper(
        bandCount > 1 && bands[1].source ? CreateThread(nullptr, 0, &DrawScaleBand, &bands[1], 0, nullptr) : nullptr);
    for (int i = 0; i < bandCount; ++i) {
        if (bands[i].source && !(i == 1 && helper)) DrawScaleBand(&bands[i]);
    }
    if (helper) WaitForSingleObject(helper.Get(), INFINITE);
    gp::GdipBitmapUnlockBits(scaled, &pixels);
    bool drawn = true;
    for (int i = 0; i < bandCount; ++i) {
        drawn = drawn && bands[i].drawn;
        if (bands[i].source) gp::GdipDisposeImage(bands[i].source);
    }
    return drawn ? std::move(result) : Bitmap();
}

bool ReadPngSize(const wchar_t* path, SIZE& size) noexcept {
    const platform::UniqueFileHandle file(
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    // The signature, then the IHDR chunk: length, type, width and height (big-endian).
    BYTE header[24] = {};
    DWORD read = 0;
    const bool complete = ReadFile(file.Get(), header, sizeof(header), &read, nullptr) && read == sizeof(header);
    constexpr BYTE kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    if (!complete || std::memcmp(header, kSignature, sizeof(kSignature)) != 0) return false;
    const auto bigEndian = [&header](int at) {
        return static_cast<LONG>((header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3]);
    };
    size = SIZE{bigEndian(16), bigEndian(20)};
    return size.cx > 0 && size.cy > 0;
}

Graphics::Graphics(HDC dc) noexcept {
    Gdiplus::GpGraphics* graphics = nullptr;
    if (dc && gp::GdipCreateFromHDC(dc, &graphics) == Gdiplus::Ok) {
        graphics_ = reinterpret_cast<GdiplusGraphics*>(graphics);
    } else if (graphics) {
        gp::GdipDeleteGraphics(graphics);
    }
}

Graphics::~Graphics() {
    if (graphics_) gp::GdipDeleteGraphics(AsNative(graphics_));
}

bool Graphics::DrawImage(const Image& image, int x, int y, int width, int height) noexcept {
    if (!graphics_ || !image.IsLoaded()) return false;
    return gp::GdipDrawImageRectI(AsNative(graphics_), AsNative(image.Native()), x, y, width, height) == Gdiplus::Ok;
}

bool Graphics::DrawImage(const Image& image, int x, int y, int srcX, int srcY, int srcWidth, int srcHeight) noexcept {
    if (!graphics_ || !image.IsLoaded()) return false;
    return gp::GdipDrawImagePointRectI(AsNative(graphics_), AsNative(image.Native()), x, y, srcX, srcY, srcWidth,
                                       srcHeight, Gdiplus::UnitPixel) == Gdiplus::Ok;
}

bool Graphics::DrawImage(const Image& image, const RECT& destination, int srcX, int srcY, int srcWidth,
                         int srcHeight) noexcept {
    if (!graphics_ || !image.IsLoaded()) return false;
    return gp::GdipDrawImageRectRectI(AsNative(graphics_), AsNative(image.Native()), destination.left, destination.top,
                                      destination.right - destination.left, destination.bottom - destination.top, srcX,
                                      srcY, srcWidth, srcHeight, Gdiplus::UnitPixel, nullptr, nullptr,
                                      nullptr) == Gdiplus::Ok;
}

namespace {

// The converter's own start-up record, shared by every CImage of the process: GDI+ runs for
// it while at least one CImage lives.
class ConverterStartup {
public:
    ConverterStartup() noexcept {
        if (!InitializeCriticalSectionAndSpinCount(&lock_, 0)) setupError_ = GetLastError() ? GetLastError() : 1;
    }
    ~ConverterStartup() {
        session_.reset();  // a start-up still running at process exit is shut down here
        if (!setupError_) DeleteCriticalSection(&lock_);
    }
    ConverterStartup(const ConverterStartup&) = delete;
    ConverterStartup& operator=(const ConverterStartup&) = delete;

    bool Start() noexcept {
        if (setupError_) return false;
        EnterCriticalSection(&lock_);
        // A failed start-up is not kept: the next conversion tries again.
        if (!session_ || !session_->Started()) session_.emplace();
        const bool started = session_->Started();
        LeaveCriticalSection(&lock_);
        return started;
    }
    void AddImage() noexcept {
        if (setupError_) return;
        EnterCriticalSection(&lock_);
        ++liveImages_;
        LeaveCriticalSection(&lock_);
    }
    void RemoveImage() noexcept {
        if (setupError_) return;
        EnterCriticalSection(&lock_);
        if (liveImages_ > 0 && --liveImages_ == 0) session_.reset();
        LeaveCriticalSection(&lock_);
    }

private:
    std::optional<GdiplusSession> session_;
    CRITICAL_SECTION lock_{};
    long liveImages_ = 0;
    DWORD setupError_ = 0;
};

// Made at process start, before any CImage, as a record of the whole process; a function-local
// static would need the C++ runtime's thread-safe initialisation, and with it its exceptions.
ConverterStartup g_converterStartup;

ConverterStartup& Converter() noexcept { return g_converterStartup; }

constexpr Gdiplus::PixelFormat kFormatSizeMask = 0x0000FF00;

struct ImageDisposer {
    void operator()(Gdiplus::GpImage* image) const noexcept { gp::GdipDisposeImage(image); }
};
struct GraphicsDeleter {
    void operator()(Gdiplus::GpGraphics* graphics) const noexcept { gp::GdipDeleteGraphics(graphics); }
};
// The temporary GDI+ objects of one conversion.
using UniqueGpBitmap = platform::UniqueHandle<Gdiplus::GpBitmap*, ImageDisposer>;
using UniqueGpGraphics = platform::UniqueHandle<Gdiplus::GpGraphics*, GraphicsDeleter>;

HRESULT CopyPalette(Gdiplus::GpBitmap* source, HDC memoryDc) noexcept {
    INT size = 0;
    if (gp::GdipGetImagePaletteSize(source, &size) != Gdiplus::Ok ||
        size < static_cast<INT>(sizeof(Gdiplus::ColorPalette)))
        return E_FAIL;
    // Allocated without throwing: the conversion reports exhaustion as E_OUTOFMEMORY.
    const std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[static_cast<size_t>(size)]);
    if (!buffer) return E_OUTOFMEMORY;
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.get());
    if (gp::GdipGetImagePalette(source, palette, size) != Gdiplus::Ok) return E_FAIL;
    const UINT count = palette->Count;
    // The entries actually present in the buffer bound the count too, whatever it claims.
    const size_t room = (static_cast<size_t>(size) - offsetof(Gdiplus::ColorPalette, Entries)) / sizeof(Gdiplus::ARGB);
    if (count < 1 || count > 256 || count > room) return E_FAIL;
    RGBQUAD table[256]{};
    for (UINT i = 0; i < count; ++i) {
        const Gdiplus::ARGB colour = palette->Entries[i];
        table[i].rgbRed = static_cast<BYTE>(colour >> 16);
        table[i].rgbGreen = static_cast<BYTE>(colour >> 8);
        table[i].rgbBlue = static_cast<BYTE>(colour);
        table[i].rgbReserved = 0;  // the palette's alpha is dropped
    }
    SetDIBColorTable(memoryDc, 0, count, table);
    return S_OK;
}

// The section a decoded format converts into: GDI formats keep their depth and pixels, formats
// with alpha become 32-bit ARGB, all others 32-bit RGB.
struct SectionFormat {
    int bitsPerPixel = 32;
    bool alpha = false;
    Gdiplus::PixelFormat target = PixelFormat32bppRGB;
};

SectionFormat SectionFormatFor(Gdiplus::PixelFormat format) noexcept {
    SectionFormat section;
    if (format & PixelFormatGDI) {
        section.bitsPerPixel = static_cast<int>((format & kFormatSizeMask) >> 8);
        section.target = format;
    }
    if (format & PixelFormatAlpha) {
        section.bitsPerPixel = 32;
        section.alpha = true;
        section.target = PixelFormat32bppARGB;
    }
    return section;
}

struct DibSection {
    UniqueBitmap bitmap;
    size_t pitch = 0;
    BYTE* topRow = nullptr;  // row 0 of the image: the last row in memory of a bottom-up section
};

DibSection CreateBottomUpSection(UINT width, UINT height, int bitsPerPixel) noexcept {
    // Room for a full colour table; entries stay zero until the palette fills them.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = static_cast<LONG>(width);
    info.header.biHeight = static_cast<LONG>(height);  // positive: bottom-up rows
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.header.biCompression = BI_RGB;
    if (bitsPerPixel <= 8) info.header.biClrUsed = 1u << bitsPerPixel;

    DibSection dib;
    void* bits = nullptr;
    dib.bitmap.Reset(
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bits) {
        dib.bitmap.Reset();
        return dib;
    }
    dib.pitch = ((static_cast<size_t>(width) * bitsPerPixel + 31) / 32) * 4;
    dib.topRow = static_cast<BYTE*>(bits) + dib.pitch * (height - 1);
    return dib;
}

// The pixels as they are, row by row, for a source already in the section's format.
HRESULT CopyRows(Gdiplus::GpBitmap* source, Gdiplus::PixelFormat format, UINT width, UINT height, int bitsPerPixel,
                 const DibSection& dib) noexcept {
    Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData locked{};
    if (gp::GdipBitmapLockBits(source, &all, Gdiplus::ImageLockModeRead, format, &locked) != Gdiplus::Ok)
        return E_OUTOFMEMORY;
    const size_t rowBytes = (static_cast<size_t>(width) * bitsPerPixel + 7) / 8;
    for (UINT row = 0; row < height; ++row) {
        const BYTE* from = static_cast<const BYTE*>(locked.Scan0) + static_cast<ptrdiff_t>(row) * locked.Stride;
        std::memcpy(dib.topRow - dib.pitch * row, from, rowBytes);
    }
    gp::GdipBitmapUnlockBits(source, &locked);
    return S_OK;
}

// The source drawn by GDI+ into the section, converted to `target` on the way.
HRESULT DrawUpright(Gdiplus::GpBitmap* source, Gdiplus::PixelFormat target, UINT width, UINT height,
                    const DibSection& dib) noexcept {
    // Negative stride from the top row: GDI+ writes the image upright into the bottom-up section.
    Gdiplus::GpBitmap* rawWrapper = nullptr;
    Gdiplus::GpStatus status =
        gp::GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), -static_cast<INT>(dib.pitch),
                                      target, dib.topRow, &rawWrapper);
    const UniqueGpBitmap wrapper(rawWrapper);
    if (status != Gdiplus::Ok) return E_FAIL;
    Gdiplus::GpGraphics* rawSurface = nullptr;
    status = gp::GdipGetImageGraphicsContext(wrapper.Get(), &rawSurface);
    const UniqueGpGraphics surface(rawSurface);  // deleted before the wrapper it draws into
    if (status == Gdiplus::Ok) {
        // Drawn into the full rectangle, so a file whose stored resolution differs from the
        // surface's still fills the bitmap 1:1 instead of being scaled.
        status = gp::GdipDrawImageRectI(surface.Get(), source, 0, 0, static_cast<INT>(width), static_cast<INT>(height));
    }
    return status == Gdiplus::Ok ? S_OK : E_FAIL;
}

}  // namespace

CImage::CImage() noexcept { Converter().AddImage(); }

CImage::~CImage() {
    Destroy();
    Converter().RemoveImage();
}

void CImage::Destroy() noexcept {
    bitmap_.Reset();
    width_ = height_ = bitsPerPixel_ = 0;
    hasAlpha_ = false;
}

HBITMAP CImage::Detach() noexcept {
    HBITMAP bitmap = bitmap_.Release();
    Destroy();
    return bitmap;
}

HRESULT CImage::Load(const wchar_t* path) noexcept {
    Destroy();
    if (!Converter().Start()) return E_FAIL;

    if (!path) return E_FAIL;
    Gdiplus::GpBitmap* decoded = nullptr;
    const Gdiplus::GpStatus status = gp::GdipCreateBitmapFromFile(path, &decoded);
    const UniqueGpBitmap source(decoded);
    if (status != Gdiplus::Ok || !source) return E_FAIL;
    return Convert(source.Get());
}

HRESULT CImage::Load(const Bitmap& decoded) noexcept {
    Destroy();
    if (!Converter().Start()) return E_FAIL;
    if (!decoded.IsLoaded()) return E_FAIL;
    return Convert(AsNativeBitmap(decoded));
}

HRESULT CImage::Convert(Gdiplus::GpBitmap* source) noexcept {
    ConvertedBitmap converted;
    const HRESULT result = ConvertToDibSection(source, converted);
    if (FAILED(result)) return result;
    bitmap_ = std::move(converted.bitmap);
    width_ = converted.width;
    height_ = converted.height;
    bitsPerPixel_ = converted.bitsPerPixel;
    hasAlpha_ = converted.hasAlpha;
    return S_OK;
}

HRESULT ConvertToDibSection(Gdiplus::GpBitmap* source, ConvertedBitmap& result) noexcept {
    result = ConvertedBitmap();
    if (!source) return E_FAIL;
    UINT width = 0;
    UINT height = 0;
    Gdiplus::PixelFormat format = 0;
    if (gp::GdipGetImageWidth(source, &width) != Gdiplus::Ok ||
        gp::GdipGetImageHeight(source, &height) != Gdiplus::Ok ||
        gp::GdipGetImagePixelFormat(source, &format) != Gdiplus::Ok)
        return E_FAIL;
    if (width == 0 || height == 0 || width > 0x7FFF'FFFF || height > 0x7FFF'FFFF) return E_FAIL;

    const SectionFormat section = SectionFormatFor(format);
    if (section.bitsPerPixel < 1 || section.bitsPerPixel > 32) return E_FAIL;
    DibSection dib = CreateBottomUpSection(width, height, section.bitsPerPixel);
    if (!dib.bitmap) return E_FAIL;

    if (format & PixelFormatIndexed) {
        const platform::UniqueMemoryDc memoryDc(CreateCompatibleDC(nullptr));
        if (!memoryDc) return E_FAIL;
        const platform::SelectScope selected(memoryDc.Get(), dib.bitmap.Get());
        const HRESULT paletteResult = CopyPalette(source, memoryDc.Get());
        if (FAILED(paletteResult)) return paletteResult;
    }
    const HRESULT pixelsResult = section.target == format
                                     ? CopyRows(source, format, width, height, section.bitsPerPixel, dib)
                                     : DrawUpright(source, section.target, width, height, dib);
    if (FAILED(pixelsResult)) return pixelsResult;

    result.bitmap = std::move(dib.bitmap);
    result.width = static_cast<int>(width);
    result.height = static_cast<int>(height);
    result.bitsPerPixel = section.bitsPerPixel;
    result.hasAlpha = section.alpha;
    return S_OK;
}

UniqueBrush MakePatternBrush(HBITMAP bitmap) noexcept {
    if (!bitmap) return UniqueBrush();
    return UniqueBrush(CreatePatternBrush(bitmap));
}

UniqueBrush MakePatternBrushFromFile(const wchar_t* path) noexcept {
    CImage image;
    image.Load(path);
    UniqueBitmap bitmap(image.Detach());
    return MakePatternBrush(bitmap.Get());
}

}  // namespace controls
