#include "framework/dialog.h"

namespace framework {

INT_PTR Dialog::DoModal() noexcept {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_, &Dialog::DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

void Dialog::EndDialog(INT_PTR result) const noexcept { ::EndDialog(window_, result); }

BOOL Dialog::OnInitDialog() noexcept {
    DoDataExchange();
    return TRUE;
}

bool Dialog::Bind(Control& control, int id) const noexcept { return control.Attach(GetDlgItem(window_, id)); }

std::optional<LRESULT> Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) noexcept {
    // The keyboard handling of a dialog turns Enter and Esc (and WM_CLOSE) into IDOK and IDCANCEL.
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
            case IDOK:
                OnOK();
                return 0;
            case IDCANCEL:
                OnCancel();
                return 0;
            default:
                break;
        }
    }
    return std::nullopt;
}

bool IsCtlColorMessage(UINT message) noexcept { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

bool ReturnsResultDirectly(UINT message) noexcept {
    if (IsCtlColorMessage(message)) return true;
    switch (message) {
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
        case WM_INITDIALOG:
            return true;
        default:
            return false;
    }
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->window_ = window;
        return dialog->OnInitDialog();
    }
    auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!dialog) return FALSE;
    const std::optional<LRESULT> result = dialog->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        dialog->window_ = nullptr;
    }
    if (!result) return FALSE;
    if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(*result);
    SetWindowLongPtrW(window, DWLP_MSGRESULT, *result);
    return TRUE;
}

}  // namespace framework
