// Start-up time of window programs, measured side by side: starts each program in turn, takes
// the time until its top-level window is shown and painted (the window and every shown child
// have no update region left), then closes it with WM_CLOSE. The first round warms the caches
// and is not printed. Prints "<index> <milliseconds>" per program and round, or
// "<index> failed". Usage: launch_timer ROUNDS [--dpi N] PROGRAM...
// A program after --dpi N starts at that display scale: Wine reads HKCU\Control Panel\Desktop
// LogPixels when a program starts, so it is set to N for that start and back afterwards.
//
// With --interaction it starts one program (Setup), waits for its painted window and then times,
// ROUNDS times each, the first paint after
// - a hover: the pointer moved from a free spot onto a menu button, until the button's pixels on
//   the screen have changed (its hover image and caption) and nothing is left to paint;
//   "hover <ms>", and the way back until they change again, "leave <ms>";
// - a page switch: a click (BM_CLICK) of a menu button until a control of the page it opens is
//   shown and nothing is left to paint, and the same for the back button; "page <button id> <ms>".
// A round that does not end within 5 s prints "<what> failed". Usage:
//   launch_timer --interaction ROUNDS PROGRAM
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 1;
constexpr ULONGLONG kStartTimeoutMs = 20000;
constexpr ULONGLONG kStepTimeoutMs = 5000;
constexpr DWORD kCloseTimeoutMs = 10000;

struct Search {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindShownWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window)) return TRUE;
    search->window = window;
    return FALSE;
}

BOOL CALLBACK FindUnpaintedChild(HWND child, LPARAM context) {
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(context) = true;
        return FALSE;
    }
    return TRUE;
}

bool IsPainted(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    bool unpainted = false;
    EnumChildWindows(window, FindUnpaintedChild, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

std::wstring FolderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

class Stopwatch {
public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double Ms() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 / static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_{}, start_{};
};

struct Launched {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
    double ms = -1;  // from process creation to a shown, painted window; negative on failure
};

Launched LaunchUntilPainted(const std::wstring& program) {
    Launched launched;
    std::wstring commandLine = L"\"" + program + L"\"";
    const std::wstring folder = FolderOf(program);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    const Stopwatch clock;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &launched.process)) {
        return launched;
    }
    CloseHandle(launched.process.hThread);
    Search search{launched.process.dwProcessId, nullptr};
    const ULONGLONG deadline = GetTickCount64() + kStartTimeoutMs;
    while (GetTickCount64() < deadline) {
        search.window = nullptr;
        EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.window != nullptr && IsPainted(search.window)) {
            launched.ms = clock.Ms();
            break;
        }
        if (WaitForSingleObject(launched.process.hProcess, kPollMs) == WAIT_OBJECT_0) break;
    }
    launched.window = search.window;
    return launched;
}

void Close(const Launched& launched) {
    if (launched.window != nullptr) PostMessageW(launched.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(launched.process.hProcess, kCloseTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(launched.process.hProcess, 1);
    }
    CloseHandle(launched.process.hProcess);
}

struct Program {
    std::wstring path;
    DWORD dpi = 0;  // 0: the prefix's own
};

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

DWORD LogPixels() {
    DWORD dpi = 96;
    DWORD size = sizeof dpi;
    RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &dpi, &size);
    return dpi;
}

void SetLogPixels(DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

int TimeStartUps(int rounds, const std::vector<Program>& programs) {
    const DWORD ownDpi = LogPixels();
    for (int round = 0; round <= rounds; ++round) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            if (programs[i].dpi) SetLogPixels(programs[i].dpi);
            const Launched launched = LaunchUntilPainted(programs[i].path);
            if (programs[i].dpi) SetLogPixels(ownDpi);
            Close(launched);
            if (round == 0) continue;
            if (launched.ms < 0) {
                std::printf("%zu failed\n", i);
            } else {
                std::printf("%zu %.1f\n", i, launched.ms);
            }
            std::fflush(stdout);
        }
    }
    return 0;
}

// The pixels of a screen rectangle as they are shown (after the window system has them).
std::vector<DWORD> CaptureScreen(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<DWORD> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        std::memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Polls until `done` holds and the window has nothing left to paint, then sends the window a
// message: a paint under way has already validated its region, and the sent message is only
// handled once the window's thread is back in its message loop. The time is taken when the
// answer comes, and counts when `done` and nothing to paint still hold after it. Milliseconds
// on `clock`, or negative after kStepTimeoutMs.
template <typename Done>
double WaitUntilPainted(HWND window, const Stopwatch& clock, Done done) {
    const ULONGLONG deadline = GetTickCount64() + kStepTimeoutMs;
    while (GetTickCount64() < deadline) {
        if (done() && IsPainted(window)) {
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kStepTimeoutMs, &answer);
            const double idleAt = clock.Ms();
            if (done() && IsPainted(window)) return idleAt;
        }
        Sleep(kPollMs);
    }
    return -1;
}

void Report(const char* what, int id, double ms) {
    if (id >= 0) {
        std::printf(ms < 0 ? "%s %d failed\n" : "%s %d %.1f\n", what, id, ms);
    } else {
        std::printf(ms < 0 ? "%s failed\n" : "%s %.1f\n", what, ms);
    }
    std::fflush(stdout);
}

constexpr int kHoveredButton = 1001;     // custom installation, on the menu page
constexpr POINT kFreeSpot = {130, 300};  // client point of the left panel, under no control
constexpr int kBackButton = 1015;
constexpr int kMenuControl = 1000;

// Menu button, and a control of the page it opens.
constexpr struct {
    int button;
    int pageControl;
} kPageButtons[] = {{1001, 1035}, {1002, 1038}, {1000, 1025}};

void TimeHovers(HWND window, int rounds) {
    const HWND button = GetDlgItem(window, kHoveredButton);
    RECT rect{};
    GetWindowRect(button, &rect);
    POINT free = kFreeSpot;
    ClientToScreen(window, &free);
    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    SetCursorPos(free.x, free.y);
    Sleep(200);
    // The state images are drawn over what the button showed before, so the resting button need
    // not look the same after a hover as before it: each step waits for a change from the last.
    for (int round = 0; round < rounds; ++round) {
        const std::vector<DWORD> resting = CaptureScreen(rect);
        const Stopwatch enter;
        SetCursorPos(centre.x, centre.y);
        Report("hover", -1, WaitUntilPainted(window, enter, [&] { return CaptureScreen(rect) != resting; }));
        const std::vector<DWORD> hovered = CaptureScreen(rect);
        const Stopwatch leave;
        SetCursorPos(free.x, free.y);
        Report("leave", -1, WaitUntilPainted(window, leave, [&] { return CaptureScreen(rect) != hovered; }));
    }
}

double Click(HWND window, int buttonId, int shownId) {
    const HWND shown = GetDlgItem(window, shownId);
    const Stopwatch clock;
    PostMessageW(GetDlgItem(window, buttonId), BM_CLICK, 0, 0);
    return WaitUntilPainted(window, clock, [&] { return IsWindowVisible(shown) != FALSE; });
}

void TimePageSwitches(HWND window, int rounds) {
    for (int round = 0; round < rounds; ++round) {
        for (const auto& page : kPageButtons) {
            Report("page", page.button, Click(window, page.button, page.pageControl));
            Report("page", kBackButton, Click(window, kBackButton, kMenuControl));
        }
    }
}

int TimeInteraction(int rounds, const std::wstring& program) {
    const Launched launched = LaunchUntilPainted(program);
    if (launched.ms < 0) {
        std::printf("start failed\n");
        Close(launched);
        return 1;
    }
    TimeHovers(launched.window, rounds);
    TimePageSwitches(launched.window, rounds);
    Close(launched);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const bool interaction = argc > 1 && std::wcscmp(argv[1], L"--interaction") == 0;
    const int first = interaction ? 2 : 1;
    if (argc < first + 2 || (interaction && argc != first + 2)) {
        std::fputs(
            "usage: launch_timer ROUNDS [--dpi N] PROGRAM...\n       launch_timer --interaction ROUNDS PROGRAM\n",
            stderr);
        return 2;
    }
    const int rounds = std::wcstol(argv[first], nullptr, 10);
    if (interaction) return TimeInteraction(rounds, argv[first + 1]);
    std::vector<Program> programs;
    for (int i = first + 1; i < argc; ++i) {
        Program program;
        if (std::wcscmp(argv[i], L"--dpi") == 0 && i + 2 < argc) {
            program.dpi = static_cast<DWORD>(std::wcstol(argv[i + 1], nullptr, 10));
            i += 2;
        }
        program.path = argv[i];
        programs.push_back(program);
    }
    return TimeStartUps(rounds, programs);
}
