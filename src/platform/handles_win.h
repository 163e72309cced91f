#pragma once

#include <windows.h>
// windows.h first: commctrl.h relies on its types.
#include <commctrl.h>

#include "platform/unique_handle.h"

// The owners of Windows handles, shared by the Windows implementations of platform/ and by the
// window program.
namespace platform {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
struct MemoryDcDeleter {
    void operator()(HDC dc) const noexcept { DeleteDC(dc); }
};
struct IconDeleter {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
struct ImageListDeleter {
    void operator()(HIMAGELIST list) const noexcept { ImageList_Destroy(list); }
};
struct KernelHandleDeleter {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
struct FindHandleDeleter {
    void operator()(HANDLE handle) const noexcept { FindClose(handle); }
};
struct HookDeleter {
    void operator()(HHOOK hook) const noexcept { UnhookWindowsHookEx(hook); }
};
struct InvalidHandleValue {
    static HANDLE Value() noexcept { return INVALID_HANDLE_VALUE; }
};

using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcDeleter>;  // CreateCompatibleDC
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListDeleter>;
using UniqueHook = UniqueHandle<HHOOK, HookDeleter>;  // SetWindowsHookEx
// Threads, processes, events; INVALID_HANDLE_VALUE is never stored (CreateThread and CreateEvent
// return null on failure).
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
// CreateFileW's file handle, which is INVALID_HANDLE_VALUE on failure.
using UniqueFileHandle = UniqueHandle<HANDLE, KernelHandleDeleter, InvalidHandleValue>;
// FindFirstFileA's search handle, which is INVALID_HANDLE_VALUE on failure.
using UniqueFindHandle = UniqueHandle<HANDLE, FindHandleDeleter, InvalidHandleValue>;

// BeginPaint/EndPaint for one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window_, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// GetDC/ReleaseDC: a window's device context outside a paint cycle, or the screen's (null window).
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// SelectObject for a scope: the object the context held before is selected again at its end.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectScope() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace platform
