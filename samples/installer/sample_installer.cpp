// A harmless stand-in for a product's installer on the sample medium. It shows a small window
// with what it "installs" and a progress bar for a few seconds, changes nothing on the system,
// and ends with the exit code its plan names: the .ini file of the same name beside it (see
// installer_plan.h). The cancel button, the window's close box and Esc end it with 1602, the
// code of an installation the user cancelled.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "installer_plan.h"

namespace {

constexpr wchar_t kClassName[] = L"LumetraSampleInstaller";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTickMs = 50;
constexpr int kProgressRange = 1000;
constexpr unsigned long kUserCancelled = 1602;  // ERROR_INSTALL_USEREXIT
constexpr int kIdText = 100;
constexpr int kIdProgress = 101;

// Client area and control rectangles, in pixels.
constexpr int kClientWidth = 400;
constexpr int kClientHeight = 124;
constexpr int kMargin = 16;

class Font {
public:
    explicit Font(HFONT handle) : handle_(handle) {}
    ~Font() {
        if (handle_ != nullptr) DeleteObject(handle_);
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    HFONT Get() const { return handle_; }

private:
    HFONT handle_;
};

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& wide) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(std::max(length, 1)), '\0');
    if (length > 0) WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), length, nullptr, nullptr);
    utf8.pop_back();  // the terminator
    return utf8;
}

// The whole file, or "" when it cannot be read; plans are a few hundred bytes.
std::string ReadSmallFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string content(64 * 1024, '\0');
    DWORD read = 0;
    if (!ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr)) read = 0;
    CloseHandle(file);
    content.resize(read);
    return content;
}

// The plan beside the running program: "setup.exe" reads "setup.ini".
InstallerPlan LoadPlan() {
    wchar_t modulePath[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameW(nullptr, modulePath, static_cast<DWORD>(std::size(modulePath)));
    const std::wstring path(modulePath, length);
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::size_t dot = path.find_last_of(L'.');
    const std::wstring stem =
        (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) ? path.substr(0, dot) : path;
    const std::wstring name = stem.substr(slash == std::wstring::npos ? 0 : slash + 1);
    return ReadInstallerPlan(ReadSmallFile(stem + L".ini"), Narrow(name));
}

class InstallerWindow {
public:
    explicit InstallerWindow(InstallerPlan plan) : plan_(std::move(plan)), font_(CreateMessageFont()) {}
    InstallerWindow(const InstallerWindow&) = delete;
    InstallerWindow& operator=(const InstallerWindow&) = delete;

    bool Create(HINSTANCE instance) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        if (!RegisterClassExW(&windowClass)) return false;

        constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        RECT frame{0, 0, kClientWidth, kClientHeight};
        AdjustWindowRectEx(&frame, style, FALSE, 0);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 3;
        window_ = CreateWindowExW(0, kClassName, Widen(plan_.title).c_str(), style, x, y, width, height, nullptr,
                                  nullptr, instance, this);
        return window_ != nullptr;
    }

    // Runs until the installation ends or is cancelled; returns the exit code.
    unsigned long Run() {
        ShowWindow(window_, SW_SHOW);
        UpdateWindow(window_);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (IsDialogMessageW(window_, &message)) continue;  // Tab, Enter and Esc as in a dialog
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return exitCode_;
    }

private:
    static HFONT CreateMessageFont() {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<InstallerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
        return self->HandleMessage(window, message, wParam, lParam);
    }

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        switch (message) {
            case WM_CREATE:
                return OnCreate(window) ? 0 : -1;
            case WM_TIMER:
                OnTimer();
                return 0;
            case WM_COMMAND:
                if (LOWORD(wParam) == IDCANCEL) End(kUserCancelled);
                return 0;
            case WM_CLOSE:
                End(kUserCancelled);
                return 0;
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
            default:
                return DefWindowProcW(window, message, wParam, lParam);
        }
    }

    bool OnCreate(HWND window) noexcept {
        const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
        const int innerWidth = kClientWidth - 2 * kMargin;
        const HWND text = CreateWindowExW(
            0, L"STATIC", Widen(plan_.text).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS,
            kMargin, kMargin, innerWidth, 20, window, reinterpret_cast<HMENU>(kIdText), instance, nullptr);
        progress_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, kMargin, kMargin + 28, innerWidth,
                                    18, window, reinterpret_cast<HMENU>(kIdProgress), instance, nullptr);
        const HWND cancel = CreateWindowExW(0, L"BUTTON", Widen(plan_.cancel).c_str(),
                                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                            kClientWidth - kMargin - 96, kClientHeight - kMargin - 28, 96, 28, window,
                                            reinterpret_cast<HMENU>(IDCANCEL), instance, nullptr);
        if (text == nullptr || progress_ == nullptr || cancel == nullptr) return false;
        for (const HWND control : {text, cancel}) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        }
        SendMessageW(progress_, PBM_SETRANGE32, 0, kProgressRange);
        start_ = GetTickCount64();
        SetTimer(window, kTimerId, kTickMs, nullptr);
        window_ = window;
        return true;
    }

    void OnTimer() noexcept {
        const ULONGLONG total = static_cast<ULONGLONG>(plan_.seconds) * 1000;
        const ULONGLONG elapsed = GetTickCount64() - start_;
        const ULONGLONG done =
            total == 0 ? kProgressRange : std::min<ULONGLONG>(kProgressRange, elapsed * kProgressRange / total);
        SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(done), 0);
        if (elapsed >= total) End(plan_.exitCode);
    }

    void End(unsigned long exitCode) noexcept {
        if (ended_) return;
        ended_ = true;
        exitCode_ = exitCode;
        KillTimer(window_, kTimerId);
        DestroyWindow(window_);
    }

    InstallerPlan plan_;
    Font font_;
    HWND window_ = nullptr;
    HWND progress_ = nullptr;
    ULONGLONG start_ = 0;
    bool ended_ = false;
    unsigned long exitCode_ = kUserCancelled;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    InstallerWindow window(LoadPlan());
    if (!window.Create(instance)) return 1;
    return static_cast<int>(window.Run());
}
