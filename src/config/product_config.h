#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/language_state.h"
#include "platform/message_box.h"
#include "platform/path.h"

// One installer or manual offered by the medium (an `item` element of conf.xml).
struct ConfigItem {
    bool selectedByDefault = false;  // "default" is 1 and the item has a launch rule
    // The user's current tick: written by the install list on the user-interface thread, read by
    // the installation worker when it comes to the item.
    std::atomic<bool> selected = false;
    int icon = 0;                                // index into the list's image list
    std::optional<std::string> open;             // launch rule, UTF-8, backslashes only
    std::optional<std::string> defaultLanguage;  // language tried last by the launch rule, UTF-8
    std::optional<std::string> strId;            // key of the display text in the language file
    std::optional<std::wstring> text;            // display text; set for every item once loaded
    int line = 0;                                // where the item element starts in conf.xml, for reports
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

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
}  // namespace tinyxml2

using platform::MessageBoxFunction;
class RunLog;
struct XmlOutcome;

inline constexpr char kDebugBoxCaption[] = "Setup debug";
// The debug text is formed in a buffer of this many bytes (terminator included); a longer
// text, which only an absurd "testLanguage" produces, is cut.
inline constexpr std::size_t kDebugTextCapacity = 256;

// Fills `config` from conf.xml and resolves every item's text through the chosen language
// file. Always returns 0: a missing or broken file leaves the lists empty. With a log, what was
// read and chosen goes into it.
int LoadProductConfig(std::uint16_t wLanguage, const platform::Path& languageFolder, const platform::Path& configPath,
                      ProductConfig& config, LanguageState& languageState, const MessageBoxFunction& showMessage = {},
                      const RunLog* log = nullptr);

// Loads conf.xml and reads it into `config` and the language state (see ReadProductConfig).
// 0 when the file was loaded and has a root element, -1 otherwise (nothing is changed then).
// With `outcome`, how the loading went.
int ParseProductConfig(const platform::Path& configPath, ProductConfig& config, LanguageState& languageState,
                       const MessageBoxFunction& showMessage = {}, XmlOutcome* outcome = nullptr);

// Reads a loaded conf.xml: "debug" and "testLanguage" of the root into the language state,
// the debug box when asked for (shown before anything else is read; no window owns it), the
// "showIcon" flags and both item lists. -1 when the document has no root element.
int ReadProductConfig(const tinyxml2::XMLDocument& document, ProductConfig& config, LanguageState& languageState,
                      const MessageBoxFunction& showMessage = {});

// Appends one item per `item` child of `list` (which may be null); returns the list's length.
std::size_t ParseItemList(const tinyxml2::XMLElement* list, ConfigItemList& items);

// Gives every item its display text from the language file ("" when there is none).
void ResolveItemTexts(const platform::Path& languageFile, ConfigItemList& items);

// The text of the debug box, at most kDebugTextCapacity - 1 bytes.
std::string FormatDebugText(const LanguageState& languageState);
