#pragma once

#include <windows.h>

#include <optional>

#include "framework/control.h"

namespace framework {

// A modal dialog built from a template of the program's resources. The dialog procedure takes
// `this` from the init parameter, keeps it in DWLP_USER until WM_NCDESTROY and forwards every
// message to HandleMessage.
class Dialog {
public:
    Dialog(UINT templateId, HWND parent) noexcept : templateId_(templateId), parent_(parent) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog until EndDialog; returns its result, or -1 when the window could not be made.
    INT_PTR DoModal() noexcept;
    HWND Handle() const noexcept { return window_; }
    void EndDialog(INT_PTR result) const noexcept;

protected:
    // Binds the member controls to their windows; runs inside the base OnInitDialog.
    virtual void DoDataExchange() noexcept {}
    // TRUE lets the platform put the focus on the first control that takes it.
    virtual BOOL OnInitDialog() noexcept;
    virtual void OnOK() noexcept { EndDialog(IDOK); }
    virtual void OnCancel() noexcept { EndDialog(IDCANCEL); }

    // A value: handled, with the message's result. Nothing: the default dialog processing.
    virtual std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    // Binds one member control to the dialog item `id` (the data-exchange step).
    bool Bind(Control& control, int id) const noexcept;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    UINT templateId_;
    HWND parent_;
    HWND window_ = nullptr;
};

// WM_CTLCOLORMSGBOX .. WM_CTLCOLORSTATIC: the colour requests of the controls and the dialog.
bool IsCtlColorMessage(UINT message) noexcept;

// Whether a dialog procedure returns `message`'s result itself rather than through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) noexcept;

}  // namespace framework
