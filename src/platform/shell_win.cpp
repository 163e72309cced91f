#include "platform/text.h"
#include "platform/wide_win.h"

namespace platform {

ShellOutcome ShellExecuteFile(SHELLEXECUTEINFOW& record, const Path& file, const Path& folder) {
    const std::wstring wideFile = MultiByteToWide(file.c_str(), kUtf8CodePage);
    const std::wstring wideFolder = MultiByteToWide(folder.c_str(), kUtf8CodePage);
    // The shell starts nothing from a path of MAX_PATH or more (a program's folder cannot be
    // that long) unless the system allows long paths; such a failure is said by the caller, with
    // the file's name, instead of the shell's message, which names none.
    const std::size_t length = wideFolder.empty() ? wideFile.size() : wideFolder.size() + 1 + wideFile.size();
    const bool longPath = length >= MAX_PATH;
    record = SHELLEXECUTEINFOW{};
    record.cbSize = sizeof(record);
    record.fMask = SEE_MASK_NOCLOSEPROCESS | (longPath ? SEE_MASK_FLAG_NO_UI : 0);
    record.lpFile = wideFile.c_str();
    record.lpDirectory = folder.empty() ? nullptr : wideFolder.c_str();
    record.nShow = SW_SHOW;
    const bool started = ShellExecuteExW(&record) != FALSE;
    // The record must not keep pointers into this function's strings.
    record.lpFile = nullptr;
    record.lpDirectory = nullptr;
    if (started) return ShellOutcome::Started;
    return longPath ? ShellOutcome::PathTooLong : ShellOutcome::Failed;
}

}  // namespace platform
