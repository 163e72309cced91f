#pragma once

#include <windows.h>

// Owns the life of the process: prepares the platform, finds the medium, loads the
// configuration and the interface texts, then runs the main window modally.
class COrvaneApp {
public:
    COrvaneApp() = default;
    ~COrvaneApp();  // shuts GDI+ down
    COrvaneApp(const COrvaneApp&) = delete;
    COrvaneApp& operator=(const COrvaneApp&) = delete;

    // The whole start-up; returns FALSE so that the process ends when the window closes.
    BOOL InitInstance();

private:
    ULONG_PTR m_gdiplusToken = 0;
};

// Fills g_programFolder (ANSI) and g_imageFolder (UTF-16) from the executable's path.
void LocateProgramFolders();
