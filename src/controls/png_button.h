#pragma once

#include <windows.h>

#include <memory>

#include "controls/image.h"
#include "framework/control.h"

namespace controls {
// A decoded image that several buttons may show (the window's buttons of one size share their
// three files); it lives as long as the last button that shows it.
using SharedBitmap = std::shared_ptr<const Bitmap>;
}  // namespace controls

// Posted to the notify window with wParam = notify id and lParam 0 (mouse left),
// 1 (mouse rests over the button) or 2 (left button went down on it). Part of the button's
// interface whoever listens: the main window asks for it but leaves it to default processing.
constexpr UINT WM_PNGBUTTON_STATE = WM_USER + 8;

// The three-state image push button of the skinned window. It is attached to an owner-drawn
// button of a dialog template by subclassing; clicks stay the platform button's own, so the
// parent gets the ordinary BN_CLICKED. It sizes itself to its normal image and draws its
// caption centred over the image, in a colour that follows the mouse. The item state of each
// draw says whether it shows a focus cue (ODS_FOCUS without ODS_NOFOCUSRECT) and its access
// key's underline (not under ODS_NOACCEL); to the dialog manager it is a push button, the
// default one while it has the focus, so Enter presses it.
class CPngButton : public framework::Control {
public:
    // How the caption is drawn (DrawText): DT_CENTER | DT_RIGHT | DT_BOTTOM without DT_SINGLELINE,
    // so every line is centred, lines break at explicit line breaks only, the text is clipped to
    // the button and ampersand prefixes are processed.
    static constexpr UINT kCaptionFormat = 0x0B;

    CPngButton() noexcept = default;
    ~CPngButton() override;

    // Subclasses the button window; the dialog's reflected WM_DRAWITEM then reaches DrawItem.
    bool Attach(HWND window) noexcept override;

    // Loads the three state images (a null pressedPath loads the normal file again) and, on
    // the first set-up whose normal image loads, gives the button that image's size.
    void SetImages(HWND hNotifyWnd, UINT nNotifyId, const wchar_t* normalPath, const wchar_t* hoverPath,
                   const wchar_t* pressedPath) noexcept;
    // The same with the three images already decoded (Bitmap::DecodeFile); an empty
    // pointer stands for an image object that could not be allocated.
    void SetImages(HWND hNotifyWnd, UINT nNotifyId, controls::SharedBitmap normal, controls::SharedBitmap hover,
                   controls::SharedBitmap pressed) noexcept;
    // Caption colour from now on; repaints the button.
    BOOL SetTextColor(COLORREF color) noexcept;
    // High contrast: the system's button colours instead of the images and the caption colour.
    void UseSystemColours(bool on) noexcept;
    // The display scale of the window: the focus cue's rings and the high-contrast frame are as
    // wide as it asks, and the next SetImages sizes the button to its images again (the window
    // gives it images of the new scale).
    void SetDpi(int dpi) noexcept;
    BOOL ReleaseImages() noexcept;

    void DrawItem(const DRAWITEMSTRUCT& request) noexcept;

    int ImageWidth() const noexcept { return m_nImageWidth; }
    int ImageHeight() const noexcept { return m_nImageHeight; }
    const RECT& ImageRect() const noexcept { return m_rcImage; }
    bool IsHover() const noexcept { return m_bHover != FALSE; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // The platform button's own processing, with a double click handed on as a second press.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void Detach() noexcept;

    void OnMouseMove() noexcept;
    void OnMouseHover() noexcept;
    void OnLButtonDown() noexcept;
    void OnLButtonUp() noexcept;
    void OnMouseLeave() noexcept;
    void Invalidate() noexcept;
    void PostState(LPARAM state) noexcept;
    // Has the parent repaint the button's place (background first), then the button.
    void RedrawPlace() noexcept;

    HWND m_hNotifyWnd = nullptr;
    BOOL m_bTracking = FALSE;
    BOOL m_bHover = FALSE;
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    controls::SharedBitmap m_pNormalImage;
    controls::SharedBitmap m_pHoverImage;
    controls::SharedBitmap m_pPressedImage;
    RECT m_rcWindow{};
    RECT m_rcImage{};
    UINT m_nNotifyId = 0;
    COLORREF m_crText = 0;
    bool m_bTextColorSet = false;
    RECT m_rcText{};
    bool m_bSystemColours = false;
    int m_nDpi = 96;

    WNDPROC buttonProc_ = nullptr;  // the platform button's window procedure, while subclassed
};
