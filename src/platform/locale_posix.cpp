#include <cstdlib>
#include <string_view>

#include "platform/known_locales.h"
#include "platform/locale.h"

namespace platform {

namespace {

std::string_view LocaleVariable() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return {};
}

}  // namespace

std::uint16_t UserUiLanguage() { return LookUpLocale(LocaleVariable()).languageId; }

std::string UserLocaleLanguageName() { return LookUpLocale(LocaleVariable()).language; }

std::string UserLocaleCountryName() { return LookUpLocale(LocaleVariable()).country; }

}  // namespace platform
