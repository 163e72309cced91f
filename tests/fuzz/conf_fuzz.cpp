// conf.xml as the product configuration reads it: any bytes as the document, then the item
// texts from a small language file and the debug text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "config/product_config.h"
#include "config/xml_document.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzLanguageFile languageFile;
    XmlDocument document;
    document.Parse(reinterpret_cast<const char*>(data), size);
    ProductConfig config;
    LanguageState state(0x0804, "zh", "CN");
    std::size_t boxes = 0;
    ReadProductConfig(document, config, state, [&](const std::string& text, const std::string&, unsigned) {
        if (text.size() >= kDebugTextCapacity) std::abort();
        ++boxes;
        return 1;
    });
    if (boxes > 1) std::abort();
    ResolveItemTexts(languageFile.Path(), config.installs);
    ResolveItemTexts(languageFile.Path(), config.manuals);
    for (const ConfigItemList* list : {&config.installs, &config.manuals}) {
        for (const auto& item : *list) {
            if (!item->text || item->text->size() > 255) std::abort();
            if (item->selectedByDefault && !item->open) std::abort();
            if (item->open && item->open->find('/') != std::string::npos) std::abort();
        }
    }
    return 0;
}
