#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/ui_text_table.h"
#include "resource.h"

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

// How the window makes one of its fonts (a LOGFONT): either a cell height in pixels at 100 % or
// a point size, which Windows turns into a character height at the window's dpi.
struct FontFacts {
    FontRole role;
    const char* member;  // the window's member, m_fontTitle
    const char* face;
    int weight;  // 0: the default weight, drawn as normal (400)
    int charSet;
    int pitchAndFamily;
    int cellHeight;     // pixels at 100 %, or 0 for a point font
    int tenthsOfPoint;  // 0 for a pixel font
};

// The five fonts, in the order of FontRole; nullptr for None.
const FontFacts* FontFactsOf(FontRole role) noexcept;
// The font's LOGFONT height at `dpi`: positive (a cell height) for a pixel font, negative (a
// character height, 1/72 inch per point) for a point font.
int FontHeight(const FontFacts& font, int dpi) noexcept;

// A column of one of the window's two lists: its edges at 100 %, from the list's left edge.
// The installer list has one column until a run adds the status column and narrows the first.
struct ListColumnFacts {
    int listId;
    int index;
    int left;
    int right;
    bool centred;
    bool duringRun;  // the layout a run gives the list (and keeps afterwards)
    const wchar_t* heading;
};

inline constexpr ListColumnFacts kListColumns[] = {
    {IDC_LIST_MANUALS, 0, 0, 495, true, false, L"NAME"},
    {IDC_LIST_INSTALLS, 0, 0, 495, false, false, L"NAME"},
    {IDC_LIST_INSTALLS, 0, 0, 400, false, true, L"NAME"},
    {IDC_LIST_INSTALLS, 1, 400, 495, false, true, L"Do"},
};

// A column's width at `dpi`: the distance between its scaled edges.
int ColumnWidth(const ListColumnFacts& column, int dpi) noexcept;
// The row of kListColumns for a list's column in one of its two layouts; nullptr if none.
const ListColumnFacts* ListColumnOf(int listId, int index, bool duringRun) noexcept;

// The list icons' size (width and height) at 100 %.
inline constexpr int kListIconSize = 32;

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

// Display scale. Every length of the window's facts is given at kBaseDpi (100 %); at another
// scale the window scales it by dpi / 96.
inline constexpr int kBaseDpi = 96;
inline constexpr int kMaxDpi = 960;

// A coordinate, or an image's width or height, at `dpi`: rounded half away from zero, as MulDiv
// rounds.
int ScaleValue(int value, int dpi) noexcept;
// A rectangle at `dpi`: its four edges are scaled, not its size, so rectangles that touch at
// 100 % still touch.
ControlRect ScaleRect(const ControlRect& rect, int dpi) noexcept;
// The scale as Windows names it: 144 dpi is 150 (%).
int ScalePercent(int dpi) noexcept;
// The largest dpi, at most `dpi` and never below kBaseDpi, at which the main window fits a work
// area of `width` x `height` pixels.
int FittingDpi(int dpi, int width, int height) noexcept;

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
