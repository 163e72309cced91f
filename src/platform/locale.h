#pragma once

#include <cstdint>
#include <string>

// The user's interface language and the names of the user locale, as the Win32 locale
// calls give them. POSIX derives all three from the first non-empty of LC_ALL, LC_MESSAGES
// and LANG ("de_DE.UTF-8" gives 0x0407, "de", "DE"); an unknown or missing locale reads as
// English (United States).
namespace platform {

// GetUserDefaultUILanguage.
std::uint16_t UserUiLanguage();

// ISO 639 name of the user locale (GetLocaleInfoA, LOCALE_SISO639LANGNAME); "" on failure.
std::string UserLocaleLanguageName();

// ISO 3166 name of the user locale (GetLocaleInfoA, LOCALE_SISO3166CTRYNAME); "" on failure.
std::string UserLocaleCountryName();

}  // namespace platform
