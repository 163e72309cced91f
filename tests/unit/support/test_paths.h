#pragma once

#include <filesystem>
#include <string>

namespace test {

// tests/data as a path the program under test can open: under Wine the Linux path is
// reached through drive Z:.
std::string DataDir();

// A fresh, empty folder removed when the object goes; Path() (UTF-8) ends in the native
// separator. `name` ends the folder's name.
class TempFolder {
public:
    explicit TempFolder(const std::string& name = "");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Writes bytes to a file relative to the folder, creating parent folders ('/' or '\\').
    std::string Write(const std::string& relative, const std::string& bytes) const;
    std::string MakeFolder(const std::string& relative) const;

private:
    std::filesystem::path root_;
    std::string path_;
};

}  // namespace test
