#include "config/process_objects.h"
#include "window/orvane_dlg.h"

// Every page switch shows exactly its target page and hides every other control, so a control
// shared with the page left (back, install, cancel, the installer list) simply stays, and the
// dot labels and the logo placeholder stay hidden (the template's one label without a member is
// never shown by anything). In every state a handler can be reached from (its button is visible
// there), this is what hiding the other pages and showing the target last gives.

void COrvaneDlg::OnDefaultInstall() noexcept {
    FillInstallList(false);
    // The install button keeps whatever state the last list change left it in.
    ShowExactly(Page::DefaultInstall);
}

void COrvaneDlg::OnCustomInstall() noexcept {
    FillInstallList(true);
    ShowExactly(Page::CustomInstall);
    // Offered whatever the ticks are; the next tick change decides again.
    EnableInstallButton(true);
}

void COrvaneDlg::OnManuals() noexcept {
    // Filled once: row i must stay manual i.
    if (m_listManuals.GetItemCount() == 0) {
        for (const auto& manual : g_productConfig.manuals) {
            if (manual) AddListItem(m_listManuals, *manual);
        }
    }
    ShowExactly(Page::Manuals);
}

void COrvaneDlg::OnBack() noexcept { ShowExactly(Page::Menu); }
