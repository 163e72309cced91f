// The whole checker over a small medium made from the input. Input: either raw bytes, which
// become conf.xml, UICfg.xml and a language file at once (so the parsers' seeds serve), or
// entries "=NAME\n" each followed by its file's bytes up to the next line that starts with '='.
// NAME picks one of a few places on the medium; "link" makes a symbolic link whose target is
// the bytes, "folder" a folder.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "checker/checker.h"
#include "checker/reports.h"
#include "support/json.h"

namespace {

std::filesystem::path g_root;
int g_run = 0;

void RemoveRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(g_root, ignored);
}

void Check(bool condition) {
    if (!condition) std::abort();
}

const char* const kPlaces[] = {
    "conf.xml",           "Language/UICfg.xml", "Language/en-us.ini",    "Language/de-de.ini",
    "Language/ja-jp.ini", "ImageIcon/menu.png", "ImageIcon/logo.png",    "ImageIcon/400x70_Button_Normal.png",
    "Setup/a/setup.exe",  "Setup/b/setup.exe",  "Setup/de-de/setup.exe", "Manuals/guide.pdf",
};

std::filesystem::path Place(std::string_view name, std::size_t index) {
    for (const char* place : kPlaces) {
        if (name == place) return place;
    }
    return kPlaces[(std::hash<std::string_view>{}(name) + index) % std::size(kPlaces)];
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void MakeMedium(const std::filesystem::path& medium, std::string_view input) {
    if (input.empty() || input.front() != '=') {
        for (const char* place : {"conf.xml", "Language/UICfg.xml", "Language/en-us.ini"})
            WriteFile(medium / place, input);
        return;
    }
    std::size_t index = 0;
    while (!input.empty() && index < 16) {
        const std::size_t nameEnd = input.find('\n');
        const std::string_view name =
            input.substr(1, nameEnd == std::string_view::npos ? std::string_view::npos : nameEnd - 1);
        input = nameEnd == std::string_view::npos ? std::string_view() : input.substr(nameEnd + 1);
        std::size_t next = input.find("\n=");
        const std::string_view bytes = input.substr(0, next);
        input = next == std::string_view::npos ? std::string_view() : input.substr(next + 1);
        std::error_code ignored;
        if (name.rfind("link", 0) == 0) {
            // Inside the medium only: a target that is absolute or climbs out becomes a link to itself.
            std::filesystem::create_directories(medium / "Setup", ignored);
            std::string target(bytes.substr(0, bytes.find('\0')));
            if (target.empty() || target.front() == '/' || target.find("..") != std::string::npos) {
                target = "link" + std::to_string(index);
            }
            std::filesystem::create_symlink(target, medium / "Setup" / ("link" + std::to_string(index)), ignored);
        } else if (name.rfind("folder", 0) == 0) {
            std::filesystem::create_directories(medium / Place(name, index).parent_path() / "folder", ignored);
        } else {
            WriteFile(medium / Place(name, index), bytes);
        }
        ++index;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Memory-backed when there is such a folder: a run writes and removes a whole medium.
    char shared[] = "/dev/shm/setup-fuzz-medium-XXXXXX";
    char temporary[] = "/tmp/setup-fuzz-medium-XXXXXX";
    char* pattern = access("/dev/shm", W_OK) == 0 ? shared : temporary;
    if (!mkdtemp(pattern)) std::abort();
    g_root = pattern;
    std::atexit(RemoveRoot);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path medium = g_root / std::to_string(g_run++ % 4);
    std::error_code ignored;
    std::filesystem::remove_all(medium, ignored);
    std::filesystem::create_directories(medium, ignored);
    MakeMedium(medium, std::string_view(reinterpret_cast<const char*>(data), size));

    const checker::Report report = checker::CheckMedium(medium.string(), {"de_DE", "ja_JP"});
    Check(report.ExitStatus() >= 0 && report.ExitStatus() <= 2);
    for (const auto& finding : report.Findings())
        Check(finding.line >= 0 && !finding.code.empty() && !finding.file.empty());
    const checker::RunInfo info{medium.string(), 1252};
    checker::FormatText(report, info, true);
    Check(checker_test::ParseJson(checker::FormatJson(report, info)).has_value());
    return 0;
}
