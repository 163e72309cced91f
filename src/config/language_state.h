#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The user's interface language and locale names, read once during static construction;
// conf.xml may later force a language file code and ask for the debug box.
struct LanguageState {
    LanguageState();  // reads the platform's UI language and user locale names
    LanguageState(std::uint16_t languageId, std::string language, std::string country);

    std::uint16_t wLanguage = 0;
    std::string szLanguage;                // ISO 639 name of the user locale, "" when unknown
    std::string szCountry;                 // ISO 3166 name of the user locale, "" when unknown
    std::optional<std::string> szIniTest;  // forced language code; absent unless conf.xml sets it
    bool debug = false;
};
