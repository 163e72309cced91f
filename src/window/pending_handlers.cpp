// Handlers whose behaviour is still to come; each is replaced where it is implemented.
#include "window/orvane_dlg.h"

void COrvaneDlg::OnDefaultInstall() noexcept {}
void COrvaneDlg::OnBack() noexcept {}
void COrvaneDlg::OnCustomInstall() noexcept {}
void COrvaneDlg::OnManuals() noexcept {}
void COrvaneDlg::OnSelectNone() noexcept {}
void COrvaneDlg::OnSelectAll() noexcept {}
void COrvaneDlg::OnManualListDblClk(NMHDR*, LRESULT*) noexcept {}
void COrvaneDlg::OnInstallListDblClk(NMHDR*, LRESULT*) noexcept {}
void COrvaneDlg::OnInstallListItemChanged(NMHDR*, LRESULT*) noexcept {}
void COrvaneDlg::OnInstallListCustomDraw(NMHDR*, LRESULT*) noexcept {}
void COrvaneDlg::OnInstall() noexcept {}
void COrvaneDlg::OnExitRequest() noexcept {}
void COrvaneDlg::OnFinish() noexcept {}
