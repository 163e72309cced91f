// conf.xml: whether the launcher can read it, what it reads, and what it silently ignores.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "checker/medium.h"
#include "checker/xml_support.h"
#include "config/xml_document.h"
#include "platform/ascii_case.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tasks/launch_target.h"

namespace checker {

namespace {

constexpr char kFile[] = "conf.xml";
constexpr int kIconCount = 6;  // the list's image list holds pictures 0 to 5

// The names the launcher reads, by element.
struct Schema {
    std::vector<std::string_view> attributes;
    std::vector<std::string_view> children;
};

const Schema kRoot{{"debug", "testLanguage"}, {"ui", "installs", "manuals"}};
const Schema kUi{{"showIcon"}, {}};
const Schema kList{{"showIcon"}, {"item"}};
const Schema kItem{{"strId", "open", "default", "icon", "defaultLanguage"}, {}};

void Add(Report& report, int line, Severity severity, const char* code, std::string message) {
    report.Add({kFile, line, severity, code, std::move(message)});
}

std::string DidYouMean(std::string_view name, const std::vector<std::string_view>& known) {
    const std::string suggestion = SuggestName(name, known);
    if (suggestion.empty()) return {};
    if (platform::EqualIgnoringAsciiCase(name, suggestion)) {
        return " Names are case-sensitive: did you mean \"" + suggestion + "\"?";
    }
    return " Did you mean \"" + suggestion + "\"?";
}

void CheckAttributes(const tinyxml2::XMLElement& element, const Schema& schema, Report& report) {
    for (const auto* attribute = element.FirstAttribute(); attribute; attribute = attribute->Next()) {
        const std::string_view name = attribute->Name();
        if (std::find(schema.attributes.begin(), schema.attributes.end(), name) != schema.attributes.end()) continue;
        Add(report, attribute->GetLineNum(), Severity::Warning, "conf-unknown-attribute",
            "<" + std::string(element.Name()) + "> attribute \"" + std::string(name) +
                "\" is unknown: the launcher ignores it." + DidYouMean(name, schema.attributes));
    }
}

void CheckNoChildren(const tinyxml2::XMLElement& element, Report& report) {
    for (const auto* child = element.FirstChildElement(); child; child = child->NextSiblingElement()) {
        Add(report, child->GetLineNum(), Severity::Warning, "conf-unknown-element",
            "<" + std::string(child->Name()) + "> inside <" + element.Name() + "> is ignored by the launcher.");
    }
}

// Whether the launcher read a number from the attribute; notes one it could not read.
bool CheckNumber(const tinyxml2::XMLElement& element, const char* name, Report& report, const char* code,
                 const std::string& consequence) {
    int value = 0;
    const tinyxml2::XMLAttribute* attribute = element.FindAttribute(name);
    if (!attribute || QueryIntAttribute(element, name, value)) return attribute != nullptr;
    Add(report, attribute->GetLineNum(), Severity::Warning, code,
        std::string(name) + "=" + Quoted(attribute->Value()) + " is not a number: " + consequence);
    return false;
}

std::string ItemName(const ConfigItem& item) { return item.strId && !item.strId->empty() ? *item.strId : "(no strId)"; }

bool HasTokenOtherwiseSpelled(const std::string& rule) {
    constexpr std::string_view token = kLanguageToken;
    for (std::size_t at = rule.find('{'); at != std::string::npos; at = rule.find('{', at + 1)) {
        const std::string_view piece = std::string_view(rule).substr(at, token.size());
        if (piece != token && platform::EqualIgnoringAsciiCase(piece, token)) return true;
    }
    return false;
}

void CheckItem(const tinyxml2::XMLElement& element, const ConfigItem& item, bool installs, bool listShowsIcons,
               Report& report) {
    const int line = element.GetLineNum();
    CheckAttributes(element, kItem, report);
    CheckNoChildren(element, report);
    const std::string name = ItemName(item);

    if (!item.strId) {
        Add(report, line, Severity::Warning, "item-no-strid", "Item has no strId: its row shows no text.");
    } else if (item.strId->empty()) {
        Add(report, line, Severity::Warning, "item-empty-strid", "Item has an empty strId: its row shows no text.");
    }

    // A note, not a warning: a medium may list on purpose what it does not carry (a component
    // offered elsewhere); the launcher shows such an installer greyed and never runs it.
    if (!item.open) {
        Add(report, line, Severity::Note, "item-no-open",
            "Item " + name + " has no open rule: " +
                (installs ? "it is listed greyed on both installation pages and can never be ticked or installed."
                          : "it is listed on the manuals page but opens nothing."));
    }

    const std::string pointless = installs ? "it is not ticked." : "manuals are never ticked anyway.";
    if (CheckNumber(element, "default", report, "item-default-value", "read as 0, " + pointless)) {
        int value = 0;
        QueryIntAttribute(element, "default", value);
        if (value == 1 && !item.open) {
            Add(report, line, Severity::Note, "item-default-without-open",
                "default=\"1\" has no effect: an item without an open rule is never ticked.");
        } else if (value != 0 && value != 1) {
            Add(report, line, Severity::Note, "item-default-value",
                "default=\"" + std::string(element.Attribute("default")) + "\": only 1 ticks an item.");
        }
    }

    CheckNumber(element, "icon", report, "item-icon-value", "read as 0, the first picture.");
    if (item.icon < 0 || item.icon >= kIconCount) {
        const std::string message =
            "icon " + std::to_string(item.icon) + " is outside the list's pictures 0-5: the row shows no picture.";
        if (listShowsIcons) {
            Add(report, line, Severity::Warning, "item-icon-range", message);
        } else {
            Add(report, line, Severity::Note, "item-icon-range", message + " (This list shows no icons now.)");
        }
    }

    if (!item.open) return;
    const std::string& rule = *item.open;
    const bool hasToken = rule.find(kLanguageToken) != std::string::npos;
    if (item.defaultLanguage && !hasToken) {
        Add(report, line, Severity::Note, "item-default-language-unused",
            "defaultLanguage is unused: the rule has no {language}.");
    }
    if (HasTokenOtherwiseSpelled(rule)) {
        Add(report, line, Severity::Warning, "rule-token-case",
            "The rule " + Quoted(rule) +
                " spells the token differently: only \"{language}\" (lower case) is "
                "replaced; any other spelling is looked for literally.");
    }
    // Names in any script are fine, as long as they are UTF-8: other bytes are read in the
    // user's ANSI code page, which differs from user to user.
    for (const char* name : {"open", "defaultLanguage"}) {
        const char* value = element.Attribute(name);
        if (!value || platform::IsUtf8(value)) continue;
        const std::string asRead = std::string(name) == "open" ? rule : item.defaultLanguage.value_or("");
        Add(report, line, Severity::Warning, "rule-not-utf8",
            std::string(name) + " is not UTF-8: the launcher reads it in the user's ANSI code page, here " +
                std::to_string(platform::AnsiCodePage()) + " as " + Quoted(asRead) +
                ", and users with another code page look for other names. Save conf.xml as UTF-8.");
    }
}

// A list element without "showIcon" keeps the number read before it; says where it came from.
void NoteShowIconCarryOver(const tinyxml2::XMLElement* list, std::vector<const tinyxml2::XMLElement*> before,
                           bool shows, Report& report) {
    if (!list || list->FindAttribute("showIcon")) return;
    std::string from = "nothing was read before it, so 0";
    for (auto earlier = before.rbegin(); earlier != before.rend(); ++earlier) {
        if (*earlier && (*earlier)->FindAttribute("showIcon")) {
            from = "from <" + std::string((*earlier)->Name()) + ">";
            break;
        }
    }
    Add(report, list->GetLineNum(), Severity::Note, "conf-show-icon-carried",
        "<" + std::string(list->Name()) + "> has no showIcon: it takes the value read before it (" + from +
            "), so its list " + (shows ? "shows" : "shows no") + " icons.");
}

void CheckList(const tinyxml2::XMLElement* root, const char* name, bool installs, Medium& medium, Report& report) {
    const tinyxml2::XMLElement* list = root->FirstChildElement(name);
    const ConfigItemList& items = installs ? medium.config.installs : medium.config.manuals;
    if (!list) {
        Add(report, root->GetLineNum(), installs ? Severity::Warning : Severity::Note,
            installs ? "conf-no-installs" : "conf-no-manuals",
            std::string("There is no <") + name +
                ">: " + (installs ? "both installation pages list nothing." : "the manuals page lists nothing."));
        return;
    }
    CheckAttributes(*list, kList, report);
    CheckNumber(*list, "showIcon", report, "conf-show-icon-value", "the value read before it is kept.");
    std::size_t index = 0;
    for (const auto* child = list->FirstChildElement(); child; child = child->NextSiblingElement()) {
        if (std::string_view(child->Name()) != "item") {
            Add(report, child->GetLineNum(), Severity::Warning, "conf-unknown-element",
                "<" + std::string(child->Name()) + "> inside <" + name + "> is ignored by the launcher." +
                    DidYouMean(child->Name(), kList.children));
            continue;
        }
        if (index < items.size()) {
            const bool shows = installs ? medium.config.installsShowIcon : medium.config.manualsShowIcon;
            CheckItem(*child, *items[index], installs, shows, report);
        }
        ++index;
    }
    if (items.empty()) {
        Add(report, list->GetLineNum(), installs ? Severity::Warning : Severity::Note,
            installs ? "conf-no-installs" : "conf-no-manuals",
            std::string("<") + name + "> holds no item: " +
                (installs ? "both installation pages list nothing." : "the manuals page lists nothing."));
    }
}

void CheckRoot(const tinyxml2::XMLElement& root, Medium& medium, Report& report) {
    CheckAttributes(root, kRoot, report);
    if (const auto* debug = root.FindAttribute("debug")) {
        bool value = false;
        if (!QueryBoolAttribute(root, "debug", value)) {
            Add(report, debug->GetLineNum(), Severity::Note, "conf-debug-word",
                "debug=" + Quoted(debug->Value()) + " is neither a yes nor a no word: the launcher ignores it.");
        } else if (value) {
            Add(report, debug->GetLineNum(), Severity::Warning, "conf-debug",
                "debug is on: every user gets the \"Setup debug\" box before the window opens.");
        }
    }
    if (const auto* test = root.FindAttribute("testLanguage"); test && *test->Value() != '\0') {
        Add(report, test->GetLineNum(), Severity::Warning, "conf-test-language",
            "testLanguage=" + Quoted(test->Value()) + " gives every user " + test->Value() +
                ".ini, whatever their language; remove it before shipping.");
    }

    std::vector<std::string_view> seen;
    for (const auto* child = root.FirstChildElement(); child; child = child->NextSiblingElement()) {
        const std::string_view name = child->Name();
        if (std::find(kRoot.children.begin(), kRoot.children.end(), name) == kRoot.children.end()) {
            Add(report, child->GetLineNum(), Severity::Warning, "conf-unknown-element",
                "<" + std::string(name) + "> is unknown: the launcher ignores it." + DidYouMean(name, kRoot.children));
            continue;
        }
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
            Add(report, child->GetLineNum(), Severity::Warning, "conf-ignored-element",
                "A second <" + std::string(name) + ">: the launcher reads only the first one and ignores this.");
            continue;
        }
        seen.push_back(name);
    }

    const auto* ui = root.FirstChildElement("ui");
    if (ui) {
        CheckAttributes(*ui, kUi, report);
        CheckNoChildren(*ui, report);
        CheckNumber(*ui, "showIcon", report, "conf-show-icon-value", "read as 0.");
    }
    const auto* installs = root.FirstChildElement("installs");
    const auto* manuals = root.FirstChildElement("manuals");
    NoteShowIconCarryOver(installs, {ui}, medium.config.installsShowIcon, report);
    NoteShowIconCarryOver(manuals, {ui, installs}, medium.config.manualsShowIcon, report);
    CheckList(&root, "installs", true, medium, report);
    CheckList(&root, "manuals", false, medium, report);
}

}  // namespace

void CheckProductConfig(Medium& medium, Report& report) {
    const std::string path = medium.Path(kFile);
    if (!platform::FileExists(path)) {
        Add(report, 0, Severity::Error, "conf-missing",
            "There is no conf.xml: the launcher offers no installers and no manuals.");
        return;
    }
    if (auto found = CaseOnlyMatch(medium, kFile, kFile, 0, "conf.xml")) report.Add(std::move(*found));
    XmlDocument document;
    if (!LoadXmlForChecks(path, kFile, "it offers no installers and no manuals", document, report)) return;
    const tinyxml2::XMLElement* root = document.RootElement();
    // The debug box is the user's; here it only has to be noticed.
    ReadProductConfig(document, medium.config, medium.configState,
                      [](const std::string&, const std::string&, unsigned) { return 1; });
    medium.configRead = true;
    CheckRoot(*root, medium, report);
}

}  // namespace checker
