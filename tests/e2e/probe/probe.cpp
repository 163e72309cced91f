// Reads and drives the windows of Setup.exe from outside, for the end-to-end tests.
// Output: one record per line, fields separated by tabs, texts in UTF-8 with backslash,
// tab, carriage return and line feed written as \\, \t, \r and \n.
// Exit codes: 0 done, 1 not found or timed out, 2 usage, 3 refused (control hidden or
// disabled), 4 a call into the other process failed.

#include <windows.h>
// windows.h first: the other system headers rely on its types.
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <oleacc.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "list_view.h"
#include "target.h"

namespace probe {
namespace {

constexpr int kFound = 0;
constexpr int kNotFound = 1;
constexpr int kUsage = 2;
constexpr int kRefused = 3;
constexpr int kFailed = 4;
constexpr DWORD kPollMs = 50;
constexpr DWORD kWatchPollMs = 20;
constexpr UINT kClickTimeoutMs = 5000;

const char kUsageText[] =
    "usage: probe [--exe NAME] COMMAND ...\n"
    "  wait MS                 wait for the main window, then print it like 'window'\n"
    "  window                  hwnd pid x y w h clientx clienty clientw clienth visible title\n"
    "  dump                    id class visible enabled x y w h style text, one line per control\n"
    "  text ID                 the control's text\n"
    "  watchtext ID MS         reads the control's text every few ms for MS and prints 'ms text since'\n"
    "                          on each change: read by ms (system time, ms since 1970), not yet\n"
    "                          there at since\n"
    "  listinfo ID             rows, columns, styles, image list, then one 'column' line each\n"
    "  list ID                 row check image selected text0 text1 ...\n"
    "  rowrect LIST ROW        screen x y w h of the row, and x y of its check box (-1 -1: none)\n"
    "  check LIST ROW 0|1      sets a row's check box\n"
    "  click ID                BM_CLICK to a visible, enabled button\n"
    "  press ID                the same, sent: returns once the window has handled it\n"
    "  syscommand CMD          posts WM_SYSCOMMAND CMD to the main window\n"
    "  close                   posts WM_CLOSE to the main window\n"
    "  boxes                   every other dialog of the program: box, then its controls\n"
    "  msgbox MS               waits for a box and prints it like 'boxes'\n"
    "  boxtime MS              prints 'ready', then waits for a box, polling every millisecond,\n"
    "                          and prints 'seen' and the system time (ms since 1970) it came\n"
    "  answer BUTTON [MS]      presses a box's button: IDYES IDNO IDOK IDCANCEL, an id or its text\n"
    "  waitnobox MS            waits until no box is open\n"
    "  waitshown ID 0|1 MS     waits until the control is hidden (0) or shown (1)\n"
    "  waitgone MS             waits until the program has no window left\n"
    "  painted MS              waits until the main window has handled what reached it and has\n"
    "                          nothing left to paint\n"
    "  gui                     'capture' and the control id that has the mouse capture (main: the\n"
    "                          window itself, none), then 'moving' 1 while the window is moved,\n"
    "                          then 'focus' and the control id that has the keyboard focus\n"
    "  accessible ID           name and keyboard shortcut a screen reader gets for the control,\n"
    "                          as Active Accessibility gives them\n"
    "  exitcode MS             prints 'watching', waits for the program's process to end and\n"
    "                          prints its exit code\n"
    "  end                     ends the program's process at once, like taskkill /f\n"
    "  pixel X Y               red green blue at client point X Y of the main window\n"
    "  dpichanged DPI X Y W H  sends WM_DPICHANGED to the main window, as Windows does when it moves\n"
    "                          to a monitor of another scale: DPI, and the suggested screen rectangle\n"
    "An argument written hex:HHHH... stands for the UTF-8 text with those bytes.\n";

void PrintLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

std::string Join(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += '\t';
        line += fields[i];
    }
    return line;
}

std::string Hex(unsigned long value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%08lx", value);
    return text;
}

std::string Num(long long value) { return std::to_string(value); }

// The system time in milliseconds since 1970, the clock that the shell's `date` reads too.
long long NowMs() {
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr ULONGLONG kUnixEpochMs = 11644473600000ULL;  // 1601-01-01 to 1970-01-01
    return static_cast<long long>(ticks / 10000 - kUnixEpochMs);
}

bool ParseNumber(const std::wstring& text, long* value) {
    if (text.empty()) return false;
    wchar_t* end = nullptr;
    *value = std::wcstol(text.c_str(), &end, 0);
    return end != nullptr && *end == L'\0';
}

// Polls `done` until it is true or the time is up.
bool WaitFor(DWORD timeoutMs, const std::function<bool()>& done) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(kPollMs);
    }
}

class Probe {
public:
    Probe(Target target, std::vector<std::wstring> args) : target_(std::move(target)), args_(std::move(args)) {}

    int Run() {
        if (args_.empty()) return Usage();
        const std::wstring& command = args_[0];
        if (command == L"wait") return Wait();
        if (command == L"window") return Window();
        if (command == L"dump") return Dump();
        if (command == L"text") return Text();
        if (command == L"watchtext") return WatchText();
        if (command == L"listinfo") return ListInfo();
        if (command == L"list") return List();
        if (command == L"rowrect") return RowRect();
        if (command == L"check") return Check();
        if (command == L"click") return Click(false);
        if (command == L"press") return Click(true);
        if (command == L"syscommand") return SysCommand();
        if (command == L"close") return Close();
        if (command == L"boxes") return PrintBoxes(target_.Boxes());
        if (command == L"msgbox") return WaitAndPrintBox();
        if (command == L"boxtime") return BoxTime();
        if (command == L"answer") return Answer();
        if (command == L"waitnobox") return WaitNoBox();
        if (command == L"waitgone") return WaitGone();
        if (command == L"exitcode") return ExitCode();
        if (command == L"end") return End();
        if (command == L"waitshown") return WaitShown();
        if (command == L"pixel") return Pixel();
        if (command == L"painted") return Painted();
        if (command == L"gui") return GuiState();
        if (command == L"accessible") return Accessible();
        if (command == L"dpichanged") return DpiChanged();
        return Usage();
    }

private:
    static int Usage() {
        std::fputs(kUsageText, stderr);
        return kUsage;
    }

    static int Fail(const std::string& what) {
        std::fprintf(stderr, "probe: %s\n", what.c_str());
        return kFailed;
    }

    bool Arg(size_t index, long* value) const { return index < args_.size() && ParseNumber(args_[index], value); }

    DWORD TimeoutArg(size_t index, DWORD fallback) const {
        long value = 0;
        return Arg(index, &value) && value >= 0 ? static_cast<DWORD>(value) : fallback;
    }

    // The main window, or an error message and null. Looked for a few times: once, just after
    // Notepad was ended beside it, the launcher's window was missing from the list for a moment.
    HWND Main() const {
        HWND window = target_.MainWindow();
        for (int retry = 0; window == nullptr && retry < 4; ++retry) {
            Sleep(50);
            window = target_.MainWindow();
        }
        if (window == nullptr) std::fputs("probe: no main window\n", stderr);
        return window;
    }

    // The control named by argument `index`, or an error message and null.
    HWND ControlArg(HWND main, size_t index) const {
        long id = 0;
        if (!Arg(index, &id)) return nullptr;
        HWND control = GetDlgItem(main, static_cast<int>(id));
        if (control == nullptr) std::fprintf(stderr, "probe: no control %ld\n", id);
        return control;
    }

    // The main window's control named by argument 1, or an error message and null.
    HWND MainControlArg() const {
        HWND main = Main();
        return main == nullptr ? nullptr : ControlArg(main, 1);
    }

    static std::string WindowLine(HWND window) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        RECT frame{};
        GetWindowRect(window, &frame);
        RECT client{};
        GetClientRect(window, &client);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        return Join({Num(reinterpret_cast<intptr_t>(window)), Num(processId), Num(frame.left), Num(frame.top),
                     Num(frame.right - frame.left), Num(frame.bottom - frame.top), Num(origin.x), Num(origin.y),
                     Num(client.right), Num(client.bottom), IsWindowVisible(window) ? "1" : "0",
                     Escape(WindowText(window))});
    }

    int Wait() const {
        HWND found = nullptr;
        const bool ok = WaitFor(TimeoutArg(1, 5000), [&] {
            found = target_.MainWindow();
            return found != nullptr && IsWindowVisible(found);
        });
        if (!ok) return kNotFound;
        PrintLine(WindowLine(found));
        return kFound;
    }

    int Window() const {
        HWND main = Main();
        if (main == nullptr) return kNotFound;
        PrintLine(WindowLine(main));
        return kFound;
    }

    static std::string ControlLine(HWND control) {
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        const RECT rect = RectInParent(control);
        return Join({Num(GetDlgCtrlID(control)), Escape(ClassName(control)), (style & WS_VISIBLE) ? "1" : "0",
                     (style & WS_DISABLED) ? "0" : "1", Num(rect.left), Num(rect.top), Num(rect.right - rect.left),
                     Num(rect.bottom - rect.top), Hex(static_cast<unsigned long>(style)), Escape(WindowText(control))});
    }

    int Dump() const {
        HWND main = Main();
        if (main == nullptr) return kNotFound;
        for (HWND control : DirectChildren(main)) PrintLine(ControlLine(control));
        return kFound;
    }

    int Text() const {
        HWND control = MainControlArg();
        if (control == nullptr) return kNotFound;
        PrintLine(Escape(WindowText(control)));
        return kFound;
    }

    // The steps of an animation, seen from one process: a probe started for every read misses
    // steps where starting a program takes a second (a 32-bit one under emulation).
    int WatchText() const {
        HWND control = MainControlArg();
        if (control == nullptr) return kNotFound;
        const ULONGLONG deadline = GetTickCount64() + TimeoutArg(2, 5000);
        std::wstring last;
        long long before = -1;
        while (GetTickCount64() < deadline) {
            const long long start = NowMs();
            const std::wstring text = WindowText(control);
            if (before < 0 || text != last) {
                PrintLine(Join({Num(NowMs()), Escape(text), Num(before < 0 ? start : before)}));
                std::fflush(stdout);
                last = text;
            }
            before = start;
            Sleep(kWatchPollMs);
        }
        return kFound;
    }

    int ListInfo() const {
        HWND control = MainControlArg();
        if (control == nullptr) return kNotFound;
        RemoteListView list(control);
        if (!list.Valid()) return Fail(std::string("cannot reach the list's process: ") + list.Problem());
        const int columns = list.ColumnCount();
        PrintLine(Join({"rows", Num(list.RowCount())}));
        PrintLine(Join({"columns", Num(columns)}));
        PrintLine(Join({"style", Hex(static_cast<unsigned long>(GetWindowLongW(control, GWL_STYLE)))}));
        PrintLine(Join({"exstyle", Hex(list.ExtendedStyle())}));
        PrintLine(Join({"smallimages", list.HasSmallImageList() ? "1" : "0"}));
        for (int i = 0; i < columns; ++i) {
            auto column = list.Column(i);
            if (!column) return Fail("LVM_GETCOLUMN failed");
            PrintLine(Join({"column", Num(i), Num(column->format), Num(column->width), Escape(column->text)}));
        }
        return kFound;
    }

    int List() const {
        HWND control = MainControlArg();
        if (control == nullptr) return kNotFound;
        RemoteListView list(control);
        if (!list.Valid()) return Fail(std::string("cannot reach the list's process: ") + list.Problem());
        const int columns = list.ColumnCount();
        const int rows = list.RowCount();
        // An unanswered count would read as an empty list.
        if (rows < 0) return Fail("LVM_GETITEMCOUNT was not answered");
        for (int i = 0; i < rows; ++i) {
            auto row = list.Row(i, columns);
            if (!row) return Fail("LVM_GETITEM failed");
            std::vector<std::string> fields{Num(i), Num(row->check), Num(row->image), row->selected ? "1" : "0"};
            for (const auto& text : row->texts) fields.push_back(Escape(text));
            PrintLine(Join(fields));
        }
        return kFound;
    }

    int RowRect() const {
        HWND control = MainControlArg();
        if (control == nullptr) return kNotFound;
        long row = 0;
        if (!Arg(2, &row)) return Usage();
        RemoteListView list(control);
        if (!list.Valid()) return Fail(std::string("cannot reach the list's process: ") + list.Problem());
        auto bounds = list.RowRect(static_cast<int>(row), LVIR_BOUNDS);
        if (!bounds) return kNotFound;
        auto box = list.CheckBoxPoint(static_cast<int>(row));
        if (!box) return Fail("LVM_SUBITEMHITTEST failed");
        PrintLine(Join({Num(bounds->left), Num(bounds->top), Num(bounds->right - bounds->left),
                        Num(bounds->bottom - bounds->top), Num(box->x), Num(box->y)}));
        return kFound;
    }

    int Check() const {
        HWND control = MainControlArg();
        if (control == nullptr) return kNotFound;
        long row = 0;
        long state = 0;
        if (!Arg(2, &row) || !Arg(3, &state)) return Usage();
        RemoteListView list(control);
        if (!list.Valid()) return Fail(std::string("cannot reach the list's process: ") + list.Problem());
        return list.SetCheck(static_cast<int>(row), state != 0) ? kFound : Fail("LVM_SETITEMSTATE failed");
    }

    // What a user could press: a button that is shown and enabled, on a shown window. Sent, the
    // click returns after its handler, so the next look sees its effect; posted, it does not
    // wait for a handler that opens a box.
    int Click(bool wait) const {
        HWND control = MainControlArg();
        if (control == nullptr) return kNotFound;
        if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
            std::fprintf(stderr, "probe: the control is hidden or disabled (style %08lx, main window %s)\n",
                         static_cast<unsigned long>(GetWindowLongW(control, GWL_STYLE)),
                         IsWindowVisible(GetParent(control)) ? "visible" : "hidden");
            return kRefused;
        }
        if (!wait) return PostMessageW(control, BM_CLICK, 0, 0) ? kFound : Fail("PostMessage failed");
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, kClickTimeoutMs, &result)
                   ? kFound
                   : Fail("the click was not handled in time");
    }

    int SysCommand() const {
        long command = 0;
        if (!Arg(1, &command)) return Usage();
        HWND main = Main();
        if (main == nullptr) return kNotFound;
        return PostMessageW(main, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0) ? kFound : Fail("PostMessage failed");
    }

    // The suggested rectangle goes in the window's own memory: Wine never sends this message, and
    // the system marshals none of its pointer.
    int DpiChanged() const {
        long dpi = 0, x = 0, y = 0, width = 0, height = 0;
        if (!Arg(1, &dpi) || !Arg(2, &x) || !Arg(3, &y) || !Arg(4, &width) || !Arg(5, &height)) return Usage();
        HWND main = Main();
        if (main == nullptr) return kNotFound;
        const RECT suggested{x, y, x + width, y + height};
        RemoteBuffer buffer(main, sizeof suggested);
        if (!buffer.Valid() || !buffer.Write(&suggested, sizeof suggested)) return Fail("cannot write the rectangle");
        LRESULT result = 0;
        return SendTimed(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), buffer.Address(), &result) ? kFound
                                                                                               : Fail("not answered");
    }

    int Close() const {
        HWND main = Main();
        if (main == nullptr) return kNotFound;
        return PostMessageW(main, WM_CLOSE, 0, 0) ? kFound : Fail("PostMessage failed");
    }

    static int PrintBoxes(const std::vector<HWND>& boxes) {
        for (HWND box : boxes) {
            PrintLine(Join({"box", Num(reinterpret_cast<intptr_t>(box)), Escape(WindowText(box))}));
            for (HWND control : DirectChildren(box)) {
                const std::wstring kind = ClassName(control);
                const std::string tag = _wcsicmp(kind.c_str(), L"Button") == 0   ? "button"
                                        : _wcsicmp(kind.c_str(), L"Static") == 0 ? "static"
                                                                                 : "control";
                if (!IsWindowVisible(control)) continue;
                PrintLine(Join({tag, Num(GetDlgCtrlID(control)), Escape(WindowText(control))}));
            }
        }
        return boxes.empty() ? kNotFound : kFound;
    }

    int WaitAndPrintBox() const {
        std::vector<HWND> boxes;
        WaitFor(TimeoutArg(1, 5000), [&] {
            boxes = target_.Boxes();
            return !boxes.empty();
        });
        return PrintBoxes(boxes);
    }

    // For latency measurements: the caller starts the probe, waits for "ready", acts, and
    // compares its own clock with the time printed here (both read the system clock).
    int BoxTime() const {
        PrintLine("ready");
        std::fflush(stdout);
        const ULONGLONG deadline = GetTickCount64() + TimeoutArg(1, 5000);
        while (target_.Boxes().empty()) {
            if (GetTickCount64() >= deadline) return kNotFound;
            Sleep(1);
        }
        PrintLine(Join({"seen", Num(NowMs())}));
        return kFound;
    }

    static std::wstring WithoutAmpersands(const std::wstring& text) {
        std::wstring out;
        for (wchar_t c : text)
            if (c != L'&') out += c;
        return out;
    }

    // The button of `box` that `what` names, or null.
    static HWND FindButton(HWND box, const std::wstring& what) {
        static const struct {
            const wchar_t* name;
            int id;
        } kNamedIds[] = {{L"IDOK", IDOK}, {L"IDCANCEL", IDCANCEL}, {L"IDYES", IDYES}, {L"IDNO", IDNO}};
        long id = -1;
        for (const auto& named : kNamedIds)
            if (what == named.name) id = named.id;
        if (id < 0 && !ParseNumber(what, &id)) id = -1;
        for (HWND control : DirectChildren(box)) {
            if (_wcsicmp(ClassName(control).c_str(), L"Button") != 0) continue;
            if (id >= 0 ? GetDlgCtrlID(control) == id
                        : _wcsicmp(WithoutAmpersands(WindowText(control)).c_str(), what.c_str()) == 0)
                return control;
        }
        return nullptr;
    }

    int Answer() const {
        if (args_.size() < 2) return Usage();
        HWND box = nullptr;
        HWND button = nullptr;
        WaitFor(TimeoutArg(2, 5000), [&] {
            for (HWND candidate : target_.Boxes()) {
                button = FindButton(candidate, args_[1]);
                if (button != nullptr) {
                    box = candidate;
                    return true;
                }
            }
            return false;
        });
        if (button == nullptr) {
            std::fputs("probe: no box with that button\n", stderr);
            return kNotFound;
        }
        const WPARAM wParam = MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED);
        return PostMessageW(box, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(button)) ? kFound
                                                                                       : Fail("PostMessage failed");
    }

    int WaitNoBox() const {
        return WaitFor(TimeoutArg(1, 5000), [&] { return target_.Boxes().empty(); }) ? kFound : kNotFound;
    }

    int WaitGone() const {
        return WaitFor(TimeoutArg(1, 5000), [&] { return target_.TopLevelWindows().empty(); }) ? kFound : kNotFound;
    }

    int ExitCode() const {
        UniqueHandle process = target_.OpenRunningProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION);
        if (!process) return Fail("no such process");
        PrintLine("watching");
        std::fflush(stdout);
        if (WaitForSingleObject(process.get(), TimeoutArg(1, 5000)) != WAIT_OBJECT_0) return kNotFound;
        DWORD code = 0;
        if (!GetExitCodeProcess(process.get(), &code)) return Fail("GetExitCodeProcess failed");
        PrintLine(Num(code));
        return kFound;
    }

    // Wine's taskkill finds a process by reading the module list in its memory, which under
    // qemu-i386 it reads a page off; the process snapshot has the name without that.
    int End() const {
        UniqueHandle process = target_.OpenRunningProcess(PROCESS_TERMINATE | SYNCHRONIZE);
        if (!process) return kNotFound;
        if (!TerminateProcess(process.get(), 1)) return Fail("TerminateProcess failed");
        return WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0 ? kFound : Fail("the process did not end");
    }

    int WaitShown() const {
        long id = 0;
        long want = 0;
        if (!Arg(1, &id) || !Arg(2, &want)) return Usage();
        const bool ok = WaitFor(TimeoutArg(3, 5000), [&] {
            HWND main = target_.MainWindow();
            HWND control = main != nullptr ? GetDlgItem(main, static_cast<int>(id)) : nullptr;
            return control != nullptr && ((GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0) == (want != 0);
        });
        return ok ? kFound : kNotFound;
    }

    // A sent message is handled once the thread has taken up what came before it; painting comes
    // when nothing else is queued. So: two round trips, until neither the window nor a shown
    // control has an update region left, then one more, before which Wine hands the thread's
    // painting to the X server (it does so whenever the thread goes idle).
    int Painted() const {
        if (target_.MainWindow() == nullptr) return kNotFound;
        const bool ok = WaitFor(TimeoutArg(1, 5000), [&] {
            HWND main = target_.MainWindow();
            if (main == nullptr || !RoundTrip(main) || !RoundTrip(main)) return false;
            if (GetUpdateRect(main, nullptr, FALSE)) return false;
            for (HWND control : DirectChildren(main)) {
                if (IsWindowVisible(control) && GetUpdateRect(control, nullptr, FALSE)) return false;
            }
            return RoundTrip(main);
        });
        return ok ? kFound : kNotFound;
    }

    static bool RoundTrip(HWND window) { return SendTimed(window, WM_NULL, 0, 0, nullptr); }

    // What the window's thread does with the mouse: a pressed button holds the capture until the
    // release, and the system's move loop (a drag by a free spot) holds it for the window.
    int GuiState() const {
        HWND main = Main();
        if (main == nullptr) return kNotFound;
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info)) return Fail("GetGUIThreadInfo failed");
        const std::string capture = info.hwndCapture == nullptr ? "none"
                                    : info.hwndCapture == main  ? "main"
                                                                : Num(GetDlgCtrlID(info.hwndCapture));
        PrintLine(Join({"capture", capture}));
        PrintLine(Join({"moving", (info.flags & GUI_INMOVESIZE) != 0 ? "1" : "0"}));
        const std::string focus = info.hwndFocus == nullptr ? "none"
                                  : info.hwndFocus == main  ? "main"
                                                            : Num(GetDlgCtrlID(info.hwndFocus));
        PrintLine(Join({"focus", focus}));
        return kFound;
    }

    // The control's client object, made by the system's standard proxy (the window itself does not
    // answer WM_GETOBJECT), the way a screen reader reaches it.
    int Accessible() const {
        HWND window = MainControlArg();
        if (window == nullptr) return kNotFound;
        // Spelt out: with MinGW's import library IID_IAccessible resolves to a code thunk, and every
        // call then fails with E_NOINTERFACE.
        static const GUID kIAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
        CoInitialize(nullptr);
        IAccessible* object = nullptr;
        if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&object)))) {
            return Fail("AccessibleObjectFromWindow failed");
        }
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        BSTR shortcut = nullptr;
        object->get_accName(self, &name);
        object->get_accKeyboardShortcut(self, &shortcut);
        PrintLine(Join({Escape(name ? name : L""), Escape(shortcut ? shortcut : L"")}));
        SysFreeString(name);
        SysFreeString(shortcut);
        object->Release();
        return kFound;
    }

    int Pixel() const {
        long x = 0;
        long y = 0;
        if (!Arg(1, &x) || !Arg(2, &y)) return Usage();
        HWND main = Main();
        if (main == nullptr) return kNotFound;
        POINT point{static_cast<LONG>(x), static_cast<LONG>(y)};
        ClientToScreen(main, &point);
        HDC screen = GetDC(nullptr);
        const COLORREF colour = GetPixel(screen, point.x, point.y);
        ReleaseDC(nullptr, screen);
        if (colour == CLR_INVALID) return Fail("GetPixel failed");
        PrintLine(Join({Num(GetRValue(colour)), Num(GetGValue(colour)), Num(GetBValue(colour))}));
        return kFound;
    }

    Target target_;
    std::vector<std::wstring> args_;
};

}  // namespace

// Wine turns the Unix command line into UTF-16 through the Unix locale, which on a machine
// without that locale generated garbles every non-ASCII byte; hex passes any text intact.
std::wstring DecodeArgument(const std::wstring& arg) {
    const std::wstring prefix = L"hex:";
    if (arg.rfind(prefix, 0) != 0) return arg;
    std::string bytes;
    for (size_t i = prefix.size(); i + 1 < arg.size(); i += 2) {
        bytes += static_cast<char>(std::wcstol(arg.substr(i, 2).c_str(), nullptr, 16));
    }
    return FromUtf8(bytes);
}

}  // namespace probe

int main() {
    _setmode(_fileno(stdout), _O_BINARY);
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 1; i < count; ++i) args.push_back(probe::DecodeArgument(argv[i]));
    LocalFree(argv);

    std::wstring exeName = L"Setup.exe";
    if (args.size() >= 2 && args[0] == L"--exe") {
        exeName = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    const int result = probe::Probe(probe::Target(exeName), std::move(args)).Run();
    std::fflush(stdout);
    return result;
}
