#pragma once

#include <windows.h>

namespace framework {

// A child control of a dialog, bound to its window by id when the dialog initialises.
// The dialog owns the object; the window belongs to the dialog window and goes with it.
class Control {
public:
    Control() = default;
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Binds the object to an existing window. Subclassing controls override this and call it.
    virtual bool Attach(HWND window) noexcept {
        window_ = window;
        return window_ != nullptr;
    }
    HWND Handle() const noexcept { return window_; }

    void SetText(const wchar_t* text) const noexcept { SetWindowTextW(window_, text); }
    void SetFont(HFONT font, bool redraw = true) const noexcept {
        SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    // ShowWindow with SW_SHOW or SW_HIDE, in effect.
    void Show(bool show) const noexcept;
    void Enable(bool enable) const noexcept { EnableWindow(window_, enable); }
    void Move(int x, int y, int width, int height, bool repaint = true) const noexcept {
        MoveWindow(window_, x, y, width, height, repaint);
    }

private:
    HWND window_ = nullptr;
};

// Owner-drawn controls receive their WM_DRAWITEM back from the dialog (message reflection): the
// dialog calls ReflectDrawItem for every WM_DRAWITEM it receives, which sends the request to the
// control it is about as kReflectedDrawItem (lParam: the DRAWITEMSTRUCT). A control that draws
// itself answers TRUE.
constexpr UINT kReflectedDrawItem = WM_APP + WM_DRAWITEM;

// False when the control does not draw itself.
bool ReflectDrawItem(const DRAWITEMSTRUCT& request) noexcept;

}  // namespace framework
