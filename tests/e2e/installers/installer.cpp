// A harmless stand-in for an installer, for the end-to-end tests and the sample medium. Its own
// file name says what it does: "<label>_exit<code>_<duration>.exe", the duration as "<n>s" or
// "<n>ms" (a_exit0_2s.exe ends with 0 after two seconds, b_exit3010_300ms.exe with 3010 after
// 0.3 s). It appends "<name> start <ms>" and "<name> end <ms>" to install.log in its own
// folder, the time in milliseconds of the system clock, and shows a small window meanwhile.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Plan {
    unsigned long exitCode = 0;
    unsigned long durationMs = 0;
};

// Finds "exit<digits>" and the "_<digits>s" or "_<digits>ms" after it; anything missing is 0.
Plan ReadPlan(const std::wstring& name) {
    Plan plan;
    const std::size_t exit = name.find(L"exit");
    if (exit == std::wstring::npos) return plan;
    const wchar_t* rest = name.c_str() + exit + 4;
    wchar_t* end = nullptr;
    plan.exitCode = std::wcstoul(rest, &end, 10);
    if (*end != L'_') return plan;
    const unsigned long amount = std::wcstoul(end + 1, &end, 10);
    if (std::wcsncmp(end, L"ms", 2) == 0) {
        plan.durationMs = amount;
    } else if (*end == L's') {
        plan.durationMs = amount * 1000;
    }
    return plan;
}

unsigned long long NowMs() {
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return ticks / 10000;  // 100 ns units since 1601
}

// One write per line on a handle opened for appending only, so the lines of installers that
// overlap in time can never interleave within a line.
void AppendLine(const std::wstring& logPath, const std::wstring& name, const char* what) {
    const HANDLE log = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    char line[512];
    const int length = std::snprintf(line, sizeof line, "%ls %s %llu\r\n", name.c_str(), what, NowMs());
    DWORD written = 0;
    if (length > 0) WriteFile(log, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(log);
}

// A small window with the installer's name for the duration, kept alive by its own loop.
void ShowWhileWaiting(const std::wstring& name, unsigned long durationMs) {
    const std::wstring text = L"Installing " + name + L"\u2026";
    const HWND window =
        CreateWindowExW(0, L"STATIC", text.c_str(), WS_OVERLAPPEDWINDOW | SS_CENTER | SS_CENTERIMAGE, CW_USEDEFAULT,
                        CW_USEDEFAULT, 320, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window != nullptr) {
        SetWindowTextW(window, name.c_str());
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    const ULONGLONG deadline = GetTickCount64() + durationMs;
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (window != nullptr) DestroyWindow(window);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t modulePath[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, modulePath, static_cast<DWORD>(std::size(modulePath)));
    const std::wstring path = modulePath;
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".exe") == 0) name.resize(name.size() - 4);

    const Plan plan = ReadPlan(name);
    const std::wstring logPath = folder + L"install.log";
    AppendLine(logPath, name, "start");
    if (plan.durationMs > 0) ShowWhileWaiting(name, plan.durationMs);
    AppendLine(logPath, name, "end");
    return static_cast<int>(plan.exitCode);
}
