// Stands in for Wine's wineboot.exe in a throwaway prefix: Wine turns ExitWindowsEx into a
// wineboot run, so this records the request (its command line, one line per call, in
// C:\wineboot-calls.log) instead of ending the session.
#include <windows.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const HANDLE log = CreateFileW(L"C:\\wineboot-calls.log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 1;
    char line[2048];
    const int length = std::snprintf(line, sizeof line, "%ls\r\n", GetCommandLineW());
    DWORD written = 0;
    if (length > 0) WriteFile(log, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(log);
    return 0;
}
