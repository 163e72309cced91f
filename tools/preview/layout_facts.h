#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

// The main window's layout as `window_facts --facts [--dpi N]` prints it, read back: what the
// measuring program needs of it (each control's text and font, the fonts at the window's dpi, the
// image buttons' caption flags). Unknown line kinds and extra columns are passed over, as the
// format allows.
namespace preview {

struct FactsFont {
    std::wstring face;
    int weight = 0;
    bool cellHeight = false;  // the height is the cell's (the title), else the em's (point fonts)
    int pixels = 0;
};

struct FactsControl {
    int id = 0;
    std::string font;         // the font member, "" for none
    std::optional<int> slot;  // the interface text it shows
    int dots = 0;             // full stops after the slot's text (the progress dot labels)
};

struct LayoutFacts {
    int width = 0;  // the window
    int height = 0;
    int dpi = 96;
    std::vector<FactsControl> controls;  // in the control table's order
    std::map<std::string, FactsFont> fonts;
    std::map<int, UINT> captionFlags;  // DrawText flags of each image button's caption

    // The font a control is drawn with, made as the window makes it; nullptr when it has none.
    HFONT CreateFontOf(const FactsControl& control) const;
    // The slot of the running text (what the dot labels repeat) and the heading that shows it
    // with its dots; the first dot label.
    std::optional<int> RunningSlot() const;
    const FactsControl* FirstDotLabel() const;
};

// Nothing, with a reason in `error`, when the text is not the facts of a window.
std::optional<LayoutFacts> ReadLayoutFacts(const std::string& text, std::string& error);

}  // namespace preview
