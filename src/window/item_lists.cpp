#include <vector>

#include "config/process_objects.h"
#include "window/orvane_dlg.h"

namespace {

constexpr COLORREF kEnabledCaption = RGB(0, 0, 0);
constexpr COLORREF kDisabledCaption = RGB(167, 167, 167);
constexpr COLORREF kUnrunnableText = RGB(128, 128, 128);

// Row i of the installer list is installer i; null for a row beyond the list.
ConfigItem* InstallerOfRow(int row) noexcept {
    if (row < 0 || static_cast<size_t>(row) >= g_productConfig.installs.size()) return nullptr;
    return g_productConfig.installs[static_cast<size_t>(row)].get();
}

const ConfigItem* ManualOfRow(int row) noexcept {
    if (row < 0 || static_cast<size_t>(row) >= g_productConfig.manuals.size()) return nullptr;
    return g_productConfig.manuals[static_cast<size_t>(row)].get();
}

// Siblings above the list that overlap it (the restart labels stand over its lower rows). No
// control has WS_CLIPSIBLINGS, so the list paints over them whenever it repaints; drawing them
// again where the list has just painted keeps the stacking order the template gives. They draw
// transparently, so only that part is redrawn: text drawn twice over itself would thicken.
// `above` holds the siblings above the list, nearest first.
void RedrawSiblingsAbove(HWND list, HDC listDc, const std::vector<HWND>& above) noexcept {
    RECT painted{};
    if (GetClipBox(listDc, &painted) <= NULLREGION) return;
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&painted), 2);
    for (const HWND sibling : above) {
        RECT siblingRect{};
        RECT overlap{};
        if (!IsWindowVisible(sibling) || !GetWindowRect(sibling, &siblingRect)) continue;
        if (!IntersectRect(&overlap, &painted, &siblingRect)) continue;
        MapWindowPoints(nullptr, sibling, reinterpret_cast<POINT*>(&overlap), 2);
        RedrawWindow(sibling, &overlap, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

bool AnyInstallerSelected() noexcept {
    for (const auto& item : g_productConfig.installs) {
        if (item && item->selected) return true;
    }
    return false;
}

}  // namespace

void COrvaneDlg::AddListItem(CListCtrl& list, const ConfigItem& item) noexcept {
    EnsureListIcons();
    const int row = list.GetItemCount();
    const int imageCount = ImageList_GetImageCount(m_imageList.Get());
    const wchar_t* text = item.text ? item.text->c_str() : L"";
    const bool hasImage = item.icon >= 0 && item.icon < imageCount;
    list.InsertItem(row, text, hasImage ? item.icon : -1);
}

void COrvaneDlg::FillInstallList(bool editable) noexcept {
    // The tick changes below are the program's own, not the user's.
    m_bListEditable = false;
    const auto& installs = g_productConfig.installs;
    if (m_listInstalls.GetItemCount() == 0) {
        for (const auto& item : installs) {
            if (item) AddListItem(m_listInstalls, *item);
        }
    }
    for (size_t i = 0; i < installs.size(); ++i) {
        if (!installs[i]) continue;
        m_listInstalls.SetCheck(static_cast<int>(i),
                                editable ? installs[i]->selected.load() : installs[i]->selectedByDefault);
    }
    m_listInstalls.Enable(editable);
    m_bListEditable = editable;
}

void COrvaneDlg::EnableInstallButton(bool enable) noexcept {
    m_btnInstall.Enable(enable);
    m_btnInstall.SetTextColor(enable ? kEnabledCaption : kDisabledCaption);
}

void COrvaneDlg::OnInstallListCustomDraw(NMHDR* header, LRESULT* result) noexcept {
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    *result = 0;
    switch (draw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            *result = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
            break;
        case CDDS_POSTPAINT:
            // The stacking order never changes, so the siblings above the list are looked up
            // once: each step to the next sibling is a request to Wine's server, and the list
            // repaints several times on every page switch that shows it.
            if (m_siblingsAboveInstallList.empty()) {
                const HWND list = draw->nmcd.hdr.hwndFrom;
                for (HWND sibling = GetWindow(list, GW_HWNDPREV); sibling; sibling = GetWindow(sibling, GW_HWNDPREV)) {
                    m_siblingsAboveInstallList.push_back(sibling);
                }
            }
            RedrawSiblingsAbove(draw->nmcd.hdr.hwndFrom, draw->nmcd.hdc, m_siblingsAboveInstallList);
            break;
        case CDDS_ITEMPREPAINT: {
            const ConfigItem* item = InstallerOfRow(static_cast<int>(draw->nmcd.dwItemSpec));
            if (item && !item->open) {
                draw->nmcd.uItemState |= CDIS_GRAYED | CDIS_DISABLED;
                draw->clrText = m_bHighContrast ? GetSysColor(COLOR_GRAYTEXT) : kUnrunnableText;
                *result = CDRF_NEWFONT;
            }
            break;
        }
        default:
            break;
    }
}

void COrvaneDlg::OnInstallListItemChanged(NMHDR* header, LRESULT* result) noexcept {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    *result = 0;
    if (!m_bListEditable || change->uChanged != LVIF_STATE || change->iItem == -1) return;
    ConfigItem* item = InstallerOfRow(change->iItem);
    if (item && item->open) {
        const bool ticked = m_listInstalls.GetCheck(change->iItem);
        if (item->selected.exchange(ticked) != ticked) LogTick(g_runLog, static_cast<size_t>(change->iItem), ticked);
        EnableInstallButton(ticked || AnyInstallerSelected());
    } else {
        // An installer that cannot be run cannot stay ticked.
        m_listInstalls.SetCheck(change->iItem, false);
    }
}

void COrvaneDlg::OnInstallListDblClk(NMHDR* header, LRESULT* result) noexcept {
    const auto* activation = reinterpret_cast<const NMITEMACTIVATE*>(header);
    *result = 0;
    const int row = activation->iItem;
    if (row == -1) return;
    const ConfigItem* item = InstallerOfRow(row);
    // The flip comes back as an item change, which updates the record and the install button.
    if (item && item->open) {
        m_listInstalls.SetCheck(row, !m_listInstalls.GetCheck(row));
    } else {
        m_listInstalls.SetCheck(row, false);
    }
}

void COrvaneDlg::OnManualListDblClk(NMHDR* header, LRESULT* result) noexcept {
    const auto* activation = reinterpret_cast<const NMITEMACTIVATE*>(header);
    *result = 0;
    if (activation->iItem == -1) return;
    if (const ConfigItem* manual = ManualOfRow(activation->iItem)) OpenManual(*manual);
}

void COrvaneDlg::OnSelectAll() noexcept {
    for (size_t i = 0; i < g_productConfig.installs.size(); ++i) m_listInstalls.SetCheck(static_cast<int>(i), true);
    EnableInstallButton(true);
}

void COrvaneDlg::OnSelectNone() noexcept {
    for (size_t i = 0; i < g_productConfig.installs.size(); ++i) m_listInstalls.SetCheck(static_cast<int>(i), false);
    EnableInstallButton(false);
}
