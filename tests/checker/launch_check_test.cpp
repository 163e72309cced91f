// Launch rules as each user meets them: the candidate that wins, the exact box when none does,
// and what works here but may not elsewhere.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/medium_builder.h"

namespace {

using checker::Severity;
using checker_test::ConfXml;
using checker_test::Expected;

struct Case {
    const char* name;
    std::string installs;
    std::vector<std::string> files;  // entries ending in '/' are folders
    std::vector<Expected> findings;
    const char* folder = "";  // ends the name of the medium's folder
};

std::string Item(const std::string& rule, const std::string& extra = "") {
    return "    <item strId=\"APP_MAIN\" open=\"" + rule + "\"" + extra + "/>\n";
}

const char kSentence[] = "\n\nNo file matching the following rule was found.\r";

TEST(LaunchCheck, ExplainsEveryOutcome) {
    const std::string fails =
        "Item APP_MAIN: no file matches its rule, so the user sees the \"Configuration exception\" "
        "box and the installer is not run.";
    const Case cases[] = {
        {"nothing for the Japanese user",
         Item("Setup/{language}/setup.exe", " defaultLanguage=\"fr\""),
         {"Setup/de-de/setup.exe", "Setup/en-us/setup.exe"},
         {{"conf.xml", 5, Severity::Error, "launch-no-match", fails,
           std::string("Configuration item:\nSetup\\{language}\\setup.exe") + kSentence +
               "Setup\\ja_JP\\setup.exe\nSetup\\ja*\\setup.exe\nSetup\\fr*\\setup.exe"},
          {"conf.xml", 5, Severity::Error, "launch-no-match", fails,
           std::string("Configuration item:\nSetup\\{language}\\setup.exe") + kSentence +
               "Setup\\zh_TW\\setup.exe\nSetup\\zh*\\setup.exe\nSetup\\fr*\\setup.exe"}}},
        {"a folder named by the rule",
         Item("Setup/Main"),
         {},
         {{"conf.xml", 5, Severity::Error, "launch-no-match",
           "Item APP_MAIN: its rule names a folder, not a file, so the user sees the \"Configuration exception\" box "
           "and the installer is not run.",
           std::string("Configuration item:\nSetup\\Main") + kSentence + "Setup\\Main"}}},
        {"a folder matched by a wildcard",
         Item("Setup/M*"),
         {},
         {{"conf.xml", 5, Severity::Warning, "launch-folder",
           "Item APP_MAIN resolves to the folder Setup/Main: the launcher hands a folder to the shell, which opens it "
           "in a window instead of installing anything."}}},
        {"two files for one wildcard",
         Item("Setup/Tools/*.exe"),
         {"Setup/Tools/b.exe", "Setup/Tools/a.exe"},
         {{"conf.xml", 5, Severity::Warning, "launch-ambiguous"}}},
        {"two folders for one wildcard",
         Item("Setup/v*/setup.exe"),
         {"Setup/v1/setup.exe", "Setup/v2/setup.exe"},
         {{"conf.xml", 5, Severity::Warning, "launch-ambiguous"}}},
        {"found only without case",
         Item("setup/MAIN/Setup.exe"),
         {},
         {{"conf.xml", 5, Severity::Note, "case-only-match",
           "The launch target of item APP_MAIN is found only because Windows ignores letter case: it is asked for as "
           "\"setup/MAIN/Setup.exe\", the medium holds \"Setup/Main/setup.exe\"."}}},
        {"one match, one spelling", Item("Setup/M?in/*.exe"), {}, {}},
        // Names in scripts outside every ANSI code page but UTF-8's, the medium's folder too.
        {"a medium and its rules in any script",
         Item("Setup/Драйвер*/{language}/中文?.exe") + Item("Setup/דרייבר/*.exe") + Item("ทดสอบ/x.exe"),
         {"Setup/Драйвер 1/en-us/中文1.exe", "Setup/דרייבר/התקנה.exe", "ทดสอบ/x.exe"},
         {},
         " Андрей 中文 עברית"},
        {"Cyrillic found only without case",
         Item("setup/драйвер/x.exe"),
         {"Setup/Драйвер/x.exe"},
         {{"conf.xml", 5, Severity::Note, "case-only-match",
           "The launch target of item APP_MAIN is found only because Windows ignores letter case: it is asked for as "
           "\"setup/драйвер/x.exe\", the medium holds \"Setup/Драйвер/x.exe\"."}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        checker_test::Medium medium(c.folder);
        for (const auto& file : c.files) medium.Write(file, "x");
        medium.Write("conf.xml", ConfXml(c.installs, checker_test::kCleanManuals));
        const checker::Report report = medium.Check();
        EXPECT_TRUE(checker_test::FindingsAre(report, c.findings));
    }
}

TEST(LaunchCheck, GroupsUsersAndRecordsEachResolution) {
    checker_test::Medium medium;
    medium.Write("conf.xml",
                 ConfXml(Item("Setup/Missing.exe") + checker_test::kCleanInstalls, checker_test::kCleanManuals));
    const checker::Report report = medium.Check({"de_DE", "de_AT", "ja_JP"});
    ASSERT_EQ(report.Findings().size(), 1u);
    EXPECT_EQ(report.Findings()[0].locales, (std::vector<std::string>{"de_DE", "de_AT", "ja_JP"}));
    EXPECT_EQ(*report.Findings()[0].boxText,
              std::string("Configuration item:\nSetup\\Missing.exe") + kSentence + "Setup\\Missing.exe");

    struct Outcome {
        const char* locale;
        int index;
        const char* languageFile;
        std::optional<int> mode;
        const char* path;
    };
    const Outcome expected[] = {
        {"de_DE", 0, "de-de.ini", std::nullopt, ""},
        {"de_DE", 1, "de-de.ini", std::nullopt, "Setup/Main/setup.exe"},
        {"de_DE", 2, "de-de.ini", 2, "Setup/Driver/de-de/driver.exe"},
        {"de_AT", 2, "de-de.ini", 2, "Setup/Driver/de-de/driver.exe"},
        {"ja_JP", 2, "ja-jp.ini", 3, "Setup/Driver/en-us/driver.exe"},
    };
    for (const Outcome& outcome : expected) {
        SCOPED_TRACE(std::string(outcome.locale) + " " + std::to_string(outcome.index));
        const auto found =
            std::find_if(report.resolutions.begin(), report.resolutions.end(), [&](const checker::Resolution& r) {
                return r.locale == outcome.locale && r.list == "installs" && r.index == outcome.index;
            });
        ASSERT_NE(found, report.resolutions.end());
        EXPECT_EQ(found->languageFile, outcome.languageFile);
        EXPECT_TRUE(found->languageFileExists);
        EXPECT_EQ(found->mode, outcome.mode);
        EXPECT_EQ(found->path, outcome.path);
        EXPECT_EQ(found->boxText.has_value(), *outcome.path == '\0');
    }
    // Three locales, three installers with rules, one manual.
    EXPECT_EQ(report.resolutions.size(), 3u * 4u);
}

TEST(LaunchCheck, TestLanguageForcesTheFileButNotTheRules) {
    checker_test::Medium medium;
    medium.Write("conf.xml",
                 ConfXml(checker_test::kCleanInstalls, checker_test::kCleanManuals, " testLanguage=\"de-de\""));
    const checker::Report report = medium.Check({"ja_JP"});
    const auto driver = std::find_if(report.resolutions.begin(), report.resolutions.end(),
                                     [](const checker::Resolution& r) { return r.strId == "APP_DRIVER"; });
    ASSERT_NE(driver, report.resolutions.end());
    EXPECT_EQ(driver->languageFile, "de-de.ini");
    EXPECT_EQ(driver->mode, 3);  // ja_JP, then ja*, then en*: the user's own locale names
    EXPECT_EQ(driver->path, "Setup/Driver/en-us/driver.exe");
}

}  // namespace
