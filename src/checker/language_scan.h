#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A whole language file read once the way the launcher's lookup reads it (the same line
// splitting, line classification and section tracking), with line numbers.
namespace checker {

// Beyond this many bytes a file is not read further; the checker says so.
inline constexpr std::uint64_t kMaxScannedBytes = 16u << 20;

struct IniKeyLine {
    std::string key;
    std::string value;  // trimmed, quotes removed, not yet cut
    bool hasEquals = false;
    int line = 0;
};

struct LanguageScan {
    enum class Mark { None, Utf8, Utf16 };

    bool readable = false;
    bool truncated = false;  // longer than kMaxScannedBytes
    Mark byteOrderMark = Mark::None;
    int firstLineIsRootWithoutMark = 0;  // 1 when only the byte-order mark keeps line 1 from being [ROOT]
    int rootLine = 0;                    // the header of the section read; 0 when there is none
    std::vector<int> ignoredRootLines;   // later headers of the same name: never read
    int firstKeyBeforeRoot = 0;          // a key line outside any section the lookup reads
    std::vector<IniKeyLine> entries;     // the key lines of the section read, in order

    // The line the lookup finds for `key` (the first of its name); null when none.
    const IniKeyLine* Find(const std::string& key) const;
    // The text the launcher delivers for `key`: at most 254 bytes, "" when missing.
    std::string Deliver(const std::string& key) const;

private:
    friend LanguageScan ScanLanguageFile(const std::string& path);
    std::map<std::string, std::size_t> firstOfKey_;
};

LanguageScan ScanLanguageFile(const std::string& path);

}  // namespace checker
