#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

#include "platform/path.h"

// What the launcher's log needs of the system: a new file that is only ever appended to, the
// user's temporary folder, the clock and the process id.
namespace platform {

// The user's temporary folder (GetTempPathW; $TMPDIR or /tmp on POSIX), ending in a separator;
// "" when there is none.
Path TemporaryFolder();

struct LocalTime {
    int year = 0;
    int month = 0;  // 1 ... 12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
LocalTime LocalTimeNow();

unsigned long CurrentProcessId();

// Milliseconds from an arbitrary origin; never goes back.
std::uint64_t MonotonicMilliseconds();

// A file made new and only ever appended to. Each Append reserves the next bytes of the file with
// one atomic step and writes them there with one write call, which the system takes into its
// cache and makes part of the file at once: no buffer of ours, no flush, no lock, so any thread
// may append, appends never overlap, and what was appended is in the file even when the process
// is killed right after. (Writing at the end as the system finds it is not enough: Wine computes
// that end and writes there in two steps, so appends from two threads can land on each other.)
// Failures (a full disk) are ignored.
class AppendOnlyFile {
public:
    AppendOnlyFile() = default;
    ~AppendOnlyFile();
    AppendOnlyFile(const AppendOnlyFile&) = delete;
    AppendOnlyFile& operator=(const AppendOnlyFile&) = delete;

    // Creates the file; false when it cannot, also when an entry of that name exists (which is
    // left as it is).
    bool CreateNew(const Path& path);
    void Append(std::string_view bytes) const noexcept;
    explicit operator bool() const noexcept { return handle_ != kNone; }

private:
    static constexpr std::intptr_t kNone = -1;  // INVALID_HANDLE_VALUE, or no descriptor
    std::intptr_t handle_ = kNone;
    mutable std::atomic<std::uint32_t> end_ = 0;  // a log never grows to 4 GB
};

}  // namespace platform
