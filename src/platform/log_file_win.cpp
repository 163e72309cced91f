#include "platform/log_file.h"
#include "platform/text.h"
#include "platform/wide_win.h"

namespace platform {

Path TemporaryFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return {};
    return WideToMultiByte(folder, kUtf8CodePage);
}

LocalTime LocalTimeNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

unsigned long CurrentProcessId() { return GetCurrentProcessId(); }

// The tick count: steps of 10 to 16 ms are fine for a log, and it needs no division.
std::uint64_t MonotonicMilliseconds() { return GetTickCount64(); }

AppendOnlyFile::~AppendOnlyFile() {
    if (handle_ != kNone) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool AppendOnlyFile::CreateNew(const Path& path) {
    // Others may read (and delete) the file while it is written.
    const HANDLE file =
        CreateFileW(WidePath(path).c_str(), FILE_WRITE_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return file != INVALID_HANDLE_VALUE;
}

void AppendOnlyFile::Append(std::string_view bytes) const noexcept {
    if (handle_ == kNone) return;
    const auto size = static_cast<DWORD>(bytes.size());
    // With an offset on a handle opened for synchronous use the call still returns when done.
    OVERLAPPED at{};
    at.Offset = end_.fetch_add(size);
    DWORD written = 0;
    WriteFile(reinterpret_cast<HANDLE>(handle_), bytes.data(), size, &written, &at);
}

}  // namespace platform
