#include "framework/control.h"

#include <vector>

namespace framework {

namespace {
// The object behind a window is found through a window property: no table of windows.
constexpr wchar_t kOwnerDrawnProperty[] = L"Setup.OwnerDrawn";
}  // namespace

std::wstring Control::Text() const {
    const int length = GetWindowTextLengthW(window_);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int copied = GetWindowTextW(window_, buffer.data(), length + 1);
    return std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

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
