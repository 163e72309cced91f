#include <string>
#include <utility>

#include "config/prefixes.h"
#include "config/process_objects.h"
#include "controls/image.h"
#include "framework/phase_trace.h"
#include "tasks/dot_labels.h"
#include "window/orvane_dlg.h"
#include "window/window_fonts.h"

namespace {

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
    // The taskbar, Alt+Tab and screen readers name the window by its text: the title, as its
    // label shows it.
    UiTextSlot title = g_uiTextTable[static_cast<std::size_t>(UiSlot::Title)];
    if (*title.text) SetWindowTextW(Handle(), RemovePrefixes(title.text));
    framework::MarkPhase("fonts and texts set");
    SetButtonImages();
    framework::MarkPhase("button images set");
    g_pMainDlg = this;
    StartKeyboardRecord();
    if (IsHighContrast()) ApplySystemColours();

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
    m_fontTitle.Reset(CreateWindowFont(FontRole::Title));
    m_font16.Reset(CreateWindowFont(FontRole::Size16));
    m_font14.Reset(CreateWindowFont(FontRole::Size14));
    m_font10.Reset(CreateWindowFont(FontRole::Size10));
    m_font30.Reset(CreateWindowFont(FontRole::Size30));

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
