#include "controls/png_button.h"

#include <commctrl.h>

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "framework/phase_trace.h"
#include "platform/system_services.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr DWORD kHoverTimeMs = 1;
// The focus cue stands this many focus border widths inside the image, clear of rounded corners.
constexpr int kCueInset = 3;

enum : LPARAM { kStateLeft = 0, kStateHover = 1, kStatePressed = 2 };

controls::SharedBitmap LoadState(const wchar_t* path) noexcept {
    // An object that can't be allocated leaves the slot empty, which draws nothing, like a
    // file that failed to load.
    std::unique_ptr<controls::Bitmap> image(new (std::nothrow) controls::Bitmap());
    if (image) *image = controls::Bitmap::DecodeFile(path);
    return controls::SharedBitmap(std::move(image));
}

// A frame of `width` pixels inside `rect`.
void FrameInside(HDC dc, RECT rect, HBRUSH brush, int width) noexcept {
    for (int i = 0; i < width; ++i) {
        FrameRect(dc, &rect, brush);
        InflateRect(&rect, -1, -1);
    }
}

// Lines one pixel wide at 100 %, at `dpi`.
int LineWidth(int dpi) noexcept { return MulDiv(1, dpi, 96); }

// Two rings as wide as the system's focus border, dark outside and light inside: on a light
// image the dark one stands out, on a dark image the light one. Windows gives the border for
// the system's dpi; it is scaled to the window's, and is at least a line's width there.
void DrawFocusCue(HDC dc, RECT rect, COLORREF dark, COLORREF light, int dpi) noexcept {
    int width = 1;
    SystemParametersInfoW(SPI_GETFOCUSBORDERWIDTH, 0, &width, 0);
    width = std::max(MulDiv(width, dpi, platform::SystemDpi()), LineWidth(dpi));
    InflateRect(&rect, -kCueInset * width, -kCueInset * width);
    const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    for (const COLORREF colour : {dark, light}) {
        SetDCBrushColor(dc, colour);
        FrameInside(dc, rect, brush, width);
        InflateRect(&rect, -width, -width);
    }
}

}  // namespace

CPngButton::~CPngButton() {
    ReleaseImages();
    Detach();
}

bool CPngButton::Attach(HWND window) noexcept {
    Detach();
    if (!window || !framework::Control::Attach(window)) return false;
    // Subclassed through the window procedure itself, with the object in the button's user data
    // (which the button class leaves to its owner): comctl32's SetWindowSubclass looks its data up
    // in a window property at every message, and Wine answers each such lookup in its server.
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    buttonProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CPngButton::WindowProc)));
    if (!buttonProc_) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        framework::Control::Attach(nullptr);
        return false;
    }
    return true;
}

void CPngButton::Detach() noexcept {
    const HWND window = Handle();
    if (!window) return;
    if (buttonProc_) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buttonProc_));
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    buttonProc_ = nullptr;
    framework::Control::Attach(nullptr);
}

BOOL CPngButton::ReleaseImages() noexcept {
    m_pNormalImage.reset();
    m_pHoverImage.reset();
    m_pPressedImage.reset();
    return TRUE;
}

void CPngButton::SetImages(HWND hNotifyWnd, UINT nNotifyId, const wchar_t* normalPath, const wchar_t* hoverPath,
                           const wchar_t* pressedPath) noexcept {
    ReleaseImages();
    controls::SharedBitmap normal = LoadState(normalPath);
    controls::SharedBitmap hover = LoadState(hoverPath);
    controls::SharedBitmap pressed = LoadState(pressedPath ? pressedPath : normalPath);
    SetImages(hNotifyWnd, nNotifyId, std::move(normal), std::move(hover), std::move(pressed));
}

void CPngButton::SetImages(HWND hNotifyWnd, UINT nNotifyId, controls::SharedBitmap normal, controls::SharedBitmap hover,
                           controls::SharedBitmap pressed) noexcept {
    ReleaseImages();
    m_hNotifyWnd = hNotifyWnd;
    m_nNotifyId = nNotifyId;

    m_pNormalImage = std::move(normal);
    m_pHoverImage = std::move(hover);
    m_pPressedImage = std::move(pressed);

    m_nImageWidth = m_pNormalImage ? static_cast<int>(m_pNormalImage->GetWidth()) : 0;
    m_nImageHeight = m_pNormalImage ? static_cast<int>(m_pNormalImage->GetHeight()) : 0;

    const HWND window = Handle();
    if (!window) return;
    const HWND parent = GetParent(window);

    // The button takes its size from the first set-up whose normal image loaded; later
    // set-ups draw their images into that same rectangle.
    const bool imageRectEmpty =
        m_rcImage.left == 0 && m_rcImage.right == m_rcImage.left && m_rcImage.bottom == m_rcImage.top;
    if (!imageRectEmpty) return;
    GetWindowRect(window, &m_rcWindow);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&m_rcWindow), 2);
    m_rcWindow.right = m_rcWindow.left + m_nImageWidth;
    m_rcWindow.bottom = m_rcWindow.top + m_nImageHeight;
    m_rcImage = RECT{0, 0, m_nImageWidth, m_nImageHeight};
    MoveWindow(window, m_rcWindow.left, m_rcWindow.top, m_nImageWidth, m_nImageHeight, TRUE);
}

BOOL CPngButton::SetTextColor(COLORREF color) noexcept {
    m_crText = color;
    m_bTextColorSet = true;
    // A null window would invalidate every window of the desktop.
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
    return TRUE;
}

void CPngButton::UseSystemColours(bool on) noexcept {
    m_bSystemColours = on;
    Invalidate();
}

void CPngButton::SetDpi(int dpi) noexcept {
    m_nDpi = dpi;
    m_rcImage = RECT{};
}

void CPngButton::DrawItem(const DRAWITEMSTRUCT& request) noexcept {
    const HDC dc = request.hDC;
    const UINT state = request.itemState;
    // While focus cues show, a focus change repaints the button's place: the cue must go with the
    // focus, from the image's transparent parts too, which a draw over the old one keeps.
    if (request.itemAction == ODA_FOCUS && !(state & ODS_NOFOCUSRECT)) {
        RedrawPlace();
        return;
    }
    RECT client{};
    GetClientRect(Handle(), &client);

    const bool lit = (state & ODS_SELECTED) || m_bHover;
    if (m_bSystemColours) {
        FillRect(dc, &m_rcImage, GetSysColorBrush(lit ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        FrameInside(dc, m_rcImage, GetSysColorBrush(COLOR_BTNTEXT), LineWidth(m_nDpi));
    } else {
        const controls::Bitmap* image = m_pNormalImage.get();
        if (state & ODS_SELECTED) {
            image = m_pPressedImage.get();
        } else if (m_bHover) {
            image = m_pHoverImage.get();
        }
        controls::Graphics graphics(dc);
        if (image) graphics.DrawImage(*image, m_rcImage, 0, 0, m_nImageWidth, m_nImageHeight);
    }

    std::vector<wchar_t> caption(static_cast<size_t>(GetWindowTextLengthW(Handle())) + 1);
    const int length = GetWindowTextW(Handle(), caption.data(), static_cast<int>(caption.size()));

    SetBkMode(dc, TRANSPARENT);
    if (m_bSystemColours) {
        const int text = (state & ODS_DISABLED) ? COLOR_GRAYTEXT : lit ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT;
        ::SetTextColor(dc, GetSysColor(text));
    } else if (m_bTextColorSet) {
        ::SetTextColor(dc, m_crText);
    }

    m_rcText = client;
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.data(), length, &extent);
    m_rcText.top += ((m_rcText.bottom - m_rcText.top) - extent.cy) / 2;
    DrawTextW(dc, caption.data(), length, &m_rcText, kCaptionFormat | ((state & ODS_NOACCEL) ? DT_HIDEPREFIX : 0));

    if ((state & ODS_FOCUS) && !(state & ODS_NOFOCUSRECT)) {
        DrawFocusCue(dc, m_rcImage, m_bSystemColours ? GetSysColor(COLOR_BTNTEXT) : kBlack,
                     m_bSystemColours ? GetSysColor(COLOR_HIGHLIGHT) : kWhite, m_nDpi);
    }
    framework::MarkPhase("button drawn", static_cast<int>(request.CtlID));
}

LRESULT CALLBACK CPngButton::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* button = reinterpret_cast<CPngButton*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // Only while attached: Detach gives the window its own procedure back.
    if (!button || button->Handle() != window) return ::DefWindowProcW(window, message, wParam, lParam);
    return button->HandleMessage(message, wParam, lParam);
}

LRESULT CPngButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_MOUSEMOVE:
            OnMouseMove();
            break;
        case WM_LBUTTONDOWN:
            OnLButtonDown();
            break;
        case WM_LBUTTONUP:
            OnLButtonUp();
            break;
        case WM_MOUSEHOVER:
            OnMouseHover();
            break;
        case WM_ERASEBKGND:
            return TRUE;  // the image covers the button; nothing is cleared first
        case WM_MOUSELEAVE:
            OnMouseLeave();
            break;
        case framework::kReflectedDrawItem:
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_GETDLGCODE:
            // An owner-drawn button reports DLGC_BUTTON alone, and the dialog manager then turns
            // Enter into IDOK wherever the focus is.
            return DLGC_BUTTON | (GetFocus() == Handle() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        case BM_SETSTYLE:
            // The dialog manager marks the default button so; the push-button type it asks for
            // would replace BS_OWNERDRAW.
            wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW;
            break;
        case WM_NCDESTROY: {
            const HWND window = Handle();
            const WNDPROC buttonProc = buttonProc_;
            Detach();
            return CallWindowProcW(buttonProc, window, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CPngButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // The platform button answers a double click with BN_DOUBLECLICKED; as a second press it
    // gives a second BN_CLICKED instead, so a quick double click counts as two clicks.
    if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
    return CallWindowProcW(buttonProc_, Handle(), message, wParam, lParam);
}

void CPngButton::OnMouseMove() noexcept {
    if (m_bTracking) return;
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof(request);
    request.dwFlags = TME_HOVER | TME_LEAVE;
    request.hwndTrack = Handle();
    request.dwHoverTime = kHoverTimeMs;
    m_bTracking = _TrackMouseEvent(&request);
}

void CPngButton::OnMouseHover() noexcept {
    framework::MarkPhase("hover");
    m_bHover = TRUE;
    SetTextColor(kWhite);
    Invalidate();
    PostState(kStateHover);
}

void CPngButton::OnLButtonDown() noexcept {
    framework::MarkPhase("pressed");
    Invalidate();
    SetTextColor(kWhite);
    PostState(kStatePressed);
}

void CPngButton::OnLButtonUp() noexcept { Invalidate(); }

void CPngButton::OnMouseLeave() noexcept {
    m_bTracking = FALSE;
    m_bHover = FALSE;
    SetTextColor(kBlack);
    PostState(kStateLeft);
    Invalidate();
}

void CPngButton::Invalidate() noexcept {
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void CPngButton::RedrawPlace() noexcept {
    const HWND parent = GetParent(Handle());
    RECT place{};
    GetWindowRect(Handle(), &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    RedrawWindow(parent, &place, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CPngButton::PostState(LPARAM state) noexcept {
    // Without a notify window PostMessage would go to the thread's queue instead.
    if (m_hNotifyWnd) PostMessageW(m_hNotifyWnd, WM_PNGBUTTON_STATE, m_nNotifyId, state);
}
