#include "config/process_objects.h"
#include "window/orvane_dlg.h"

// Shared controls (back, install, cancel, the installer list) belong to several pages, so each
// handler hides the pages it leaves first and shows its target page last.

void COrvaneDlg::OnDefaultInstall() noexcept {
    FillInstallList(false);
    ShowMenuPage(false);
    ShowProgressPage(false);
    ShowCustomInstallPage(false);
    ShowManualsPage(false);
    ShowRestartPage(false);
    HideProgressDots();
    // The install button keeps whatever state the last list change left it in.
    ShowDefaultInstallPage(true);
}

void COrvaneDlg::OnCustomInstall() noexcept {
    FillInstallList(true);
    ShowMenuPage(false);
    ShowDefaultInstallPage(false);
    ShowProgressPage(false);
    ShowFinishPage(false);
    ShowRestartPage(false);
    HideProgressDots();
    ShowManualsPage(false);
    ShowCustomInstallPage(true);
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
    ShowMenuPage(false);
    ShowDefaultInstallPage(false);
    ShowProgressPage(false);
    ShowCustomInstallPage(false);
    ShowRestartPage(false);
    ShowManualsPage(true);
}

void COrvaneDlg::OnBack() noexcept {
    ShowManualsPage(false);
    ShowCustomInstallPage(false);
    ShowDefaultInstallPage(false);
    ShowMenuPage(true);
}

// Esc, Enter and WM_CLOSE end the dialog through IDCANCEL and IDOK. During an installation run
// the worker, the heading animation and the installer's result still need the window, so
// they do nothing then; the cancel button, with its confirmation, is the way out.
void COrvaneDlg::OnOK() noexcept {
    if (!m_bRunning) framework::Dialog::OnOK();
}

void COrvaneDlg::OnCancel() noexcept {
    if (!m_bRunning) framework::Dialog::OnCancel();
}
