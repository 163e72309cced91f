#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The locales a medium is likely to meet, with the Windows language id and the ISO names
// that Windows reports for each. The POSIX seam reads the user's locale through this table;
// the medium checker walks it to see the medium as each of these users would.
namespace platform {

struct LocaleNames {
    std::uint16_t languageId = 0x0409;
    std::string language = "en";  // ISO 639, as GetLocaleInfoA gives it
    std::string country = "US";   // ISO 3166
};

// "ll_CC" (also "ll-CC", "ll", or with ".encoding" and "@modifier" after it) as Windows
// would describe that user: a known language with an unknown or missing country takes the
// language's own id and keeps the country given (or the language's default region); an
// unknown language reads as English (United States).
LocaleNames LookUpLocale(std::string_view name);

// The same, but nothing when the language is not in the table.
std::optional<LocaleNames> FindKnownLocale(std::string_view name);

// Every language-and-region pair of the table once, as "ll_CC", in table order.
std::vector<std::string> KnownLocaleNames();

}  // namespace platform
