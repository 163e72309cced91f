#include "config/product_config.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/language_file.h"
#include "config/xml_document.h"
#include "log/log_events.h"
#include "platform/message_box.h"
#include "platform/open_file.h"
#include "platform/text.h"

namespace {

constexpr unsigned kMessageBoxOk = 0;  // MB_OK

// A text of conf.xml that becomes part of a path, as UTF-8. conf.xml is read as UTF-8, but a
// medium written in the ANSI code page worked where that code page was the user's, as the
// launcher then handed the bytes to Windows as they stood: bytes that are no UTF-8 are read in
// that code page, so such a medium goes on working there.
std::string PathText(const char* value) {
    if (platform::IsUtf8(value)) return value;
    const std::wstring wide = platform::MultiByteToWide(value, platform::kAnsiCodePage);
    return platform::WideToMultiByte(wide.c_str(), platform::kUtf8CodePage);
}

// A copy of the attribute's value, byte for byte; nothing when it is absent.
std::optional<std::string> CopyAttribute(const tinyxml2::XMLElement& element, const char* name) {
    const char* value = element.Attribute(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

// The attribute's value as a PathText; nothing when it is absent or empty.
std::optional<std::string> CopyPathAttribute(const tinyxml2::XMLElement& element, const char* name) {
    const char* value = element.Attribute(name);
    if (!value || *value == '\0') return std::nullopt;
    return PathText(value);
}

// The launch rule as the rest of the program reads it: relative to the program folder
// (one leading separator dropped) and with Windows separators only.
std::string NormaliseLaunchRule(const char* rule) {
    if (*rule == '\\' || *rule == '/') ++rule;
    std::string normalised = PathText(rule);
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
    item->strId = CopyAttribute(element, "strId");
    if (const char* open = element.Attribute("open"); open && *open != '\0') {
        item->open = NormaliseLaunchRule(open);
        item->selectedByDefault = selectedByDefault == 1;
        item->selected = item->selectedByDefault;
    }
    item->defaultLanguage = CopyPathAttribute(element, "defaultLanguage");
    return item;
}

}  // namespace

int LoadProductConfig(std::uint16_t wLanguage, const platform::Path& languageFolder, const platform::Path& configPath,
                      ProductConfig& config, LanguageState& languageState, const MessageBoxFunction& showMessage,
                      const RunLog* log) {
    XmlOutcome outcome;
    ParseProductConfig(configPath, config, languageState, showMessage, &outcome);
    // After parsing, so that a "testLanguage" of conf.xml decides the file.
    const LanguageFileChoice choice = ChooseLanguageFile(wLanguage, languageFolder, languageState);
    const std::string languageFile = choice.exists ? choice.path : std::string();
    ResolveItemTexts(languageFile, config.installs);
    ResolveItemTexts(languageFile, config.manuals);
    if (log && log->IsOpen()) {
        LogXmlFile(*log, "conf.xml", configPath, outcome.error, outcome.line);
        LogConfigSwitches(*log, languageState);
        LogLanguageFile(*log, choice, choice.exists && platform::OpenFileForReading(choice.path) != nullptr);
        LogItems(*log, config);
    }
    return 0;
}

int ParseProductConfig(const platform::Path& configPath, ProductConfig& config, LanguageState& languageState,
                       const MessageBoxFunction& showMessage, XmlOutcome* outcome) {
    XmlDocument document;
    if (LoadXmlFile(document, configPath, outcome) != tinyxml2::XML_SUCCESS) return -1;
    return ReadProductConfig(document, config, languageState, showMessage);
}

int ReadProductConfig(const tinyxml2::XMLDocument& document, ProductConfig& config, LanguageState& languageState,
                      const MessageBoxFunction& showMessage) {
    const tinyxml2::XMLElement* root = document.RootElement();
    if (!root) return -1;

    QueryBoolAttribute(*root, "debug", languageState.debug);
    if (auto testLanguage = CopyPathAttribute(*root, "testLanguage")) languageState.szIniTest = std::move(testLanguage);
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

void ResolveItemTexts(const platform::Path& languageFile, ConfigItemList& items) {
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
