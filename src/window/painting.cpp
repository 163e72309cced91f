#include <optional>
#include <string>

#include "config/process_objects.h"
#include "controls/image.h"
#include "framework/phase_trace.h"
#include "window/orvane_dlg.h"

namespace {
// The background behind the logo is repainted with this margin around it.
constexpr int kLogoMarginX = 52;
constexpr int kLogoMarginY = 22;
}  // namespace

void COrvaneDlg::OnPaint() noexcept {
    if (IsIconic(Handle())) {
        platform::PaintScope paint(Handle());
        SendMessageW(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Dc()), 0);
        const int iconWidth = GetSystemMetrics(SM_CXICON);
        const int iconHeight = GetSystemMetrics(SM_CYICON);
        RECT client{};
        GetClientRect(Handle(), &client);
        const int x = (client.right - client.left - iconWidth + 1) / 2;
        const int y = (client.bottom - client.top - iconHeight + 1) / 2;
        DrawIcon(paint.Dc(), x, y, m_hIcon.Get());
        return;
    }
    // The logo is drawn inside the paint cycle, after the background has been erased: drawn
    // before BeginPaint (through GetDC) it would be erased again by the pending background erase.
    framework::MarkPhase("dialog paint begins");
    platform::PaintScope paint(Handle());
    framework::MarkPhase("background erased");
    if (!g_productConfig.uiShowIcon) return;
    // Decoded once; the skin on the medium does not change while the window is open.
    const controls::Image& menu = m_skin.Background();
    const controls::Image& logo = m_skin.Logo();
    const int logoWidth = static_cast<int>(logo.GetWidth());
    const int logoHeight = static_cast<int>(logo.GetHeight());
    // The logo placeholder is never shown; its corner is where the logo goes.
    const ControlRect corner = ScaleRect(FactsOf(m_picLogo).rect, m_dpi);
    controls::Graphics graphics(paint.Dc());
    // In high contrast the background is the system's window colour, which the erase has painted.
    if (!m_bHighContrast) {
        const RECT patch{0, 0, logoWidth + ScaleValue(kLogoMarginX, m_dpi),
                         logoHeight + ScaleValue(kLogoMarginY, m_dpi)};
        // Source and destination of one size: the pixels are copied, whatever resolution the
        // file states (a draw at a point would scale by it).
        if (m_dpi == kBaseDpi) {
            graphics.DrawImage(menu, 0, 0, 0, 0, patch.right, patch.bottom);
        } else {
            graphics.DrawImage(menu, patch, 0, 0, patch.right, patch.bottom);
        }
    }
    graphics.DrawImage(logo, corner.x, corner.y, logoWidth, logoHeight);
    framework::MarkPhase("logo painted");
}

HBRUSH COrvaneDlg::OnCtlColor(HDC dc, HWND control, UINT kind) noexcept {
    const HBRUSH base = reinterpret_cast<HBRUSH>(DefWindowProcW(
        Handle(), WM_CTLCOLORMSGBOX + kind, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    if (!control) return base;
    for (const ControlRow& row : ControlTable()) {
        if (row.facts.colour == LabelColour::Default || row.member.control(*this).Handle() != control) continue;
        // Drawn over the skin; a label without a colour of its own keeps the context's.
        SetBkMode(dc, TRANSPARENT);
        if (m_bHighContrast) {
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        } else if (const auto colour = TextColourOf(row.facts.colour)) {
            SetTextColor(dc, static_cast<COLORREF>(*colour));
        }
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    // The dialog itself: the skin image tiled from the client area's top-left corner.
    if (control == Handle()) return m_bHighContrast ? GetSysColorBrush(COLOR_WINDOW) : m_brBackground.Get();
    return base;
}

bool COrvaneDlg::IsHighContrast() const noexcept {
    HIGHCONTRASTW mode{sizeof(mode), 0, nullptr};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(mode), &mode, 0) && (mode.dwFlags & HCF_HIGHCONTRASTON);
}

void COrvaneDlg::ApplySystemColours() noexcept {
    m_bHighContrast = IsHighContrast();
    for (const ControlRow& row : ControlTable()) {
        if (row.member.button) row.member.button(*this)->UseSystemColours(m_bHighContrast);
    }
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

std::optional<LRESULT> COrvaneDlg::OnEraseBkgnd(HDC) noexcept {
    // The dialog's default erase fills the client area with the WM_CTLCOLORDLG brush.
    return std::nullopt;
}

LRESULT COrvaneDlg::OnNcHitTest(POINT screenPoint) noexcept {
    const LRESULT hit = DefWindowProcW(Handle(), WM_NCHITTEST, 0, MAKELPARAM(screenPoint.x, screenPoint.y));
    // No caption: any free spot of the client area drags the window.
    return hit == HTCLIENT ? HTCAPTION : hit;
}
