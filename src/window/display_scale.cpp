// The window's display scale: the dpi it lays itself out at, which is the dpi of the monitor it
// stands on, lowered until the window fits that monitor's work area (never below 100 %). Every
// length comes from the control table at 100 % and is scaled by dpi / 96 (control_facts.h).
//
// Windows scales none of it itself: the manifest declares the program per-monitor aware, and the
// dialog manager's own scaling of a per-monitor (v2) dialog is switched off, since it would scale
// the controls from the template's dialog units a second time.
#include "config/process_objects.h"
#include "framework/phase_trace.h"
#include "platform/system_services.h"
#include "window/orvane_dlg.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using SetDialogDpiChangeBehaviorFunction = BOOL(WINAPI*)(HWND, int, int);
constexpr int kDialogScalingOff = 1;  // DDC_DISABLE_ALL

// A function of user32 that older Windows lacks, found at run time; nullptr where it is missing.
template <typename Function>
Function User32Function(const char* name) noexcept {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int FitToMonitor(int dpi, HMONITOR monitor) noexcept {
    dpi = dpi < kBaseDpi ? kBaseDpi : dpi > kMaxDpi ? kMaxDpi : dpi;
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return dpi;
    return FittingDpi(dpi, info.rcWork.right - info.rcWork.left, info.rcWork.bottom - info.rcWork.top);
}

}  // namespace

int StartingDpi() noexcept {
    // The window appears where it stands at 100 %, on that point's monitor.
    const POINT corner{kMainWindowRect.x, kMainWindowRect.y};
    return FitToMonitor(platform::SystemDpi(), MonitorFromPoint(corner, MONITOR_DEFAULTTOPRIMARY));
}

void COrvaneDlg::AdoptMonitorDpi() noexcept {
    if (const auto setBehaviour = User32Function<SetDialogDpiChangeBehaviorFunction>("SetDialogDpiChangeBehavior")) {
        setBehaviour(Handle(), kDialogScalingOff, kDialogScalingOff);
    }
    const auto windowDpi = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    const int dpi = windowDpi ? static_cast<int>(windowDpi(Handle())) : platform::SystemDpi();
    m_dpi = FitToMonitor(dpi, MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY));
    LogWindowScale(g_runLog, m_dpi);
    // Start-up loads the skin for the dpi it expects; Windows 10 may say otherwise.
    if (m_skin.Dpi() != m_dpi) m_skin.Reload(m_dpi);
}

void COrvaneDlg::OnDpiChanged(int dpi, const RECT& suggested) noexcept {
    const int fitted = FitToMonitor(dpi, MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST));
    const ControlRect window = ScaleRect(kMainWindowRect, fitted);
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, window.width, window.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (fitted == m_dpi) return;
    m_dpi = fitted;
    LogWindowScale(g_runLog, m_dpi);
    m_skin.Reload(m_dpi);
    // As OnInitDialog lays the window out; the texts, ticks, rows and results stay as they are.
    PlaceControls();
    MakeBackgroundBrush();
    ApplyFonts(false);
    SetButtonImages();
    const platform::UniqueImageList previous = std::move(m_imageList);  // the lists use it until then
    FillImageList();
    SetListLayout();
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    framework::MarkPhase("scale changed");
}
