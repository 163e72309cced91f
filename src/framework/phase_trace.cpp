#include "framework/phase_trace.h"

#ifdef SETUP_PHASE_TRACE

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

namespace framework {

namespace {

struct Mark {
    const char* phase;
    int detail;
    ULONGLONG time;  // 100 ns units, system time
};

using PreciseTimeFn = VOID(WINAPI*)(LPFILETIME);

ULONGLONG ToUnits(const FILETIME& time) noexcept {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Marks are kept in memory and written once at the end, so that marking costs next to nothing.
// Marks come from the user-interface thread and the image decoder's worker.
class PhaseLog {
public:
    // Nothing to do at start: marks may come before any constructor has run.
    constexpr PhaseLog() noexcept = default;
    ~PhaseLog() { Write(); }
    PhaseLog(const PhaseLog&) = delete;
    PhaseLog& operator=(const PhaseLog&) = delete;

    void Add(const char* phase, int detail) noexcept {
        FILETIME now{};
        const PreciseTimeFn preciseTime = PreciseTime();
        if (preciseTime) {
            preciseTime(&now);
        } else {
            GetSystemTimeAsFileTime(&now);
        }
        const int index = count_.fetch_add(1);
        if (index < kCapacity) marks_[index] = Mark{phase, detail, ToUnits(now)};
    }

private:
    // Windows 8 and later (and Wine) have the precise clock; the coarse one otherwise.
    static PreciseTimeFn PreciseTime() noexcept {
        const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        return kernel ? reinterpret_cast<PreciseTimeFn>(
                            reinterpret_cast<void*>(GetProcAddress(kernel, "GetSystemTimePreciseAsFileTime")))
                      : nullptr;
    }

    // "<milliseconds since the process was created>\t<phase>[ <detail>]" per mark, after a line
    // "run <process id>", appended to the program's path with ".phases" for ".exe".
    void Write() noexcept {
        FILETIME created{}, exited{}, kernel{}, user{};
        if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return;
        wchar_t path[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return;
        std::wstring logPath(path, length);
        const auto dot = logPath.find_last_of(L'.');
        if (dot != std::wstring::npos) logPath.resize(dot);
        logPath += L".phases";
        FILE* file = _wfopen(logPath.c_str(), L"ab");
        if (!file) return;
        std::fprintf(file, "run %lu\n", GetCurrentProcessId());
        const int count = count_.load() < kCapacity ? count_.load() : kCapacity;
        for (int i = 0; i < count; ++i) {
            const double ms = static_cast<double>(static_cast<LONGLONG>(marks_[i].time - ToUnits(created))) / 1e4;
            if (marks_[i].detail >= 0) {
                std::fprintf(file, "%.2f\t%s %d\n", ms, marks_[i].phase, marks_[i].detail);
            } else {
                std::fprintf(file, "%.2f\t%s\n", ms, marks_[i].phase);
            }
        }
        std::fclose(file);
    }

    static constexpr int kCapacity = 4096;
    Mark marks_[kCapacity]{};
    std::atomic<int> count_ = 0;
};

// Constant-initialised, so the first constructor of ours can already mark; written when the
// static objects are destroyed at the end.
constinit PhaseLog g_phaseLog;

}  // namespace

void MarkPhase(const char* phase, int detail) noexcept { g_phaseLog.Add(phase, detail); }

}  // namespace framework

#endif
