#include <dirent.h>

#include <algorithm>
#include <string_view>

#include "platform/open_file.h"

namespace platform {

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

// The on-disk spelling of `name` inside `folder`, or `name` itself when nothing matches.
std::string FindSpelling(const std::string& folder, std::string_view name) {
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.empty() ? "." : folder.c_str()));
    if (dir) {
        while (const dirent* entry = readdir(dir.get())) {
            if (SameName(entry->d_name, name)) return entry->d_name;
        }
    }
    return std::string(name);
}

}  // namespace

UniqueFile OpenFileForReading(const std::string& path) {
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (UniqueFile file{std::fopen(slashed.c_str(), "rb")}) return file;

    std::string resolved;
    std::size_t start = 0;
    if (!slashed.empty() && slashed[0] == '/') resolved = "/", start = 1;
    while (start <= slashed.size()) {
        const std::size_t end = std::min(slashed.find('/', start), slashed.size());
        const std::string_view component = std::string_view(slashed).substr(start, end - start);
        if (component.empty() || component == "." || component == "..") {
            resolved += component;
        } else {
            resolved += FindSpelling(resolved, component);
        }
        if (end < slashed.size()) resolved += '/';
        start = end + 1;
    }
    return UniqueFile(std::fopen(resolved.c_str(), "rb"));
}

}  // namespace platform
