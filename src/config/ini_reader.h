#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/path.h"

// Reads one value of an INI file byte for byte, with the lookup rules of
// GetPrivateProfileStringA: section and key names compared without regard to ASCII case
// (the names asked for are trimmed of blanks as well), the first section of that name only,
// the first line of the key within it, the value trimmed of blanks, one pair of enclosing
// single or double quotes removed, and at most kMaxIniValueBytes delivered. A key line
// without '=' has the empty value. Lines starting with ';' are comments. Nothing is converted
// from or to any code page, and a byte-order mark has no meaning of its own.
//
// Lines longer than kMaxIniLineBytes are read as their first kMaxIniLineBytes bytes, so that
// no file, however large, costs more memory than that.

inline constexpr std::size_t kMaxIniValueBytes = 254;  // GetPrivateProfileStringA with size 255
inline constexpr std::size_t kMaxIniLineBytes = 1 << 20;

// The value of `key` in `section` of INI text held in memory; "" when absent.
std::string FindIniValue(std::string_view text, std::string_view section, std::string_view key);

// The same, read from a file; "" when the file cannot be read.
std::string ReadIniValue(const platform::Path& path, std::string_view section, std::string_view key);

// The values of several keys of one section, in the order of `keys`, each what ReadIniValue
// gives for it, from one reading of the file: start-up looks some fifty texts up in one language
// file, which per key costs an open and a read each, on a slow medium too.
std::vector<std::string> ReadIniValues(const platform::Path& path, std::string_view section,
                                       const std::vector<std::string>& keys);

// The pieces below are the lookup's own steps, for tools that inspect a whole file.

// One line as the lookup reads it.
struct IniLine {
    enum class Kind { Blank, Section, Key };  // Blank: empty or a comment
    Kind kind = Kind::Blank;
    std::string_view name;   // the section name between '[' and the last ']', or the key
    std::string_view value;  // after '=': trimmed, one pair of quotes removed, not yet cut
    bool hasEquals = false;  // a key line without '=' has the empty value
};

IniLine ClassifyIniLine(std::string_view line);

// A name without the blanks around it, as the lookup compares names.
std::string_view TrimIniBlanks(std::string_view text);

// What a value delivers: its first kMaxIniValueBytes bytes.
std::string DeliverIniValue(std::string_view value);

// Follows the section headers of one file: only the first section named `section` is read,
// from its header up to the next header of any name.
class IniSectionTracker {
public:
    enum class Where { Before, Inside, After };

    explicit IniSectionTracker(std::string_view section);
    // Where `line` stands; a key line counts when this is Inside.
    Where Feed(const IniLine& line);

private:
    std::string_view section_;
    Where where_ = Where::Before;
};

// Calls `visit` with every line of the text and its number (from 1; "\r\n", "\n" and a lone
// "\r" each end one line), each cut to kMaxIniLineBytes bytes, until `visit` returns false.
using IniLineVisitor = std::function<bool(std::string_view line, std::size_t number)>;
void ForEachIniLine(std::string_view text, const IniLineVisitor& visit);
// The same from a file, read in pieces; false when it cannot be opened.
bool ForEachIniLine(const platform::Path& path, const IniLineVisitor& visit);
