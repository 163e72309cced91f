#pragma once

// The operating system's answers at the end of an installation run. Only the window asks them,
// so only the Windows build has them.
namespace platform {

// Whether the program runs as a 32-bit process on 64-bit Windows. IsWow64Process is looked up
// at every call; a kernel without it is never WOW64.
bool IsRunningUnderWow64() noexcept;

// The system's version as GetVersionExW reports it to this program (whose manifest names every
// Windows up to 10 and 11, so the report is not capped); zeros when the call fails.
struct SystemVersion {
    unsigned platformId = 0;
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
};
SystemVersion WindowsVersion() noexcept;

// Whether the system reports Windows NT 6.1 (GetVersionExW).
bool IsWindows7() noexcept;

// The screen's dots per inch as the system gives them to every program (LOGPIXELSY; Windows 7
// and 8 know no other): 96 is 100 %, and 96 when it cannot be read.
int SystemDpi() noexcept;

// Whether the process runs with administrator rights in force (an elevated token).
bool IsElevated() noexcept;

// Enables the shutdown privilege and asks for a restart; true when the system accepted it.
bool RestartSystem() noexcept;

}  // namespace platform
