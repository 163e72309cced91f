// UICfg.xml as the interface text table reads it: any bytes as the document, then the table
// filled from a small language file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwchar>

#include "config/ui_text_table.h"
#include "config/xml_document.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzLanguageFile languageFile;
    XmlDocument document;
    document.Parse(reinterpret_cast<const char*>(data), size);
    std::vector<UiEntry> entries;
    if (ReadUiEntries(document, entries) != 0) return 0;
    UiTextTable table{};
    FillUiTextTable(entries, languageFile.Path(), table);
    for (const UiTextSlot& slot : table) {
        if (std::wcslen(slot.text) > 255) std::abort();
    }
    if (table[35].text[0] != L'\0' || table[35].number1 != 0) std::abort();
    return 0;
}
