#include "support/test_paths.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>

namespace test {

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

std::string Native(std::string path) {
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
    if (!path.empty() && path[0] == '\\') path = "Z:" + path;
#endif
    return path;
}

// Paths in UTF-8 both ways, as the core carries them (a narrow path of the Windows library
// would take the ANSI code page).
std::filesystem::path FromUtf8(const std::string& text) { return std::u8string(text.begin(), text.end()); }

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path FromNative(const std::string& relative) {
    std::string generic = relative;
    std::replace(generic.begin(), generic.end(), '\\', '/');
    return FromUtf8(generic);
}

}  // namespace

std::string DataDir() { return Native(SETUP_TEST_DATA_DIR) + kSeparator; }

TempFolder::TempFolder(const std::string& name) {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    root_ = std::filesystem::temp_directory_path() /
            FromUtf8("setup-test-" + std::to_string(stamp) + "-" + std::to_string(counter++) + name);
    std::filesystem::create_directories(root_);
    path_ = Utf8(root_);
    if (path_.back() != kSeparator) path_ += kSeparator;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string TempFolder::Write(const std::string& relative, const std::string& bytes) const {
    const auto target = root_ / FromNative(relative);
    std::filesystem::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return Utf8(target);
}

std::string TempFolder::MakeFolder(const std::string& relative) const {
    const auto target = root_ / FromNative(relative);
    std::filesystem::create_directories(target);
    return Utf8(target);
}

}  // namespace test
