#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/log_file.h"
#include "platform/path.h"

// The launcher's log for support: one file per start in the user's temporary folder, UTF-8 with a
// byte-order mark, one line per event ending in CR LF, each line the milliseconds since the log
// was opened and the event's text (see log_events.h for the events).
//
// Any thread writes: a line is formed on the writer's stack and appended with one write call,
// so lines never interleave and nothing waits for another thread. A log that could not be
// opened drops every line; nothing else changes.
class RunLog {
public:
    // Creates Setup_<yyyymmdd>_<hhmmss>_<pid>.log in `folder` (which ends in a separator) and
    // writes the byte-order mark. False when it cannot; an existing file is never reused.
    bool Open(const platform::Path& folder);
    bool IsOpen() const noexcept { return static_cast<bool>(file_); }
    const platform::Path& FilePath() const noexcept { return path_; }
    // The local time at Open, which the file's name holds.
    const platform::LocalTime& Started() const noexcept { return started_; }

    void Write(const std::string& text) const;

    // Whether this is the first call: the launcher's end is written once, wherever it comes from.
    bool FirstEnd() noexcept { return !ended_.exchange(true); }

private:
    platform::AppendOnlyFile file_;
    platform::Path path_;
    platform::LocalTime started_;
    std::uint64_t startMs_ = 0;
    std::atomic<bool> ended_ = false;
};

// One event's text, put together piece by piece. The pieces' functions are out of line: one call
// per piece keeps the program small.
class LogLine {
public:
    LogLine& operator<<(const char* text);
    LogLine& operator<<(const std::string& text);
    LogLine& operator<<(unsigned long value);  // in decimal
    LogLine& Signed(long value);
    // The text in double quotes, control characters as \xNN so that the event stays on its line;
    // wide text as UTF-8.
    LogLine& Quote(const std::string& text);
    LogLine& Quote(const wchar_t* text);
    LogLine& Hex(std::uint32_t value, int digits);  // "0x" and that many upper-case digits
    void WriteTo(const RunLog& log) const { log.Write(text_); }
    const std::string& Text() const noexcept { return text_; }

private:
    std::string text_;
};

// "Setup_<yyyymmdd>_<hhmmss>_<pid>.log".
std::string LogFileName(const platform::LocalTime& time, unsigned long processId);

// "yyyy-mm-dd hh:mm:ss".
std::string LocalTimeText(const platform::LocalTime& time);

// Decimal digits of a number, without padding.
std::string Decimal(unsigned long value);
