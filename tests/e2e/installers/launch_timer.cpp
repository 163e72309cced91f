// Start-up time of window programs, measured side by side: starts each program in turn, takes
// the time until its top-level window is shown and painted (the window and every shown child
// have no update region left), then closes it with WM_CLOSE. The first round warms the caches
// and is not printed. Prints "<index> <milliseconds>" per program and round, or
// "<index> failed". Usage: launch_timer ROUNDS PROGRAM...
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 1;
constexpr ULONGLONG kStartTimeoutMs = 20000;
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

// Milliseconds from process creation to a shown, painted window; negative on failure.
double TimeToPaintedWindow(const std::wstring& program) {
    std::wstring commandLine = L"\"" + program + L"\"";
    const std::wstring folder = FolderOf(program);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        return -1;
    }
    CloseHandle(process.hThread);
    double elapsedMs = -1;
    Search search{process.dwProcessId, nullptr};
    const ULONGLONG deadline = GetTickCount64() + kStartTimeoutMs;
    while (GetTickCount64() < deadline) {
        search.window = nullptr;
        EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.window != nullptr && IsPainted(search.window)) {
            QueryPerformanceCounter(&now);
            elapsedMs = static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
                        static_cast<double>(frequency.QuadPart);
            break;
        }
        if (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0) break;
    }
    if (search.window != nullptr) PostMessageW(search.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, kCloseTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    return elapsedMs;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: launch_timer ROUNDS PROGRAM...\n", stderr);
        return 2;
    }
    const int rounds = std::wcstol(argv[1], nullptr, 10);
    const std::vector<std::wstring> programs(argv + 2, argv + argc);
    for (int round = 0; round <= rounds; ++round) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const double ms = TimeToPaintedWindow(programs[i]);
            if (round == 0) continue;
            if (ms < 0) {
                std::printf("%zu failed\n", i);
            } else {
                std::printf("%zu %.1f\n", i, ms);
            }
            std::fflush(stdout);
        }
    }
    return 0;
}
