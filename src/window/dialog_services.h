#pragma once

#include "tasks/run_decisions.h"
#include "window/orvane_dlg.h"

// The window's answers to the run's system questions, for the decisions of run_decisions.h.
class DialogSystemServices final : public SystemServices {
public:
    bool IsRunningUnderWow64() override { return COrvaneDlg::IsRunningUnderWow64(); }
    bool IsWindows7() override { return COrvaneDlg::IsWindows7(); }
    bool RestartSystem() override { return COrvaneDlg::RestartSystem(); }
};
