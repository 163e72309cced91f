// Prints the main window's control table as text, for checks and tools that must agree with the
// program (the end-to-end harness takes its layout and caption expectations from here):
//
//   window_facts --facts [--dpi N]
//
// N (96 to 960, default 96) is the display scale in dots per inch: every length is printed as the
// window lays itself out at that scale. Output, tab-separated, lines ending in LF; lines starting
// with '#' are comments:
//   window   x, y, width, height of the window
//   the column heading, then one line per control in the table's order (see FormatControlFacts:
//            id, x, y, width, height, font, text, colour, pages, button images)
//   scale    dpi, percent
//   font     member, face, weight (0: normal), "cell" or "em", pixels at the dpi
//   column   list id, column index, width, "left" or "centre", "start" or "run", heading
//   icons    width and height of the list icons
//   caption  button id, x, y, width, height of the rectangle its caption is drawn in (the button
//            at the size of its image as the file name states it), DrawText flags in hex
// /work/coord/facts-format.md describes the format in full; it only ever gains lines and kinds.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "window/orvane_dlg.h"

namespace {

// A button at `dpi`: its corner scaled, and the size of its image as the skin's file name states it
// ("400x70_Button": 400 x 70), scaled as the window scales images.
ControlRect ButtonRect(const ControlFacts& facts, int dpi) {
    const char* stem = SkinStem(facts.skin);
    char* end = nullptr;
    const int width = static_cast<int>(std::strtol(stem, &end, 10));
    const int height = static_cast<int>(std::strtol(end + 1, nullptr, 10));
    return {ScaleValue(facts.rect.x, dpi), ScaleValue(facts.rect.y, dpi), ScaleValue(width, dpi),
            ScaleValue(height, dpi)};
}

std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; *text; ++text) narrow += static_cast<char>(*text);  // ASCII headings
    return narrow;
}

int Usage() {
    std::fprintf(stderr, "usage: window_facts --facts [--dpi N]   (N from %d to %d)\n", kBaseDpi, kMaxDpi);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int dpi = kBaseDpi;
    if (argc == 4 && std::strcmp(argv[2], "--dpi") == 0) {
        char* end = nullptr;
        const long value = std::strtol(argv[3], &end, 10);
        if (*argv[3] == '\0' || *end != '\0' || value < kBaseDpi || value > kMaxDpi) return Usage();
        dpi = static_cast<int>(value);
    } else if (argc != 2) {
        return Usage();
    }
    if (std::strcmp(argv[1], "--facts") != 0) return Usage();

    // Wine hands a console program's text-mode output to Linux with CR LF line ends.
    _setmode(_fileno(stdout), _O_BINARY);
    std::printf("# Setup's main window: its rectangle, then one line per control that has a member.\n");
    const ControlRect window = ScaleRect(kMainWindowRect, dpi);
    std::printf("window\t%d\t%d\t%d\t%d\n", window.x, window.y, window.width, window.height);
    std::printf("%s\n", ControlFactsHeading().c_str());
    for (const ControlRow& row : COrvaneDlg::ControlTable()) {
        ControlFacts scaled = row.facts;
        scaled.rect = ScaleRect(row.facts.rect, dpi);
        std::printf("%s\n", FormatControlFacts(scaled).c_str());
    }

    std::printf("# The scale, the fonts, the lists' columns and icons, the image buttons' captions.\n");
    std::printf("scale\t%d\t%d\n", dpi, ScalePercent(dpi));
    for (const FontRole role :
         {FontRole::Title, FontRole::Size16, FontRole::Size14, FontRole::Size10, FontRole::Size30}) {
        const FontFacts& font = *FontFactsOf(role);
        const int height = FontHeight(font, dpi);
        std::printf("font\t%s\t%s\t%d\t%s\t%d\n", font.member, font.face, font.weight, height > 0 ? "cell" : "em",
                    height > 0 ? height : -height);
    }
    for (const ListColumnFacts& column : kListColumns) {
        std::printf("column\t%d\t%d\t%d\t%s\t%s\t%s\n", column.listId, column.index, ColumnWidth(column, dpi),
                    column.centred ? "centre" : "left", column.duringRun ? "run" : "start",
                    Narrow(column.heading).c_str());
    }
    std::printf("icons\t%d\t%d\n", ScaleValue(kListIconSize, dpi), ScaleValue(kListIconSize, dpi));
    for (const ControlRow& row : COrvaneDlg::ControlTable()) {
        if (row.facts.skin == ButtonSkin::None) continue;
        const ControlRect text = ButtonRect(row.facts, dpi);
        std::printf("caption\t%d\t%d\t%d\t%d\t%d\t0x%02X\n", row.facts.id, text.x, text.y, text.width, text.height,
                    CPngButton::kCaptionFormat);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
