#include <windows.h>

#include "platform/handles_win.h"
#include "platform/system_services.h"

namespace platform {

namespace {

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);

// The entry found by the last lookup; nothing else reads it.
IsWow64ProcessFunction g_isWow64Process = nullptr;

}  // namespace

int SystemDpi() noexcept {
    const WindowDc screen(nullptr);
    return screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
}

bool IsRunningUnderWow64() noexcept {
    BOOL answer = FALSE;
    // Looked up at run time: kernels older than the entry lack it (and are never WOW64).
    const HMODULE kernel = GetModuleHandleW(L"kernel32");
    g_isWow64Process = kernel ? reinterpret_cast<IsWow64ProcessFunction>(
                                    reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
                              : nullptr;
    if (g_isWow64Process != nullptr && !g_isWow64Process(GetCurrentProcess(), &answer)) answer = FALSE;
    return answer != FALSE;
}

SystemVersion WindowsVersion() noexcept {
    // The extended record (284 bytes): a size of 284 on the plain 276-byte record would let the
    // call write past it.
    OSVERSIONINFOEXW version{};
    static_assert(sizeof(version) == 284);
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version));  // on failure the zeros stay
#pragma GCC diagnostic pop
    return {version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber};
}

bool IsWindows7() noexcept {
    const SystemVersion version = WindowsVersion();
    return version.platformId == VER_PLATFORM_WIN32_NT && version.major == 6 && version.minor == 1;
}

bool IsElevated() noexcept {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return false;
    const UniqueKernelHandle token(rawToken);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

bool RestartSystem() noexcept {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) return false;
    const UniqueKernelHandle token(rawToken);

    TOKEN_PRIVILEGES privileges{};
    LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
    // ERROR_NOT_ALL_ASSIGNED arrives with a successful return: the privilege is not held.
    if (GetLastError() != ERROR_SUCCESS) return false;

    // Not EWX_FORCE: other programs are asked to close and can save their work; only a program
    // that does not answer is ended.
    return ExitWindowsEx(EWX_REBOOT | EWX_FORCEIFHUNG, SHTDN_REASON_MAJOR_APPLICATION |
                                                           SHTDN_REASON_MINOR_INSTALLATION |
                                                           SHTDN_REASON_FLAG_PLANNED) != FALSE;
}

}  // namespace platform
