#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/path.h"

// File existence, attributes and folder search with Windows' meaning on every platform. Paths
// are UTF-8 (platform/path.h): the Windows seam uses the wide calls, with the extended-length
// form for a path of MAX_PATH (260) or more, so such paths work too.
//
// The POSIX implementation predicts what Windows does with the same path, so tools running on
// Linux see a medium as Setup will: '\' and '/' both separate components, every component is
// looked up without regard to case (of ASCII letters and of those of Latin-1, Latin Extended-A,
// Greek, Cyrillic and Armenian, as Windows' case table pairs them), "." and ".." are applied to
// the text before anything is looked up, and a path or pattern of more than 32767 UTF-16 units
// fails as the extended-length form does. Search patterns match the last component only: '*'
// is any run of characters, '?' exactly one UTF-16 unit, every other character stands for
// itself ('[' included), without regard to case; "*.*" matches every name, as on Windows. Not
// reproduced: the other MS-DOS pattern quirks ('?' matching nothing before a dot, patterns
// ending in '.'), matching against 8.3 short names, and the dropping of trailing dots and blanks.
namespace platform {

inline constexpr std::uint32_t kAttributeDirectory = 0x10;  // FILE_ATTRIBUTE_DIRECTORY

// The attribute bits of an existing entry (GetFileAttributesW); nothing when the entry is
// missing or cannot be read.
std::optional<std::uint32_t> ReadFileAttributes(const Path& path);

// Whether an entry (file or folder) exists, as `_waccess` with mode 0 tells: its attributes can
// be read.
bool FileExists(const Path& path);

enum class DotEntries { Keep, Skip };

// Names, as stored, of the entries matching the pattern's last component, in the order the
// platform returns them (FindFirstFileW, then FindNextFileW), at most `limit` of them; with
// DotEntries::Skip the folder's own "." and ".." entries are passed over. Empty when nothing
// matches or when a folder component holds a wildcard. A name that is no UTF-16 text (half a
// surrogate pair), which no UTF-8 rule could name, is passed over. Windows returns "." and ".."
// first when the pattern matches them; POSIX does the same (except at the file-system root) and
// then returns the rest in case-insensitive order, which is what NTFS gives.
std::vector<std::string> FindMatches(const Path& pattern, std::size_t limit, DotEntries dots = DotEntries::Keep);

// The components of `relative` ('\' or '/' between them) as the entries below `folder` store
// them, each found as FindMatches finds a name without wildcards; nothing when one is missing,
// is "..", or holds a wildcard. Where a stored name differs from the one asked for, the file
// system found it only by ignoring case.
std::optional<std::vector<std::string>> StoredNames(const Path& folder, const std::string& relative);

// The first entry FindMatches would return.
std::optional<std::string> FindFirstMatch(const Path& pattern, DotEntries dots = DotEntries::Keep);

}  // namespace platform
