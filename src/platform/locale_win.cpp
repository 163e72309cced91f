#include <windows.h>

#include "platform/locale.h"

namespace platform {

namespace {

std::string ReadLocaleName(LCTYPE type) {
    char buffer[64] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    if (length <= 0) return {};
    return std::string(buffer, static_cast<std::size_t>(length) - 1);  // length counts the terminator
}

}  // namespace

std::uint16_t UserUiLanguage() { return GetUserDefaultUILanguage(); }

std::string UserLocaleLanguageName() { return ReadLocaleName(LOCALE_SISO639LANGNAME); }

std::string UserLocaleCountryName() { return ReadLocaleName(LOCALE_SISO3166CTRYNAME); }

}  // namespace platform
