#include "config/ini_reader.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "platform/open_file.h"

namespace {

// The private-profile reader's blanks: ASCII white space and ^Z (DOS end of file).
bool IsBlank(char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' '; }

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

std::string Deliver(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, kMaxIniValueBytes));
}

// Follows the lines of one file until the key is found or its section has ended.
class IniLookup {
public:
    IniLookup(std::string_view section, std::string_view key) : section_(Trim(section)), key_(Trim(key)) {}

    // False once the answer is known.
    bool Feed(std::string_view line) {
        line = Trim(line);
        if (line.empty() || line.front() == ';') return true;
        if (line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close != 0 && close != std::string_view::npos) {
                if (inSection_) return false;  // only the first section of that name counts
                inSection_ = platform::EqualIgnoringAsciiCase(line.substr(1, close - 1), section_);
                return true;
            }
        }
        if (!inSection_) return true;
        const std::size_t equals = line.find('=');
        if (!platform::EqualIgnoringAsciiCase(TrimRight(line.substr(0, equals)), key_)) return true;
        if (equals != std::string_view::npos) value_ = Deliver(TrimLeft(line.substr(equals + 1)));
        return false;
    }

    std::string TakeValue() { return std::move(value_); }

private:
    std::string_view section_;
    std::string_view key_;
    bool inSection_ = false;
    std::string value_;
};

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

}  // namespace

std::string FindIniValue(std::string_view text, std::string_view section, std::string_view key) {
    IniLookup lookup(section, key);
    while (!text.empty()) {
        const auto end = static_cast<std::size_t>(std::find_if(text.begin(), text.end(), IsLineEnd) - text.begin());
        if (!lookup.Feed(text.substr(0, std::min(end, kMaxIniLineBytes)))) break;
        text.remove_prefix(end);
        while (!text.empty() && IsLineEnd(text.front())) text.remove_prefix(1);
    }
    return lookup.TakeValue();
}

std::string ReadIniValue(const std::string& path, std::string_view section, std::string_view key) {
    const platform::UniqueFile file = platform::OpenFileForReading(path);
    if (!file) return {};
    IniLookup lookup(section, key);
    std::string line;
    char chunk[64 * 1024];
    std::size_t read = 0;
    while ((read = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        for (std::size_t i = 0; i < read; ++i) {
            const char c = chunk[i];
            if (IsLineEnd(c)) {
                if (!line.empty() && !lookup.Feed(line)) return lookup.TakeValue();
                line.clear();
            } else if (line.size() < kMaxIniLineBytes) {
                line.push_back(c);
            }
        }
    }
    if (!line.empty()) lookup.Feed(line);
    return lookup.TakeValue();
}
