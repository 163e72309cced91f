#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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

// The same, read from a file (narrow path); "" when the file cannot be read.
std::string ReadIniValue(const std::string& path, std::string_view section, std::string_view key);
