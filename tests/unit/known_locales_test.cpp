// The locale table the POSIX seam and the medium checker read users through.
#include "platform/known_locales.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

TEST(KnownLocales, DescribeEachUserAsWindowsWould) {
    struct Case {
        const char* name;
        std::uint16_t languageId;
        const char* language;
        const char* country;
    };
    const Case cases[] = {
        {"de_DE", 0x0407, "de", "DE"}, {"de_AT.UTF-8", 0x0C07, "de", "AT"}, {"de-CH@euro", 0x0807, "de", "CH"},
        {"de_LU", 0x0407, "de", "LU"},  // a region the table lacks keeps the language's id
        {"de", 0x0407, "de", "DE"},    {"zh_CN", 0x0804, "zh", "CN"},       {"zh_SG", 0x1004, "zh", "SG"},
        {"zh_HK", 0x0C04, "zh", "HK"}, {"ja_JP", 0x0411, "ja", "JP"},       {"ko_KR", 0x0412, "ko", "KR"},
        {"pt_BR", 0x0416, "pt", "BR"}, {"pt", 0x0816, "pt", "PT"},          {"sv_SE", 0x041D, "sv", "SE"},
        {"xx_YY", 0x0409, "en", "US"},  // unknown languages read as English (United States)
        {"", 0x0409, "en", "US"},      {"C", 0x0409, "en", "US"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const platform::LocaleNames names = platform::LookUpLocale(c.name);
        EXPECT_EQ(names.languageId, c.languageId);
        EXPECT_EQ(names.language, c.language);
        EXPECT_EQ(names.country, c.country);
    }
    EXPECT_FALSE(platform::FindKnownLocale("xx_YY"));
    EXPECT_FALSE(platform::FindKnownLocale("C.UTF-8"));
    ASSERT_TRUE(platform::FindKnownLocale("fr_CA"));
    EXPECT_EQ(platform::FindKnownLocale("fr_CA")->languageId, 0x0C0C);
}

TEST(KnownLocales, ListEveryRegionOnceAndNameOnlyWhatTheyDescribe) {
    const auto names = platform::KnownLocaleNames();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    for (const char* typical :
         {"en_US", "en_GB", "de_DE", "de_AT", "fr_FR", "fr_CA", "es_ES", "it_IT", "ja_JP", "ko_KR",
          "zh_CN", "zh_SG", "zh_TW", "zh_HK", "nl_NL", "pl_PL", "pt_PT", "pt_BR", "ru_RU", "sv_SE"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), typical), names.end()) << typical;
    }
    for (const auto& name : names) {
        const auto known = platform::FindKnownLocale(name);
        ASSERT_TRUE(known) << name;
        EXPECT_EQ(known->language + "_" + known->country, name);
    }
}

}  // namespace
