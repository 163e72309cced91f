// The keyboard user's side of the window: when the focus cue and the access keys' underlines
// show, and what Enter and Esc do.
//
// No cue shows until the keyboard is used in the window (Tab, an arrow key, Alt), so a mouse
// user sees the window as it always was. Windows keeps such a record per window and reports it
// with WM_UPDATEUISTATE and the ODS_NOFOCUSRECT and ODS_NOACCEL item states; Wine does neither,
// so the window keeps its own: a thread message hook sees the keys of the dialog's message loop
// (and of the run's, which passes them through the dialog manager too) before they are handled.
#include <utility>

#include "config/process_objects.h"
#include "framework/dialog.h"
#include "window/orvane_dlg.h"

namespace {

constexpr UINT kCueFlags = UISF_HIDEFOCUS | UISF_HIDEACCEL;

bool IsNavigationKey(WPARAM key) noexcept { return key == VK_TAB || (key >= VK_LEFT && key <= VK_DOWN); }

}  // namespace

void COrvaneDlg::StartKeyboardRecord() noexcept {
    // A user who asked to see access keys always (Wine's default too) sees their underlines from
    // the start; the focus cue waits for the keyboard in any case.
    BOOL underlinesAlways = FALSE;
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &underlinesAlways, 0);
    m_uiHidden = underlinesAlways ? UISF_HIDEFOCUS : kCueFlags;
    m_keyboardHook.Reset(SetWindowsHookExW(WH_MSGFILTER, &COrvaneDlg::KeyboardFilter, nullptr, GetCurrentThreadId()));
}

LRESULT CALLBACK COrvaneDlg::KeyboardFilter(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == MSGF_DIALOGBOX && g_pMainDlg) g_pMainDlg->OnDialogKey(*reinterpret_cast<const MSG*>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void COrvaneDlg::OnDialogKey(const MSG& message) noexcept {
    UINT shown = 0;
    if (message.message == WM_SYSKEYDOWN) {
        shown = kCueFlags;  // Alt, alone or with a key
    } else if (message.message == WM_KEYDOWN && IsNavigationKey(message.wParam)) {
        shown = UISF_HIDEFOCUS;
    }
    // The exit question's box has keys of its own.
    if ((m_uiHidden & shown) && (message.hwnd == Handle() || GetParent(message.hwnd) == Handle())) {
        ShowKeyboardCues(shown);
    }
}

void COrvaneDlg::ShowKeyboardCues(UINT flags) noexcept {
    if (!(m_uiHidden & flags)) return;
    m_uiHidden &= ~flags;
    // Background first: a button drawn again over itself would darken the soft edges of its image.
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool COrvaneDlg::OnDrawItem(int, const DRAWITEMSTRUCT& request) noexcept {
    DRAWITEMSTRUCT drawn = request;
    drawn.itemState &= ~(ODS_NOFOCUSRECT | ODS_NOACCEL);
    if (m_uiHidden & UISF_HIDEFOCUS) drawn.itemState |= ODS_NOFOCUSRECT;
    if (m_uiHidden & UISF_HIDEACCEL) drawn.itemState |= ODS_NOACCEL;
    return framework::ReflectDrawItem(drawn);
}

// Enter on a button is that button's command (it reports itself as the default push button while
// focused); anywhere else the dialog manager turns it into IDOK, which does nothing.
void COrvaneDlg::OnOK() noexcept {}

// Esc and WM_CLOSE. During a run the worker, the heading animation and the installer's result
// still need the window: the cancel button, with its confirmation, is the way out.
void COrvaneDlg::OnCancel() noexcept {
    const LeaveReason reason = std::exchange(m_leaveReason, LeaveReason::Escape);
    if (m_bRunning) return;
    LogLeave(g_runLog, reason);
    framework::Dialog::OnCancel();
}
