// The decisions of an installation run: which items run and in what order the rows are
// written, when the countdown starts, what the finish button does. The system is a fake.
#include "tasks/run_decisions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

class FakeSystem final : public SystemServices {
public:
    FakeSystem(bool wow64, bool windows7) : wow64_(wow64), windows7_(windows7) {}
    bool IsRunningUnderWow64() override { return wow64_; }
    bool IsWindows7() override { return windows7_; }
    bool RestartSystem() override {
        ++restarts;
        return true;
    }
    int restarts = 0;

private:
    bool wow64_;
    bool windows7_;
};

TEST(RunEnd, CountdownAndFinishButtonFollowWow64) {
    const struct {
        bool wow64;
        bool windows7;
        bool startThread;  // OnInstall starts the countdown thread
        bool countsDown;   // the thread counts down and restarts
        FinishAction finish;
    } cases[] = {
        {false, false, true, true, FinishAction::Restart},         // 32-bit Windows 10
        {false, true, true, true, FinishAction::Restart},          // 32-bit Windows 7
        {true, false, false, false, FinishAction::CloseLauncher},  // 64-bit Windows 10
        {true, true, true, false, FinishAction::CloseLauncher},    // 64-bit Windows 7: thread ends at once
    };
    for (const auto& c : cases) {
        FakeSystem system(c.wow64, c.windows7);
        SCOPED_TRACE(testing::Message() << "wow64 " << c.wow64 << " windows7 " << c.windows7);
        EXPECT_EQ(ShouldStartCountdown(system), c.startThread);
        EXPECT_EQ(CountdownRuns(system), c.countsDown);
        EXPECT_EQ(DecideFinishAction(system), c.finish);
        // Under WOW64 there is never a countdown; otherwise there always is.
        EXPECT_EQ(ShouldStartCountdown(system) && CountdownRuns(system), !c.wow64);
        EXPECT_EQ(system.restarts, 0) << "deciding never restarts";
    }
}

std::unique_ptr<ConfigItem> Item(bool byDefault, bool selected, std::optional<std::string> open) {
    auto item = std::make_unique<ConfigItem>();
    item->selectedByDefault = byDefault;
    item->selected = selected;
    item->open = std::move(open);
    return item;
}

TEST(RunItems, TickFollowsTheListStateAndNeedsARule) {
    const struct {
        bool byDefault, selected, hasRule, listEnabled, runs;
    } cases[] = {
        {true, false, true, false, true},   // default page: the default tick counts
        {false, true, true, false, false},  // the user's tick is ignored there
        {false, true, true, true, true},    // custom page: the user's tick counts
        {true, false, true, true, false},   // the default tick is ignored there
        {true, true, false, true, false},   // no rule: never runs
        {true, true, false, false, false}, {false, false, true, true, false},
    };
    for (const auto& c : cases) {
        const auto item = Item(c.byDefault, c.selected, c.hasRule ? std::optional<std::string>("a.exe") : std::nullopt);
        EXPECT_EQ(IsItemTicked(*item, c.listEnabled), c.runs)
            << c.byDefault << c.selected << c.hasRule << c.listEnabled;
    }
}

// Records every call of the worker in order as a line.
class RecordingHost : public InstallRunHost {
public:
    int ListColumnCount() override { return columns; }
    void AddStatusColumn() override {
        ++columns;
        calls.push_back("column");
    }
    bool IsListEnabled() override { return enabled; }
    void SetRowStatus(int row, RowStatus status) override {
        static const char* const names[] = {"running", "succeeded", "failed"};
        calls.push_back("row " + std::to_string(row) + " " + names[static_cast<int>(status)]);
    }
    void SetRunningIndex(int row) override { calls.push_back("index " + std::to_string(row)); }
    bool RunInstaller(const ConfigItem& item) override {
        calls.push_back("run " + *item.open);
        if (onRun) onRun(item);
        return *item.open != "fail.exe";
    }

    int columns = 1;
    bool enabled = false;
    std::function<void(const ConfigItem&)> onRun;
    std::vector<std::string> calls;
};

TEST(RunItems, ThreeTickedItemsRunInOrderWithTheirResults) {
    ConfigItemList installs;
    installs.push_back(Item(true, false, "a.exe"));
    installs.push_back(Item(false, false, "skipped.exe"));
    installs.push_back(Item(true, false, "fail.exe"));
    installs.push_back(Item(true, false, std::nullopt));
    installs.push_back(Item(true, false, "c.exe"));
    RecordingHost host;
    RunTickedInstallers(installs, host);
    const std::vector<std::string> expected = {
        "column",        "row 0 running", "index 0",      "run a.exe",       "index -1",     "row 0 succeeded",
        "row 2 running", "index 2",       "run fail.exe", "index -1",        "row 2 failed", "row 4 running",
        "index 4",       "run c.exe",     "index -1",     "row 4 succeeded",
    };
    EXPECT_EQ(host.calls, expected);
}

TEST(RunItems, StatusColumnIsAddedOnlyToAListWithOneColumn) {
    for (const int columns : {0, 1, 2, 3}) {
        ConfigItemList installs;
        RecordingHost host;
        host.columns = columns;
        RunTickedInstallers(installs, host);
        EXPECT_EQ(host.calls, columns == 1 ? std::vector<std::string>{"column"} : std::vector<std::string>{})
            << columns;
    }
}

TEST(RunItems, TicksAreReadWhenTheRunReachesTheItem) {
    ConfigItemList installs;
    installs.push_back(Item(false, true, "first.exe"));
    installs.push_back(Item(false, true, "untick-me.exe"));
    installs.push_back(Item(false, false, "tick-me.exe"));
    RecordingHost host;
    host.enabled = true;
    host.onRun = [&](const ConfigItem& item) {
        if (*item.open != "first.exe") return;
        installs[1]->selected = false;  // the user changes the list during the first install
        installs[2]->selected = true;
    };
    RunTickedInstallers(installs, host);
    const std::vector<std::string> expected = {
        "column",        "row 0 running", "index 0",         "run first.exe", "index -1",        "row 0 succeeded",
        "row 2 running", "index 2",       "run tick-me.exe", "index -1",      "row 2 succeeded",
    };
    EXPECT_EQ(host.calls, expected);
}

TEST(RunItems, ListStateIsReadOnceAtTheStart) {
    ConfigItemList installs;
    installs.push_back(Item(true, false, "a.exe"));
    installs.push_back(Item(true, false, "b.exe"));
    RecordingHost host;
    host.enabled = false;
    host.onRun = [&](const ConfigItem&) { host.enabled = true; };  // would drop b.exe if read again
    RunTickedInstallers(installs, host);
    EXPECT_NE(std::find(host.calls.begin(), host.calls.end(), "run b.exe"), host.calls.end());
}

// The user-interface thread of the window, reduced to what orders the row writes: one queue of
// sent updates carried out one at a time, each sender waiting for its own.
class UiThread {
public:
    UiThread() : thread_([this] { Serve(); }) {}
    ~UiThread() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    // Like SendMessage: returns once `update` has run on the user-interface thread.
    void Send(std::function<void()> update) {
        std::promise<void> done;
        auto finished = done.get_future();
        {
            std::lock_guard lock(mutex_);
            queue_.push_back([&] {
                update();
                done.set_value();
            });
        }
        wake_.notify_all();
        finished.wait();
    }

private:
    void Serve() {
        for (;;) {
            std::function<void()> next;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
                if (queue_.empty()) return;
                next = std::move(queue_.front());
                queue_.pop_front();
            }
            next();
        }
    }
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
    bool stop_ = false;
    std::thread thread_;
};

// The window's side: row writes go through the user-interface thread; an animation step writes
// the row it read only when that row is still the running one when the step is carried out.
class RacingHost final : public InstallRunHost {
public:
    explicit RacingHost(UiThread& ui) : ui_(ui) {}
    int ListColumnCount() override { return 2; }
    void AddStatusColumn() override {}
    bool IsListEnabled() override { return false; }
    void SetRowStatus(int row, RowStatus status) override {
        const std::string text = status == RowStatus::Running     ? "running"
                                 : status == RowStatus::Succeeded ? "ok"
                                                                  : "failed";
        ui_.Send([this, row, text] { rows[row] = text; });
    }
    void SetRunningIndex(int row) override { runningIndex = row; }
    bool RunInstaller(const ConfigItem& item) override {
        std::this_thread::yield();  // installers of no duration: the worst case for the race
        return *item.open != "fail.exe";
    }
    void AnimationStep(const std::string& text) {
        const int row = runningIndex;  // read on the animation thread, possibly stale
        ui_.Send([this, row, text] {
            if (row >= 0 && row == runningIndex) rows[row] = text;
        });
    }

    std::atomic<int> runningIndex = -1;
    std::map<int, std::string> rows;  // touched on the user-interface thread only

private:
    UiThread& ui_;
};

TEST(RunItems, LateAnimationStepsNeverReplaceAResult) {
    constexpr int kItems = 100;
    for (int round = 0; round < 5; ++round) {
        ConfigItemList installs;
        for (int i = 0; i < kItems; ++i) installs.push_back(Item(true, false, i % 3 == 1 ? "fail.exe" : "ok.exe"));
        UiThread ui;
        RacingHost host(ui);
        std::atomic<bool> running = true;
        std::thread dots([&] {
            while (running) host.AnimationStep("dots");
        });
        RunTickedInstallers(installs, host);
        running = false;
        dots.join();
        ui.Send([] {});  // every update has been carried out
        for (int i = 0; i < kItems; ++i) {
            ASSERT_EQ(host.rows[i], i % 3 == 1 ? "failed" : "ok") << "round " << round << " row " << i;
        }
    }
}

}  // namespace
