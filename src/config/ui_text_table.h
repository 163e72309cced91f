#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "config/language_state.h"

// One interface text, addressed by its fixed slot number.
struct UiTextSlot {
    wchar_t text[256] = {};
    int number1 = 0;
    int number2 = 0;
};

inline constexpr int kUiTextSlotCount = 38;
using UiTextTable = std::array<UiTextSlot, kUiTextSlotCount>;

// Fills the table from Language\UICfg.xml and the chosen language file.
// 0 on success; -1 when there is no language file or UICfg.xml cannot be read.
int LoadUiTextTable(std::uint16_t wLanguage, const std::string& languageFolder, UiTextTable& table,
                    const std::string& uiConfigPath, const LanguageState& languageState);
