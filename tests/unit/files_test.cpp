// File attributes, existence and folder search, held to what Windows does: the same tables
// run natively (POSIX layer) and under wine64 (Win32 layer).
#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/open_file.h"
#include "support/test_paths.h"

namespace {

using platform::DotEntries;

// A small medium. Entries ending in a backslash are folders.
const std::vector<std::string> kTree = {
    "Alpha.TXT", "beta.txt", "gamma", "ab.c", "x[1].txt", "Sub\\", "Sub\\Inner.exe", "Sub\\Deeper\\",
};

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& entry : kTree) {
            if (entry.back() == '\\') {
                folder_.MakeFolder(entry);
            } else {
                folder_.Write(entry, "x");
            }
        }
    }
    std::string At(const std::string& relative) const { return folder_.Path() + relative; }

    test::TempFolder folder_;
};

std::set<std::string> WithoutDots(const std::vector<std::string>& names) {
    std::set<std::string> result;
    for (const auto& name : names) {
        if (name != "." && name != "..") result.insert(name);
    }
    return result;
}

struct SearchCase {
    const char* pattern;
    std::set<std::string> names;  // every match but "." and "..", as stored
    bool dotsFirst;               // "." and ".." come first when dot entries are kept
};

const SearchCase kSearchCases[] = {
    {"*.txt", {"Alpha.TXT", "beta.txt", "x[1].txt"}, false},
    {"*.TXT", {"Alpha.TXT", "beta.txt", "x[1].txt"}, false},
    {"ALPHA.txt", {"Alpha.TXT"}, false},
    {"?eta.txt", {"beta.txt"}, false},
    {"b?.txt", {}, false},
    {"x[1].txt", {"x[1].txt"}, false},
    {"x[?].txt", {"x[1].txt"}, false},
    {"[ab]*", {}, false},
    {"a*", {"Alpha.TXT", "ab.c"}, false},
    {"*A", {"gamma"}, false},
    {"a*c", {"ab.c"}, false},
    {"*a*a*", {"Alpha.TXT", "gamma"}, false},
    {"*", {"Alpha.TXT", "beta.txt", "gamma", "ab.c", "x[1].txt", "Sub"}, true},
    {"*.*", {"Alpha.TXT", "beta.txt", "gamma", "ab.c", "x[1].txt", "Sub"}, true},
    {"SUB", {"Sub"}, false},
    {"s?b", {"Sub"}, false},
    {"sub\\inner.*", {"Inner.exe"}, false},
    {"sub/INNER.EXE", {"Inner.exe"}, false},
    {"Sub\\..\\beta.*", {"beta.txt"}, false},
    {"Sub\\.\\Inner.exe", {"Inner.exe"}, false},
    {"Sub\\D*", {"Deeper"}, false},
    {"missing", {}, false},
    {"missing\\*", {}, false},
    {"beta.txt\\*", {}, false},
    {"*\\Inner.exe", {}, false},
    {"S*b\\*", {}, false},
    {"Su?\\Inner.exe", {}, false},
};

TEST_F(FilesTest, SearchMatchesTheLastComponentLikeWindows) {
    for (const auto& c : kSearchCases) {
        SCOPED_TRACE(c.pattern);
        const auto kept = platform::FindMatches(At(c.pattern), 100);
        EXPECT_EQ(WithoutDots(kept), c.names);
        if (c.dotsFirst) {
            ASSERT_GE(kept.size(), 2u);
            EXPECT_EQ(kept[0], ".");
            EXPECT_EQ(kept[1], "..");
            EXPECT_EQ(kept.size(), c.names.size() + 2);
        } else {
            EXPECT_EQ(kept.size(), c.names.size());
        }

        const auto skipped = platform::FindMatches(At(c.pattern), 100, DotEntries::Skip);
        EXPECT_EQ(skipped.size(), c.names.size());
        EXPECT_EQ(WithoutDots(skipped), c.names);

        const auto first = platform::FindFirstMatch(At(c.pattern), DotEntries::Skip);
        EXPECT_EQ(first.has_value(), !c.names.empty());
        if (first) {
            EXPECT_TRUE(c.names.count(*first)) << *first;
        }
    }
}

TEST_F(FilesTest, SearchStopsAtTheLimit) {
    EXPECT_TRUE(platform::FindMatches(At("*"), 0).empty());
    EXPECT_EQ(platform::FindMatches(At("*"), 1), std::vector<std::string>{"."});
    EXPECT_EQ(platform::FindFirstMatch(At("*")), std::string("."));
    EXPECT_EQ(platform::FindMatches(At("*.txt"), 2).size(), 2u);
    const auto first = platform::FindFirstMatch(At("*"), DotEntries::Skip);
    ASSERT_TRUE(first);
    EXPECT_NE(*first, ".");
    EXPECT_NE(*first, "..");
}

struct AttributeCase {
    const char* path;
    bool exists;
    bool directory;
};

const AttributeCase kAttributeCases[] = {
    {"beta.txt", true, false},
    {"BETA.TXT", true, false},
    {"sub\\inner.EXE", true, false},
    {"Sub/Inner.exe", true, false},
    {"Sub", true, true},
    {"sub\\", true, true},
    {"Sub\\Deeper", true, true},
    {"", true, true},
    {"Sub\\..\\gamma", true, false},
    {"missing\\..\\gamma", true, false},
    {"beta.txt\\", false, false},
    {"missing", false, false},
    {"Sub\\missing.exe", false, false},
    {"gamma\\x", false, false},
    {"*.txt", false, false},
    {"bet?.txt", false, false},
};

TEST_F(FilesTest, AttributesAndExistenceSeeEntriesWithoutCase) {
    for (const auto& c : kAttributeCases) {
        SCOPED_TRACE(c.path);
        const auto attributes = platform::ReadFileAttributes(At(c.path));
        ASSERT_EQ(attributes.has_value(), c.exists);
        if (attributes) {
            EXPECT_EQ((*attributes & platform::kAttributeDirectory) != 0, c.directory);
        }
        if (std::string(c.path).find_first_of("*?") == std::string::npos) {
            EXPECT_EQ(platform::FileExists(At(c.path)), c.exists);
        }
    }
}

TEST_F(FilesTest, PathsBeyondMaxPathWorkUpToTheExtendedLengthLimit) {
    // Folders of 100 characters: past MAX_PATH (260) in any temporary folder; "." and ".." are
    // applied before the extended-length form is made.
    std::string deep = "Sub\\";
    for (const char letter : {'a', 'b', 'c'}) deep += std::string(100, letter) + "\\";
    folder_.Write(deep + "Setup.EXE", "x");
    const std::string dotted = At(deep + ".\\..\\" + std::string(100, 'c') + "\\setup.exe");
    EXPECT_EQ(platform::ReadFileAttributes(dotted), 0x20u);  // FILE_ATTRIBUTE_ARCHIVE
    EXPECT_EQ(platform::FindMatches(At(deep + "*.exe"), 10), std::vector<std::string>{"Setup.EXE"});
    const platform::UniqueFile file = platform::OpenFileForReading(dotted);
    EXPECT_TRUE(file && std::fgetc(file.get()) == 'x');
    EXPECT_FALSE(platform::ReadFileAttributes(At(std::string(33000, 'a'))));  // beyond the form's 32767 units
}

TEST(Files, NamesInAnyScriptAreFoundAndMatchedAsWindowsDoes) {
    // The folder's own name is outside every ANSI code page but UTF-8's.
    const test::TempFolder folder(" Андрей 中文 עברית");
    for (const char* file : {"Драйвер\\Установка.exe", "Ελληνικά.txt", "中文.TXT", "ทดสอบ\\x.exe", "Ünïcode.txt"}) {
        folder.Write(file, "x");
    }
    struct Case {
        const char* pattern;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"драйвер\\УСТАНОВКА.EXE", {"Установка.exe"}},  // Cyrillic without regard to case
        {"ДРАЙВЕР\\у*", {"Установка.exe"}},
        {"ελληνικά.*", {"Ελληνικά.txt"}},  // Greek, its accented letters too
        {"ÜNÏCODE.TXT", {"Ünïcode.txt"}},
        {"??.txt", {"中文.TXT"}},  // '?' is one UTF-16 unit: one letter here
        {"?.txt", {}},
        {"ทดสอบ\\*.exe", {"x.exe"}},
        {"ทดสอ\\*.exe", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(platform::FindMatches(folder.Path() + c.pattern, 10, DotEntries::Skip), c.names);
        if (std::string(c.pattern).find_first_of("*?") == std::string::npos) {
            EXPECT_EQ(platform::FileExists(folder.Path() + c.pattern), !c.names.empty());
        }
    }
    EXPECT_EQ(platform::StoredNames(folder.Path(), "драйвер/установка.EXE"),
              (std::vector<std::string>{"Драйвер", "Установка.exe"}));
    EXPECT_TRUE(platform::OpenFileForReading(folder.Path() + "ДРАЙВЕР\\установка.exe"));
}

TEST_F(FilesTest, OpeningAFileReadsItsPathAsWindowsDoes) {
    const struct {
        const char* relative;
        bool opens;
    } cases[] = {
        {"Alpha.TXT", true},
        {"ALPHA.txt", true},
        {"SUB\\inner.EXE", true},
        {"sub/Inner.exe", true},
        {"Sub\\..\\beta.txt", true},
        {"Sub\\Deeper\\..\\..\\gamma", true},
        {"Nowhere\\..\\beta.txt", true},  // ".." is taken from the text: the missing folder is never looked for
        {"Alpha.TXT\\", false},
        {"missing.txt", false},
        {"Sub\\missing.exe", false},
    };
    for (const auto& c : cases) {
        const platform::UniqueFile file = platform::OpenFileForReading(At(c.relative));
        EXPECT_EQ(file != nullptr, c.opens) << c.relative;
        if (file) {
            EXPECT_EQ(std::fgetc(file.get()), 'x') << c.relative;
        }
    }
}

TEST_F(FilesTest, StoredNamesGiveEachComponentAsTheFolderHoldsIt) {
    struct Case {
        const char* relative;
        std::optional<std::vector<std::string>> names;
    };
    const Case cases[] = {
        {"Sub\\Inner.exe", std::vector<std::string>{"Sub", "Inner.exe"}},
        {"sub/INNER.EXE", std::vector<std::string>{"Sub", "Inner.exe"}},
        {"alpha.txt", std::vector<std::string>{"Alpha.TXT"}},
        {"SUB\\.\\deeper\\", std::vector<std::string>{"Sub", "Deeper"}},
        {"", std::vector<std::string>{}},
        {"missing", std::nullopt},
        {"Sub\\missing.exe", std::nullopt},
        {"Sub\\..\\beta.txt", std::nullopt},
        {"S*b\\Inner.exe", std::nullopt},
        {"beta.txt\\x", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.relative);
        EXPECT_EQ(platform::StoredNames(folder_.Path(), c.relative), c.names);
    }
}

}  // namespace
