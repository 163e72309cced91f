#pragma once

#include <windows.h>

#include <optional>

#include "controls/image.h"

// Owns the life of the process: prepares the platform, finds the medium, loads the
// configuration and the interface texts, then runs the main window modally.
class COrvaneApp {
public:
    COrvaneApp() = default;
    ~COrvaneApp() = default;  // GDI+ shuts down with m_gdiplus
    COrvaneApp(const COrvaneApp&) = delete;
    COrvaneApp& operator=(const COrvaneApp&) = delete;

    // The whole start-up; returns FALSE so that the process ends when the window closes.
    BOOL InitInstance();

private:
    // Started by InitInstance, whose start-up order it keeps; a failed start-up is not reported.
    std::optional<controls::GdiplusSession> m_gdiplus;
};

// Fills g_programFolder (UTF-8) and g_imageFolder (UTF-16) from the executable's path.
void LocateProgramFolders();
