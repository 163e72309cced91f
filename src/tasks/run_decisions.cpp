#include "tasks/run_decisions.h"

bool ShouldStartCountdown(SystemServices& services) {
    return !(services.IsRunningUnderWow64() && !services.IsWindows7());
}

bool CountdownRuns(SystemServices& services) { return !services.IsRunningUnderWow64(); }

FinishAction DecideFinishAction(SystemServices& services) {
    return services.IsRunningUnderWow64() ? FinishAction::CloseLauncher : FinishAction::Restart;
}

bool IsItemTicked(const ConfigItem& item, bool listEnabled) noexcept {
    const bool ticked = listEnabled ? item.selected.load() : item.selectedByDefault;
    return ticked && item.open.has_value();
}

void RunTickedInstallers(const ConfigItemList& installs, InstallRunHost& host) {
    if (host.ListColumnCount() == 1) host.AddStatusColumn();
    const bool listEnabled = host.IsListEnabled();
    for (std::size_t i = 0; i < installs.size(); ++i) {
        const ConfigItem* item = installs[i].get();
        // The tick is read when the run reaches the item: the user may still change it.
        if (item == nullptr || !IsItemTicked(*item, listEnabled)) continue;
        const int row = static_cast<int>(i);
        host.SetRowStatus(row, RowStatus::Running);
        host.SetRunningIndex(row);
        const bool ok = host.RunInstaller(*item);
        host.SetRunningIndex(-1);
        host.SetRowStatus(row, ok ? RowStatus::Succeeded : RowStatus::Failed);
    }
}
