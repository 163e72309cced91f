#include "platform/text.h"
#include "platform/wide_win.h"

namespace platform {

ShellOutcome ShellExecuteFile(SHELLEXECUTEINFOW& record, const Path& path, bool inItsFolder, unsigned long* error) {
    std::wstring wide = MultiByteToWide(path.c_str(), kUtf8CodePage);
    // The shell starts nothing from a path of MAX_PATH or more unless the system allows long
    // paths; such a failure is said by the caller, with the file's name, instead of the shell's
    // message, which names none.
    const bool longPath = wide.size() >= MAX_PATH;
    record = SHELLEXECUTEINFOW{};
    record.cbSize = sizeof(record);
    record.fMask = SEE_MASK_NOCLOSEPROCESS | (longPath ? SEE_MASK_FLAG_NO_UI : 0);
    record.lpFile = wide.c_str();
    const std::size_t slash = wide.find_last_of(L'\\');
    if (inItsFolder && slash != std::wstring::npos) {
        wide[slash] = L'\0';  // the folder, without the backslash, then the name
        record.lpDirectory = wide.c_str();
        record.lpFile = wide.c_str() + slash + 1;
    }
    record.nShow = SW_SHOW;
    const bool started = ShellExecuteExW(&record) != FALSE;
    if (error) *error = started ? 0 : GetLastError();
    // The record must not keep pointers into this function's string.
    record.lpFile = nullptr;
    record.lpDirectory = nullptr;
    if (started) return ShellOutcome::Started;
    return longPath ? ShellOutcome::PathTooLong : ShellOutcome::Failed;
}

}  // namespace platform
