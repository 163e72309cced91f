// setup-check's command line: exit statuses, the JSON read back, and media that would trap a
// careless reader (links in a circle, huge files).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>

#include "support/json.h"
#include "support/medium_builder.h"

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome Check(const std::vector<std::string>& arguments) {
    Outcome run;
    run.status = checker::RunSetupCheck(arguments, run.out, run.err, false);
    return run;
}

TEST(CommandLine, ExitStatusTellsTheWorstFinding) {
    struct Case {
        const char* name;
        std::string file;
        std::string bytes;  // "" removes the file
        int status;
    };
    const Case cases[] = {
        {"clean", "", "", 0},
        {"a note only", "conf.xml",
         checker_test::ConfXml(checker_test::kCleanInstalls,
                               "    <item strId=\"DOC_GUIDE\" open=\"Manuals/guide.txt\" defaultLanguage=\"de\"/>\n"),
         0},
        {"a warning", "ImageIcon/120x26_button_Hover.png", "", 1},
        {"an error", "ImageIcon/120x26_button_Normal.png", "", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        checker_test::Medium medium;
        if (!c.file.empty()) {
            if (c.bytes.empty()) {
                medium.Remove(c.file);
            } else {
                medium.Write(c.file, c.bytes);
            }
        }
        const Outcome run = Check({"--locale", "de_DE", medium.Path()});
        EXPECT_EQ(run.status, c.status) << run.out;
        EXPECT_EQ(run.err, "");
        if (c.status == 0) {
            EXPECT_NE(run.out.find("\n0 errors, 0 warnings, "), std::string::npos) << run.out;
        }
    }
}

TEST(CommandLine, CannotRunWithoutAMediumOrWithBadOptions) {
    checker_test::Medium medium;
    const std::vector<std::vector<std::string>> cases = {
        {},
        {medium.Path() + "missing"},
        {medium.Path() + "conf.xml"},
        {"--frobnicate", medium.Path()},
        {"--locale", "xx_YY", medium.Path()},
        {"--locale"},
        {"--codepage", "cp1252", medium.Path()},
        {"--codepage", "0", medium.Path()},
        {medium.Path(), medium.Path()},
    };
    for (const auto& arguments : cases) {
        const Outcome run = Check(arguments);
        EXPECT_EQ(run.status, 3) << (arguments.empty() ? "" : arguments.front());
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("setup-check: ", 0), 0u) << run.err;
    }
    const Outcome help = Check({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: setup-check", 0), 0u);
}

TEST(CommandLine, JsonReadsBackWithEveryField) {
    checker_test::Medium medium;
    medium.Write("conf.xml", checker_test::ConfXml("    <item strId=\"APP_MAIN\" open=\"Setup/Gone.exe\"/>\n" +
                                                       std::string(checker_test::kCleanInstalls),
                                                   checker_test::kCleanManuals));
    medium.Write("Language/de-de.ini", checker_test::LanguageFile("de-de", "Bad = \"\x01\xFF\"\r\n"));
    const Outcome run = Check({"--json", "--locale", "de_AT", medium.Path()});
    EXPECT_EQ(run.status, 2);
    const auto json = checker_test::ParseJson(run.out);
    ASSERT_TRUE(json) << run.out;
    using Kind = checker_test::Json::Kind;
    EXPECT_EQ((*json)["tool"].string, "setup-check");
    EXPECT_EQ((*json)["schema"].number, 1);
    EXPECT_EQ((*json)["summary"]["errors"].number, 1);
    EXPECT_EQ((*json)["summary"]["warnings"].number, 1);
    EXPECT_EQ((*json)["summary"]["exitStatus"].number, 2);
    ASSERT_EQ((*json)["locales"].array.size(), 1u);
    EXPECT_EQ((*json)["locales"].array[0].string, "de_AT");

    const auto& findings = (*json)["findings"].array;
    ASSERT_EQ(findings.size(), 2u);
    const auto& launch = findings[0];
    EXPECT_EQ(launch["file"].string, "conf.xml");
    EXPECT_EQ(launch["line"].number, 5);
    EXPECT_EQ(launch["severity"].string, "error");
    EXPECT_EQ(launch["code"].string, "launch-no-match");
    EXPECT_EQ(launch["locales"].array.at(0).string, "de_AT");
    EXPECT_EQ(launch["boxText"].string,
              "Configuration item:\nSetup\\Gone.exe\n\nNo file matching the following rule was "
              "found.\rSetup\\Gone.exe");
    const auto& bad = findings[1];
    EXPECT_EQ(bad["file"].string, "Language/de-de.ini");
    EXPECT_EQ(bad["code"].string, "lang-not-utf8");
    EXPECT_EQ(bad["line"].number, 42);

    const auto& languages = (*json)["languageFiles"].array;
    ASSERT_EQ(languages.size(), 11u);
    EXPECT_EQ(languages[0]["file"].string, "Language/de-de.ini");
    EXPECT_TRUE(languages[0]["exists"].boolean);

    const auto& resolutions = (*json)["resolutions"].array;
    ASSERT_EQ(resolutions.size(), 4u);
    EXPECT_EQ(resolutions[0]["mode"].kind, Kind::Null);
    EXPECT_EQ(resolutions[0]["path"].kind, Kind::Null);
    EXPECT_EQ(resolutions[0]["boxText"].string, launch["boxText"].string);
    EXPECT_EQ(resolutions[2]["strId"].string, "APP_DRIVER");
    EXPECT_EQ(resolutions[2]["locale"].string, "de_AT");
    EXPECT_EQ(resolutions[2]["languageFile"].string, "de-de.ini");
    EXPECT_EQ(resolutions[2]["mode"].number, 2);
    EXPECT_EQ(resolutions[2]["candidate"].string, "Setup\\Driver\\de*\\driver.exe");
    EXPECT_EQ(resolutions[2]["path"].string, "Setup/Driver/de-de/driver.exe");
    EXPECT_EQ(resolutions[2]["boxText"].kind, Kind::Null);
}

// The medium's folder however a shell names it, relative ones from inside, below and beside it.
TEST(CommandLine, TakesTheFolderHoweverAShellNamesIt) {
    const checker_test::Medium medium(" Андрей 中文");
    const std::string path = medium.Path().substr(0, medium.Path().size() - 1);  // no separator at its end
    const std::filesystem::path root(std::u8string(path.begin(), path.end())), beside = root.parent_path();
    const std::string name = path.substr(path.find_last_of("\\/") + 1), link = name + " link";
    const std::filesystem::path before = std::filesystem::current_path();
    std::vector<std::pair<std::filesystem::path, std::string>> cases = {{root, "."},
                                                                        {root, "./"},
                                                                        {root, "Setup/.."},
                                                                        {root / "Setup", ".."},
                                                                        {root / "Setup", "../"},
                                                                        {beside, name},
                                                                        {beside, "./" + name + "/."},
                                                                        {before, path},
                                                                        {before, medium.Path()}};
#ifndef _WIN32
    std::filesystem::create_directory_symlink(root, beside / std::u8string(link.begin(), link.end()));
    cases.insert(cases.end(), {{beside, link}, {beside, link + "/"}});
#endif
    for (const auto& [from, folder] : cases) {
        std::filesystem::current_path(from);
        const Outcome run = Check({"--locale", "de_DE", folder});
        EXPECT_EQ(run.status, 0) << folder << run.err << run.out;
    }
    std::filesystem::current_path(before);
    std::filesystem::remove(beside / std::u8string(link.begin(), link.end()));
}

// Links that point in a circle and files far larger than any medium needs: a report, quickly.
TEST(CommandLine, TrapsEndInAReport) {
    checker_test::Medium medium;
    const std::filesystem::path root(medium.Path());
#ifndef _WIN32
    std::filesystem::create_directory_symlink(root / "Setup", root / "Setup" / "loop");
    std::filesystem::create_symlink(root / "Setup" / "b", root / "Setup" / "a");
    std::filesystem::create_symlink(root / "Setup" / "a", root / "Setup" / "b");
    std::filesystem::remove_all(root / "Manuals");
    std::filesystem::create_directory_symlink(root / "Manuals", root / "Manuals");
#endif
    medium.Write("conf.xml", checker_test::ConfXml(
                                 "    <item strId=\"APP_MAIN\" open=\"Setup/*/*/*/*/*/*/*/*/*/*/*/*/*/*/*/*/x.exe\"/>\n"
                                 "    <item strId=\"APP_MAIN\" open=\"Setup/a/x.exe\"/>\n",
                                 "    <item strId=\"DOC_GUIDE\" open=\"Manuals/*.txt\"/>\n"));
    // Sparse: gigabytes on paper, nothing on disk. The image's second chunk claims 2 GB.
    medium.Write("ImageIcon/menu.png",
                 "\x89PNG\r\n\x1a\n" + checker_test::PngHeader(800, 570, 8, 6, 0) + "\x7F\xFF\xFF\xFFtEXt");
    for (const char* file : {"Language/en-us.ini", "Language/UICfg.xml", "ImageIcon/menu.png"}) {
        std::filesystem::resize_file(root / file, std::uintmax_t{3} << 30);
    }
    const auto start = std::chrono::steady_clock::now();
    const Outcome run = Check({"--json", medium.Path()});
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 10.0);
    EXPECT_EQ(run.status, 2);
    const auto json = checker_test::ParseJson(run.out);
    ASSERT_TRUE(json);
    std::set<std::string> codes;
    for (const auto& finding : (*json)["findings"].array) {
        codes.insert(finding["file"].string + " " + finding["code"].string);
        if (finding["file"].string == "ImageIcon/menu.png") {
            EXPECT_EQ(finding["message"].string,
                      "menu.png is not a readable PNG (the file is longer than 64 MiB): the "
                      "window has no skinned background.");
        }
    }
    for (const char* expected : {"Language/en-us.ini lang-too-large", "Language/UICfg.xml xml-too-large",
                                 "ImageIcon/menu.png skin-unreadable", "conf.xml launch-no-match"}) {
        EXPECT_EQ(codes.count(expected), 1u) << expected;
    }
}

}  // namespace
