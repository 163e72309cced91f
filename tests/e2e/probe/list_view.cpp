#include "list_view.h"

#include <commctrl.h>

namespace probe {

namespace {

constexpr size_t kTextOffset = 256;

UniqueHandle OpenOwner(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return UniqueHandle(OpenProcess(
        PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, processId));
}

}  // namespace

RemoteBuffer::RemoteBuffer(HWND owner, size_t size) : process_(OpenOwner(owner)) {
    if (process_) address_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
    if (address_ != nullptr) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::Write(const void* data, size_t size, size_t offset) const {
    SIZE_T written = 0;
    return WriteProcessMemory(process_.get(), static_cast<char*>(address_) + offset, data, size, &written) &&
           written == size;
}

bool RemoteBuffer::Read(void* data, size_t size, size_t offset) const {
    SIZE_T read = 0;
    return ReadProcessMemory(process_.get(), static_cast<char*>(address_) + offset, data, size, &read) &&
           read == size;
}

int RemoteListView::RowCount() const {
    LRESULT count = 0;
    return SendTimed(list_, LVM_GETITEMCOUNT, 0, 0, &count) ? static_cast<int>(count) : -1;
}

int RemoteListView::ColumnCount() const {
    LRESULT header = 0;
    if (!SendTimed(list_, LVM_GETHEADER, 0, 0, &header) || header == 0) return 0;
    LRESULT count = 0;
    return SendTimed(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0, &count) ? static_cast<int>(count) : 0;
}

std::optional<ListColumn> RemoteListView::Column(int index) const {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.pszText = reinterpret_cast<LPWSTR>(buffer_.Address(kTextOffset));
    column.cchTextMax = kTextUnits;
    const wchar_t empty = L'\0';
    if (!buffer_.Write(&column, sizeof column) || !buffer_.Write(&empty, sizeof empty, kTextOffset)) return {};
    LRESULT ok = 0;
    if (!SendTimed(list_, LVM_GETCOLUMNW, static_cast<WPARAM>(index), buffer_.Address(), &ok) || !ok) return {};
    if (!buffer_.Read(&column, sizeof column)) return {};
    std::wstring text(kTextUnits, L'\0');
    if (!buffer_.Read(text.data(), text.size() * sizeof(wchar_t), kTextOffset)) return {};
    text.resize(wcsnlen(text.c_str(), text.size()));
    return ListColumn{column.fmt, column.cx, text};
}

std::optional<std::wstring> RemoteListView::ItemText(int row, int column) const {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<LPWSTR>(buffer_.Address(kTextOffset));
    item.cchTextMax = kTextUnits;
    if (!buffer_.Write(&item, sizeof item)) return {};
    LRESULT length = 0;
    if (!SendTimed(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), buffer_.Address(), &length)) return {};
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(std::min<LRESULT>(length, kTextUnits - 1)), L'\0');
    if (!buffer_.Read(text.data(), text.size() * sizeof(wchar_t), kTextOffset)) return {};
    return text;
}

std::optional<ListRow> RemoteListView::Row(int index, int columns) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE | LVIF_STATE;
    item.iItem = index;
    item.stateMask = LVIS_STATEIMAGEMASK | LVIS_SELECTED;
    if (!buffer_.Write(&item, sizeof item)) return {};
    LRESULT ok = 0;
    if (!SendTimed(list_, LVM_GETITEMW, 0, buffer_.Address(), &ok) || !ok) return {};
    if (!buffer_.Read(&item, sizeof item)) return {};
    ListRow row;
    row.check = static_cast<int>((item.state & LVIS_STATEIMAGEMASK) >> 12) - 1;
    row.image = item.iImage;
    row.selected = (item.state & LVIS_SELECTED) != 0;
    for (int column = 0; column < std::max(columns, 1); ++column) {
        auto text = ItemText(index, column);
        if (!text) return {};
        row.texts.push_back(*text);
    }
    return row;
}

bool RemoteListView::SetCheck(int row, bool checked) const {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    if (!buffer_.Write(&item, sizeof item)) return false;
    LRESULT ok = 0;
    return SendTimed(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), buffer_.Address(), &ok) && ok;
}

std::optional<RECT> RemoteListView::RowRect(int row, int code) const {
    RECT rect{};
    rect.left = code;
    if (!buffer_.Write(&rect, sizeof rect)) return {};
    LRESULT ok = 0;
    if (!SendTimed(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), buffer_.Address(), &ok) || !ok) return {};
    if (!buffer_.Read(&rect, sizeof rect)) return {};
    MapWindowPoints(list_, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The check box has no rectangle of its own in a report view: walk along the row and ask the
// list where its state icon is.
std::optional<POINT> RemoteListView::CheckBoxPoint(int row) const {
    auto bounds = RowRect(row, LVIR_BOUNDS);
    if (!bounds) return {};
    POINT origin{0, 0};
    ClientToScreen(list_, &origin);
    const int y = (bounds->top + bounds->bottom) / 2 - origin.y;
    int first = -1;
    int last = -1;
    for (int x = bounds->left - origin.x; x < bounds->left - origin.x + 64; ++x) {
        LVHITTESTINFO hit{};
        hit.pt = POINT{x, y};
        if (!buffer_.Write(&hit, sizeof hit)) return {};
        LRESULT found = -1;
        if (!SendTimed(list_, LVM_SUBITEMHITTEST, 0, buffer_.Address(), &found)) return {};
        if (!buffer_.Read(&hit, sizeof hit)) return {};
        const bool onBox = found == row && (hit.flags & LVHT_ONITEMSTATEICON) != 0;
        if (onBox && first < 0) first = x;
        if (onBox) last = x;
        if (!onBox && first >= 0) break;
    }
    if (first < 0) return POINT{-1, -1};
    return POINT{(first + last) / 2 + origin.x, y + origin.y};
}

DWORD RemoteListView::ExtendedStyle() const {
    LRESULT style = 0;
    SendTimed(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0, &style);
    return static_cast<DWORD>(style);
}

bool RemoteListView::HasSmallImageList() const {
    LRESULT list = 0;
    return SendTimed(list_, LVM_GETIMAGELIST, LVSIL_SMALL, 0, &list) && list != 0;
}

}  // namespace probe
