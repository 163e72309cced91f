#pragma once

#include <windows.h>

#include <optional>
#include <string>

// How the main window's controls lay a text out, and when it does not fit: the rules of the
// static label, of Setup's image button and of a report-view list cell. Measuring itself needs a
// device context (measure.cpp); deciding does not.
namespace preview {

// The DrawText flags a static control of this style draws its text with; nothing for a style that
// shows no text (pictures, frames, owner drawing).
std::optional<UINT> LabelDrawFlags(LONG style, LONG exStyle);

// A list view in report view draws a cell on one line, ending it with an ellipsis when it is wider
// than the cell.
inline constexpr UINT kListCellDrawFlags = DT_SINGLELINE | DT_NOPREFIX;

// The text of a cell starts this far into its label rectangle: a little after the row's image,
// further where there is none (comctl32's list view).
int CellTextInset(bool drawsImage) noexcept;

struct Extent {
    int width = 0;
    int height = 0;
};

struct Verdict {
    int neededLines = 1;
    int shownLines = 1;
    bool fits = true;
};

// A label shows as many whole lines as its height holds, and always its first line, clipped if
// need be (the window's headings are lower than their font's line).
int LinesShown(int height, int lineHeight) noexcept;

// needed: the text's extent as DrawText calculates it for the label's width (a word wider than
// the label widens it); lineHeight: the font's line height.
Verdict JudgeLabel(Extent needed, Extent available, int lineHeight) noexcept;

// The button puts the top of its caption half a line's height above its middle and clips the
// rest; needed comes from DrawText with the button's flags.
Verdict JudgeButton(Extent needed, Extent available, int lineHeight) noexcept;

// One line: the width alone decides.
Verdict JudgeCell(int neededWidth, int availableWidth) noexcept;

// Where the text's pixels are, inside the control's rectangle box: the lines it shows, as wide as
// the widest (or the control), placed as the flags place them; a button's lines centred, starting
// half a line's height above its middle.
RECT LabelInk(const RECT& box, Extent needed, const Verdict& verdict, int lineHeight, UINT flags) noexcept;
RECT ButtonInk(const RECT& box, Extent needed, const Verdict& verdict, int lineHeight) noexcept;

// The progress heading and the status of the row being installed are the running text followed
// by one to five full stops, one more each second.
inline constexpr int kMostDots = 5;

// The running text with the most dots it ever shows.
std::wstring WithMostDots(const std::wstring& runningText);

// Whether text is the running text followed by one to five full stops: the status of the row
// being installed at one step of its animation.
bool IsAnimationStep(const std::wstring& text, const std::wstring& runningText);

}  // namespace preview
