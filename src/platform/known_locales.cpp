#include "platform/known_locales.h"

namespace platform {

namespace {

struct KnownLocale {
    std::string_view language;
    std::string_view country;  // "" stands for the language's default region
    std::uint16_t languageId;
    std::string_view defaultCountry;
};

// Windows language ids of the languages a medium is likely to carry, with their regions.
constexpr KnownLocale kKnownLocales[] = {
    {"zh", "CN", 0x0804, "CN"}, {"zh", "TW", 0x0404, "TW"}, {"zh", "HK", 0x0C04, "HK"}, {"zh", "SG", 0x1004, "SG"},
    {"zh", "MO", 0x1404, "MO"}, {"zh", "", 0x0804, "CN"},   {"de", "DE", 0x0407, "DE"}, {"de", "CH", 0x0807, "CH"},
    {"de", "AT", 0x0C07, "AT"}, {"de", "", 0x0407, "DE"},   {"en", "US", 0x0409, "US"}, {"en", "GB", 0x0809, "GB"},
    {"en", "AU", 0x0C09, "AU"}, {"en", "CA", 0x1009, "CA"}, {"en", "", 0x0409, "US"},   {"fr", "FR", 0x040C, "FR"},
    {"fr", "BE", 0x080C, "BE"}, {"fr", "CA", 0x0C0C, "CA"}, {"fr", "CH", 0x100C, "CH"}, {"fr", "", 0x040C, "FR"},
    {"ja", "", 0x0411, "JP"},   {"ko", "", 0x0412, "KR"},   {"nl", "BE", 0x0813, "BE"}, {"nl", "", 0x0413, "NL"},
    {"pl", "", 0x0415, "PL"},   {"pt", "BR", 0x0416, "BR"}, {"pt", "PT", 0x0816, "PT"}, {"pt", "", 0x0816, "PT"},
    {"ru", "", 0x0419, "RU"},   {"it", "CH", 0x0810, "CH"}, {"it", "", 0x0410, "IT"},   {"es", "MX", 0x080A, "MX"},
    {"es", "", 0x0C0A, "ES"},   {"sv", "", 0x041D, "SE"},   {"cs", "", 0x0405, "CZ"},   {"tr", "", 0x041F, "TR"},
};

}  // namespace

std::optional<LocaleNames> FindKnownLocale(std::string_view name) {
    name = name.substr(0, name.find_first_of(".@"));
    const std::size_t separator = name.find_first_of("_-");
    const std::string_view language = name.substr(0, separator);
    const std::string_view country =
        separator == std::string_view::npos ? std::string_view{} : name.substr(separator + 1);
    for (const KnownLocale& known : kKnownLocales) {
        if (known.language != language) continue;
        if (!known.country.empty() && known.country == country) {
            return LocaleNames{known.languageId, std::string(language), std::string(country)};
        }
        if (known.country.empty()) {
            return LocaleNames{known.languageId, std::string(language),
                               std::string(country.empty() ? known.defaultCountry : country)};
        }
    }
    return std::nullopt;
}

LocaleNames LookUpLocale(std::string_view name) { return FindKnownLocale(name).value_or(LocaleNames{}); }

std::vector<std::string> KnownLocaleNames() {
    std::vector<std::string> names;
    for (const KnownLocale& known : kKnownLocales) {
        std::string name = std::string(known.language) + "_" + std::string(known.defaultCountry);
        bool seen = false;
        for (const auto& earlier : names) seen = seen || earlier == name;
        if (!seen) names.push_back(std::move(name));
    }
    return names;
}

}  // namespace platform
