#include "framework/control.h"

namespace framework {

void Control::Show(bool show) const noexcept {
    // Shown or hidden the way ShowWindow shows or hides a child (WM_SHOWWINDOW, SetWindowPos
    // without activation, and on hiding the focus back to the parent when the control had it),
    // but with the erase left to the next paint, as Windows does. ShowWindow has Wine erase at
    // once, walking every window with an erase pending and asking its server about each, and a
    // page switch shows and hides a dozen controls each.
    const bool visible = (GetWindowLongW(window_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible == show) return;
    SendMessageW(window_, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     SWP_DEFERERASE);
    if (!show && GetFocus() == window_) SetFocus(GetParent(window_));
}

bool ReflectDrawItem(const DRAWITEMSTRUCT& request) noexcept {
    if (request.CtlType != ODT_BUTTON || !request.hwndItem) return false;
    // A message rather than a lookup of the object behind the window: the control's own window
    // procedure knows it, and a window property would be one more request to Wine's server.
    return SendMessageW(request.hwndItem, kReflectedDrawItem, 0, reinterpret_cast<LPARAM>(&request)) != 0;
}

}  // namespace framework
