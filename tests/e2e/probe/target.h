#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace probe {

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept {
        if (handle != nullptr) CloseHandle(handle);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// The windows of the program under test, found by the file name of their process (the only
// thing that is the same before, during and after its main window exists).
class Target {
public:
    explicit Target(std::wstring exeName) : exeName_(std::move(exeName)) {}

    bool IsTargetProcess(DWORD processId) const;
    std::vector<HWND> TopLevelWindows() const;

    // The main window: a top-level window of the program that holds the installer list.
    HWND MainWindow() const;

    // Every other top-level dialog of the program (message boxes, the About box).
    std::vector<HWND> Boxes() const;

    // A running process of the program, opened with the access given; null when none runs.
    UniqueHandle OpenRunningProcess(DWORD access) const;

private:
    std::wstring exeName_;
};

// Text of a window in another process: WM_GETTEXT (marshalled by the system) with a time-out,
// falling back to the text the window manager holds when the owner thread does not answer.
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// Direct children of a window, in z-order (which for a dialog is the template's order).
std::vector<HWND> DirectChildren(HWND parent);

// The control's rectangle relative to the parent's client area.
RECT RectInParent(HWND control);

// Sends with a time-out so that a hung program fails the probe instead of hanging the test.
bool SendTimed(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

std::string ToUtf8(const std::wstring& text);
// UTF-8 for one tab-separated output field: backslash, tab, CR and LF written as \\, \t, \r, \n.
std::string Escape(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

}  // namespace probe
