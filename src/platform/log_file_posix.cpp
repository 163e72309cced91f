#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/log_file.h"

namespace platform {

Path TemporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    Path path = folder && *folder ? folder : "/tmp";
    if (path.back() != '/') path += '/';
    return path;
}

LocalTime LocalTimeNow() {
    const time_t now = time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

unsigned long CurrentProcessId() { return static_cast<unsigned long>(getpid()); }

std::uint64_t MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000 + static_cast<std::uint64_t>(now.tv_nsec) / 1000000;
}

AppendOnlyFile::~AppendOnlyFile() {
    if (handle_ != kNone) close(static_cast<int>(handle_));
}

bool AppendOnlyFile::CreateNew(const Path& path) {
    handle_ = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    return handle_ != kNone;
}

void AppendOnlyFile::Append(std::string_view bytes) const noexcept {
    if (handle_ == kNone) return;
    const auto at = static_cast<off_t>(end_.fetch_add(static_cast<std::uint32_t>(bytes.size())));
    [[maybe_unused]] const ssize_t written = pwrite(static_cast<int>(handle_), bytes.data(), bytes.size(), at);
}

}  // namespace platform
