#include "list_view.h"

#include <cstdint>

namespace probe {

namespace {

constexpr size_t kTextOffset = 256;
constexpr ptrdiff_t kPageSize = 4096;
constexpr int kMostPagesOff = 16;

// LVITEMW and LVCOLUMNW as a 32-bit process lays them out: pointers and LPARAM take four bytes.
struct ListItem32 {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    uint32_t pszText;
    int cchTextMax;
    int iImage;
    uint32_t lParam;
    int iIndent;
    int iGroupId;
    UINT cColumns;
    uint32_t puColumns;
    uint32_t piColFmt;
    int iGroup;
};
static_assert(sizeof(ListItem32) == 60);

struct ListColumn32 {
    UINT mask;
    int fmt;
    int cx;
    uint32_t pszText;
    int cchTextMax;
    int iSubItem;
    int iImage;
    int iOrder;
    int cxMin;
    int cxDefault;
    int cxIdeal;
};
static_assert(sizeof(ListColumn32) == 44);

// A pointer into a WoW64 process's buffer, which lies below 4 GiB.
uint32_t Narrow(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

UniqueHandle OpenOwner(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return UniqueHandle(OpenProcess(
        PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, processId));
}

bool IsWow64(HANDLE process) {
    BOOL wow64 = FALSE;
    return IsWow64Process(process, &wow64) && wow64;
}

// How far from its own address this process reads the owner's memory: the owner's image header
// lies at the instance handle of its window, or a few pages further under emulation.
std::optional<ptrdiff_t> FindHostOffset(HANDLE process, HWND owner) {
    const auto* image = reinterpret_cast<const char*>(GetWindowLongPtrW(GetAncestor(owner, GA_ROOT), GWLP_HINSTANCE));
    for (int page = 0; page < kMostPagesOff; ++page) {
        const ptrdiff_t offset = page * kPageSize;
        IMAGE_DOS_HEADER dos{};
        SIZE_T read = 0;
        if (!ReadProcessMemory(process, image + offset, &dos, sizeof dos, &read) || dos.e_magic != IMAGE_DOS_SIGNATURE)
            continue;
        DWORD signature = 0;
        if (ReadProcessMemory(process, image + offset + dos.e_lfanew, &signature, sizeof signature, &read) &&
            signature == IMAGE_NT_SIGNATURE)
            return offset;
    }
    return std::nullopt;
}

}  // namespace

RemoteBuffer::RemoteBuffer(HWND owner, size_t size) : process_(OpenOwner(owner)) {
    if (!process_) {
        problem_ = "it cannot be opened";
        return;
    }
    wow64_ = IsWow64(process_.get());
    ownerIs32Bit_ = wow64_ || sizeof(void*) == 4;
    if (ownerIs32Bit_) {
        const auto offset = FindHostOffset(process_.get(), owner);
        if (!offset) {
            problem_ = "its image header is not found";
            return;
        }
        hostOffset_ = *offset;
    }
    address_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (address_ == nullptr) problem_ = "no memory can be allocated in it";
}

RemoteBuffer::~RemoteBuffer() {
    if (address_ != nullptr && !ownerIs32Bit_) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::Write(const void* data, size_t size, size_t offset) const {
    SIZE_T written = 0;
    return WriteProcessMemory(process_.get(), static_cast<char*>(address_) + hostOffset_ + offset, data, size,
                              &written) &&
           written == size;
}

bool RemoteBuffer::Read(void* data, size_t size, size_t offset) const {
    SIZE_T read = 0;
    return ReadProcessMemory(process_.get(), static_cast<char*>(address_) + hostOffset_ + offset, data, size, &read) &&
           read == size;
}

bool RemoteListView::WriteItem(const LVITEMW& item) const {
    if (!buffer_.OwnerIsWow64()) return buffer_.Write(&item, sizeof item);
    ListItem32 narrow{};
    narrow.mask = item.mask;
    narrow.iItem = item.iItem;
    narrow.iSubItem = item.iSubItem;
    narrow.state = item.state;
    narrow.stateMask = item.stateMask;
    narrow.pszText = Narrow(item.pszText);
    narrow.cchTextMax = item.cchTextMax;
    narrow.iImage = item.iImage;
    return buffer_.Write(&narrow, sizeof narrow);
}

bool RemoteListView::ReadItem(LVITEMW* item) const {
    if (!buffer_.OwnerIsWow64()) return buffer_.Read(item, sizeof *item);
    ListItem32 narrow{};
    if (!buffer_.Read(&narrow, sizeof narrow)) return false;
    item->mask = narrow.mask;
    item->state = narrow.state;
    item->stateMask = narrow.stateMask;
    item->iImage = narrow.iImage;
    return true;
}

bool RemoteListView::WriteColumn(const LVCOLUMNW& column) const {
    if (!buffer_.OwnerIsWow64()) return buffer_.Write(&column, sizeof column);
    ListColumn32 narrow{};
    narrow.mask = column.mask;
    narrow.fmt = column.fmt;
    narrow.cx = column.cx;
    narrow.pszText = Narrow(column.pszText);
    narrow.cchTextMax = column.cchTextMax;
    return buffer_.Write(&narrow, sizeof narrow);
}

bool RemoteListView::ReadColumn(LVCOLUMNW* column) const {
    if (!buffer_.OwnerIsWow64()) return buffer_.Read(column, sizeof *column);
    ListColumn32 narrow{};
    if (!buffer_.Read(&narrow, sizeof narrow)) return false;
    column->fmt = narrow.fmt;
    column->cx = narrow.cx;
    return true;
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
    if (!WriteColumn(column) || !buffer_.Write(&empty, sizeof empty, kTextOffset)) return {};
    LRESULT ok = 0;
    if (!SendTimed(list_, LVM_GETCOLUMNW, static_cast<WPARAM>(index), buffer_.Address(), &ok) || !ok) return {};
    if (!ReadColumn(&column)) return {};
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
    if (!WriteItem(item)) return {};
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
    if (!WriteItem(item)) return {};
    LRESULT ok = 0;
    if (!SendTimed(list_, LVM_GETITEMW, 0, buffer_.Address(), &ok) || !ok) return {};
    if (!ReadItem(&item)) return {};
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
    if (!WriteItem(item)) return false;
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

std::optional<RECT> RemoteListView::CellRect(int row, int column, int code) const {
    RECT rect{};
    rect.top = column;
    rect.left = code;
    if (!buffer_.Write(&rect, sizeof rect)) return {};
    LRESULT ok = 0;
    if (!SendTimed(list_, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), buffer_.Address(), &ok) || !ok) return {};
    if (!buffer_.Read(&rect, sizeof rect)) return {};
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
