#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// A language file that lives as long as the fuzzer, in a folder of its own under /tmp.
class FuzzLanguageFile {
public:
    FuzzLanguageFile() {
        char pattern[] = "/tmp/setup-fuzz-language-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        folder_ = pattern;
        path_ = (folder_ / "en-us.ini").string();
        std::ofstream(path_, std::ios::binary) << "[ROOT]\r\nTitle=Welcome\r\nDriver=\"Printer driver\"\r\n"
                                                  "Chinese=\xE7\xAE\x80\xE4\xBD\x93\xE4\xB8\xAD\xE6\x96\x87\r\n"
                                                  "Long="
                                               << std::string(300, 'x') << "\r\n";
    }
    ~FuzzLanguageFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    FuzzLanguageFile(const FuzzLanguageFile&) = delete;
    FuzzLanguageFile& operator=(const FuzzLanguageFile&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::filesystem::path folder_;
    std::string path_;
};
