#include "config/ini_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_paths.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct Lookup {
    std::string section;
    std::string key;
    std::string expected;
};

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Keys of tests/data/ini/profile.ini: plain ASCII, so the system's own reader must agree.
const std::vector<Lookup> kProfileLookups = {
    {"ROOT", "Plain", "value"},
    {"ROOT", "Spaced", "padded value"},
    {"ROOT", "Tabbed", "tab value"},
    {"ROOT", "DoubleQuoted", "quoted value"},
    {"ROOT", "SingleQuoted", "single quoted"},
    {"ROOT", "QuotedBlanks", "  inner blanks  "},
    {"ROOT", "Mixed", "\"mixed'"},
    {"ROOT", "OnlyOpen", "\"open only"},
    {"ROOT", "OnlyClose", "close only\""},
    {"ROOT", "Inner", "a \"quoted\" word"},
    {"ROOT", "Lone", "\""},
    {"ROOT", "Pair", ""},
    {"ROOT", "SinglePair", ""},
    {"ROOT", "Empty", ""},
    {"ROOT", "Blanks", ""},
    {"ROOT", "MIXEDCASE", "Found"},
    {"root", "mixedcase", "Found"},
    {"  ROOT ", " MixedCase\t", "Found"},
    {"ROOT", "Duplicate", "first"},
    {"ROOT", "DUPLICATE", "first"},
    {"ROOT", "NoEquals", ""},
    {"ROOT", "Equals", "a=b=c"},
    {"ROOT", "Commented", ""},
    {"ROOT", "Indented", "indented key"},
    {"ROOT", "Hash#", "hash key"},
    {"ROOT", "Semi", "value ; with a semicolon"},
    {"ROOT", "BrokenKey", "under a broken header"},
    {"ROOT", "Outside", ""},
    {"ROOT", "OtherOnly", ""},
    {"Other", "OtherOnly", "other"},
    {"Other", "Plain", ""},
    {"ROOT", "SpacedSection", ""},
    {"ROOT", "Second", ""},
    {"ROOT", "LowerRoot", ""},
    {"Trailing", "TrailingKey", "trailing"},
    {"Missing", "Plain", ""},
    {"ROOT", "Missing", ""},
};

// Values around the delivery limit, with blanks and quotes where the cut falls.
struct LongValue {
    const char* name;
    std::string written;  // text after "Key="
    std::string expected;
    // Wine strips the closing quote after cutting a quoted value of exactly 254 bytes to
    // 254 bytes, losing one byte of text; the value's 254 bytes are what the format promises.
    bool wineAgrees = true;
};

std::vector<LongValue> LongValues() {
    const std::string x253(253, 'x'), x254(254, 'x'), x255(255, 'x');
    return {
        {"253 bytes", x253, x253},
        {"254 bytes arrive whole", x254, x254},
        {"255 bytes lose the last", x255, x254},
        {"300 bytes", std::string(300, 'y'), std::string(254, 'y')},
        {"trailing blanks beyond the cut", x254 + "     ", x254},
        {"blanks inside the cut", std::string(250, 'x') + "      z", std::string(250, 'x') + "    "},
        {"quoted 252", "\"" + std::string(252, 'q') + "\"", std::string(252, 'q')},
        {"quoted 253", "\"" + x253 + "\"", x253},
        {"quoted 254", "\"" + x254 + "\"", x254, false},
        {"quoted 255", "\"" + x255 + "\"", x254},
        {"quoted 300", "'" + std::string(300, 'q') + "'", std::string(254, 'q')},
        {"unquoted with quote at 255", x254 + "\"", x254},
    };
}

std::string LongValueFile(const std::string& value) { return "[ROOT]\nKey=" + value + "\nAfter=after\n"; }

TEST(IniReader, FindsProfileValuesInFileAndText) {
    const std::string path = test::DataDir() + "ini" + (test::DataDir().back()) + "profile.ini";
    const std::string text = ReadBytes(path);
    ASSERT_FALSE(text.empty());
    for (const Lookup& lookup : kProfileLookups) {
        SCOPED_TRACE("[" + lookup.section + "] " + lookup.key);
        EXPECT_EQ(ReadIniValue(path, lookup.section, lookup.key), lookup.expected);
        EXPECT_EQ(FindIniValue(text, lookup.section, lookup.key), lookup.expected);
    }
}

TEST(IniReader, ManyKeysInOneReadingGiveWhatEachKeyGivesAlone) {
    test::TempFolder folder;
    const char separator = test::DataDir().back();
    const std::string data = test::DataDir() + "ini" + separator;
    const std::string profile = data + "profile.ini";
    // Every ROOT key of the profile cases, and keys found only after others, twice, in another
    // case, empty or made of blanks, in other sections, or nowhere.
    std::vector<std::string> profileKeys = {"Second", "LowerRoot", "Duplicate",     "duplicate", "",
                                            "  ",     "OtherOnly", "SpacedSection", "Missing",   "Outside"};
    for (const Lookup& lookup : kProfileLookups) {
        if (lookup.section == "ROOT") profileKeys.push_back(lookup.key);
    }
    const std::string blankKeyFile = folder.Write("blank.ini", "[ROOT]\n=no name\nA=a\n");
    struct Case {
        const char* name;
        std::string path;
        std::string section;
        std::vector<std::string> keys;
    } cases[] = {
        {"profile cases", profile, "ROOT", profileKeys},
        {"another section", profile, "Other", {"OtherOnly", "Plain", "SpacedSection"}},
        {"line ends", data + "line_ends.ini", "ROOT", {"AfterCr", "CrOnly", "CrLf", "Nothing"}},
        {"missing file", data + "missing.ini", "ROOT", {"Title", "Plain"}},
        {"a line without a name", blankKeyFile, "ROOT", {"", "A", " ", "B"}},
        {"no keys", profile, "ROOT", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> values = ReadIniValues(c.path, c.section, c.keys);
        ASSERT_EQ(values.size(), c.keys.size());
        for (std::size_t i = 0; i < c.keys.size(); ++i) {
            EXPECT_EQ(values[i], ReadIniValue(c.path, c.section, c.keys[i])) << "key '" << c.keys[i] << "'";
        }
    }
    // The values themselves, for a few keys whose answers the cases above do not pin down.
    EXPECT_EQ(ReadIniValues(profile, "ROOT", {"Duplicate", "Equals", "Outside", "Plain"}),
              (std::vector<std::string>{"first", "a=b=c", "", "value"}));
}

TEST(IniReader, CutsValuesAfterTrimmingAndQuoteRemoval) {
    test::TempFolder folder;
    for (const LongValue& value : LongValues()) {
        SCOPED_TRACE(value.name);
        const std::string path = folder.Write("long.ini", LongValueFile(value.written));
        EXPECT_EQ(ReadIniValue(path, "ROOT", "Key"), value.expected);
        EXPECT_EQ(FindIniValue(LongValueFile(value.written), "ROOT", "Key"), value.expected);
        EXPECT_EQ(ReadIniValue(path, "ROOT", "After"), "after");
    }
}

TEST(IniReader, KeepsEveryByteOfTheValue) {
    // UTF-8 of "简体中文 Grüße" holds the bytes 87 20 that a code-page round trip destroys.
    const std::vector<std::string> values = {
        "\xE7\xAE\x80\xE4\xBD\x93\xE4\xB8\xAD\xE6\x96\x87 Gr\xC3\xBC\xC3\x9F"
        "e",
        "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\xE3\x83\xBB\xE6\x97\xA5\xE6\x9C\xAC",
        "\x80\x81\xFE\xFF invalid UTF-8 stays as it is",
        "value ending in no-break \xC3\xA0",
    };
    test::TempFolder folder;
    for (const std::string& value : values) {
        SCOPED_TRACE(value);
        const std::string path = folder.Write("bytes.ini", "[ROOT]\r\nText=" + value + "\r\n");
        EXPECT_EQ(ReadIniValue(path, "ROOT", "Text"), value);
    }
}

TEST(IniReader, HandlesUnusualFiles) {
    test::TempFolder folder;
    const char separator = test::DataDir().back();
    const std::string data = test::DataDir() + "ini" + separator;
    const std::string manyLines = [] {
        std::string text = "[ROOT]\n";
        for (int i = 0; i < 200000; ++i) text += "Filler" + std::to_string(i) + "=some text to make the file large\n";
        return text + "Last=found at the end\n";
    }();
    const std::string longLine = "[ROOT]\nHuge=" + std::string(3 << 20, 'h') + "\nNext=next line\n";
    const std::string longKey = "[ROOT]\n" + std::string(2 << 20, 'k') + "=v\nNext=next line\n";
    struct Case {
        const char* name;
        std::string path;
        std::string key;
        std::string expected;
    } cases[] = {
        {"byte-order mark hides the header", data + "bom.ini", "Title", ""},
        {"UTF-16 is not decoded", data + "utf16.ini", "Title", ""},
        {"CR LF", data + "line_ends.ini", "CrLf", "crlf value"},
        {"CR alone ends a line", data + "line_ends.ini", "CrOnly", "cr value"},
        {"line after a lone CR", data + "line_ends.ini", "AfterCr", "after cr"},
        {"missing file", data + "missing.ini", "Title", ""},
        {"empty path", "", "Title", ""},
        {"folder instead of file", folder.Path(), "Title", ""},
        {"empty file", folder.Write("empty.ini", ""), "Title", ""},
        {"no line end", folder.Write("noend.ini", "[ROOT]\nTitle=last"), "Title", "last"},
        {"NUL bytes", folder.Write("zero.ini", std::string("[ROOT]\nA=x\0y\nB=z\n", 17)), "B", "z"},
        {"many lines", folder.Write("many.ini", manyLines), "Last", "found at the end"},
        {"over-long line is cut", folder.Write("longline.ini", longLine), "Huge", std::string(254, 'h')},
        {"line after an over-long line", folder.Write("longline.ini", longLine), "Next", "next line"},
        {"line after an over-long key", folder.Write("longkey.ini", longKey), "Next", "next line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadIniValue(c.path, "ROOT", c.key), c.expected);
    }
}

// The pieces a whole-file inspection uses are the lookup's own: every line once, numbered as an
// editor numbers it, classified and placed in or out of the section the lookup reads.
TEST(IniReaderPieces, NumberClassifyAndPlaceEveryLine) {
    const std::string text =
        "; comment\r\n"             // 1
        "Early=before\r\n"          // 2
        "[ root ]\n"                // 3: the name keeps its blanks, so this is not ROOT
        "[Root]\r"                  // 4
        "  Key = \"quoted\"  \r\n"  // 5
        "\n"                        // 6
        "NoEquals\n"                // 7
        "[broken\n"                 // 8: no closing bracket, so a key line
        "[ROOT]\n"                  // 9: a second header ends the section read
        "Late=after";               // 10
    struct Expected {
        std::size_t number;
        IniLine::Kind kind;
        std::string name;
        std::string value;
        bool hasEquals;
        IniSectionTracker::Where where;
    };
    using Kind = IniLine::Kind;
    using Where = IniSectionTracker::Where;
    const std::vector<Expected> expected = {
        {1, Kind::Blank, "", "", false, Where::Before},         {2, Kind::Key, "Early", "before", true, Where::Before},
        {3, Kind::Section, " root ", "", false, Where::Before}, {4, Kind::Section, "Root", "", false, Where::Inside},
        {5, Kind::Key, "Key", "quoted", true, Where::Inside},   {6, Kind::Blank, "", "", false, Where::Inside},
        {7, Kind::Key, "NoEquals", "", false, Where::Inside},   {8, Kind::Key, "[broken", "", false, Where::Inside},
        {9, Kind::Section, "ROOT", "", false, Where::After},    {10, Kind::Key, "Late", "after", true, Where::After},
    };
    // In memory, and from a file read in pieces of every size (a piece may end between CR and LF).
    test::TempFolder folder;
    const std::string path = folder.Write("lines.ini", text);
    for (const bool fromFile : {false, true}) {
        SCOPED_TRACE(fromFile ? "file" : "text");
        IniSectionTracker tracker("ROOT");
        std::vector<Expected> seen;
        const IniLineVisitor visit = [&](std::string_view line, std::size_t number) {
            const IniLine parsed = ClassifyIniLine(line);
            seen.push_back({number, parsed.kind, std::string(parsed.name), std::string(parsed.value), parsed.hasEquals,
                            tracker.Feed(parsed)});
            return true;
        };
        if (fromFile) {
            EXPECT_TRUE(ForEachIniLine(path, visit));
        } else {
            ForEachIniLine(std::string_view(text), visit);
        }
        ASSERT_EQ(seen.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(expected[i].number);
            EXPECT_EQ(seen[i].number, expected[i].number);
            EXPECT_EQ(seen[i].kind, expected[i].kind);
            EXPECT_EQ(seen[i].name, expected[i].name);
            EXPECT_EQ(seen[i].value, expected[i].value);
            EXPECT_EQ(seen[i].hasEquals, expected[i].hasEquals);
            EXPECT_EQ(seen[i].where, expected[i].where);
        }
    }
    EXPECT_FALSE(ForEachIniLine(folder.Path() + "missing.ini", [](std::string_view, std::size_t) { return true; }));
    std::size_t visited = 0;
    ForEachIniLine(std::string_view(text), [&](std::string_view, std::size_t) { return ++visited < 3; });
    EXPECT_EQ(visited, 3u);
    EXPECT_EQ(DeliverIniValue(std::string(300, 'v')), std::string(kMaxIniValueBytes, 'v'));
    EXPECT_EQ(TrimIniBlanks(" \tKey\x1A "), "Key");
}

#ifdef _WIN32

std::string SystemProfileValue(const std::string& path, const std::string& section, const std::string& key) {
    char buffer[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, 255, path.c_str());
    return buffer;
}

// The system's profile reader is the reference for the lookup rules on ASCII files.
TEST(IniReaderAgainstSystem, AgreesOnProfileFixture) {
    const std::string path = test::DataDir() + "ini\\profile.ini";
    for (const Lookup& lookup : kProfileLookups) {
        SCOPED_TRACE("[" + lookup.section + "] " + lookup.key);
        EXPECT_EQ(ReadIniValue(path, lookup.section, lookup.key), SystemProfileValue(path, lookup.section, lookup.key));
    }
}

TEST(IniReaderAgainstSystem, AgreesOnLongValues) {
    test::TempFolder folder;
    for (const LongValue& value : LongValues()) {
        if (!value.wineAgrees) continue;
        SCOPED_TRACE(value.name);
        const std::string path = folder.Write("long.ini", LongValueFile(value.written));
        EXPECT_EQ(ReadIniValue(path, "ROOT", "Key"), SystemProfileValue(path, "ROOT", "Key"));
        // The profile cache keys on the file name: let the next round be read again.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    }
}

#endif

}  // namespace
