#include "log/run_log.h"

#include "platform/text.h"

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::size_t kTimeWidth = 7;  // right-aligned: a run of several hours still lines up

// The number's last `width` decimal digits, with leading zeros.
void AppendDigits(std::string& text, unsigned long value, std::size_t width) {
    text.append(width, '0');
    for (std::size_t at = text.size(); at-- > text.size() - width && value != 0; value /= 10)
        text[at] = static_cast<char>('0' + value % 10);
}

// "yyyymmdd_hhmmss" for the file's name; with `readable`, "yyyy-mm-dd hh:mm:ss".
void AppendTime(std::string& text, const platform::LocalTime& time, bool readable) {
    const auto part = [&](int value, std::size_t width, char separator) {
        AppendDigits(text, static_cast<unsigned long>(value), width);
        if (readable) text += separator;
    };
    part(time.year, 4, '-');
    part(time.month, 2, '-');
    part(time.day, 2, ' ');
    if (!readable) text += '_';
    part(time.hour, 2, ':');
    part(time.minute, 2, ':');
    AppendDigits(text, static_cast<unsigned long>(time.second), 2);
}

}  // namespace

std::string Decimal(unsigned long value) {
    std::size_t width = 1;
    for (unsigned long rest = value / 10; rest != 0; rest /= 10) ++width;
    std::string digits;
    AppendDigits(digits, value, width);
    return digits;
}

std::string LogFileName(const platform::LocalTime& time, unsigned long processId) {
    std::string name = "Setup_";
    AppendTime(name, time, false);
    name += '_';
    name += Decimal(processId);
    name += ".log";
    return name;
}

std::string LocalTimeText(const platform::LocalTime& time) {
    std::string text;
    AppendTime(text, time, true);
    return text;
}

bool RunLog::Open(const platform::Path& folder) {
    if (folder.empty() || file_) return false;
    startMs_ = platform::MonotonicMilliseconds();
    started_ = platform::LocalTimeNow();
    path_ = folder + LogFileName(started_, platform::CurrentProcessId());
    if (!file_.CreateNew(path_)) {
        path_.clear();
        return false;
    }
    file_.Append(kByteOrderMark);
    return true;
}

void RunLog::Write(const std::string& text) const {
    if (!file_) return;
    // Differences of the clock: a process never runs long enough for them to leave 32 bits.
    const std::string elapsed = Decimal(static_cast<unsigned long>(platform::MonotonicMilliseconds() - startMs_));
    std::string line;
    line.reserve(kTimeWidth + 1 + text.size() + 2);
    if (elapsed.size() < kTimeWidth) line.append(kTimeWidth - elapsed.size(), ' ');
    line += elapsed;
    line += ' ';
    line += text;
    line += "\r\n";
    file_.Append(line);
}

LogLine& LogLine::operator<<(const char* text) {
    text_ += text;
    return *this;
}

LogLine& LogLine::operator<<(const std::string& text) {
    text_ += text;
    return *this;
}

LogLine& LogLine::operator<<(unsigned long value) { return *this << Decimal(value); }

LogLine& LogLine::Signed(long value) {
    if (value < 0) return *this << "-" << (0UL - static_cast<unsigned long>(value));
    return *this << static_cast<unsigned long>(value);
}

LogLine& LogLine::Quote(const std::string& text) {
    text_ += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            text_ += c;
        } else {
            text_ += "\\x";
            text_ += kHexDigits[byte >> 4];
            text_ += kHexDigits[byte & 0xF];
        }
    }
    text_ += '"';
    return *this;
}

LogLine& LogLine::Quote(const wchar_t* text) { return Quote(platform::WideToMultiByte(text, platform::kUtf8CodePage)); }

LogLine& LogLine::Hex(std::uint32_t value, int digits) {
    text_ += "0x";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) text_ += kHexDigits[(value >> shift) & 0xF];
    return *this;
}
