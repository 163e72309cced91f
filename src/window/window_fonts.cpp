#include "window/window_fonts.h"

#include "platform/handles_win.h"

namespace {

constexpr wchar_t kFontFace[] = L"Arial";

// A font of `tenths` tenths of a point for the screen, the way a point font is made: the
// height in pixels of the screen's vertical resolution, negative so it is the character height.
HFONT CreatePointFont(int tenths) noexcept {
    LOGFONTW font{};
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, kFontFace, LF_FACESIZE);
    const platform::WindowDc screen(nullptr);
    const int pixelsPerInch = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    // Rounded to the nearest pixel, as MulDiv does: 14 pt at 96 dpi is 19 pixels, not 18.
    const int height = MulDiv(pixelsPerInch, tenths, 720);
    font.lfHeight = -(height < 0 ? -height : height);
    return CreateFontIndirectW(&font);
}

}  // namespace

HFONT CreateWindowFont(FontRole role) noexcept {
    switch (role) {
        case FontRole::Title:
            return CreateFontW(30, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, kFontFace);
        case FontRole::Size16:
            return CreatePointFont(160);
        case FontRole::Size14:
            return CreatePointFont(140);
        case FontRole::Size10:
            return CreatePointFont(100);
        case FontRole::Size30:
            return CreatePointFont(300);
        case FontRole::None:
            break;
    }
    return nullptr;
}
