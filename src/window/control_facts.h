#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/ui_text_table.h"

// What the main window's control table says about one control, apart from which member it is
// and which handler its click reaches: no window-system types, so the facts can be printed and
// compared as text (see FormatControlFacts).

// The pages of the main window, as a set: a control shown on several pages carries several.
enum class Page : unsigned {
    None = 0,
    Menu = 1u << 0,
    DefaultInstall = 1u << 1,
    CustomInstall = 1u << 2,
    Progress = 1u << 3,
    Manuals = 1u << 4,
    Finish = 1u << 5,
    Restart = 1u << 6,
};

constexpr Page operator|(Page a, Page b) noexcept {
    return static_cast<Page>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// Whether `pages` and `other` share a page.
constexpr bool Overlaps(Page pages, Page other) noexcept {
    return (static_cast<unsigned>(pages) & static_cast<unsigned>(other)) != 0;
}

// Which of the window's five fonts a control gets.
enum class FontRole { None, Title, Size16, Size14, Size10, Size30 };

// How a control answers the colour request of its parent. Every value but Default draws the label
// transparently over the skin; the three named colours also set its text colour.
enum class LabelColour { Default, Transparent, Black, HeadingBlue, CountdownRed };

// The text colour as 0x00BBGGRR (a COLORREF); nothing when the context's colour stays.
std::optional<std::uint32_t> TextColourOf(LabelColour colour) noexcept;

// The three state images of an image button: ImageFolder + stem + "_Normal.png", "_Hover.png",
// "_Pressed.png". The stem names the size the button takes.
enum class ButtonSkin { None, Size400x70, Size280x50, Size136x40, Size120x26 };

// The file name stem of a skin ("" for None). The two large sizes spell "Button", the two small
// ones "button": the medium's own file names.
const char* SkinStem(ButtonSkin skin) noexcept;

// A control's text at start: none, an interface text, an interface text followed by full stops
// (the progress dot labels), or a fixed ASCII text.
struct ControlCaption {
    std::optional<UiSlot> slot;
    int dots = 0;
    const char* fixed = nullptr;
};

constexpr ControlCaption NoCaption() noexcept { return {}; }
constexpr ControlCaption SlotCaption(UiSlot slot) noexcept { return {slot, 0, nullptr}; }
constexpr ControlCaption DottedCaption(UiSlot slot, int dots) noexcept { return {slot, dots, nullptr}; }
constexpr ControlCaption FixedCaption(const char* text) noexcept { return {std::nullopt, 0, text}; }

// Client-area pixels of the main window.
struct ControlRect {
    int x;
    int y;
    int width;
    int height;
};

// The main window: moved to the screen's corner and sized when it starts.
inline constexpr ControlRect kMainWindowRect{0, 0, 800, 570};

struct ControlFacts {
    int id;
    ControlRect rect;
    FontRole font;
    ControlCaption caption;
    LabelColour colour;
    Page pages;
    ButtonSkin skin;
};

// The names of the pages of a set, comma-separated ("MenuPage", "ProgressPage", ...); "-" for none.
std::string PagesText(Page pages);

// The column heading of FormatControlFacts' lines.
std::string ControlFactsHeading();

// One tab-separated line: id, x, y, width, height, font member, text ("slot N", "slot N" with its
// dots, or the fixed text in quotes), colour ("transparent", with "#RRGGBB" when the text
// colour is set), pages (the page operations' names, comma-separated) and the button image
// stem; "-" stands for none.
std::string FormatControlFacts(const ControlFacts& facts);
