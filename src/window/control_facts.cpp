#include "window/control_facts.h"

namespace {

constexpr std::uint32_t Rgb(unsigned red, unsigned green, unsigned blue) noexcept {
    return red | (green << 8) | (blue << 16);
}

const char* FontMemberName(FontRole font) noexcept {
    switch (font) {
        case FontRole::Title:
            return "m_fontTitle";
        case FontRole::Size16:
            return "m_font16";
        case FontRole::Size14:
            return "m_font14";
        case FontRole::Size10:
            return "m_font10";
        case FontRole::Size30:
            return "m_font30";
        case FontRole::None:
            break;
    }
    return "-";
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
           std::to_string(r.width) + '\t' + std::to_string(r.height) + '\t' + FontMemberName(facts.font) + '\t' +
           CaptionText(facts.caption) + '\t' + ColourText(facts.colour) + '\t' + PagesText(facts.pages) + '\t' +
           (skin.empty() ? "-" : skin);
}
