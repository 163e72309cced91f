// Measures how quickly Setup's user-interface thread answers: sends WM_NULL to the main window
// with SendMessageTimeout every INTERVAL ms for SECONDS seconds and prints one round trip per
// line ("rtt <microseconds>", or "timeout"). Usage: ping SECONDS INTERVAL_MS
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "../probe/target.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: ping SECONDS INTERVAL_MS\n", stderr);
        return 2;
    }
    const double seconds = std::wcstod(argv[1], nullptr);
    const DWORD intervalMs = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10));
    const probe::Target target(L"Setup.exe");
    const HWND main = target.MainWindow();
    if (main == nullptr) {
        std::fputs("ping: no main window\n", stderr);
        return 1;
    }
    LARGE_INTEGER frequency, start, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (;;) {
        QueryPerformanceCounter(&before);
        if (static_cast<double>(before.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) > seconds) {
            break;
        }
        DWORD_PTR answer = 0;
        const LRESULT sent = SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
        QueryPerformanceCounter(&after);
        if (sent == 0) {
            std::printf("timeout\n");
        } else {
            std::printf("rtt %lld\n", (after.QuadPart - before.QuadPart) * 1000000 / frequency.QuadPart);
        }
        std::fflush(stdout);
        Sleep(intervalMs);
    }
    return 0;
}
