#include "config/language_state.h"

#include <utility>

#include "platform/locale.h"

LanguageState::LanguageState()
    : wLanguage(platform::UserUiLanguage()),
      szLanguage(platform::UserLocaleLanguageName()),
      szCountry(platform::UserLocaleCountryName()) {}

LanguageState::LanguageState(std::uint16_t languageId, std::string language, std::string country)
    : wLanguage(languageId), szLanguage(std::move(language)), szCountry(std::move(country)) {}
