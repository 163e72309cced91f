#pragma once

#include "tasks/run_decisions.h"
#include "window/orvane_dlg.h"

// The window's own answers to the run's system questions, for the decisions of run_decisions.h.
class DialogSystemServices final : public SystemServices {
public:
    explicit DialogSystemServices(COrvaneDlg& dialog) noexcept : dialog_(dialog) {}
    bool IsRunningUnderWow64() override { return dialog_.IsRunningUnderWow64(); }
    bool IsWindows7() override { return dialog_.IsWindows7(); }
    bool RestartSystem() override { return dialog_.RestartSystem(); }

private:
    COrvaneDlg& dialog_;
};
