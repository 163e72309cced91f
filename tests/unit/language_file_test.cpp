#include "config/language_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "platform/locale.h"
#include "support/test_paths.h"

namespace {

TEST(LanguageCode, FollowsThePrimaryLanguage) {
    const struct {
        std::uint16_t id;
        const char* code;
    } cases[] = {
        {0x0804, "zh-cn"}, {0x0404, "zh-tw"}, {0x0C04, "zh-tw"}, {0x1004, "zh-tw"}, {0x1404, "zh-tw"},
        {0x0004, "zh-tw"}, {0x7C04, "zh-tw"}, {0x0407, "de-de"}, {0x0807, "de-de"}, {0x0409, "en-us"},
        {0x0809, "en-us"}, {0x040C, "fr-fr"}, {0x0C0C, "fr-fr"}, {0x0411, "ja-jp"}, {0x0412, "ko-ko"},
        {0x0413, "nl-nl"}, {0x0813, "nl-nl"}, {0x0415, "pl-pl"}, {0x0416, "pt-pt"}, {0x0816, "pt-pt"},
        {0x0419, "ru-ru"}, {0x0410, "en-us"}, {0x0C0A, "en-us"}, {0x0000, "en-us"}, {0xFFFF, "en-us"},
        {0x0116, "pt-pt"},  // only the low 8 bits choose the row
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_STREQ(LanguageCodeFor(c.id), c.code);
    }
}

class SelectLanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"de-de.ini", "en-us.ini", "zh-cn.ini", "custom.ini"}) {
            folder_.Write(std::string("Language/") + name, "[ROOT]\nTitle=x\n");
        }
        folder_.Write("Upper/DE-DE.INI", "[ROOT]\n");
    }

    // The folder spelled with backslashes only, without a trailing one.
    std::string Folder(const std::string& name) const {
        std::string path = folder_.Path() + name;
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }

    test::TempFolder folder_;
};

TEST_F(SelectLanguageFileTest, ChoosesTheFileOfTheLanguage) {
    const std::string language = Folder("Language");
    const struct {
        const char* name;
        std::uint16_t id;
        std::optional<std::string> forced;
        std::string expected;
    } cases[] = {
        {"German", 0x0407, std::nullopt, language + "\\de-de.ini"},
        {"Swiss German", 0x0807, std::nullopt, language + "\\de-de.ini"},
        {"Chinese (PRC)", 0x0804, std::nullopt, language + "\\zh-cn.ini"},
        {"Chinese (Taiwan) has no file", 0x0404, std::nullopt, ""},
        {"Italian falls back to English", 0x0410, std::nullopt, language + "\\en-us.ini"},
        {"Japanese without file: no second attempt", 0x0411, std::nullopt, ""},
        {"forced code wins over the language", 0x0411, "de-de", language + "\\de-de.ini"},
        {"forced code outside the table", 0x0409, "custom", language + "\\custom.ini"},
        {"forced code without file", 0x0407, "xx-xx", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LanguageState state(c.id, "ja", "JP");
        state.szIniTest = c.forced;
        EXPECT_EQ(SelectLanguageFile(c.id, language, state), c.expected);
    }
}

TEST_F(SelectLanguageFileTest, AcceptsEverySpellingOfTheFolder) {
    const LanguageState state(0x0407, "de", "DE");
    const std::string expected = Folder("Language") + "\\de-de.ini";
    std::string slashed = expected.substr(0, expected.size() - 10);
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    for (const std::string& folder : {Folder("Language"), Folder("Language") + "\\", slashed, slashed + "/"}) {
        SCOPED_TRACE(folder);
        EXPECT_EQ(SelectLanguageFile(0x0407, folder, state), expected);
    }
    EXPECT_EQ(SelectLanguageFile(0x0407, "", state), "");
    EXPECT_EQ(SelectLanguageFile(0x0407, Folder("Missing"), state), "");
    // File names are matched as Windows matches them, without regard to case.
    EXPECT_EQ(SelectLanguageFile(0x0407, Folder("Upper"), state), Folder("Upper") + "\\de-de.ini");
}

std::string Repeat(const std::string& text, int count) {
    std::string repeated;
    for (int i = 0; i < count; ++i) repeated += text;
    return repeated;
}

class ReadIniTextTest : public ::testing::Test {
protected:
    std::wstring Read(const std::string& key) {
        std::wmemset(text_, L'#', kIniTextUnits);
        EXPECT_TRUE(ReadIniText(file_, key, text_));
        EXPECT_EQ(text_[kIniTextUnits - 1], L'\0');
        return text_;
    }

    test::TempFolder folder_;
    std::string file_ = folder_.Write("zh-cn.ini",
                                      "[ROOT]\r\n"
                                      "Chinese=打印机驱动程序\r\n"
                                      "Japanese = 'テスト・日本'\r\n"
                                      "Mixed=欢迎 Grüße 😀\r\n"
                                      "Exact=" +
                                          Repeat("中", 84) +
                                          "ab\r\n"  // 254 bytes
                                          "Cut=" +
                                          Repeat("中", 85) +
                                          "\r\n"  // 255 bytes
                                          "Invalid=a\xFF"
                                          "b\r\n"
                                          "[Other]\r\nOtherKey=other\r\n");
    wchar_t text_[kIniTextUnits] = {};
};

TEST_F(ReadIniTextTest, ManyTextsInOneReadingAreWhatReadIniTextGives) {
    const std::vector<std::string> keys = {"Chinese", "JAPANESE", "Mixed",    "Exact", "Cut",
                                           "Invalid", "Missing",  "OtherKey", "",      "Chinese"};
    const std::vector<std::optional<std::wstring>> texts = ReadIniTexts(file_, keys);
    ASSERT_EQ(texts.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        SCOPED_TRACE("key '" + keys[i] + "'");
        if (keys[i].empty()) {
            EXPECT_FALSE(texts[i]) << "an empty key leaves the destination as it is";
            continue;
        }
        ASSERT_TRUE(texts[i]);
        EXPECT_EQ(*texts[i], Read(keys[i]));
        wchar_t stored[kIniTextUnits];
        std::wmemset(stored, L'#', kIniTextUnits);
        StoreIniText(*texts[i], stored);
        EXPECT_EQ(std::wmemcmp(stored, text_, kIniTextUnits), 0) << "stored as ReadIniText stores it";
    }
    const std::vector<std::optional<std::wstring>> none = ReadIniTexts(folder_.Path() + "missing.ini", {"Chinese"});
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0], std::wstring());
}

TEST_F(ReadIniTextTest, DecodesValuesFromUtf8) {
    const struct {
        const char* key;
        std::wstring expected;
    } cases[] = {
        {"Chinese", L"打印机驱动程序"},
        {"JAPANESE", L"テスト・日本"},
        {"Mixed", L"欢迎 Grüße 😀"},
        {"Exact", std::wstring(84, L'中') + L"ab"},
        {"Invalid",
         L"a\xFFFD"
         L"b"},
        {"Missing", L""},
        {"OtherKey", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(Read(c.key), c.expected);
    }
}

TEST_F(ReadIniTextTest, CutInsideACharacterLeavesAReplacement) {
    const std::wstring text = Read("Cut");  // 255 bytes: the 254-byte cut splits the last character
    ASSERT_GE(text.size(), 85u);
    EXPECT_EQ(text.substr(0, 84), std::wstring(84, L'中'));
    EXPECT_EQ(text.substr(84), std::wstring(text.size() - 84, L'\xFFFD'));
}

TEST_F(ReadIniTextTest, EmptyKeyLeavesTheDestinationAlone) {
    std::wmemset(text_, L'#', kIniTextUnits);
    EXPECT_FALSE(ReadIniText(file_, "", text_));
    EXPECT_EQ(std::wstring(text_, kIniTextUnits), std::wstring(kIniTextUnits, L'#'));
}

TEST_F(ReadIniTextTest, MissingFileGivesEmptyText) {
    for (const std::string& file : {std::string(), folder_.Path() + "missing.ini"}) {
        std::wmemset(text_, L'#', kIniTextUnits);
        EXPECT_TRUE(ReadIniText(file, "Chinese", text_));
        EXPECT_EQ(std::wstring(text_, kIniTextUnits), std::wstring(kIniTextUnits, L'\0'));
    }
}

TEST(LanguageStateTest, ReadsThePlatformLocale) {
    const LanguageState state;
    EXPECT_EQ(state.wLanguage, platform::UserUiLanguage());
    EXPECT_EQ(state.szLanguage, platform::UserLocaleLanguageName());
    EXPECT_EQ(state.szCountry, platform::UserLocaleCountryName());
    EXPECT_NE(state.wLanguage, 0);
    EXPECT_FALSE(state.szIniTest.has_value());
    EXPECT_FALSE(state.debug);
}

}  // namespace
