// Stands in for a vendor's installer on the copy of a medium that ./dev preview runs, so that no
// real installer ever runs. It shows nothing and changes nothing but its notes in the preview's
// folder of the prefix, C:\setup-preview:
// - every run appends its own path to runs.log; the n-th run (counted from 0) ends with exit
//   code n % 2, so a run of several shows both result texts;
// - while a file named "hold" exists there, the run waits (at most a minute), so the preview can
//   photograph the progress page with this installer's row running.
#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kRunLog[] = L"C:\\setup-preview\\runs.log";
constexpr wchar_t kHold[] = L"C:\\setup-preview\\hold";
constexpr DWORD kPollMs = 50;
constexpr ULONGLONG kLongestHoldMs = 60000;

// Counts the runs before this one and adds this one, in one open of the log.
unsigned long RecordRun(const std::wstring& path) {
    const HANDLE log = CreateFileW(kRunLog, GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 0;
    unsigned long lines = 0;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(log, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        for (DWORD i = 0; i < read; ++i) lines += buffer[i] == '\n' ? 1 : 0;
    }
    std::string line;
    const int size = WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size > 1) {
        line.resize(static_cast<size_t>(size - 1));
        WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, line.data(), size, nullptr, nullptr);
    }
    line += "\r\n";
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
    return lines;
}

void WaitWhileHeld() {
    const ULONGLONG deadline = GetTickCount64() + kLongestHoldMs;
    while (GetFileAttributesW(kHold) != INVALID_FILE_ATTRIBUTES && GetTickCount64() < deadline) Sleep(kPollMs);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    const unsigned long run = RecordRun(path);
    WaitWhileHeld();
    return static_cast<int>(run % 2);
}
