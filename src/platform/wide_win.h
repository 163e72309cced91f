#pragma once

#include <windows.h>
// windows.h first: shellapi.h relies on its types.
#include <shellapi.h>

#include <string>

#include "platform/path.h"

// The Windows seam's side of the core's UTF-8 texts, shared by platform/ and the window program:
// each is turned into UTF-16 here and handed to the wide call.
namespace platform {

// The form of a path that the wide file calls take: the path as it is while its full form is
// shorter than MAX_PATH, so that such paths are read exactly as before; a longer one in its
// full form ('/', "." and ".." applied as Windows applies them) with the extended-length prefix
// ("\\?\", "\\?\UNC\"), which has no such limit.
std::wstring WidePath(const Path& path);

// The full form of a path with the extended-length prefix; the path itself when it has a
// prefix already.
std::wstring ExtendedLengthPath(const wchar_t* path);

// MessageBoxW with UTF-8 text and caption, owned by `owner` (may be null).
int ShowOwnedMessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned type);

enum class ShellOutcome { Started, Failed, PathTooLong };

// Hands a file to the shell as the launcher hands installers and manuals: ShellExecuteExW with
// the file type's default verb, SW_SHOW and SEE_MASK_NOCLOSEPROCESS; with `inItsFolder` the file
// is given by its name and started in its folder, otherwise by its full path. `record` keeps the
// process handle, null when none was given, and no pointer to the texts. A path of MAX_PATH or
// more that the shell refuses is PathTooLong, and the shell shows no message of its own for it:
// the caller says which file it was. With `error`, the system's error when not started.
ShellOutcome ShellExecuteFile(SHELLEXECUTEINFOW& record, const Path& path, bool inItsFolder,
                              unsigned long* error = nullptr);

}  // namespace platform
