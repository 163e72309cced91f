#include "framework/control.h"

namespace framework {

namespace {
// The object behind a window is found through a window property: no table of windows.
constexpr wchar_t kOwnerDrawnProperty[] = L"Setup.OwnerDrawn";
}  // namespace

void RegisterOwnerDrawn(HWND window, OwnerDrawn* target) noexcept {
    if (window) SetPropW(window, kOwnerDrawnProperty, target);
}

void UnregisterOwnerDrawn(HWND window) noexcept {
    if (window) RemovePropW(window, kOwnerDrawnProperty);
}

bool ReflectDrawItem(const DRAWITEMSTRUCT& request) noexcept {
    if (request.CtlType != ODT_BUTTON || !request.hwndItem) return false;
    auto* target = static_cast<OwnerDrawn*>(GetPropW(request.hwndItem, kOwnerDrawnProperty));
    if (!target) return false;
    target->DrawItem(request);
    return true;
}

}  // namespace framework
