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
    AdoptMonitorDpi();
    PlaceControls();
    // The menu page; the logo placeholder and the dot labels, on no page, are hidden with the rest.
    ShowExactly(Page::Menu);

    const ControlRect window = ScaleRect(kMainWindowRect, m_dpi);
    MoveWindow(Handle(), window.x, window.y, window.width, window.height, TRUE);
    framework::MarkPhase("controls placed");

    MakeBackgroundBrush();
    framework::MarkPhase("background brush made");

    ApplyFonts(true);
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

    // The list icons come with the buttons' other images, after the first paint if need be.
    if (m_skin.IsLoaded()) FillImageList();
    framework::MarkPhase("list icons loaded");
    PrepareLists();
    framework::MarkPhase("lists prepared");
    return TRUE;
}

void COrvaneDlg::PlaceControls() noexcept {
    for (const ControlRow& row : ControlTable()) {
        const ControlRect rect = ScaleRect(row.facts.rect, m_dpi);
        row.member.control(*this).Move(rect.x, rect.y, rect.width, rect.height, true);
    }
}

void COrvaneDlg::MakeBackgroundBrush() noexcept {
    // The brush keeps its own copy of the bitmap, which goes when this function returns.
    const controls::UniqueBitmap background = m_skin.TakeBackgroundBitmap();
    m_brBackground = controls::MakePatternBrush(background.Get());
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

void COrvaneDlg::ApplyFonts(bool withTexts) noexcept {
    // The fonts of the scale before go once no control uses them any more.
    const platform::UniqueFont previous[] = {std::move(m_fontTitle), std::move(m_font16), std::move(m_font14),
                                             std::move(m_font10), std::move(m_font30)};
    m_fontTitle.Reset(CreateWindowFont(FontRole::Title, m_dpi));
    m_font16.Reset(CreateWindowFont(FontRole::Size16, m_dpi));
    m_font14.Reset(CreateWindowFont(FontRole::Size14, m_dpi));
    m_font10.Reset(CreateWindowFont(FontRole::Size10, m_dpi));
    m_font30.Reset(CreateWindowFont(FontRole::Size30, m_dpi));

    for (const ControlRow& row : ControlTable()) {
        const framework::Control& control = row.member.control(*this);
        if (row.facts.font != FontRole::None) control.SetFont(FontOf(row.facts.font), true);
        const ControlCaption& caption = row.facts.caption;
        if (withTexts && (caption.slot || caption.fixed)) control.SetText(CaptionOf(caption).c_str());
    }
}

void COrvaneDlg::SetButtonImages() noexcept {
    // The buttons of one size share the three images of their files, decoded once. The first
    // paint needs only the normal images: the others may follow (OnSkinLoaded).
    const bool complete = m_skin.IsLoaded();
    for (const ControlRow& row : ControlTable()) {
        CPngButton* button = row.member.button ? row.member.button(*this) : nullptr;
        if (!button || row.facts.skin == ButtonSkin::None) continue;
        button->SetDpi(m_dpi);
        SkinImages::ButtonImages images = m_skin.FirstButtonImagesOf(row.facts.skin);
        button->SetImages(Handle(), 1, std::move(images.normal), std::move(images.hover), std::move(images.pressed));
    }
    if (!complete) m_skin.NotifyWhenLoaded(Handle(), kSkinLoadedMessage);
}

void COrvaneDlg::OnSkinLoaded() noexcept {
    SetButtonImages();
    EnsureListIcons();
}

void COrvaneDlg::EnsureListIcons() noexcept {
    if (m_imageList) return;
    FillImageList();
    AttachListIcons();
}

void COrvaneDlg::AttachListIcons() noexcept {
    if (g_productConfig.manualsShowIcon) m_listManuals.SetImageList(m_imageList.Get(), LVSIL_SMALL);
    if (g_productConfig.installsShowIcon) m_listInstalls.SetImageList(m_imageList.Get(), LVSIL_SMALL);
}

void COrvaneDlg::FillImageList() noexcept {
    // Made and filled with the six list icons, in their fixed order, while the window was made.
    m_imageList = m_skin.TakeListIcons();
}

void COrvaneDlg::InsertTableColumn(const CListCtrl& list, int index, bool duringRun) noexcept {
    if (const ListColumnFacts* column = ListColumnOf(FactsOf(list).id, index, duringRun)) {
        list.InsertColumn(index, column->heading, column->centred ? LVCFMT_CENTER : LVCFMT_LEFT,
                          ColumnWidth(*column, m_dpi));
    }
}

void COrvaneDlg::SetColumnWidths(const CListCtrl& list, bool duringRun) noexcept {
    const int columns = list.GetColumnCount();
    for (int i = 0; i < columns; ++i) {
        if (const ListColumnFacts* column = ListColumnOf(FactsOf(list).id, i, duringRun)) {
            list.SetColumnWidth(i, ColumnWidth(*column, m_dpi));
        }
    }
}

void COrvaneDlg::SetListLayout() noexcept {
    // The lists keep their rows, ticks and results; the status column a run added stays.
    SetColumnWidths(m_listManuals, false);
    SetColumnWidths(m_listInstalls, m_listInstalls.GetColumnCount() > 1);
    AttachListIcons();
}

void COrvaneDlg::PrepareLists() noexcept {
    const bool manualIcons = g_productConfig.manualsShowIcon;
    m_listManuals.SetExtendedStyle(m_listManuals.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT |
                                   (manualIcons ? LVS_EX_SUBITEMIMAGES : 0));
    m_listManuals.AddStyle(LVS_NOCOLUMNHEADER);
    InsertTableColumn(m_listManuals, 0, false);
    if (manualIcons && m_imageList) m_listManuals.SetImageList(m_imageList.Get(), LVSIL_SMALL);

    const bool installIcons = g_productConfig.installsShowIcon;
    m_listInstalls.SetExtendedStyle(m_listInstalls.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES |
                                    LVS_EX_FULLROWSELECT | (installIcons ? LVS_EX_SUBITEMIMAGES : 0));
    m_listInstalls.AddStyle(LVS_NOCOLUMNHEADER);
    InsertTableColumn(m_listInstalls, 0, false);
    if (installIcons && m_imageList) m_listInstalls.SetImageList(m_imageList.Get(), LVSIL_SMALL);
}
