#include "config/ui_text_table.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "config/language_file.h"
#include "config/xml_document.h"
#include "log/log_events.h"

namespace {

int AttributeNumber(const tinyxml2::XMLAttribute* attribute) { return attribute ? AsciiToInt(attribute->Value()) : 0; }

}  // namespace

int UiSlotOfEntry(int entry) {
    constexpr int kGap = static_cast<int>(UiSlot::NeverFilled);
    return entry < kGap ? entry : entry + 1;
}

int LoadUiTextTable(std::uint16_t wLanguage, const platform::Path& languageFolder, UiTextTable& table,
                    const platform::Path& uiConfigPath, const LanguageState& languageState, const RunLog* log) {
    const std::string languageFile = SelectLanguageFile(wLanguage, languageFolder, languageState);
    // Without a language file UICfg.xml is not read: there is nothing to fill the texts from.
    if (languageFile.empty()) return -1;
    table[0].text[0] = L'\0';
    std::vector<UiEntry> entries;
    XmlOutcome outcome;
    const int result = ReadUiEntries(uiConfigPath, entries, &outcome);
    if (log) LogXmlFile(*log, "UICfg.xml", uiConfigPath, outcome.error, outcome.line);
    if (result != 0) return -1;
    FillUiTextTable(entries, languageFile, table);
    return 0;
}

int ReadUiEntries(const platform::Path& uiConfigPath, std::vector<UiEntry>& entries, XmlOutcome* outcome) {
    XmlDocument document;
    if (LoadXmlFile(document, uiConfigPath, outcome) != tinyxml2::XML_SUCCESS) return -1;
    return ReadUiEntries(document, entries);
}

int ReadUiEntries(const tinyxml2::XMLDocument& document, std::vector<UiEntry>& entries,
                  std::vector<UiEntrySource>* sources) {
    entries.clear();
    if (sources) sources->clear();
    const tinyxml2::XMLElement* root = document.RootElement();
    if (!root) return -1;
    for (const auto* element = root->FirstChildElement(); element; element = element->NextSiblingElement()) {
        const char* text = element->GetText();
        const tinyxml2::XMLAttribute* first = element->FirstAttribute();
        entries.push_back({text ? Utf8ToAnsi(text) : std::string(), AttributeNumber(first),
                           AttributeNumber(first ? first->Next() : nullptr)});
        if (!sources) continue;
        UiEntrySource source;
        source.line = element->GetLineNum();
        for (const auto* attribute = first; attribute; attribute = attribute->Next()) ++source.attributeCount;
        source.hasText = text != nullptr;
        sources->push_back(source);
    }
    return 0;
}

void FillUiTextTable(const std::vector<UiEntry>& entries, const platform::Path& languageFile, UiTextTable& table) {
    const int count = static_cast<int>(std::min<std::size_t>(entries.size(), kUiEntryCount));
    // One reading of the language file for all entries (ReadIniText would read it per entry).
    std::vector<std::string> keys;
    for (int entry = 0; entry < count; ++entry) keys.push_back(entries[static_cast<std::size_t>(entry)].key);
    const std::vector<std::optional<std::wstring>> texts = ReadIniTexts(languageFile, keys);
    for (int entry = 0; entry < count; ++entry) {
        UiTextSlot& slot = table[static_cast<std::size_t>(UiSlotOfEntry(entry))];
        if (const auto& text = texts[static_cast<std::size_t>(entry)]) StoreIniText(*text, slot.text);
        slot.number1 = entries[static_cast<std::size_t>(entry)].number1;
        slot.number2 = entries[static_cast<std::size_t>(entry)].number2;
    }
}
