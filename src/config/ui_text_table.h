#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config/language_file.h"
#include "config/language_state.h"
#include "platform/path.h"

// One interface text, addressed by its fixed slot number.
struct UiTextSlot {
    wchar_t text[kIniTextUnits] = {};  // read straight from the language file
    int number1 = 0;
    int number2 = 0;
};

inline constexpr int kUiTextSlotCount = 38;
using UiTextTable = std::array<UiTextSlot, kUiTextSlotCount>;

// What each slot holds. UICfg.xml lists the texts in this order; the program names a slot
// only through this enum.
enum class UiSlot : int {
    Title = 0,
    Subtitle = 1,
    DefaultInstall = 2,  // its menu button; also the heading of its page
    DefaultInstallInfo = 3,
    DefaultInstallInfo2 = 4,
    CustomInstall = 5,  // its menu button; also the heading of its page
    CustomInstallInfo = 6,
    Manuals = 7,  // its menu button; also the heading of its page
    ManualsInfo = 8,
    Exit = 9,
    DefaultPageText1 = 10,
    InstallPageText2 = 11,  // second text line of both installation pages
    Unused12 = 12,
    Unused13 = 13,
    Unused14 = 14,
    Unused15 = 15,
    Back = 16,
    Install = 17,
    Cancel = 18,
    ProgressHeading = 19,  // the run's heading, animated with dots, and the running row's status
    ProgressText = 20,
    FinishTitle = 21,
    FinishText = 22,
    Finish = 23,
    SelectAll = 24,
    SelectNone = 25,
    CustomPageText1 = 26,
    ManualsPageText1 = 27,
    ManualsPageText2 = 28,
    Unused29 = 29,
    RestartLead = 30,    // before the countdown's seconds
    RestartText = 31,    // the restart explanation
    ExitQuestion1 = 32,  // first line of the exit confirmation
    ExitQuestion2 = 33,  // second line of the exit confirmation
    ExitCaption = 34,    // caption of the exit confirmation
    NeverFilled = 35,    // no UICfg.xml entry fills it (see UiSlotOfEntry)
    RowSucceeded = 36,   // status of a row whose installer ended with exit code 0
    RowFailed = 37,      // status of a row whose installer failed
};

static_assert(static_cast<int>(UiSlot::RowFailed) == kUiTextSlotCount - 1, "one name per slot");

// The text of one slot.
inline const wchar_t* UiText(const UiTextTable& table, UiSlot slot) {
    return table[static_cast<std::size_t>(slot)].text;
}

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

// Entries fill the slots up to ExitCaption in order; the next two fill the row status slots, so
// NeverFilled stays empty. Further entries are ignored.
inline constexpr int kUiEntryCount = kUiTextSlotCount - 1;  // every slot but NeverFilled
int UiSlotOfEntry(int entry);

namespace tinyxml2 {
class XMLDocument;
}
class RunLog;
struct XmlOutcome;

// Fills the table from Language\UICfg.xml and the chosen language file.
// 0 on success; -1 when there is no language file or UICfg.xml cannot be read. With a log, how
// UICfg.xml was read goes into it.
int LoadUiTextTable(std::uint16_t wLanguage, const platform::Path& languageFolder, UiTextTable& table,
                    const platform::Path& uiConfigPath, const LanguageState& languageState,
                    const RunLog* log = nullptr);

// Reads the entries of UICfg.xml into `entries` (emptied first when the file loads).
// 0 on success; -1 when the file cannot be loaded or has no root element. With `outcome`, how
// the loading went.
int ReadUiEntries(const platform::Path& uiConfigPath, std::vector<UiEntry>& entries, XmlOutcome* outcome = nullptr);

// The same from a loaded document: every child element of the root, whatever its name; its
// text (converted to ANSI) is the key, its first and second attributes are read with atoi
// (0 when missing). With `sources`, it gets one record per entry as well.
int ReadUiEntries(const tinyxml2::XMLDocument& document, std::vector<UiEntry>& entries,
                  std::vector<UiEntrySource>* sources = nullptr);

// Fills the slots of the first kUiEntryCount entries from the language file: a missing key
// gives the empty text, an empty key leaves the slot's text as it is.
void FillUiTextTable(const std::vector<UiEntry>& entries, const platform::Path& languageFile, UiTextTable& table);
