#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/language_state.h"

// One installer or manual offered by the medium (an `item` element of conf.xml).
struct ConfigItem {
    bool selectedByDefault = false;  // "default" is 1 and the item has a launch rule
    bool selected = false;           // the user's current tick; only the install list changes it
    int icon = 0;                    // index into the list's image list
    std::optional<std::string> open;             // launch rule, ANSI, backslashes only
    std::optional<std::string> defaultLanguage;  // language tried last by the launch rule
    std::optional<std::string> strId;            // key of the display text in the language file
    std::optional<std::wstring> text;            // display text; set for every item once loaded
};

using ConfigItemList = std::vector<std::unique_ptr<ConfigItem>>;

// What conf.xml offers. Row i of a list view is element i of the matching list.
struct ProductConfig {
    bool uiShowIcon = false;
    bool installsShowIcon = false;
    bool manualsShowIcon = false;
    ConfigItemList installs;
    ConfigItemList manuals;
};

// Fills `config` from conf.xml and resolves every item's text through the chosen language
// file. Always returns 0: a missing or broken file leaves the lists empty.
int LoadProductConfig(std::uint16_t wLanguage, const std::string& languageFolder, const std::string& configPath,
                      ProductConfig& config, LanguageState& languageState);
