#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/control.h"

namespace framework {

// A list view control of a dialog (report view), with the few operations the window uses.
class ListView : public Control {
public:
    DWORD GetExtendedStyle() const noexcept {
        return static_cast<DWORD>(SendMessageW(Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    }
    void SetExtendedStyle(DWORD style) const noexcept {
        SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style);
    }
    // Adds window style bits (ModifyStyle with nothing removed).
    void AddStyle(DWORD style) const noexcept;

    int InsertColumn(int index, const wchar_t* heading, int format, int width) const noexcept;
    int GetColumnCount() const noexcept;
    bool SetColumnWidth(int column, int width) const noexcept {
        return SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0)) != 0;
    }
    void SetImageList(HIMAGELIST list, int kind) const noexcept {
        SendMessageW(Handle(), LVM_SETIMAGELIST, kind, reinterpret_cast<LPARAM>(list));
    }

    int GetItemCount() const noexcept { return static_cast<int>(SendMessageW(Handle(), LVM_GETITEMCOUNT, 0, 0)); }
    // Appends or inserts a row at `index`; image -1 inserts the text only. Returns the new row or -1.
    int InsertItem(int index, const wchar_t* text, int image = -1) const noexcept;
    bool SetItemText(int row, int column, const wchar_t* text) const noexcept;
    bool GetCheck(int row) const noexcept {
        return ((SendMessageW(Handle(), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) >> 12) - 1) != 0;
    }
    bool SetCheck(int row, bool checked) const noexcept;
    bool IsEnabled() const noexcept { return IsWindowEnabled(Handle()) != FALSE; }
};

}  // namespace framework
