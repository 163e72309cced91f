#include <optional>
#include <string>

#include "config/process_objects.h"
#include "controls/image.h"
#include "platform/handles_win.h"
#include "window/orvane_dlg.h"

namespace {
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kHeadingBlue = RGB(51, 153, 255);
constexpr COLORREF kCountdownRed = RGB(255, 0, 0);

// Where the logo stands; the background behind it is repainted with this margin around it.
constexpr int kLogoX = 50;
constexpr int kLogoY = 20;
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
    platform::PaintScope paint(Handle());
    if (!g_productConfig.uiShowIcon) return;
    try {
        const controls::Image menu = controls::Image::FromFile((g_imageFolder + L"menu.png").c_str());
        const controls::Image logo = controls::Image::FromFile((g_imageFolder + L"logo.png").c_str());
        const int logoWidth = static_cast<int>(logo.GetWidth());
        const int logoHeight = static_cast<int>(logo.GetHeight());
        controls::Graphics graphics(paint.Dc());
        graphics.DrawImage(menu, 0, 0, 0, 0, logoWidth + kLogoMarginX, logoHeight + kLogoMarginY);
        graphics.DrawImage(logo, kLogoX, kLogoY, logoWidth, logoHeight);
    } catch (...) {
        // Out of memory for a path: the logo is left out of this paint.
    }
}

HBRUSH COrvaneDlg::OnCtlColor(HDC dc, HWND control, UINT kind) noexcept {
    const HBRUSH base = reinterpret_cast<HBRUSH>(DefWindowProcW(
        Handle(), WM_CTLCOLORMSGBOX + kind, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));

    struct Rule {
        const framework::Control& label;
        std::optional<COLORREF> textColor;  // none: the context's current colour stays
    };
    const Rule rules[] = {
        {m_stTitle, kBlack},
        {m_stSubtitle, kBlack},
        {m_stDefaultInstallInfo, kBlack},
        {m_stDefaultInstallInfo2, kBlack},
        {m_stCustomInstallInfo, kBlack},
        {m_stManualsInfo, kBlack},
        {m_stDefaultPageText1, std::nullopt},
        {m_stDefaultPageText2, std::nullopt},
        {m_stDefaultPageTitle, kHeadingBlue},
        {m_stCustomPageText1, std::nullopt},
        {m_stCustomPageTitle, kHeadingBlue},
        {m_stCustomPageText2, std::nullopt},
        {m_stManualsPageTitle, kHeadingBlue},
        {m_stManualsPageText1, std::nullopt},
        {m_stManualsPageText2, std::nullopt},
        {m_stProgressTitle, kHeadingBlue},
        {m_stProgressText, std::nullopt},
        {m_stFinishTitle, kHeadingBlue},
        {m_stFinishText, std::nullopt},
        {m_stProgressDots[0], kHeadingBlue},
        {m_stProgressDots[1], kHeadingBlue},
        {m_stProgressDots[2], kHeadingBlue},
        {m_stProgressDots[3], kHeadingBlue},
        {m_stProgressDots[4], kHeadingBlue},
        {m_stRestartLead, std::nullopt},
        {m_stRestartSeconds, kCountdownRed},
        {m_stRestartText, std::nullopt},
    };
    for (const Rule& rule : rules) {
        if (!control || rule.label.Handle() != control) continue;
        SetBkMode(dc, TRANSPARENT);
        if (rule.textColor) SetTextColor(dc, *rule.textColor);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    // The dialog itself: the skin image tiled from the client area's top-left corner.
    if (control == Handle()) return m_brBackground.Get();
    return base;
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

bool COrvaneDlg::OnDrawItem(int, const DRAWITEMSTRUCT& request) noexcept {
    return framework::ReflectDrawItem(request);
}
