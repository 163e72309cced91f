#include "config/ui_text_table.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "config/xml_document.h"
#include "platform/text.h"
#include "support/test_paths.h"

namespace {

std::string DataPath(const std::string& relative) {
    std::string path = test::DataDir() + relative;
    for (char& c : path) {
        if (c == '/') c = test::DataDir().back();
    }
    return path;
}

// Every slot holds a marker text and numbers, so that untouched slots can be told apart.
UiTextTable MarkedTable() {
    UiTextTable table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        std::swprintf(table[i].text, 256, L"marker %zu", i);
        table[i].number1 = -1;
        table[i].number2 = -2;
    }
    return table;
}

std::wstring Marker(std::size_t slot) { return L"marker " + std::to_wstring(slot); }

TEST(UiSlot, SkipsSlot35) {
    for (int entry = 0; entry < kUiEntryCount; ++entry) {
        SCOPED_TRACE(entry);
        EXPECT_EQ(UiSlotOfEntry(entry), entry < 35 ? entry : entry + 1);
    }
}

TEST(LoadUiTextTableTest, FillsSlotsFromTheMedium) {
    UiTextTable table{};
    const LanguageState state(0x0409, "en", "US");
    ASSERT_EQ(LoadUiTextTable(0x0409, DataPath("config/medium/Language"), table,
                              DataPath("config/medium/Language/UICfg.xml"), state),
              0);
    const struct {
        std::size_t slot;
        std::wstring text;
        int number1, number2;
    } cases[] = {
        {0, L"Welcome", 0, 100}, {1, L"Choose an installation", 1, 101},
        {2, L"", 2, 102},                          // key missing from the language file
        {34, L"", 34, 134},      {35, L"", 0, 0},  // never filled
        {36, L"Done", 35, 135},  {37, L"Failed", 36, 136},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slot);
        EXPECT_EQ(std::wstring(table[c.slot].text), c.text);
        EXPECT_EQ(table[c.slot].number1, c.number1);
        EXPECT_EQ(table[c.slot].number2, c.number2);
    }
}

TEST(LoadUiTextTableTest, LanguageChoiceDecidesTheTexts) {
    const struct {
        const char* name;
        std::uint16_t id;
        std::optional<std::string> forced;
        std::wstring title;
    } cases[] = {
        {"English", 0x0409, std::nullopt, L"Welcome"},
        {"German", 0x0407, std::nullopt, L"Willkommen"},
        {"Chinese", 0x0804, std::nullopt, L"欢迎 Grüße"},
        {"forced German", 0x0804, "de-de", L"Willkommen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UiTextTable table{};
        LanguageState state(c.id, "xx", "XX");
        state.szIniTest = c.forced;
        ASSERT_EQ(LoadUiTextTable(c.id, DataPath("config/medium/Language"), table,
                                  DataPath("config/medium/Language/UICfg.xml"), state),
                  0);
        EXPECT_EQ(std::wstring(table[0].text), c.title);
    }
}

TEST(LoadUiTextTableTest, FailuresLeaveTextsAlone) {
    const LanguageState state(0x0409, "en", "US");
    const struct {
        const char* name;
        std::string languageFolder;
        std::string uiConfig;
        bool slot0Cleared;  // the language file was found before UICfg.xml failed
    } cases[] = {
        {"no language file", DataPath("config/missing"), DataPath("config/medium/Language/UICfg.xml"), false},
        {"no UICfg.xml", DataPath("config/medium/Language"), DataPath("config/missing.xml"), true},
        {"UICfg.xml without root", DataPath("config/medium/Language"), DataPath("config/bad/no_root.xml"), true},
        {"UICfg.xml truncated", DataPath("config/medium/Language"), DataPath("config/bad/truncated.xml"), true},
        {"UICfg.xml nested too deeply", DataPath("config/medium/Language"), DataPath("config/bad/deep.xml"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UiTextTable table = MarkedTable();
        EXPECT_EQ(LoadUiTextTable(0x0409, c.languageFolder, table, c.uiConfig, state), -1);
        EXPECT_EQ(std::wstring(table[0].text), c.slot0Cleared ? L"" : Marker(0));
        for (std::size_t slot = 1; slot < table.size(); ++slot) EXPECT_EQ(std::wstring(table[slot].text), Marker(slot));
    }
}

TEST(ReadUiEntriesTest, ReadsKeysAndNumbersByPosition) {
    platform::SetAnsiCodePage(1252);
    const bool ansi1252 = platform::AnsiCodePage() == 1252;
    XmlDocument document;
    ASSERT_EQ(document.Parse("<anything>"
                             "<a first=\"1\" second=\"2\">Title</a>"
                             "<b second=\"3\" first=\"4\">  Sub  title </b>"
                             "<c x=\"12px\" y=\"px\"/>"
                             "<d only=\"-5\">Only</d>"
                             "\n<e>NoNumbers</e>"
                             "<f n=\" +7\" m=\"99999999999\" o=\"8\">Key&#x4E2D;</f>"
                             "<g n=\"1\" m=\"2\"><inner/>after</g>"
                             "text between<!-- comment --><h n=\"0x10\" m=\"1e3\">Gr&#xFC;&#xDF;e</h>"
                             "</anything>"),
              tinyxml2::XML_SUCCESS);
    std::vector<UiEntry> entries = {{"stale", 9, 9}};
    std::vector<UiEntrySource> sources(3);
    ASSERT_EQ(ReadUiEntries(document, entries, &sources), 0);
    ASSERT_EQ(sources.size(), entries.size());
    const std::vector<UiEntry> expected = {
        {"Title", 1, 2},
        {"Sub title", 3, 4},
        {"", 12, 0},
        {"Only", -5, 0},
        {"NoNumbers", 0, 0},
        {"Key?", 7, 2147483647},
        {"", 1, 2},
        {"Gr\xFC\xDF"
         "e",
         0, 1},
    };
    // Line, attribute count and whether there is text, per entry.
    const UiEntrySource expectedSources[] = {{1, 2, true}, {1, 2, true}, {1, 2, false}, {1, 1, true},
                                             {2, 0, true}, {2, 3, true}, {2, 2, false}, {2, 2, true}};
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        if (ansi1252 || i < 5) {
            EXPECT_EQ(entries[i].key, expected[i].key);
        }
        EXPECT_EQ(entries[i].number1, expected[i].number1);
        EXPECT_EQ(entries[i].number2, expected[i].number2);
        EXPECT_EQ(sources[i].line, expectedSources[i].line);
        EXPECT_EQ(sources[i].attributeCount, expectedSources[i].attributeCount);
        EXPECT_EQ(sources[i].hasText, expectedSources[i].hasText);
    }
}

TEST(ReadUiEntriesTest, BadFilesFail) {
    for (const char* file : {"config/missing.xml", "config/bad/empty.xml", "config/bad/not_xml.xml",
                             "config/bad/utf16.xml", "config/bad/no_root.xml"}) {
        SCOPED_TRACE(file);
        std::vector<UiEntry> entries = {{"kept", 1, 2}};
        EXPECT_EQ(ReadUiEntries(DataPath(file), entries), -1);
        EXPECT_LE(entries.size(), 1u);
    }
    std::vector<UiEntry> entries = {{"kept", 1, 2}};
    EXPECT_EQ(ReadUiEntries(DataPath("config/missing.xml"), entries), -1);
    ASSERT_EQ(entries.size(), 1u);  // a file that does not load leaves the list as it was
    EXPECT_EQ(entries[0].key, "kept");
}

TEST(FillUiTextTableTest, ShortListsAndEmptyKeysLeaveSlotsAlone) {
    test::TempFolder folder;
    const std::string file = folder.Write("en-us.ini", "[ROOT]\nA=alpha\nB=beta\nKey?=question\n");
    const struct {
        const char* name;
        std::vector<UiEntry> entries;
        std::vector<std::pair<std::size_t, std::wstring>> texts;
    } cases[] = {
        {"three entries",
         {{"A", 1, 1}, {"B", 2, 2}, {"Missing", 3, 3}},
         {{0, L"alpha"}, {1, L"beta"}, {2, L""}, {3, Marker(3)}}},
        {"empty key keeps the text", {{"", 1, 1}, {"a", 2, 2}}, {{0, Marker(0)}, {1, L"alpha"}}},
        {"ANSI key with default characters", {{"Key?", 0, 0}}, {{0, L"question"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UiTextTable table = MarkedTable();
        FillUiTextTable(c.entries, file, table);
        for (const auto& [slot, text] : c.texts) {
            SCOPED_TRACE(slot);
            EXPECT_EQ(std::wstring(table[slot].text), text);
            if (slot < c.entries.size()) {
                EXPECT_EQ(table[slot].number1, c.entries[slot].number1);
            }
        }
    }
}

TEST(FillUiTextTableTest, EntriesBeyondTheTableAreIgnored) {
    test::TempFolder folder;
    const std::string file = folder.Write("en-us.ini", "[ROOT]\nK=text\n");
    std::vector<UiEntry> entries(1000, UiEntry{"K", 7, 8});
    UiTextTable table = MarkedTable();
    FillUiTextTable(entries, file, table);
    for (std::size_t slot = 0; slot < table.size(); ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(std::wstring(table[slot].text), slot == 35 ? Marker(35) : L"text");
        EXPECT_EQ(table[slot].number1, slot == 35 ? -1 : 7);
    }
}

}  // namespace
