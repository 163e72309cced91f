#include "config/product_config.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/language_file.h"
#include "config/xml_document.h"
#include "platform/message_box.h"

namespace {

constexpr unsigned kMessageBoxOk = 0;  // MB_OK

// A copy of the attribute's value; nothing when it is absent (or, with `keepEmpty` false,
// empty).
std::optional<std::string> CopyAttribute(const tinyxml2::XMLElement& element, const char* name, bool keepEmpty) {
    const char* value = element.Attribute(name);
    if (!value || (!keepEmpty && *value == '\0')) return std::nullopt;
    return std::string(value);
}

// The launch rule as the rest of the program reads it: relative to the program folder
// (one leading separator dropped) and with Windows separators only.
std::string NormaliseLaunchRule(const char* rule) {
    if (*rule == '\\' || *rule == '/') ++rule;
    std::string normalised(rule);
    std::replace(normalised.begin(), normalised.end(), '/', '\\');
    return normalised;
}

std::unique_ptr<ConfigItem> ReadItem(const tinyxml2::XMLElement& element) {
    int selectedByDefault = 0;
    int icon = 0;
    QueryIntAttribute(element, "default", selectedByDefault);
    QueryIntAttribute(element, "icon", icon);

    auto item = std::make_unique<ConfigItem>();
    item->icon = icon;
    item->line = element.GetLineNum();
    item->strId = CopyAttribute(element, "strId", true);
    if (const char* open = element.Attribute("open"); open && *open != '\0') {
        item->open = NormaliseLaunchRule(open);
        item->selectedByDefault = selectedByDefault == 1;
        item->selected = item->selectedByDefault;
    }
    item->defaultLanguage = CopyAttribute(element, "defaultLanguage", false);
    return item;
}

}  // namespace

int LoadProductConfig(std::uint16_t wLanguage, const std::string& languageFolder, const std::string& configPath,
                      ProductConfig& config, LanguageState& languageState, const MessageBoxFunction& showMessage) {
    ParseProductConfig(configPath, config, languageState, showMessage);
    // After parsing, so that a "testLanguage" of conf.xml decides the file.
    const std::string languageFile = SelectLanguageFile(wLanguage, languageFolder, languageState);
    ResolveItemTexts(languageFile, config.installs);
    ResolveItemTexts(languageFile, config.manuals);
    return 0;
}

int ParseProductConfig(const std::string& configPath, ProductConfig& config, LanguageState& languageState,
                       const MessageBoxFunction& showMessage) {
    XmlDocument document;
    if (LoadXmlFile(document, configPath) != tinyxml2::XML_SUCCESS) return -1;
    return ReadProductConfig(document, config, languageState, showMessage);
}

int ReadProductConfig(const tinyxml2::XMLDocument& document, ProductConfig& config, LanguageState& languageState,
                      const MessageBoxFunction& showMessage) {
    const tinyxml2::XMLElement* root = document.RootElement();
    if (!root) return -1;

    QueryBoolAttribute(*root, "debug", languageState.debug);
    if (auto testLanguage = CopyAttribute(*root, "testLanguage", false))
        languageState.szIniTest = std::move(testLanguage);
    if (languageState.debug) {
        const std::string text = FormatDebugText(languageState);
        platform::ShowMessageWith(showMessage, text, kDebugBoxCaption, kMessageBoxOk);
    }

    // One number for all three elements: an element without "showIcon" takes the value read
    // before it.
    int showIcon = 0;
    if (const auto* ui = root->FirstChildElement("ui")) QueryIntAttribute(*ui, "showIcon", showIcon);
    config.uiShowIcon = showIcon == 1;
    if (const auto* installs = root->FirstChildElement("installs")) {
        QueryIntAttribute(*installs, "showIcon", showIcon);
        config.installsShowIcon = showIcon == 1;
        ParseItemList(installs, config.installs);
    }
    if (const auto* manuals = root->FirstChildElement("manuals")) {
        QueryIntAttribute(*manuals, "showIcon", showIcon);
        config.manualsShowIcon = showIcon == 1;
        ParseItemList(manuals, config.manuals);
    }
    return 0;
}

std::size_t ParseItemList(const tinyxml2::XMLElement* list, ConfigItemList& items) {
    if (!list) return items.size();
    for (const auto* element = list->FirstChildElement("item"); element;
         element = element->NextSiblingElement("item")) {
        items.push_back(ReadItem(*element));
    }
    return items.size();
}

void ResolveItemTexts(const std::string& languageFile, ConfigItemList& items) {
    // One reading of the language file for all items (ReadIniText would read it per item).
    std::vector<std::string> keys;
    keys.reserve(items.size());
    for (const auto& item : items) keys.push_back(item->strId ? *item->strId : std::string());
    std::vector<std::optional<std::wstring>> texts = ReadIniTexts(languageFile, keys);
    for (std::size_t i = 0; i < items.size(); ++i) items[i]->text = texts[i] ? std::move(*texts[i]) : std::wstring();
}

std::string FormatDebugText(const LanguageState& languageState) {
    // Put together by hand: printf would bring MinGW's printf engine into Setup.exe.
    std::string text = "wLanguage = 0x";
    for (int shift = 12; shift >= 0; shift -= 4) text += "0123456789abcdef"[(languageState.wLanguage >> shift) & 0xF];
    text += "\r\nszLanguage = ";
    text += languageState.szLanguage.c_str();
    text += "\r\nszCountry = ";
    text += languageState.szCountry.c_str();
    text += "\r\nszIniTest = ";
    text += languageState.szIniTest ? languageState.szIniTest->c_str() : "(null)";
    if (text.size() > kDebugTextCapacity - 1) text.resize(kDebugTextCapacity - 1);
    return text;
}
