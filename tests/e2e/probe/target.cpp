#include "target.h"

// The program's own control ids: the main window is the one that holds the installer list.
#include <tlhelp32.h>

#include <algorithm>
#include <cwctype>

#include "../../../resources/resource.h"

namespace probe {

namespace {

constexpr UINT kSendTimeoutMs = 3000;

std::wstring FileNameOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(x) == std::towlower(y);
           });
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

struct ChildSearch {
    HWND parent;
    std::vector<HWND> children;
};

BOOL CALLBACK CollectDirectChild(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ChildSearch*>(context);
    if (GetAncestor(window, GA_PARENT) == search->parent) search->children.push_back(window);
    return TRUE;
}

}  // namespace

bool Target::IsTargetProcess(DWORD processId) const {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return false;
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = static_cast<DWORD>(std::size(path));
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) return false;
    return EqualNoCase(FileNameOf(path), exeName_);
}

std::vector<HWND> Target::TopLevelWindows() const {
    std::vector<HWND> all;
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> mine;
    DWORD lastChecked = 0;
    bool lastResult = false;
    for (HWND window : all) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId != lastChecked) {
            lastChecked = processId;
            lastResult = IsTargetProcess(processId);
        }
        if (lastResult) mine.push_back(window);
    }
    return mine;
}

UniqueHandle Target::OpenRunningProcess(DWORD access) const {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) return nullptr;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (!EqualNoCase(FileNameOf(entry.szExeFile), exeName_)) continue;
        UniqueHandle process(OpenProcess(access, FALSE, entry.th32ProcessID));
        if (process) return process;
    }
    return nullptr;
}

HWND Target::MainWindow() const {
    for (HWND window : TopLevelWindows()) {
        if (GetDlgItem(window, IDC_LIST_INSTALLS) != nullptr) return window;
    }
    return nullptr;
}

std::vector<HWND> Target::Boxes() const {
    std::vector<HWND> boxes;
    for (HWND window : TopLevelWindows()) {
        if (GetDlgItem(window, IDC_LIST_INSTALLS) != nullptr) continue;
        if (ClassName(window) != L"#32770") continue;
        if (!IsWindowVisible(window)) continue;
        boxes.push_back(window);
    }
    return boxes;
}

bool SendTimed(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    DWORD_PTR answer = 0;
    const LRESULT ok = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer);
    if (result != nullptr) *result = static_cast<LRESULT>(answer);
    return ok != 0;
}

std::wstring WindowText(HWND window) {
    LRESULT length = 0;
    if (SendTimed(window, WM_GETTEXTLENGTH, 0, 0, &length) && length >= 0) {
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        LRESULT copied = 0;
        if (SendTimed(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied)) {
            text.resize(std::min(static_cast<size_t>(std::max<LRESULT>(copied, 0)), text.size() - 1));
            return text;
        }
    }
    wchar_t buffer[1024] = {};
    InternalGetWindowText(window, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

std::vector<HWND> DirectChildren(HWND parent) {
    ChildSearch search{parent, {}};
    EnumChildWindows(parent, CollectDirectChild, reinterpret_cast<LPARAM>(&search));
    return search.children;
}

RECT RectInParent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetAncestor(control, GA_PARENT), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

std::string Escape(const std::wstring& text) {
    std::string out;
    for (char c : ToUtf8(text)) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

}  // namespace probe
