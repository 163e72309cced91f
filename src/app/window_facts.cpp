// Prints the main window's control table as text, for checks that must agree with the program
// (the end-to-end harness takes its layout and caption expectations from here):
//
//   window_facts --facts
//
// Output, tab-separated, lines ending in LF: a "window" line with the window's x, y, width and
// height, the column heading, then one line per control in the table's order (see
// FormatControlFacts: id, x, y, width, height, font, text, colour, pages, button images).
// Lines starting with '#' are comments.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "window/orvane_dlg.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--facts") != 0) {
        std::fprintf(stderr, "usage: window_facts --facts\n");
        return 2;
    }
    // Wine hands a console program's text-mode output to Linux with CR LF line ends.
    _setmode(_fileno(stdout), _O_BINARY);
    std::printf("# Setup's main window: its rectangle, then one line per control that has a member.\n");
    const ControlRect& window = kMainWindowRect;
    std::printf("window\t%d\t%d\t%d\t%d\n", window.x, window.y, window.width, window.height);
    std::printf("%s\n", ControlFactsHeading().c_str());
    for (const ControlRow& row : COrvaneDlg::ControlTable()) {
        std::printf("%s\n", FormatControlFacts(row.facts).c_str());
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
