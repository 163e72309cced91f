#pragma once

#include <atomic>

// The process handle of the installer that runs, shared by the installation worker, which waits
// for it, and the exit question on the user-interface thread, which ends it. Each side takes the
// handle out with one atomic exchange, and whoever gets it owns it: the worker closes it after
// its wait only when the exit question has not taken it first, and the exit question ends the
// process with it and never closes it (the launcher ends right after). So the handle stays valid
// for as long as either side can use it, and ending the installer can never reach a process that
// a closed and reused handle would name.
class RunningInstaller {
public:
    using Handle = void*;  // a process HANDLE

    // The worker, once the installer has started.
    void Publish(Handle process) noexcept { process_.store(process); }
    // Either side: the handle, now the caller's, or null when none runs or the other side has it.
    Handle Take() noexcept { return process_.exchange(nullptr); }

private:
    std::atomic<Handle> process_ = nullptr;
};
