#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/language_file.h"
#include "config/language_state.h"

// One interface text, addressed by its fixed slot number.
struct UiTextSlot {
    wchar_t text[kIniTextUnits] = {};  // read straight from the language file
    int number1 = 0;
    int number2 = 0;
};

inline constexpr int kUiTextSlotCount = 38;
using UiTextTable = std::array<UiTextSlot, kUiTextSlotCount>;

// One entry of UICfg.xml: the language file key (ANSI) and the first two attribute values.
struct UiEntry {
    std::string key;
    int number1 = 0;
    int number2 = 0;
};

// Where an entry comes from, for tools that report on the file.
struct UiEntrySource {
    int line = 0;            // where the element starts
    int attributeCount = 0;  // a missing attribute reads as 0
    bool hasText = false;    // an entry without text has the empty key
};

// Entries fill slots 0-34 in order; the next two fill the status slots 36 and 37, so slot 35
// stays empty. Further entries are ignored.
inline constexpr int kUiEntryCount = 37;
int UiSlotOfEntry(int entry);

namespace tinyxml2 {
class XMLDocument;
}

// Fills the table from Language\UICfg.xml and the chosen language file.
// 0 on success; -1 when there is no language file or UICfg.xml cannot be read.
int LoadUiTextTable(std::uint16_t wLanguage, const std::string& languageFolder, UiTextTable& table,
                    const std::string& uiConfigPath, const LanguageState& languageState);

// Reads the entries of UICfg.xml into `entries` (emptied first when the file loads).
// 0 on success; -1 when the file cannot be loaded or has no root element.
int ReadUiEntries(const std::string& uiConfigPath, std::vector<UiEntry>& entries);

// The same from a loaded document: every child element of the root, whatever its name; its
// text (converted to ANSI) is the key, its first and second attributes are read with atoi
// (0 when missing). With `sources`, it gets one record per entry as well.
int ReadUiEntries(const tinyxml2::XMLDocument& document, std::vector<UiEntry>& entries,
                  std::vector<UiEntrySource>* sources = nullptr);

// Fills the slots of the first kUiEntryCount entries from the language file: a missing key
// gives the empty text, an empty key leaves the slot's text as it is.
void FillUiTextTable(const std::vector<UiEntry>& entries, const std::string& languageFile, UiTextTable& table);
