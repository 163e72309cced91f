#include "checker/language_scan.h"

#include <cstdio>

#include "config/ini_reader.h"
#include "config/language_file.h"
#include "platform/ascii_case.h"
#include "platform/open_file.h"

namespace checker {

namespace {

std::string Folded(std::string_view key) {
    std::string folded(key);
    for (char& c : folded) c = platform::FoldAsciiCase(c);
    return folded;
}

LanguageScan::Mark ReadByteOrderMark(const std::string& path) {
    const platform::UniqueFile file = platform::OpenFileForReading(path);
    unsigned char head[3] = {};
    const std::size_t read = file ? std::fread(head, 1, sizeof head, file.get()) : 0;
    if (read == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) return LanguageScan::Mark::Utf8;
    if (read >= 2 && ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF))) {
        return LanguageScan::Mark::Utf16;
    }
    return LanguageScan::Mark::None;
}

}  // namespace

const IniKeyLine* LanguageScan::Find(const std::string& key) const {
    const auto found = firstOfKey_.find(Folded(TrimIniBlanks(key)));
    return found == firstOfKey_.end() ? nullptr : &entries[found->second];
}

std::string LanguageScan::Deliver(const std::string& key) const {
    const IniKeyLine* line = Find(key);
    return line && line->hasEquals ? DeliverIniValue(line->value) : std::string();
}

LanguageScan ScanLanguageFile(const std::string& path) {
    LanguageScan scan;
    scan.byteOrderMark = ReadByteOrderMark(path);
    IniSectionTracker tracker(kLanguageSection);
    std::uint64_t bytes = 0;
    scan.readable = ForEachIniLine(path, [&](std::string_view text, std::size_t number) {
        bytes += text.size() + 1;
        if (bytes > kMaxScannedBytes) {
            scan.truncated = true;
            return false;
        }
        const int lineNumber = static_cast<int>(number);
        const IniLine line = ClassifyIniLine(text);
        const auto where = tracker.Feed(line);
        if (line.kind == IniLine::Kind::Section) {
            if (where == IniSectionTracker::Where::Inside && scan.rootLine == 0) scan.rootLine = lineNumber;
            if (where == IniSectionTracker::Where::After &&
                platform::EqualIgnoringAsciiCase(line.name, kLanguageSection)) {
                scan.ignoredRootLines.push_back(lineNumber);
            }
        }
        if (lineNumber == 1 && scan.byteOrderMark == LanguageScan::Mark::Utf8 && text.size() >= 3) {
            const IniLine unmarked = ClassifyIniLine(text.substr(3));
            if (unmarked.kind == IniLine::Kind::Section &&
                platform::EqualIgnoringAsciiCase(unmarked.name, kLanguageSection)) {
                scan.firstLineIsRootWithoutMark = 1;
            }
        }
        if (line.kind != IniLine::Kind::Key) return true;
        if (where != IniSectionTracker::Where::Inside) {
            if (where == IniSectionTracker::Where::Before && scan.firstKeyBeforeRoot == 0) {
                scan.firstKeyBeforeRoot = lineNumber;
            }
            return true;
        }
        scan.firstOfKey_.emplace(Folded(line.name), scan.entries.size());
        scan.entries.push_back({std::string(line.name), std::string(line.value), line.hasEquals, lineNumber});
        return true;
    });
    return scan;
}

}  // namespace checker
