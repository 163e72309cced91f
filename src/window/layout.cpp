#include <string>
#include <utility>

#include "config/process_objects.h"
#include "controls/image.h"
#include "framework/phase_trace.h"
#include "tasks/dot_labels.h"
#include "window/orvane_dlg.h"

namespace {

constexpr wchar_t kFontFace[] = L"Arial";

// A font of `tenths` tenths of a point for the screen, the way a point font is made: the
// height in pixels of the screen's vertical resolution, negative so it is the character height.
HFONT CreatePointFont(int tenths, const wchar_t* face) noexcept {
    LOGFONTW font{};
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    const platform::WindowDc screen(nullptr);
    const int pixelsPerInch = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    // Rounded to the nearest pixel, as MulDiv does: 14 pt at 96 dpi is 19 pixels, not 18.
    const int height = MulDiv(pixelsPerInch, tenths, 720);
    font.lfHeight = -(height < 0 ? -height : height);
    return CreateFontIndirectW(&font);
}

// The caption a row gives its control at start.
std::wstring CaptionOf(const ControlCaption& caption) {
    if (caption.fixed) {
        const std::string fixed = caption.fixed;  // ASCII
        return std::wstring(fixed.begin(), fixed.end());
    }
    if (!caption.slot) return {};
    const wchar_t* text = UiText(g_uiTextTable, *caption.slot);
    if (caption.dots == 0) return text;
    wchar_t dotted[kDotLabelCapacity] = {};
    BuildDotLabel(text, caption.dots, dotted);
    return dotted;
}

}  // namespace

BOOL COrvaneDlg::OnInitDialog() noexcept {
    framework::MarkPhase("dialog created");
    framework::Dialog::OnInitDialog();
    // A dialog has no icon of its own; the taskbar and Alt+Tab show this one.
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.Get()));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon.Get()));
    PlaceControls();
    // The menu page; the logo placeholder and the dot labels, on no page, are hidden with the rest.
    ShowExactly(Page::Menu);

    const ControlRect& window = kMainWindowRect;
    MoveWindow(Handle(), window.x, window.y, window.width, window.height, TRUE);
    framework::MarkPhase("controls placed");

    {
        // The brush keeps its own copy of the bitmap, which goes when this block ends.
        const controls::UniqueBitmap background = m_skin.TakeBackgroundBitmap();
        m_brBackground = controls::MakePatternBrush(background.Get());
    }
    framework::MarkPhase("background brush made");

    ApplyFontsAndTexts();
    framework::MarkPhase("fonts and texts set");
    SetButtonImages();
    framework::MarkPhase("button images set");
    g_pMainDlg = this;

    FillImageList();
    framework::MarkPhase("list icons loaded");
    PrepareLists();
    framework::MarkPhase("lists prepared");
    return TRUE;
}

void COrvaneDlg::PlaceControls() noexcept {
    for (const ControlRow& row : ControlTable()) {
        const ControlRect& rect = row.facts.rect;
        row.member.control(*this).Move(rect.x, rect.y, rect.width, rect.height, true);
    }
}

HFONT COrvaneDlg::FontOf(FontRole role) const noexcept {
    switch (role) {
        case FontRole::Title:
            return m_fontTitle.Get();
        case FontRole::Size16:
            return m_font16.Get();
        case FontRole::Size14:
            return m_font14.Get();
        case FontRole::Size10:
            return m_font10.Get();
        case FontRole::Size30:
            return m_font30.Get();
        case FontRole::None:
            break;
    }
    return nullptr;
}

void COrvaneDlg::ApplyFontsAndTexts() noexcept {
    m_fontTitle.Reset(CreateFontW(30, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, kFontFace));
    m_font16.Reset(CreatePointFont(160, kFontFace));
    m_font14.Reset(CreatePointFont(140, kFontFace));
    m_font10.Reset(CreatePointFont(100, kFontFace));
    m_font30.Reset(CreatePointFont(300, kFontFace));

    for (const ControlRow& row : ControlTable()) {
        const framework::Control& control = row.member.control(*this);
        if (row.facts.font != FontRole::None) control.SetFont(FontOf(row.facts.font), true);
        const ControlCaption& caption = row.facts.caption;
        if (caption.slot || caption.fixed) control.SetText(CaptionOf(caption).c_str());
    }
}

void COrvaneDlg::SetButtonImages() noexcept {
    // The buttons of one size share the three images of their files, decoded once.
    for (const ControlRow& row : ControlTable()) {
        CPngButton* button = row.member.button ? row.member.button(*this) : nullptr;
        if (!button || row.facts.skin == ButtonSkin::None) continue;
        SkinImages::ButtonImages images = m_skin.ButtonImagesOf(row.facts.skin);
        button->SetImages(Handle(), 1, std::move(images.normal), std::move(images.hover), std::move(images.pressed));
    }
}

void COrvaneDlg::FillImageList() noexcept {
    // Made and filled with the six list icons, in their fixed order, while the window was made.
    m_imageList = m_skin.TakeListIcons();
}

void COrvaneDlg::PrepareLists() noexcept {
    const bool manualIcons = g_productConfig.manualsShowIcon;
    m_listManuals.SetExtendedStyle(m_listManuals.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT |
                                   (manualIcons ? LVS_EX_SUBITEMIMAGES : 0));
    m_listManuals.AddStyle(LVS_NOCOLUMNHEADER);
    m_listManuals.InsertColumn(0, L"NAME", LVCFMT_CENTER, 495);
    if (manualIcons) m_listManuals.SetImageList(m_imageList.Get(), LVSIL_SMALL);

    const bool installIcons = g_productConfig.installsShowIcon;
    m_listInstalls.SetExtendedStyle(m_listInstalls.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES |
                                    LVS_EX_FULLROWSELECT | (installIcons ? LVS_EX_SUBITEMIMAGES : 0));
    m_listInstalls.AddStyle(LVS_NOCOLUMNHEADER);
    m_listInstalls.InsertColumn(0, L"NAME", LVCFMT_LEFT, 495);
    if (installIcons) m_listInstalls.SetImageList(m_imageList.Get(), LVSIL_SMALL);
}
