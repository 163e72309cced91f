#pragma once

#include <windows.h>
// windows.h first: commctrl.h relies on its types.
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "target.h"

namespace probe {

// Memory in the process that owns a window, so that list-view messages whose lParam points
// to a structure can be sent across the process boundary (the system marshals none of them).
//
// The program under test may be a 32-bit one (under WoW64, or on 32-bit Windows), possibly
// emulated by qemu-i386. qemu keeps guest address A at host address A + guest base, and Wine's
// server reads and writes another process's memory at host addresses: Read and Write then add
// the offset found at the start (the place where the owner's image header shows up), while
// Address stays the guest address that the owner's code uses. Under emulation the program also
// did not survive a buffer freed and allocated again several times a second, so a 32-bit owner
// keeps its buffer until it ends.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return address_ != nullptr; }
    // Which step failed when not Valid().
    const char* Problem() const { return problem_; }
    bool OwnerIsWow64() const { return wow64_; }
    LPARAM Address(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
    bool Write(const void* data, size_t size, size_t offset = 0) const;
    bool Read(void* data, size_t size, size_t offset = 0) const;

private:
    UniqueHandle process_;
    bool wow64_ = false;
    bool ownerIs32Bit_ = false;
    ptrdiff_t hostOffset_ = 0;
    void* address_ = nullptr;
    const char* problem_ = nullptr;
};

struct ListRow {
    int check = -1;  // index of the state image minus one: 0 unticked, 1 ticked, -1 no box
    int image = -1;
    bool selected = false;
    std::vector<std::wstring> texts;  // one per column
};

struct ListColumn {
    int format = 0;
    int width = 0;
    std::wstring text;
};

// A list view of another process, read and changed through remote memory. A WoW64 owner's
// list takes the 32-bit layouts of the item and column structures.
class RemoteListView {
public:
    explicit RemoteListView(HWND list) : list_(list), buffer_(list, kBufferSize) {}

    bool Valid() const { return buffer_.Valid(); }
    const char* Problem() const { return buffer_.Problem(); }
    int RowCount() const;
    int ColumnCount() const;
    std::optional<ListColumn> Column(int index) const;
    std::optional<ListRow> Row(int index, int columns) const;
    bool SetCheck(int row, bool checked) const;
    // Row bounds in screen coordinates, and a screen point on its check box (x < 0 when none).
    std::optional<RECT> RowRect(int row, int code) const;
    std::optional<POINT> CheckBoxPoint(int row) const;
    // A cell's rectangle (LVM_GETSUBITEMRECT with LVIR_BOUNDS, LVIR_ICON or LVIR_LABEL), in the
    // list's client coordinates.
    std::optional<RECT> CellRect(int row, int column, int code) const;
    DWORD ExtendedStyle() const;
    bool HasSmallImageList() const;

private:
    static constexpr size_t kBufferSize = 4096;
    static constexpr int kTextUnits = 1024;
    std::optional<std::wstring> ItemText(int row, int column) const;
    bool WriteItem(const LVITEMW& item) const;
    bool ReadItem(LVITEMW* item) const;
    bool WriteColumn(const LVCOLUMNW& column) const;
    bool ReadColumn(LVCOLUMNW* column) const;

    HWND list_;
    RemoteBuffer buffer_;
};

}  // namespace probe
