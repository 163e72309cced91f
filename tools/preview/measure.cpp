// Measures every text that Setup's main window shows at this moment against the control that
// shows it, in the running window: the live text and the live rectangle of each visible control,
// with the control's own font made again from the window's layout facts (a font handle does not
// cross processes) and laid out the way that control draws it. Run in the prefix and session of
// the Setup.exe it measures (./dev preview does so on every page).
//
//   preview_measure --facts FILE [--exe NAME] [--most-dots]
//
// FILE is what window_facts --facts --dpi N prints for the window's dpi: which text and font each
// control has, the fonts at that dpi, the image buttons' caption flags.
// --most-dots measures the progress heading and the status of the row being installed with the
// five full stops their animation ends with, whatever step it shows now.
//
// Output, tab-separated, one record per line, texts in UTF-8 with \\, \t, \r and \n escaped:
//   window  client-x client-y client-width client-height        (the client area on the screen)
//   text    id row column kind slot x y width height needed-width needed-height available-width
//           available-height needed-lines shown-lines fits ink-x ink-y ink-width ink-height text
//   list    id x y width height                                   (a visible list view)
// row and column are -1 outside lists; kind is label, button or cell; slot is the interface text
// the facts give the control (the running text's for the status of the row being installed), -1
// when none; x y width height is the rectangle the text has and ink-x ... the part of it that the
// text's pixels take (not for cells: 0 0 0 0), in the window's client coordinates. Exit codes: 0
// measured, 1 no main window, 2 usage or unreadable facts.

#include <windows.h>
// windows.h first: the other system headers rely on its types.
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "layout_facts.h"
#include "list_view.h"
#include "measure_rules.h"
#include "platform/handles_win.h"
#include "target.h"

namespace preview {
namespace {

constexpr int kMeasured = 0;
constexpr int kNoWindow = 1;
constexpr int kUsage = 2;

int SlotOf(const FactsControl& control) { return control.slot ? *control.slot : -1; }

// The window's fonts, as its layout facts give them at its dpi.
class WindowFonts {
public:
    explicit WindowFonts(const LayoutFacts& facts) {
        for (const FactsControl& control : facts.controls) {
            if (!control.font.empty() && fonts_.find(control.font) == fonts_.end()) {
                fonts_[control.font].Reset(facts.CreateFontOf(control));
            }
        }
    }
    HFONT Of(const FactsControl& control) const {
        const auto found = fonts_.find(control.font);
        return found == fonts_.end() ? nullptr : found->second.Get();
    }

private:
    std::map<std::string, platform::UniqueFont> fonts_;
};

struct Record {
    int id = 0;
    int row = -1;
    int column = -1;
    const char* kind = "label";
    int slot = -1;
    RECT box{};
    RECT ink{};
    Extent needed;
    Extent available;
    Verdict verdict;
    std::wstring text;
};

void Print(const Record& r) {
    std::printf("text\t%d\t%d\t%d\t%s\t%d\t%ld\t%ld\t%ld\t%ld\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%ld\t%ld\t%ld\t%ld\t%s\n",
                r.id, r.row, r.column, r.kind, r.slot, r.box.left, r.box.top, r.box.right - r.box.left,
                r.box.bottom - r.box.top, r.needed.width, r.needed.height, r.available.width, r.available.height,
                r.verdict.neededLines, r.verdict.shownLines, r.verdict.fits ? 1 : 0, r.ink.left, r.ink.top,
                r.ink.right - r.ink.left, r.ink.bottom - r.ink.top, probe::Escape(r.text).c_str());
}

class Measurer {
public:
    Measurer(HWND main, const LayoutFacts& facts, bool mostDots)
        : main_(main),
          dc_(CreateCompatibleDC(nullptr)),
          facts_(facts),
          fonts_(facts),
          runningSlot_(SlotOfRunningText(facts)) {
        if (mostDots) runningText_ = RunningText();
    }

    void Control(const FactsControl& facts) {
        HWND control = GetDlgItem(main_, facts.id);
        if (control == nullptr || !IsWindowVisible(control)) return;
        const std::wstring kind = probe::ClassName(control);
        const HFONT font = fonts_.Of(facts);
        if (_wcsicmp(kind.c_str(), WC_LISTVIEWW) == 0) {
            List(control, facts.id, font);
        } else if (_wcsicmp(kind.c_str(), WC_BUTTONW) == 0) {
            Button(control, facts.id, SlotOf(facts), font);
        } else if (_wcsicmp(kind.c_str(), WC_STATICW) == 0) {
            Label(control, facts.id, SlotOf(facts), font);
        }
    }

private:
    static int SlotOfRunningText(const LayoutFacts& facts) {
        const std::optional<int> slot = facts.RunningSlot();
        return slot ? *slot : -1;
    }

    // The running text is what the first dot label shows without its full stop.
    std::optional<std::wstring> RunningText() const {
        const FactsControl* first = facts_.FirstDotLabel();
        HWND label = first ? GetDlgItem(main_, first->id) : nullptr;
        if (label == nullptr) return std::nullopt;
        std::wstring text = probe::WindowText(label);
        if (text.empty() || text.back() != L'.') return std::nullopt;
        text.pop_back();
        return text;
    }

    RECT ClientRect(HWND control) const {
        RECT rect{};
        GetClientRect(control, &rect);
        MapWindowPoints(control, main_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    // DrawText's own calculation, for a width when the text may wrap.
    Extent Calculate(HFONT font, const std::wstring& text, UINT flags, int width) const {
        const platform::SelectScope select(dc_.Get(), font);
        RECT rect{0, 0, width, 0};
        DrawTextW(dc_.Get(), text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_CALCRECT);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }

    int LineHeight(HFONT font) const {
        const platform::SelectScope select(dc_.Get(), font);
        TEXTMETRICW metrics{};
        return GetTextMetricsW(dc_.Get(), &metrics) ? metrics.tmHeight : 0;
    }

    void Label(HWND control, int id, int slot, HFONT font) const {
        std::wstring text = probe::WindowText(control);
        // The progress heading: the label whose slot is the running text's, at a step of its dots.
        if (slot == runningSlot_ && runningText_ && IsAnimationStep(text, *runningText_)) {
            text = WithMostDots(*runningText_);
        }
        if (text.empty()) return;
        const auto flags = LabelDrawFlags(GetWindowLongW(control, GWL_STYLE), GetWindowLongW(control, GWL_EXSTYLE));
        if (!flags) return;
        Record record;
        record.id = id;
        record.slot = slot;
        record.box = ClientRect(control);
        record.available = {record.box.right - record.box.left, record.box.bottom - record.box.top};
        record.needed = Calculate(font, text, *flags, record.available.width);
        const int lineHeight = LineHeight(font);
        record.verdict = JudgeLabel(record.needed, record.available, lineHeight);
        record.ink = LabelInk(record.box, record.needed, record.verdict, lineHeight, *flags);
        record.text = std::move(text);
        Print(record);
    }

    void Button(HWND control, int id, int slot, HFONT font) const {
        std::wstring text = probe::WindowText(control);
        const auto flags = facts_.captionFlags.find(id);
        if (text.empty() || flags == facts_.captionFlags.end()) return;
        Record record;
        record.id = id;
        record.kind = "button";
        record.slot = slot;
        record.box = ClientRect(control);
        record.available = {record.box.right - record.box.left, record.box.bottom - record.box.top};
        record.needed = Calculate(font, text, flags->second, record.available.width);
        const int lineHeight = LineHeight(font);
        record.verdict = JudgeButton(record.needed, record.available, lineHeight);
        record.ink = ButtonInk(record.box, record.needed, record.verdict, lineHeight);
        record.text = std::move(text);
        Print(record);
    }

    void List(HWND control, int id, HFONT font) const {
        const RECT box = ClientRect(control);
        std::printf("list\t%d\t%ld\t%ld\t%ld\t%ld\n", id, box.left, box.top, box.right - box.left,
                    box.bottom - box.top);
        probe::RemoteListView list(control);
        if (!list.Valid()) return;
        const int columns = list.ColumnCount();
        const int rows = list.RowCount();
        const bool images = list.HasSmallImageList();
        const bool gridLines = (list.ExtendedStyle() & LVS_EX_GRIDLINES) != 0;
        RECT client{};
        GetClientRect(control, &client);
        for (int row = 0; row < rows; ++row) {
            const auto cells = list.Row(row, columns);
            if (!cells) return;
            for (int column = 0; column < static_cast<int>(cells->texts.size()); ++column) {
                std::wstring text = cells->texts[static_cast<size_t>(column)];
                int slot = -1;
                if (column > 0 && runningText_ && IsAnimationStep(text, *runningText_)) {
                    text = WithMostDots(*runningText_);
                    slot = runningSlot_;
                }
                if (text.empty()) continue;
                // The first column's label starts after the check box and the image column; the
                // list's client edge cuts a cell that a scroll bar covers.
                const auto label = list.CellRect(row, column, column == 0 ? LVIR_LABEL : LVIR_BOUNDS);
                if (!label) continue;
                RECT cell = *label;
                if (cell.right > client.right) cell.right = client.right;
                const bool drawsImage = column == 0 && images && cells->image >= 0;
                Record record;
                record.id = id;
                record.row = row;
                record.column = column;
                record.kind = "cell";
                record.slot = slot;
                record.box = cell;
                MapWindowPoints(control, main_, reinterpret_cast<POINT*>(&record.box), 2);
                record.available = {cell.right - cell.left - CellTextInset(drawsImage),
                                    cell.bottom - cell.top - (gridLines ? 1 : 0)};
                record.needed = Calculate(font, text, kListCellDrawFlags, record.available.width);
                record.verdict = JudgeCell(record.needed.width, record.available.width);
                record.text = std::move(text);
                Print(record);
            }
        }
    }

    HWND main_;
    platform::UniqueMemoryDc dc_;
    const LayoutFacts& facts_;
    WindowFonts fonts_;
    int runningSlot_;
    std::optional<std::wstring> runningText_;
};

std::optional<LayoutFacts> ReadFactsFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    auto facts = ReadLayoutFacts(text, error);
    if (!facts) std::fprintf(stderr, "preview_measure: %s\n", error.c_str());
    return facts;
}

int Run(const std::vector<std::wstring>& args) {
    std::wstring exeName = L"Setup.exe";
    std::wstring factsPath;
    bool mostDots = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--exe" && i + 1 < args.size()) {
            exeName = args[++i];
        } else if (args[i] == L"--facts" && i + 1 < args.size()) {
            factsPath = args[++i];
        } else if (args[i] == L"--most-dots") {
            mostDots = true;
        } else {
            factsPath.clear();
            break;
        }
    }
    if (factsPath.empty()) {
        std::fputs("usage: preview_measure --facts FILE [--exe NAME] [--most-dots]\n", stderr);
        return kUsage;
    }
    const std::optional<LayoutFacts> facts = ReadFactsFile(factsPath);
    if (!facts) return kUsage;
    const probe::Target target(exeName);
    HWND main = target.MainWindow();
    if (main == nullptr) {
        std::fputs("preview_measure: no main window\n", stderr);
        return kNoWindow;
    }
    RECT client{};
    GetClientRect(main, &client);
    POINT origin{0, 0};
    ClientToScreen(main, &origin);
    std::printf("window\t%ld\t%ld\t%ld\t%ld\n", origin.x, origin.y, client.right, client.bottom);
    Measurer measurer(main, *facts, mostDots);
    for (const FactsControl& control : facts->controls) measurer.Control(control);
    return kMeasured;
}

}  // namespace
}  // namespace preview

int main() {
    // Wine hands a console program's text-mode output to Linux with CR LF line ends.
    _setmode(_fileno(stdout), _O_BINARY);
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 1; i < count; ++i) args.emplace_back(argv[i]);
    LocalFree(argv);
    const int result = preview::Run(args);
    return std::fflush(stdout) == 0 ? result : 1;
}
