#include "config/ini_reader.h"

#include <cstdio>

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

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

// Follows the lines of one file until the key is found or its section has ended.
class IniLookup {
public:
    IniLookup(std::string_view section, std::string_view key) : tracker_(Trim(section)), key_(Trim(key)) {}

    // False once the answer is known.
    bool Feed(std::string_view text) {
        const IniLine line = ClassifyIniLine(text);
        const auto where = tracker_.Feed(line);
        if (where == IniSectionTracker::Where::After) return false;
        if (where != IniSectionTracker::Where::Inside || line.kind != IniLine::Kind::Key) return true;
        if (!platform::EqualIgnoringAsciiCase(line.name, key_)) return true;
        if (line.hasEquals) value_ = DeliverIniValue(line.value);
        return false;
    }

    std::string TakeValue() { return std::move(value_); }

private:
    IniSectionTracker tracker_;
    std::string_view key_;
    std::string value_;
};

// Cuts a stream of bytes into numbered lines; the pieces may end anywhere, even between the
// "\r" and "\n" of one line end.
class LineSplitter {
public:
    explicit LineSplitter(const IniLineVisitor& visit) : visit_(visit) {}

    // False once the visitor has asked to stop.
    bool Feed(std::string_view bytes) {
        for (const char c : bytes) {
            if (c == '\n' && afterCarriageReturn_) {
                afterCarriageReturn_ = false;
                continue;
            }
            afterCarriageReturn_ = c == '\r';
            if (c == '\n' || c == '\r') {
                if (!EndLine()) return false;
            } else if (line_.size() < kMaxIniLineBytes) {
                line_.push_back(c);
            }
        }
        return true;
    }

    void Finish() {
        if (!line_.empty()) EndLine();
    }

private:
    bool EndLine() {
        const bool more = visit_(line_, ++number_);
        line_.clear();
        return more;
    }

    const IniLineVisitor& visit_;
    std::string line_;
    std::size_t number_ = 0;
    bool afterCarriageReturn_ = false;
};

}  // namespace

IniLine ClassifyIniLine(std::string_view text) {
    IniLine line;
    text = Trim(text);
    if (text.empty() || text.front() == ';') return line;
    if (text.front() == '[') {
        const std::size_t close = text.rfind(']');
        if (close != 0 && close != std::string_view::npos) {
            line.kind = IniLine::Kind::Section;
            line.name = text.substr(1, close - 1);
            return line;
        }
    }
    line.kind = IniLine::Kind::Key;
    const std::size_t equals = text.find('=');
    line.name = TrimRight(text.substr(0, equals));
    if (equals != std::string_view::npos) {
        line.hasEquals = true;
        line.value = Unquote(TrimLeft(text.substr(equals + 1)));
    }
    return line;
}

std::string_view TrimIniBlanks(std::string_view text) { return Trim(text); }

std::string DeliverIniValue(std::string_view value) { return std::string(value.substr(0, kMaxIniValueBytes)); }

IniSectionTracker::IniSectionTracker(std::string_view section) : section_(section) {}

IniSectionTracker::Where IniSectionTracker::Feed(const IniLine& line) {
    if (line.kind != IniLine::Kind::Section || where_ == Where::After) return where_;
    if (where_ == Where::Inside) {
        where_ = Where::After;  // only the first section of that name counts
    } else if (platform::EqualIgnoringAsciiCase(line.name, section_)) {
        where_ = Where::Inside;
    }
    return where_;
}

void ForEachIniLine(std::string_view text, const IniLineVisitor& visit) {
    LineSplitter splitter(visit);
    if (splitter.Feed(text)) splitter.Finish();
}

bool ForEachIniLine(const platform::Path& path, const IniLineVisitor& visit) {
    const platform::UniqueFile file = platform::OpenFileForReading(path);
    if (!file) return false;
    LineSplitter splitter(visit);
    char chunk[64 * 1024];
    std::size_t read = 0;
    while ((read = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (!splitter.Feed(std::string_view(chunk, read))) return true;
    }
    splitter.Finish();
    return true;
}

std::string FindIniValue(std::string_view text, std::string_view section, std::string_view key) {
    IniLookup lookup(section, key);
    ForEachIniLine(text, [&](std::string_view line, std::size_t) { return lookup.Feed(line); });
    return lookup.TakeValue();
}

std::string ReadIniValue(const platform::Path& path, std::string_view section, std::string_view key) {
    IniLookup lookup(section, key);
    ForEachIniLine(path, [&](std::string_view line, std::size_t) { return lookup.Feed(line); });
    return lookup.TakeValue();
}

std::vector<std::string> ReadIniValues(const platform::Path& path, std::string_view section,
                                       const std::vector<std::string>& keys) {
    // One lookup per key, each fed the lines it would have read by itself, until all are done.
    std::vector<IniLookup> lookups;
    lookups.reserve(keys.size());
    for (const std::string& key : keys) lookups.emplace_back(section, key);
    std::vector<bool> done(keys.size(), false);
    std::size_t pending = keys.size();
    if (pending > 0) {
        ForEachIniLine(path, [&](std::string_view line, std::size_t) {
            for (std::size_t i = 0; i < lookups.size(); ++i) {
                if (done[i] || lookups[i].Feed(line)) continue;
                done[i] = true;
                --pending;
            }
            return pending > 0;
        });
    }
    std::vector<std::string> values;
    values.reserve(keys.size());
    for (IniLookup& lookup : lookups) values.push_back(lookup.TakeValue());
    return values;
}
