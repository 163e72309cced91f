#include "framework/control.h"

namespace framework {

void Control::Show(bool show) const noexcept {
    if (show) {
        ShowWindow(window_, SW_SHOW);
        return;
    }
    // Hidden the way ShowWindow hides a child (WM_SHOWWINDOW, SetWindowPos, then the focus back
    // to the parent when the control had it), but with the erase of the uncovered background
    // left to the parent's next paint. ShowWindow has Wine erase it at once, walking every
    // window with an erase pending and asking its server about each, and a page switch hides a
    // dozen controls while the ones it shows wait to be painted.
    if (!(GetWindowLongW(window_, GWL_STYLE) & WS_VISIBLE)) return;
    SendMessageW(window_, WM_SHOWWINDOW, FALSE, 0);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
    if (GetFocus() == window_) SetFocus(GetParent(window_));
}

bool ReflectDrawItem(const DRAWITEMSTRUCT& request) noexcept {
    if (request.CtlType != ODT_BUTTON || !request.hwndItem) return false;
    // A message rather than a lookup of the object behind the window: the control's own window
    // procedure knows it, and a window property would be one more request to Wine's server.
    return SendMessageW(request.hwndItem, kReflectedDrawItem, 0, reinterpret_cast<LPARAM>(&request)) != 0;
}

}  // namespace framework
