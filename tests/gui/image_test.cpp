#include "controls/image.h"

// objidl.h first: gdiplus.h needs PROPID, which WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
// (kept apart so include sorting leaves objidl.h first)
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "controls/image_conversion.h"
#include "gdi_support.h"

namespace {

using test::Colour;
using test::DibReader;
using test::ImagePath;

// The fixtures' 3 x 2 picture: red, lime, blue over white, black, half-transparent orange.
const Colour kPicture[2][3] = {
    {{0, 0, 255, 255}, {0, 255, 0, 255}, {255, 0, 0, 255}},
    {{255, 255, 255, 255}, {0, 0, 0, 255}, {50, 100, 200, 128}},
};

bool Near(int actual, int expected, int tolerance) { return std::abs(actual - expected) <= tolerance; }

void ExpectPicture(const DibReader& dib, bool withAlpha, int tolerance, const char* name) {
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            const Colour actual = dib.At(x, y);
            const Colour& expected = kPicture[y][x];
            SCOPED_TRACE(testing::Message() << name << " pixel " << x << "," << y);
            EXPECT_TRUE(Near(actual.blue, expected.blue, tolerance)) << actual.blue;
            EXPECT_TRUE(Near(actual.green, expected.green, tolerance)) << actual.green;
            EXPECT_TRUE(Near(actual.red, expected.red, tolerance)) << actual.red;
            if (withAlpha) {
                EXPECT_TRUE(Near(actual.alpha, expected.alpha, tolerance)) << actual.alpha;
            }
        }
    }
}

class ImageTest : public testing::Test {
protected:
    controls::GdiplusSession session_;
};

// --- Converting files into GDI bitmaps --------------------------------------------------

struct FileCase {
    const char* file;
    int depth;      // 0: decoder's choice (16-bit sources), checked only to be 32
    int alphaFlag;  // 1 set, 0 clear, -1 decoder's choice
    int tolerance;  // on colour values; 16-bit sources are rounded to 8 bits
};

TEST_F(ImageTest, ConvertedFilesKeepTheirPixelsRowsAndDepth) {
    const FileCase cases[] = {
        {"rgb24.png", 24, 0, 0},
        {"argb32.png", 32, 1, 0},   // rows copied: non-premultiplied orange keeps 200, 100, 50
        {"pargb32.tif", 32, 1, 2},  // premultiplied source, drawn into non-premultiplied ARGB
        {"rgba64.png", 32, 1, 2},
        {"rgb48.png", 32, -1, 2},  // pixels only: the alpha byte depends on the decoder
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.file);
        controls::CImage image;
        ASSERT_EQ(image.Load(ImagePath(c.file).c_str()), S_OK);
        EXPECT_EQ(image.GetWidth(), 3);
        EXPECT_EQ(image.GetHeight(), 2);
        EXPECT_EQ(image.GetBPP(), c.depth);
        if (c.alphaFlag >= 0) {
            EXPECT_EQ(image.HasAlphaChannel(), c.alphaFlag == 1);
        }
        controls::UniqueBitmap bitmap(image.Detach());
        EXPECT_TRUE(image.IsNull());
        DibReader dib(bitmap.Get());
        ASSERT_TRUE(dib.Valid());
        EXPECT_GT(dib.Section().dsBmih.biHeight, 0) << "rows must be bottom-up";
        EXPECT_EQ(dib.Section().dsBmih.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(dib.Section().dsBm.bmWidthBytes, ((3 * c.depth + 31) / 32) * 4);
        ExpectPicture(dib, c.alphaFlag == 1, c.tolerance, c.file);
    }
}

TEST_F(ImageTest, GreyAndPaletteFilesShowTheirColours) {
    struct Case {
        const char* file;
        int width, height;
        std::vector<Colour> topRow;  // alpha ignored
    } cases[] = {
        {"gray16.png", 3, 1, {{64, 64, 64, 0}, {128, 128, 128, 0}, {191, 191, 191, 0}}},
        {"palette8_opaque.png", 3, 2, {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}}},
        {"palette1.png", 3, 2, {{0, 0, 0, 0}, {255, 255, 255, 0}, {255, 255, 255, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        controls::CImage image;
        ASSERT_EQ(image.Load(ImagePath(c.file).c_str()), S_OK);
        controls::UniqueBitmap bitmap(image.Detach());
        DibReader dib(bitmap.Get());
        ASSERT_TRUE(dib.Valid());
        EXPECT_EQ(dib.Section().dsBm.bmWidth, c.width);
        EXPECT_EQ(dib.Section().dsBm.bmHeight, c.height);
        for (int x = 0; x < c.width; ++x) {
            const Colour actual = dib.At(x, 0);
            EXPECT_TRUE(Near(actual.red, c.topRow[x].red, 2) && Near(actual.green, c.topRow[x].green, 2) &&
                        Near(actual.blue, c.topRow[x].blue, 2))
                << "x " << x << ": " << actual.red << "," << actual.green << "," << actual.blue;
        }
    }
}

TEST_F(ImageTest, IndexedFilesKeepTheirDepthAndPalette) {
    struct Case {
        const char* file;
        int depth;
        int minEntries;
    } cases[] = {{"palette8_opaque.png", 8, 6}, {"palette1.png", 1, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        controls::CImage image;
        ASSERT_EQ(image.Load(ImagePath(c.file).c_str()), S_OK);
        EXPECT_EQ(image.GetBPP(), c.depth);
        EXPECT_FALSE(image.HasAlphaChannel());
        controls::UniqueBitmap bitmap(image.Detach());
        DibReader dib(bitmap.Get());
        ASSERT_TRUE(dib.Valid());
        EXPECT_EQ(dib.Depth(), c.depth);
        ASSERT_GE(dib.Table().size(), static_cast<size_t>(c.minEntries));
        for (const RGBQUAD& entry : dib.Table()) EXPECT_EQ(entry.rgbReserved, 0);
    }
}

TEST_F(ImageTest, FilesThatCannotBeDecodedFailAndLeaveNoBitmap) {
    const char* files[] = {"missing.png", "not_an_image.png"};
    for (const char* file : files) {
        SCOPED_TRACE(file);
        controls::CImage image;
        EXPECT_EQ(image.Load(ImagePath(file).c_str()), E_FAIL);
        EXPECT_TRUE(image.IsNull());
        EXPECT_EQ(image.Detach(), nullptr);
        EXPECT_FALSE(controls::MakePatternBrushFromFile(ImagePath(file).c_str()));
    }
    controls::CImage image;
    EXPECT_EQ(image.Load(nullptr), E_FAIL);
}

TEST_F(ImageTest, AFailedLoadDropsTheBitmapOfTheLastOne) {
    controls::CImage image;
    ASSERT_EQ(image.Load(ImagePath("rgb24.png").c_str()), S_OK);
    EXPECT_EQ(image.Load(ImagePath("missing.png").c_str()), E_FAIL);
    EXPECT_TRUE(image.IsNull());
    EXPECT_EQ(image.GetWidth(), 0);
}

// --- Converting decoded bitmaps of formats no file gives here ---------------------------

namespace gp = Gdiplus::DllExports;

struct NativeBitmap {
    Gdiplus::GpBitmap* bitmap = nullptr;
    NativeBitmap(int width, int height, Gdiplus::PixelFormat format) {
        gp::GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &bitmap);
    }
    ~NativeBitmap() {
        if (bitmap) gp::GdipDisposeImage(bitmap);
    }
    NativeBitmap(const NativeBitmap&) = delete;
    NativeBitmap& operator=(const NativeBitmap&) = delete;
};

void SetPalette(Gdiplus::GpBitmap* bitmap, const std::vector<Gdiplus::ARGB>& colours, UINT claimedCount) {
    std::vector<BYTE> buffer(sizeof(Gdiplus::ColorPalette) + colours.size() * sizeof(Gdiplus::ARGB));
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.data());
    palette->Flags = 0;
    palette->Count = claimedCount;
    for (size_t i = 0; i < colours.size(); ++i) palette->Entries[i] = colours[i];
    gp::GdipSetImagePalette(bitmap, palette);
}

TEST_F(ImageTest, PaletteAlphaIsDroppedFromTheColourTable) {
    NativeBitmap source(2, 1, PixelFormat8bppIndexed);
    ASSERT_NE(source.bitmap, nullptr);
    SetPalette(source.bitmap, {0x80112233, 0x00445566, 0xFF778899}, 3);
    controls::ConvertedBitmap result;
    ASSERT_EQ(controls::ConvertToDibSection(source.bitmap, result), S_OK);
    EXPECT_EQ(result.bitsPerPixel, 8);
    EXPECT_FALSE(result.hasAlpha);
    DibReader dib(result.bitmap.Get());
    ASSERT_GE(dib.Table().size(), 3u);
    const RGBQUAD expected[3] = {{0x33, 0x22, 0x11, 0}, {0x66, 0x55, 0x44, 0}, {0x99, 0x88, 0x77, 0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dib.Table()[i].rgbBlue, expected[i].rgbBlue) << i;
        EXPECT_EQ(dib.Table()[i].rgbGreen, expected[i].rgbGreen) << i;
        EXPECT_EQ(dib.Table()[i].rgbRed, expected[i].rgbRed) << i;
        EXPECT_EQ(dib.Table()[i].rgbReserved, 0) << i;
    }
}

TEST_F(ImageTest, FormatsWithoutGdiLayoutAreDrawnIntoThirtyTwoBits) {
    struct Case {
        Gdiplus::PixelFormat format;
        bool alpha;
    } cases[] = {{PixelFormat48bppRGB, false}, {PixelFormat64bppARGB, true}, {PixelFormat32bppPARGB, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.format);
        NativeBitmap source(2, 2, c.format);
        ASSERT_NE(source.bitmap, nullptr);
        gp::GdipBitmapSetPixel(source.bitmap, 0, 0, 0xFFFF0000);
        gp::GdipBitmapSetPixel(source.bitmap, 1, 0, 0xFF00FF00);
        gp::GdipBitmapSetPixel(source.bitmap, 0, 1, 0xFF0000FF);
        gp::GdipBitmapSetPixel(source.bitmap, 1, 1, 0xFFFFFFFF);
        controls::ConvertedBitmap result;
        ASSERT_EQ(controls::ConvertToDibSection(source.bitmap, result), S_OK);
        EXPECT_EQ(result.bitsPerPixel, 32);
        EXPECT_EQ(result.hasAlpha, c.alpha);
        DibReader dib(result.bitmap.Get());
        ASSERT_TRUE(dib.Valid());
        const Colour red = dib.At(0, 0), lime = dib.At(1, 0), blue = dib.At(0, 1), white = dib.At(1, 1);
        EXPECT_TRUE(red.red > 250 && red.green < 5 && red.blue < 5);
        EXPECT_TRUE(lime.green > 250 && lime.red < 5 && lime.blue < 5);
        EXPECT_TRUE(blue.blue > 250 && blue.red < 5 && blue.green < 5) << "the picture must stay upright";
        EXPECT_TRUE(white.red > 250 && white.green > 250 && white.blue > 250);
    }
}

TEST_F(ImageTest, PalettesOutsideOneTo256EntriesFail) {
    const UINT counts[] = {0, 257};
    for (UINT count : counts) {
        SCOPED_TRACE(count);
        NativeBitmap source(2, 1, PixelFormat8bppIndexed);
        ASSERT_NE(source.bitmap, nullptr);
        SetPalette(source.bitmap, std::vector<Gdiplus::ARGB>(count, 0xFF000000), count);
        INT size = 0;
        gp::GdipGetImagePaletteSize(source.bitmap, &size);
        std::vector<BYTE> buffer(static_cast<size_t>(std::max(size, static_cast<INT>(sizeof(Gdiplus::ColorPalette)))));
        auto* stored = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.data());
        ASSERT_EQ(gp::GdipGetImagePalette(source.bitmap, stored, size), Gdiplus::Ok);
        controls::ConvertedBitmap result;
        if (stored->Count == count) {
            EXPECT_EQ(controls::ConvertToDibSection(source.bitmap, result), E_FAIL);
            EXPECT_FALSE(result.bitmap);
        } else {
            // GDI+ refused the palette and kept a valid one of its own.
            EXPECT_EQ(controls::ConvertToDibSection(source.bitmap, result), S_OK) << stored->Count;
        }
    }
}

TEST_F(ImageTest, NoSourceFails) {
    controls::ConvertedBitmap result;
    EXPECT_EQ(controls::ConvertToDibSection(nullptr, result), E_FAIL);
}

// --- Pattern brush ------------------------------------------------------------------------

TEST_F(ImageTest, PatternBrushTilesStoredColoursIgnoringAlpha) {
    controls::UniqueBrush brush = controls::MakePatternBrushFromFile(ImagePath("argb32.png").c_str());
    ASSERT_TRUE(brush);
    test::Canvas canvas(6, 4, RGB(1, 2, 3));
    RECT all{0, 0, 6, 4};
    FillRect(canvas.Dc(), &all, brush.Get());
    struct Case {
        int x, y;
        COLORREF colour;
    } cases[] = {
        {0, 0, RGB(255, 0, 0)}, {1, 0, RGB(0, 255, 0)},    {2, 1, RGB(200, 100, 50)},  // transparent: stored colour
        {3, 0, RGB(255, 0, 0)}, {5, 3, RGB(200, 100, 50)}, {4, 3, RGB(0, 0, 0)},       // repeated
    };
    for (const Case& c : cases) EXPECT_EQ(canvas.At(c.x, c.y), c.colour) << c.x << "," << c.y;
    EXPECT_FALSE(controls::MakePatternBrush(nullptr));
}

// --- Image objects and drawing -------------------------------------------------------------

TEST_F(ImageTest, ImageObjectsReportTheirSizeOrZero) {
    struct Case {
        const char* file;
        UINT width, height;
    } cases[] = {{"argb32.png", 3, 2}, {"button_large.png", 60, 30}, {"missing.png", 0, 0}, {"not_an_image.png", 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const controls::Image image = controls::Image::FromFile(ImagePath(c.file).c_str());
        const controls::Bitmap bitmap = controls::Bitmap::FromFile(ImagePath(c.file).c_str());
        EXPECT_EQ(image.GetWidth(), c.width);
        EXPECT_EQ(image.GetHeight(), c.height);
        EXPECT_EQ(bitmap.GetWidth(), c.width);
        EXPECT_EQ(bitmap.GetHeight(), c.height);
        EXPECT_EQ(image.IsLoaded(), c.width != 0);
    }
}

TEST_F(ImageTest, DrawingAnEmptyImageLeavesTheTargetUnchanged) {
    test::Canvas canvas(4, 4, RGB(9, 8, 7));
    const controls::Image missing = controls::Image::FromFile(ImagePath("missing.png").c_str());
    {
        controls::Graphics graphics(canvas.Dc());
        ASSERT_TRUE(graphics.IsValid());
        EXPECT_FALSE(graphics.DrawImage(missing, 0, 0, 4, 4));
        EXPECT_FALSE(graphics.DrawImage(missing, 0, 0, 0, 0, 4, 4));
        EXPECT_FALSE(graphics.DrawImage(missing, RECT{0, 0, 4, 4}, 0, 0, 4, 4));
    }
    EXPECT_EQ(canvas.Count(RGB(9, 8, 7)), 16);
}

TEST_F(ImageTest, SameSizeDrawCopiesOneToOneBlendedByAlpha) {
    test::Canvas canvas(3, 2, RGB(128, 128, 128));
    const controls::Bitmap picture = controls::Bitmap::FromFile(ImagePath("argb32.png").c_str());
    const controls::Bitmap withHole = controls::Bitmap::FromFile(ImagePath("palette8.png").c_str());
    {
        controls::Graphics graphics(canvas.Dc());
        ASSERT_TRUE(graphics.DrawImage(picture, RECT{0, 0, 3, 2}, 0, 0, 3, 2));
    }
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(2, 0), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(1, 1), RGB(0, 0, 0));
    const COLORREF blended = canvas.At(2, 1);  // half of (200, 100, 50) over grey 128
    EXPECT_TRUE(Near(GetRValue(blended), 164, 3) && Near(GetGValue(blended), 114, 3) && Near(GetBValue(blended), 89, 3))
        << std::hex << blended;

    canvas.Fill(RGB(128, 128, 128));
    {
        controls::Graphics graphics(canvas.Dc());
        ASSERT_TRUE(graphics.DrawImage(withHole, RECT{0, 0, 3, 2}, 0, 0, 3, 2));
    }
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(2, 1), RGB(128, 128, 128)) << "a fully transparent pixel leaves the content";
}

TEST_F(ImageTest, DrawingAPartAtAPointAndTheWholeIntoARectangle) {
    test::Canvas canvas(6, 4, RGB(128, 128, 128));
    const controls::Image picture = controls::Image::FromFile(ImagePath("argb32.png").c_str());
    {
        controls::Graphics graphics(canvas.Dc());
        ASSERT_TRUE(graphics.DrawImage(picture, 4, 3, 1, 0, 2, 1));  // lime, blue at (4, 3)
    }
    EXPECT_EQ(canvas.At(4, 3), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(5, 3), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(3, 3), RGB(128, 128, 128));
    EXPECT_EQ(canvas.At(4, 2), RGB(128, 128, 128));

    canvas.Fill(RGB(128, 128, 128));
    {
        controls::Graphics graphics(canvas.Dc());
        ASSERT_TRUE(graphics.DrawImage(picture, 0, 0, 6, 4));  // scaled 2x
    }
    const COLORREF corner = canvas.At(0, 0);
    EXPECT_TRUE(GetRValue(corner) > 200 && GetGValue(corner) < 80 && GetBValue(corner) < 80) << std::hex << corner;
    const COLORREF farCorner = canvas.At(4, 0);
    EXPECT_TRUE(GetBValue(farCorner) > 150 && GetRValue(farCorner) < 100) << std::hex << farCorner;
}

// --- Decoding once for several uses -------------------------------------------------------

// Every pixel of two canvases of one size, as "x,y: colour" lines where they differ.
std::vector<std::string> Differences(const test::Canvas& a, const test::Canvas& b, int width, int height) {
    std::vector<std::string> lines;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (a.At(x, y) == b.At(x, y)) continue;
            char line[64];
            std::snprintf(line, sizeof line, "%d,%d: %06lx against %06lx", x, y, static_cast<unsigned long>(a.At(x, y)),
                          static_cast<unsigned long>(b.At(x, y)));
            lines.push_back(line);
        }
    }
    return lines;
}

TEST_F(ImageTest, TheDecodedCopyDrawsLikeTheFilesBitmap) {
    // Files of every decoded format, drawn 1:1 as a button draws them and scaled into a larger
    // rectangle, over a background that shows the blending.
    const char* files[] = {"argb32.png",   "rgb24.png",    "rgba64.png",          "rgb48.png",   "gray16.png",
                           "palette8.png", "palette1.png", "palette8_opaque.png", "pargb32.tif", "button_large.png"};
    const RECT targets[] = {{1, 1, 4, 3}, {0, 0, 11, 7}};
    for (const char* file : files) {
        SCOPED_TRACE(file);
        const controls::Bitmap decoded = controls::Bitmap::FromFile(ImagePath(file).c_str());
        const controls::Bitmap copy = controls::Bitmap::DecodeFile(ImagePath(file).c_str());
        ASSERT_TRUE(decoded.IsLoaded());
        ASSERT_TRUE(copy.IsLoaded());
        EXPECT_EQ(copy.GetWidth(), decoded.GetWidth());
        EXPECT_EQ(copy.GetHeight(), decoded.GetHeight());
        const int width = static_cast<int>(decoded.GetWidth());
        const int height = static_cast<int>(decoded.GetHeight());
        for (const RECT& target : targets) {
            test::Canvas expected(12, 8, RGB(90, 140, 200));
            test::Canvas actual(12, 8, RGB(90, 140, 200));
            {
                controls::Graphics graphics(expected.Dc());
                ASSERT_TRUE(graphics.DrawImage(decoded, target, 0, 0, width, height));
            }
            {
                controls::Graphics graphics(actual.Dc());
                ASSERT_TRUE(graphics.DrawImage(copy, target, 0, 0, width, height));
            }
            EXPECT_EQ(Differences(expected, actual, 12, 8), std::vector<std::string>())
                << "target " << target.right - target.left << " x " << target.bottom - target.top;
        }
    }
}

TEST_F(ImageTest, FilesThatCannotBeDecodedGiveNoCopyEither) {
    const char* files[] = {"missing.png", "not_an_image.png"};
    for (const char* file : files) {
        SCOPED_TRACE(file);
        const controls::Bitmap copy = controls::Bitmap::DecodeFile(ImagePath(file).c_str());
        EXPECT_FALSE(copy.IsLoaded());
        EXPECT_EQ(copy.GetWidth(), 0u);
    }
    EXPECT_FALSE(controls::Bitmap::DecodeFile(nullptr).IsLoaded());
}

TEST_F(ImageTest, ConvertingADecodedFileGivesTheBitmapOfConvertingTheFile) {
    const char* files[] = {"argb32.png",          "rgb24.png",    "rgba64.png",
                           "palette8_opaque.png", "palette1.png", "gray16.png"};
    for (const char* file : files) {
        SCOPED_TRACE(file);
        controls::CImage fromFile;
        ASSERT_EQ(fromFile.Load(ImagePath(file).c_str()), S_OK);
        controls::CImage fromDecoded;
        const controls::Bitmap decoded = controls::Bitmap::FromFile(ImagePath(file).c_str());
        ASSERT_EQ(fromDecoded.Load(decoded), S_OK);
        EXPECT_EQ(fromDecoded.GetBPP(), fromFile.GetBPP());
        EXPECT_EQ(fromDecoded.HasAlphaChannel(), fromFile.HasAlphaChannel());
        const controls::UniqueBitmap expected(fromFile.Detach());
        const controls::UniqueBitmap actual(fromDecoded.Detach());
        const DibReader expectedDib(expected.Get());
        const DibReader actualDib(actual.Get());
        ASSERT_TRUE(expectedDib.Valid() && actualDib.Valid());
        EXPECT_EQ(actualDib.Table().size(), expectedDib.Table().size());
        for (int y = 0; y < expectedDib.Section().dsBm.bmHeight; ++y) {
            for (int x = 0; x < expectedDib.Section().dsBm.bmWidth; ++x) {
                EXPECT_EQ(actualDib.At(x, y), expectedDib.At(x, y)) << "pixel " << x << "," << y;
            }
        }
    }
    // A file that did not decode converts to nothing, as its path does.
    controls::CImage image;
    EXPECT_EQ(image.Load(controls::Bitmap::FromFile(ImagePath("missing.png").c_str())), E_FAIL);
    EXPECT_TRUE(image.IsNull());
}

TEST(GdiplusSessionTest, StartsAndMovesItsToken) {
    controls::GdiplusSession first;
    EXPECT_TRUE(first.Started());
    controls::GdiplusSession second(std::move(first));
    EXPECT_TRUE(second.Started());
    EXPECT_FALSE(first.Started());  // NOLINT(bugprone-use-after-move): moved-from state is defined
}

}  // namespace
