#include "window/control_facts.h"

namespace {

// The window's fonts, all Arial: the title a bold cell of 30 pixels, the others point sizes.
constexpr FontFacts kFonts[] = {
    {FontRole::Title, "m_fontTitle", "Arial", 700, 0, 0x20, 30, 0},
    {FontRole::Size16, "m_font16", "Arial", 0, 1, 0, 0, 160},
    {FontRole::Size14, "m_font14", "Arial", 0, 1, 0, 0, 140},
    {FontRole::Size10, "m_font10", "Arial", 0, 1, 0, 0, 100},
    {FontRole::Size30, "m_font30", "Arial", 0, 1, 0, 0, 300},
};

constexpr std::uint32_t Rgb(unsigned red, unsigned green, unsigned blue) noexcept {
    return red | (green << 8) | (blue << 16);
}

std::string CaptionText(const ControlCaption& caption) {
    if (caption.fixed) return std::string("\"") + caption.fixed + "\"";
    if (!caption.slot) return "-";
    return "slot " + std::to_string(static_cast<int>(*caption.slot)) +
           (caption.dots > 0 ? " " + std::string(static_cast<std::size_t>(caption.dots), '.') : std::string());
}

std::string ColourText(LabelColour colour) {
    if (colour == LabelColour::Default) return "-";
    const std::optional<std::uint32_t> text = TextColourOf(colour);
    if (!text) return "transparent";
    // "#RRGGBB" by hand: printf would bring MinGW's printf engine into Setup.exe.
    std::string rgb = "transparent #";
    for (const unsigned shift : {4u, 0u, 12u, 8u, 20u, 16u}) rgb += "0123456789ABCDEF"[(*text >> shift) & 0xF];
    return rgb;
}

}  // namespace

std::string PagesText(Page pages) {
    static constexpr struct {
        Page page;
        const char* name;
    } kNames[] = {
        {Page::Menu, "MenuPage"},
        {Page::DefaultInstall, "DefaultInstallPage"},
        {Page::CustomInstall, "CustomInstallPage"},
        {Page::Progress, "ProgressPage"},
        {Page::Manuals, "ManualsPage"},
        {Page::Finish, "FinishPage"},
        {Page::Restart, "RestartPage"},
    };
    std::string text;
    for (const auto& entry : kNames) {
        if (!Overlaps(pages, entry.page)) continue;
        if (!text.empty()) text += ',';
        text += entry.name;
    }
    return text.empty() ? "-" : text;
}

namespace {

// value * numerator / denominator, rounded half away from zero (MulDiv's rounding; no overflow
// for the window's lengths and scales).
int MultiplyDivide(int value, int numerator, int denominator) noexcept {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

}  // namespace

int ScaleValue(int value, int dpi) noexcept { return MultiplyDivide(value, dpi, kBaseDpi); }

ControlRect ScaleRect(const ControlRect& rect, int dpi) noexcept {
    const int left = ScaleValue(rect.x, dpi);
    const int top = ScaleValue(rect.y, dpi);
    return {left, top, ScaleValue(rect.x + rect.width, dpi) - left, ScaleValue(rect.y + rect.height, dpi) - top};
}

int ScalePercent(int dpi) noexcept { return MultiplyDivide(dpi, 100, kBaseDpi); }

int FittingDpi(int dpi, int width, int height) noexcept {
    const ControlRect& window = kMainWindowRect;
    for (; dpi > kBaseDpi; --dpi) {
        const ControlRect scaled = ScaleRect(window, dpi);
        if (scaled.width <= width && scaled.height <= height) break;
    }
    return dpi < kBaseDpi ? kBaseDpi : dpi;
}

const FontFacts* FontFactsOf(FontRole role) noexcept {
    for (const FontFacts& font : kFonts) {
        if (font.role == role) return &font;
    }
    return nullptr;
}

int FontHeight(const FontFacts& font, int dpi) noexcept {
    if (font.cellHeight) return ScaleValue(font.cellHeight, dpi);
    return -MultiplyDivide(dpi, font.tenthsOfPoint, 720);
}

int ColumnWidth(const ListColumnFacts& column, int dpi) noexcept {
    return ScaleValue(column.right, dpi) - ScaleValue(column.left, dpi);
}

const ListColumnFacts* ListColumnOf(int listId, int index, bool duringRun) noexcept {
    for (const ListColumnFacts& column : kListColumns) {
        if (column.listId == listId && column.index == index && column.duringRun == duringRun) return &column;
    }
    return nullptr;
}

std::optional<std::uint32_t> TextColourOf(LabelColour colour) noexcept {
    switch (colour) {
        case LabelColour::Black:
            return Rgb(0, 0, 0);
        case LabelColour::HeadingBlue:
            return Rgb(51, 153, 255);
        case LabelColour::CountdownRed:
            return Rgb(255, 0, 0);
        case LabelColour::Default:
        case LabelColour::Transparent:
            break;
    }
    return std::nullopt;
}

const char* SkinStem(ButtonSkin skin) noexcept {
    switch (skin) {
        case ButtonSkin::Size400x70:
            return "400x70_Button";
        case ButtonSkin::Size280x50:
            return "280x50_Button";
        case ButtonSkin::Size136x40:
            return "136x40_button";
        case ButtonSkin::Size120x26:
            return "120x26_button";
        case ButtonSkin::None:
            break;
    }
    return "";
}

std::string ControlFactsHeading() { return "id\tx\ty\twidth\theight\tfont\ttext\tcolour\tpages\timages"; }

std::string FormatControlFacts(const ControlFacts& facts) {
    const ControlRect& r = facts.rect;
    const std::string skin = SkinStem(facts.skin);
    return std::to_string(facts.id) + '\t' + std::to_string(r.x) + '\t' + std::to_string(r.y) + '\t' +
           std::to_string(r.width) + '\t' + std::to_string(r.height) + '\t' +
           (FontFactsOf(facts.font) ? FontFactsOf(facts.font)->member : "-") + '\t' + CaptionText(facts.caption) +
           '\t' + ColourText(facts.colour) + '\t' + PagesText(facts.pages) + '\t' + (skin.empty() ? "-" : skin);
}
