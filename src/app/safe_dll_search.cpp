#include <windows.h>

#include <string>

#include "framework/phase_trace.h"

// Setup runs elevated from removable media and download folders, where anyone may have put
// a DLL beside it. Only KnownDLLs are bound at load time; everything else is delay-loaded,
// and this runs before any constructor of ours, so that every later load, ours or one made
// inside a system DLL, searches System32 only.
namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

// DLLs that system DLLs load lazily by bare name on behalf of a window like ours (uxtheme
// delay-loads msimg32 when it draws a themed control). Loaded here from System32 by full
// path, they are found already loaded when that bare name comes; this also covers systems
// without SetDefaultDllDirectories.
constexpr const wchar_t* kLazySystemDlls[] = {L"uxtheme.dll", L"msimg32.dll", L"dwmapi.dll"};

void PreloadFromSystem32(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    // Kept for the life of the process, like any DLL the program binds.
    LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

[[gnu::constructor(101)]] void RestrictDllSearchToSystem32() {
    framework::MarkPhase("our code runs");
    // Looked up, not imported: Windows 7 without its 2011 loader update lacks the call, and
    // a missing import would stop the program before it starts.
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto setDefaultDllDirectories =
        kernel == nullptr ? nullptr
                          : reinterpret_cast<SetDefaultDllDirectoriesFn>(
                                reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories != nullptr) {
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    // Takes the current directory out of the search where the call above is missing.
    SetDllDirectoryW(L"");
    for (const wchar_t* name : kLazySystemDlls) {
        PreloadFromSystem32(name);
    }
    framework::MarkPhase("system DLLs preloaded");
}

}  // namespace
