#pragma once

#include "config/product_config.h"
#include "config/ui_text_table.h"

// The three questions the end of an installation run asks the operating system. The window
// answers them from Windows; tests answer them with a fake.
class SystemServices {
public:
    virtual ~SystemServices() = default;
    virtual bool IsRunningUnderWow64() = 0;  // a 32-bit launcher on 64-bit Windows
    virtual bool IsWindows7() = 0;           // Windows NT 6.1
    virtual bool RestartSystem() = 0;        // true when the system accepted the restart
};

// Whether the end of a run starts the countdown thread: always, except under WOW64 on a system
// other than Windows 7 (where the thread would end at once anyway).
bool ShouldStartCountdown(SystemServices& services);

// Whether the countdown thread counts down and restarts, or ends at once (under WOW64).
bool CountdownRuns(SystemServices& services);

// What the finish button does: under WOW64 it closes the launcher, otherwise it asks for the
// restart at once.
enum class FinishAction { CloseLauncher, Restart };
FinishAction DecideFinishAction(SystemServices& services);

// The seconds the countdown shows, one a second, before the restart is asked for.
inline constexpr int kCountdownFirst = 7;
inline constexpr int kCountdownLast = 0;

// Whether a run includes the item: its tick is `selected` when the list was editable (enabled)
// at the start of the run, `selectedByDefault` otherwise; an item without a launch rule never runs.
bool IsItemTicked(const ConfigItem& item, bool listEnabled) noexcept;

// What a row's status cell shows.
enum class RowStatus { Running, Succeeded, Failed };

// The interface text of each status: the progress heading while the installer runs, then the
// result by its exit code.
constexpr UiSlot StatusTextSlot(RowStatus status) noexcept {
    switch (status) {
        case RowStatus::Running:
            return UiSlot::ProgressHeading;
        case RowStatus::Succeeded:
            return UiSlot::RowSucceeded;
        case RowStatus::Failed:
            break;
    }
    return UiSlot::RowFailed;
}

// The window as the installation worker sees it. The row writes go to the user-interface
// thread, which carries them out in the order they were made.
class InstallRunHost {
public:
    virtual ~InstallRunHost() = default;
    virtual int ListColumnCount() = 0;
    virtual void AddStatusColumn() = 0;  // widens column 0, inserts the status column
    virtual bool IsListEnabled() = 0;
    virtual void SetRowStatus(int row, RowStatus status) = 0;
    virtual void SetRunningIndex(int row) = 0;              // -1: none
    virtual bool RunInstaller(const ConfigItem& item) = 0;  // true: it ended successfully
};

// The worker's run over `installs`: adds the status column once, then launches and awaits each
// ticked item in list order. The running index is cleared before the result is written, so an
// animation step that reads the index can never land on a row after its result.
void RunTickedInstallers(const ConfigItemList& installs, InstallRunHost& host);
