#include "checker/language_scan.h"

#include "checker/xml_support.h"
#include "config/ini_reader.h"
#include "config/language_file.h"
#include "platform/ascii_case.h"

namespace checker {

namespace {

std::string Folded(std::string_view key) {
    std::string folded(key);
    for (char& c : folded) c = platform::FoldAsciiCase(c);
    return folded;
}

LanguageScan::Mark ByteOrderMark(std::string_view head) {
    if (head.substr(0, 3) == "\xEF\xBB\xBF") return LanguageScan::Mark::Utf8;
    if (head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 2) == "\xFE\xFF") return LanguageScan::Mark::Utf16;
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
    IniSectionTracker tracker(kLanguageSection);
    // Read once into memory, at most kMaxScannedBytes of it, so that a huge file costs no more.
    std::string bytes;
    scan.readable = ReadWholeFile(path, static_cast<std::size_t>(kMaxScannedBytes) + 1, bytes);
    if (bytes.size() > kMaxScannedBytes) {
        scan.truncated = true;
        bytes.resize(static_cast<std::size_t>(kMaxScannedBytes));
    }
    scan.byteOrderMark = ByteOrderMark(bytes);
    ForEachIniLine(std::string_view(bytes), [&](std::string_view text, std::size_t number) {
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
