#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "config/language_file.h"
#include "platform/locale.h"
#include "platform/text.h"

namespace {

TEST(TextConversion, Utf8ToWideKeepsEveryCharacter) {
    const struct {
        const char* utf8;
        std::wstring wide;
    } cases[] = {
        {"", L""},
        {"plain ASCII", L"plain ASCII"},
        {"Gr\xC3\xBC\xC3\x9F"
         "e",
         L"Grüße"},
        {"\xE7\xAE\x80\xE4\xBD\x93\xE4\xB8\xAD\xE6\x96\x87", L"简体中文"},
        {"\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88", L"テスト"},
        {"\xF0\x9F\x98\x80", L"😀"},  // a surrogate pair in UTF-16
        {"\xEF\xBB\xBFmark", L"\xFEFFmark"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf8ToWide(c.utf8), c.wide);
        EXPECT_EQ(platform::WideToMultiByte(c.wide.c_str(), platform::kUtf8CodePage), c.utf8);
    }
}

TEST(TextConversion, InvalidUtf8BecomesReplacementCharacters) {
    const char* cases[] = {
        "a\xFF"
        "b",  // never a UTF-8 byte
        "a\x80"
        "b",  // stray continuation
        "a\xC0\xAF"
        "b",  // overlong form of '/'
        "a\xED\xA0\x80"
        "b",  // encoded surrogate
        "a\xE4\xB8"
        "b",  // truncated sequence
        "a\xF4\x90\x80\x80"
        "b",      // beyond U+10FFFF
        "a\xE4",  // truncated at the end
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        const std::wstring wide = Utf8ToWide(text);
        ASSERT_GE(wide.size(), 2u);
        EXPECT_EQ(wide.front(), L'a');
        EXPECT_NE(wide.find(L'\xFFFD'), std::wstring::npos);
        EXPECT_EQ(wide.find_first_not_of(L"ab\xFFFD"), std::wstring::npos);
        EXPECT_FALSE(platform::IsUtf8(text));
    }
    for (const char* text : {"", "ASCII", "Ünï中文\xEF\xBF\xBD\xF0\x9F\x98\x80"})
        EXPECT_TRUE(platform::IsUtf8(text)) << text;
}

TEST(TextConversion, Utf8ToAnsiUsesCodePage1252) {
    platform::SetAnsiCodePage(1252);
    if (platform::AnsiCodePage() != 1252) GTEST_SKIP() << "the system's ANSI code page is not 1252";
    const struct {
        const char* utf8;
        std::string ansi;
    } cases[] = {
        {"Title", "Title"},
        {"Gr\xC3\xBC\xC3\x9F"
         "e",
         "Gr\xFC\xDF"
         "e"},
        {"\xE2\x82\xAC 5", "\x80 5"},              // euro sign
        {"Key\xE7\xAE\x80\xE4\xBD\x93", "Key??"},  // no Chinese in 1252
        {"\xF0\x9F\x98\x80", "??"},                // one default character per UTF-16 unit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi);
    }
    EXPECT_EQ(platform::MultiByteToWide("Gr\xFC\xDF"
                                        "e \x80",
                                        platform::kAnsiCodePage),
              L"Grüße €");
}

#ifndef _WIN32

// Windows fixes the ANSI code page per system; POSIX lets the caller pick it.
TEST(TextConversion, CallerChoosesTheAnsiCodePage) {
    const struct {
        unsigned codePage;
        const char* utf8;
        std::string ansi;
    } cases[] = {
        {936, "\xE7\xAE\x80\xE4\xBD\x93\xE4\xB8\xAD\xE6\x96\x87", "\xBC\xF2\xCC\xE5\xD6\xD0\xCE\xC4"},
        {936, "\xE3\x83\x86 x", "\xA5\xC6 x"},
        {932, "\xE6\x97\xA5\xE6\x9C\xAC", "\x93\xFA\x96\x7B"},
        {932,
         "Gr\xC3\xBC\xC3\x9F"
         "e",
         "Gr??e"},
        {1251, "\xD0\x9C\xD0\xB8\xD1\x80", "\xCC\xE8\xF0"},
        {65001, "\xE4\xB8\xAD", "\xE4\xB8\xAD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codePage);
        platform::SetAnsiCodePage(c.codePage);
        EXPECT_EQ(platform::AnsiCodePage(), c.codePage);
        EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi);
        const std::wstring wide = platform::MultiByteToWide(c.ansi.c_str(), platform::kAnsiCodePage);
        EXPECT_EQ(wide.find(L'\xFFFD'), std::wstring::npos);
    }
    platform::SetAnsiCodePage(1252);
}

TEST(TextConversion, UnknownCodePageKeepsAscii) {
    platform::SetAnsiCodePage(59999);
    EXPECT_EQ(Utf8ToAnsi("Key \xE4\xB8\xAD"), "Key ?");
    EXPECT_EQ(platform::MultiByteToWide("Key \xE4", platform::kAnsiCodePage), L"Key \xFFFD");
    platform::SetAnsiCodePage(1252);
}

// Without a Windows locale, the user's language comes from the locale variables.
TEST(Locale, FollowsTheLocaleVariables) {
    const struct {
        const char* lcAll;
        const char* lang;
        std::uint16_t id;
        const char* language;
        const char* country;
    } cases[] = {
        {"de_DE.UTF-8", nullptr, 0x0407, "de", "DE"}, {"zh_CN.UTF-8", nullptr, 0x0804, "zh", "CN"},
        {"zh_TW.UTF-8", nullptr, 0x0404, "zh", "TW"}, {"ja_JP.UTF-8", nullptr, 0x0411, "ja", "JP"},
        {"pt_BR.UTF-8", nullptr, 0x0416, "pt", "BR"}, {"it_IT.UTF-8", nullptr, 0x0410, "it", "IT"},
        {"ko_KR.UTF-8", nullptr, 0x0412, "ko", "KR"}, {"en_GB", nullptr, 0x0809, "en", "GB"},
        {"fr_FR@euro", nullptr, 0x040C, "fr", "FR"},  {"de", nullptr, 0x0407, "de", "DE"},
        {"", "ru_RU.UTF-8", 0x0419, "ru", "RU"},      {nullptr, "nl_BE.UTF-8", 0x0813, "nl", "BE"},
        {"C", "de_DE.UTF-8", 0x0409, "en", "US"},     {"xx_YY.UTF-8", nullptr, 0x0409, "en", "US"},
        {nullptr, nullptr, 0x0409, "en", "US"},
    };
    const char* saved[] = {std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")};
    const std::string savedText[] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : "", saved[2] ? saved[2] : ""};
    auto set = [](const char* name, const char* value) {
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lcAll ? c.lcAll : "(unset)");
        set("LC_ALL", c.lcAll);
        unsetenv("LC_MESSAGES");
        set("LANG", c.lang);
        EXPECT_EQ(platform::UserUiLanguage(), c.id);
        EXPECT_EQ(platform::UserLocaleLanguageName(), c.language);
        EXPECT_EQ(platform::UserLocaleCountryName(), c.country);
    }
    set("LC_ALL", saved[0] ? savedText[0].c_str() : nullptr);
    set("LC_MESSAGES", saved[1] ? savedText[1].c_str() : nullptr);
    set("LANG", saved[2] ? savedText[2].c_str() : nullptr);
}

#endif

}  // namespace
