#include "window/orvane_dlg.h"

namespace {
// Shows or hides the controls in the order given; a page is nothing more than this group.
void ShowAll(std::initializer_list<const framework::Control*> controls, bool show) noexcept {
    for (const framework::Control* control : controls) control->Show(show);
}
}  // namespace

void COrvaneDlg::ShowMenuPage(bool show) noexcept {
    ShowAll({&m_stTitle, &m_stSubtitle, &m_stDefaultInstallInfo, &m_stDefaultInstallInfo2, &m_stCustomInstallInfo,
             &m_stManualsInfo, &m_btnDefaultInstall, &m_btnCustomInstall, &m_btnManuals, &m_btnExit},
            show);
}

void COrvaneDlg::ShowDefaultInstallPage(bool show) noexcept {
    ShowAll({&m_btnBack, &m_btnInstall, &m_btnCancel, &m_stDefaultPageTitle, &m_stDefaultPageText2,
             &m_stDefaultPageText1, &m_listInstalls},
            show);
}

void COrvaneDlg::ShowCustomInstallPage(bool show) noexcept {
    ShowAll({&m_stCustomPageTitle, &m_stCustomPageText1, &m_stCustomPageText2, &m_btnSelectAll, &m_btnSelectNone,
             &m_btnBack, &m_btnInstall, &m_btnCancel, &m_listInstalls},
            show);
}

void COrvaneDlg::ShowProgressPage(bool show) noexcept {
    ShowAll({&m_stProgressTitle, &m_stProgressText, &m_listInstalls}, show);
}

void COrvaneDlg::ShowManualsPage(bool show) noexcept {
    ShowAll({&m_stManualsPageTitle, &m_stManualsPageText1, &m_stManualsPageText2, &m_listManuals, &m_btnBack}, show);
}

void COrvaneDlg::ShowFinishPage(bool show) noexcept {
    ShowAll({&m_stFinishTitle, &m_stFinishText, &m_btnFinish, &m_listInstalls}, show);
}

void COrvaneDlg::ShowRestartPage(bool show) noexcept {
    ShowAll({&m_stRestartLead, &m_stRestartSeconds, &m_stRestartText}, show);
}

void COrvaneDlg::HideProgressDots() noexcept {
    for (const CStatic& dot : m_stProgressDots) dot.Show(false);
}
