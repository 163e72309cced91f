// Reports on the running processes whose image is the given file, from inside the same Wine
// prefix: "module <path>" for every loaded module, "window <class>" for every visible
// top-level window, and with --close posts WM_CLOSE to those windows.
// Exit code: 0 when such a process runs, 1 when none does, 2 on bad arguments.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

class Snapshot {
public:
    Snapshot(DWORD flags, DWORD processId) : m_handle(CreateToolhelp32Snapshot(flags, processId)) {}
    ~Snapshot() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            CloseHandle(m_handle);
        }
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

std::wstring ImagePath(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        return {};
    }
    wchar_t path[MAX_PATH * 2];
    DWORD length = MAX_PATH * 2;
    const bool ok = QueryFullProcessImageNameW(process, 0, path, &length) != FALSE;
    CloseHandle(process);
    return ok ? std::wstring(path, length) : std::wstring();
}

std::vector<DWORD> ProcessesOf(const std::wstring& image) {
    std::vector<DWORD> found;
    Snapshot snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (_wcsicmp(ImagePath(entry.th32ProcessID).c_str(), image.c_str()) == 0) {
            found.push_back(entry.th32ProcessID);
        }
    }
    return found;
}

void ReportModules(DWORD processId) {
    Snapshot snapshot(TH32CS_SNAPMODULE, processId);
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Module32FirstW(snapshot.Get(), &entry); more; more = Module32NextW(snapshot.Get(), &entry)) {
        std::printf("module %ls\n", entry.szExePath);
    }
}

struct WindowSearch {
    DWORD processId;
    bool close;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM parameter) {
    const auto& search = *reinterpret_cast<const WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && IsWindowVisible(window)) {
        wchar_t className[128] = {};
        GetClassNameW(window, className, 128);
        std::printf("window %ls\n", className);
        if (search.close) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // plain LF line ends for the shell that reads us
    if (argc < 2 || (argc == 3 && std::wcscmp(argv[2], L"--close") != 0) || argc > 3) {
        std::fprintf(stderr, "usage: process_watch IMAGE [--close]\n");
        return 2;
    }
    wchar_t image[MAX_PATH * 2];
    if (GetFullPathNameW(argv[1], MAX_PATH * 2, image, nullptr) == 0) {
        return 2;
    }
    const std::vector<DWORD> processes = ProcessesOf(image);
    for (DWORD processId : processes) {
        ReportModules(processId);
        WindowSearch search{processId, argc == 3};
        EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
    }
    std::fflush(stdout);
    return processes.empty() ? 1 : 0;
}
