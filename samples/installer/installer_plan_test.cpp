// The sample installer's plan: what a vendor writes beside each copy decides the window's texts,
// how long it runs and how it ends. Runs natively and under wine64.
#include "installer_plan.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Expected {
    std::string title;
    std::string text;
    std::string cancel;
    unsigned seconds;
    unsigned long exitCode;
};

void ExpectPlan(const InstallerPlan& plan, const Expected& expected, const std::string& label) {
    EXPECT_EQ(plan.title, expected.title) << label;
    EXPECT_EQ(plan.text, expected.text) << label;
    EXPECT_EQ(plan.cancel, expected.cancel) << label;
    EXPECT_EQ(plan.seconds, expected.seconds) << label;
    EXPECT_EQ(plan.exitCode, expected.exitCode) << label;
}

TEST(InstallerPlanTest, ReadsTheKeysAVendorWrites) {
    struct Case {
        const char* label;
        std::string content;
        Expected expected;
    };
    const Case cases[] = {
        {"no plan: the program's name, three seconds, success", "", {"setup", "setup", "Cancel", 3, 0}},
        {"every key",
         "Title = Lumetra Scope 4.2 Setup\nText = Installing Lumetra Scope 4.2\nCancel = Abbrechen\n"
         "Seconds = 6\nExitCode = 3010\n",
         {"Lumetra Scope 4.2 Setup", "Installing Lumetra Scope 4.2", "Abbrechen", 6, 3010}},
        {"keys in any case, blanks and CRLF line ends",
         "  TITLE=Titel\r\n\ttext =  Zeile  \r\nexitcode\t=\t1\r\n",
         {"Titel", "Zeile", "Cancel", 3, 1}},
        {"UTF-8 with a byte-order mark",
         "\xEF\xBB\xBFTitle = Установка драйвера\nText = 正在安装\n",
         {"Установка драйвера", "正在安装", "Cancel", 3, 0}},
        {"comments, section headers and lines without '=' are skipped",
         "; Title = commented out\n# Text = also\n[Installer]\nnot a setting\nSeconds = 1\n",
         {"setup", "setup", "Cancel", 1, 0}},
        {"the first of two values wins", "ExitCode = 1\nExitCode = 0\n", {"setup", "setup", "Cancel", 3, 1}},
        {"a value may hold '='", "Text = a = b\n", {"setup", "a = b", "Cancel", 3, 0}},
        {"an empty value is kept", "Title =\n", {"", "setup", "Cancel", 3, 0}},
        {"hexadecimal exit code", "ExitCode = 0x80070643\n", {"setup", "setup", "Cancel", 3, 0x80070643ul}},
        {"the longest exit code", "ExitCode = 4294967295\n", {"setup", "setup", "Cancel", 3, 4294967295ul}},
        {"too long a run is cut", "Seconds = 100000\n", {"setup", "setup", "Cancel", kMaxInstallerSeconds, 0}},
        {"zero seconds end at once", "Seconds = 0\n", {"setup", "setup", "Cancel", 0, 0}},
        {"a last line without a line end", "Seconds = 9", {"setup", "setup", "Cancel", 9, 0}},
    };
    for (const Case& c : cases) ExpectPlan(ReadInstallerPlan(c.content, "setup"), c.expected, c.label);
}

TEST(InstallerPlanTest, NumbersThatDoNotParseKeepTheDefault) {
    const char* const values[] = {"", "abc", "12abc", "-1", "+5", "1.5", "4294967296", "0x", "99999999999999999999"};
    for (const char* value : values) {
        const std::string content = std::string("Seconds = ") + value + "\nExitCode = " + value + "\n";
        const InstallerPlan plan = ReadInstallerPlan(content, "setup");
        EXPECT_EQ(plan.seconds, 3u) << value;
        EXPECT_EQ(plan.exitCode, 0u) << value;
    }
}

}  // namespace
