// The system questions of the window, answered by the platform, and the finish button.
#include "platform/system_services.h"

#include "config/process_objects.h"
#include "window/dialog_services.h"
#include "window/orvane_dlg.h"

bool COrvaneDlg::IsRunningUnderWow64() noexcept { return platform::IsRunningUnderWow64(); }

bool COrvaneDlg::IsWindows7() noexcept { return platform::IsWindows7(); }

bool COrvaneDlg::RestartSystem() noexcept {
    const bool accepted = platform::RestartSystem();
    LogRestartRequest(g_runLog, accepted, accepted ? 0 : GetLastError());
    return accepted;
}

void COrvaneDlg::OnFinish() noexcept {
    DialogSystemServices services;
    switch (DecideFinishAction(services)) {
        case FinishAction::CloseLauncher:
            m_leaveReason = LeaveReason::Finish;
            PostMessageW(Handle(), WM_CLOSE, 0, 0);
            break;
        case FinishAction::Restart:
            RestartSystem();  // a refusal is not reported; the window stays as it is
            break;
    }
}
