#include "framework/control.h"

namespace framework {

bool ReflectDrawItem(const DRAWITEMSTRUCT& request) noexcept {
    if (request.CtlType != ODT_BUTTON || !request.hwndItem) return false;
    // A message rather than a lookup of the object behind the window: the control's own window
    // procedure knows it, and a window property would be one more request to Wine's server.
    return SendMessageW(request.hwndItem, kReflectedDrawItem, 0, reinterpret_cast<LPARAM>(&request)) != 0;
}

}  // namespace framework
