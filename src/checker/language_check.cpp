// The language files the selection can pick: which exist, who gets which, and what they hold.
#include <algorithm>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "checker/medium.h"
#include "checker/text_units.h"
#include "checker/xml_support.h"
#include "config/ini_reader.h"
#include "config/language_file.h"
#include "platform/ascii_case.h"
#include "platform/files.h"
#include "platform/known_locales.h"
#include "platform/text.h"
#include "tasks/dot_labels.h"
#include "tasks/exit_question.h"

namespace checker {

namespace {

// Interface texts measured against their buffers, by the slot the window reads them from.
constexpr int kHeadingSlot = 19;                // the progress heading, shown with up to five dots
constexpr int kExitQuestionSlots[] = {32, 33};  // the exit question's two lines

// The UICfg.xml entry that fills a slot; -1 for none.
int EntryOfSlot(int slot) {
    for (int entry = 0; entry < kUiEntryCount; ++entry) {
        if (UiSlotOfEntry(entry) == slot) return entry;
    }
    return -1;
}

// A key some part of the interface needs, and where it is asked for.
struct NeededKey {
    std::string key;
    std::string file;  // conf.xml or Language/UICfg.xml
    int line = 0;
    std::string what;  // "item APP_MAIN", "entry 3 (slot 3)"
};

std::vector<NeededKey> NeededKeys(const Medium& medium) {
    std::vector<NeededKey> keys;
    for (const ConfigItemList* list : {&medium.config.installs, &medium.config.manuals}) {
        for (const auto& item : *list) {
            if (item->strId && !item->strId->empty()) {
                keys.push_back({*item->strId, "conf.xml", item->line, "item " + *item->strId});
            }
        }
    }
    const int count = std::min<int>(static_cast<int>(medium.uiEntries.size()), kUiEntryCount);
    for (int entry = 0; entry < count; ++entry) {
        const UiEntry& ui = medium.uiEntries[static_cast<std::size_t>(entry)];
        if (!ui.key.empty()) {
            keys.push_back({ui.key, "Language/UICfg.xml", medium.uiSources[static_cast<std::size_t>(entry)].line,
                            EntryName(entry)});
        }
    }
    return keys;
}

std::string JoinLocales(const std::vector<std::string>& locales) {
    std::string joined;
    for (const auto& locale : locales) joined += (joined.empty() ? "" : ", ") + locale;
    return joined;
}

std::string Users(const LanguageFile& language) {
    if (language.forced) return "every user (testLanguage forces it)";
    std::string users = "users of " + JoinLocales(language.locales);
    if (language.code == LanguageCodeFor(0)) users += " and of every other language without a file of its own";
    return users;
}

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::size_t CountOf(const std::wstring& text, wchar_t c) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

std::size_t CountReplacementsWritten(const std::string& utf8) {
    std::size_t count = 0;
    for (std::size_t at = utf8.find("\xEF\xBF\xBD"); at != std::string::npos; at = utf8.find("\xEF\xBF\xBD", at + 3))
        ++count;
    return count;
}

// A slot text as the launcher holds it: ReadIniText into the slot's buffer, in UTF-16 units.
std::wstring SlotUnits(const LanguageFile& language, const std::string& key) {
    wchar_t text[kIniTextUnits] = {};
    ReadIniText(language.path, key, text);
    return Utf16Units(text);
}

const UiEntry* EntryForSlot(const Medium& medium, int slot) {
    const int entry = EntryOfSlot(slot);
    if (entry < 0 || entry >= static_cast<int>(medium.uiEntries.size())) return nullptr;
    const UiEntry& ui = medium.uiEntries[static_cast<std::size_t>(entry)];
    return ui.key.empty() ? nullptr : &ui;
}

int LineOf(const LanguageFile& language, const UiEntry& entry) {
    const IniKeyLine* line = language.scan.Find(entry.key);
    return line ? line->line : 0;
}

void CheckCapacities(const Medium& medium, const LanguageFile& language, Report& report) {
    if (const UiEntry* heading = EntryForSlot(medium, kHeadingSlot); heading && language.scan.Find(heading->key)) {
        const std::wstring units = SlotUnits(language, heading->key);
        const std::u16string base(units.begin(), units.end());
        char16_t label[kDotLabelCapacity];
        BuildDotLabel(base.c_str(), kMaxProgressDots, label);
        const std::size_t shown = std::char_traits<char16_t>::length(label);
        if (shown < base.size() + kMaxProgressDots) {
            report.Add({language.file, LineOf(language, *heading), Severity::Warning, "lang-heading-cut",
                        "The progress heading " + heading->key + " with its five dots needs " +
                            std::to_string(base.size() + kMaxProgressDots) + " UTF-16 units; its buffer holds " +
                            std::to_string(shown) + ", so it is cut."});
        }
    }
    const UiEntry* first = EntryForSlot(medium, kExitQuestionSlots[0]);
    const UiEntry* second = EntryForSlot(medium, kExitQuestionSlots[1]);
    if (!first || !second || (!language.scan.Find(first->key) && !language.scan.Find(second->key))) return;
    const std::wstring firstUnits = SlotUnits(language, first->key);
    const std::wstring secondUnits = SlotUnits(language, second->key);
    const std::wstring question = ComposeExitQuestion(firstUnits.c_str(), secondUnits.c_str());
    const std::size_t needed = firstUnits.size() + 2 + secondUnits.size();
    if (question.size() < needed) {
        const int line = LineOf(language, *second) ? LineOf(language, *second) : LineOf(language, *first);
        report.Add({language.file, line, Severity::Warning, "lang-exit-question-cut",
                    "The exit question (" + first->key + ", a line break, " + second->key + ") needs " +
                        std::to_string(needed) + " UTF-16 units; its buffer holds " +
                        std::to_string(kExitQuestionCapacity - 1) + ", so the user sees it cut after " +
                        std::to_string(question.size()) + "."});
    }
}

// Buttons and labels process prefixes: "&&" draws one ampersand, a single "&" underlines the next
// character, and the dialog manager presses a button by the character after its first single
// "&" (Alt and that key, letters compared without case).
struct AccessKey {
    wchar_t key = 0;
    bool single = false;  // a single "&" anywhere
    bool atEnd = false;   // the last character is a single "&", which underlines nothing
};

AccessKey FindAccessKey(const std::wstring& text) {
    AccessKey found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (i + 1 < text.size() && text[i + 1] == L'&') {
            ++i;
            continue;
        }
        found.single = true;
        found.atEnd = i + 1 == text.size();
        if (found.key || found.atEnd) continue;
        found.key = text[i + 1];
        if (found.key >= L'a' && found.key <= L'z') found.key = static_cast<wchar_t>(found.key - L'a' + L'A');
    }
    return found;
}

// The window's image buttons by the slots of their captions, in the groups that show together
// (every other page has one button); and the slots whose texts only labels show (the headings
// of slots 2, 5 and 7 repeat menu buttons' captions, whose "&" is meant).
struct ButtonGroup {
    const char* where;
    std::vector<int> slots;
};
const ButtonGroup kButtonGroups[] = {
    {"the menu page", {2, 5, 7, 9}}, {"the installation pages", {16, 17, 18, 24, 25}}, {"the finish page", {23}}};
constexpr int kLabelSlots[] = {0, 1, 3, 4, 6, 8, 10, 11, 19, 20, 21, 22, 26, 27, 28, 30, 31};

void CheckAccessKeys(const Medium& medium, const LanguageFile& language, Report& report) {
    const auto read = [&](int slot, const UiEntry*& entry) {
        entry = EntryForSlot(medium, slot);
        if (!entry || !language.scan.Find(entry->key)) return AccessKey{};
        return FindAccessKey(SlotUnits(language, entry->key));
    };
    const UiEntry* entry = nullptr;
    for (const ButtonGroup& group : kButtonGroups) {
        for (std::size_t i = 0; i < group.slots.size(); ++i) {
            const AccessKey mine = read(group.slots[i], entry);
            if (mine.atEnd) {
                report.Add({language.file, LineOf(language, *entry), Severity::Warning, "lang-access-key-at-end",
                            "The caption " + entry->key +
                                " ends in a single &, which underlines nothing and gives "
                                "the button no access key: write && for an ampersand."});
            }
            for (std::size_t j = 0; mine.key && j < i; ++j) {
                const UiEntry* other = nullptr;
                if (read(group.slots[j], other).key != mine.key) continue;
                const std::string key =
                    platform::WideToMultiByte(std::wstring(1, mine.key).c_str(), platform::kUtf8CodePage);
                report.Add({language.file, LineOf(language, *entry), Severity::Warning, "lang-access-key-clash",
                            other->key + " and " + entry->key + ", buttons of " + group.where +
                                ", both have the access key " + key + ": Alt+" + key + " can press only one of them."});
            }
        }
    }
    for (const int slot : kLabelSlots) {
        if (read(slot, entry).single) {
            report.Add({language.file, LineOf(language, *entry), Severity::Warning, "lang-label-ampersand",
                        entry->key + " is shown by a label, which hides a single & and underlines the character "
                                     "after it: write && for an ampersand."});
        }
    }
}

void CheckValues(const LanguageFile& language, Report& report) {
    for (const IniKeyLine& entry : language.scan.entries) {
        const IniKeyLine* first = language.scan.Find(entry.key);
        if (first != &entry) {
            const bool same = first->value == entry.value;
            report.Add({language.file, entry.line, same ? Severity::Note : Severity::Warning, "lang-duplicate-key",
                        entry.key + " is defined again (first on line " + std::to_string(first->line) +
                            "): the launcher uses the first" +
                            (same ? ", which says the same." : ", " + Quoted(DeliverIniValue(first->value)) + ".")});
            continue;
        }
        if (entry.value.size() > kMaxIniValueBytes) {
            std::string message = "The value of " + entry.key + " is " + std::to_string(entry.value.size()) +
                                  " bytes; the launcher shows only its first " + std::to_string(kMaxIniValueBytes);
            const auto next = static_cast<unsigned char>(entry.value[kMaxIniValueBytes]);
            if (next >= 0x80 && next <= 0xBF) message += ", and the cut splits a character, which shows as U+FFFD";
            report.Add({language.file, entry.line, Severity::Warning, "lang-value-too-long", message + "."});
        }
        const std::wstring wide = Utf8ToWide(entry.value.c_str());
        if (CountOf(wide, L'\xFFFD') > CountReplacementsWritten(entry.value)) {
            report.Add({language.file, entry.line, Severity::Warning, "lang-not-utf8",
                        "The value of " + entry.key +
                            " is not UTF-8 (saved in another encoding?): the launcher shows U+FFFD for its invalid "
                            "bytes."});
        }
    }
}

void CheckStructure(const LanguageFile& language, Report& report) {
    const LanguageScan& scan = language.scan;
    const std::string users = Users(language);
    if (scan.byteOrderMark == LanguageScan::Mark::Utf16) {
        report.Add({language.file, 0, Severity::Error, "lang-utf16",
                    "The file is UTF-16; the launcher reads its bytes and finds no [ROOT], so " + users +
                        " get no texts. Save it as UTF-8 without a byte-order mark."});
        return;
    }
    if (scan.byteOrderMark == LanguageScan::Mark::Utf8) {
        if (scan.firstLineIsRootWithoutMark) {
            report.Add({language.file, 1, scan.rootLine ? Severity::Warning : Severity::Error, "lang-bom",
                        "The file starts with a UTF-8 byte-order mark, so for the launcher its first line is not "
                        "the [ROOT] header" +
                            std::string(scan.rootLine ? ": the texts above the next [ROOT] are lost"
                                                      : ": " + users + " get no texts") +
                            ". Save it without the mark."});
        } else {
            report.Add({language.file, 1, Severity::Note, "lang-bom",
                        "The file starts with a UTF-8 byte-order mark; harmless here, since the first line is not "
                        "the [ROOT] header, but the launcher gives the mark no meaning."});
        }
    }
    if (scan.rootLine == 0 && !scan.firstLineIsRootWithoutMark) {
        report.Add({language.file, 0, Severity::Error, "lang-no-root",
                    "There is no [ROOT] section: " + users + " get no texts."});
    }
    if (scan.rootLine != 0 && scan.firstKeyBeforeRoot != 0) {
        report.Add({language.file, scan.firstKeyBeforeRoot, Severity::Warning, "lang-outside-root",
                    "Keys before the [ROOT] header (line " + std::to_string(scan.rootLine) + ") are never read."});
    }
    for (const int line : scan.ignoredRootLines) {
        report.Add({language.file, line, Severity::Warning, "lang-second-root",
                    "A second [ROOT] section: the launcher stops reading at the end of the first, so the keys below "
                    "are never read."});
    }
    if (scan.truncated) {
        report.Add({language.file, 0, Severity::Warning, "lang-too-large",
                    "The file is larger than 16 MiB; the launcher reads it all for every text, and the checker "
                    "read only the first 16 MiB."});
    }
}

}  // namespace

void FindLanguageFiles(Medium& medium) {
    // Every code the selection table can give, asked of the table itself.
    static const std::set<std::string> kTableCodes = [] {
        std::set<std::string> codes;
        for (unsigned id = 0; id <= 0xFFFF; ++id) codes.insert(LanguageCodeFor(static_cast<std::uint16_t>(id)));
        return codes;
    }();
    std::set<std::string> codes = kTableCodes;
    const auto knownLocales = platform::KnownLocaleNames();
    const auto& forced = medium.configState.szIniTest;
    if (forced) codes.insert(*forced);
    for (const auto& code : codes) {
        LanguageFile language;
        language.code = code;
        language.file = "Language/" + code + ".ini";
        language.forced = forced && *forced == code;
        LanguageState selecting(0, "", "");
        selecting.szIniTest = code;
        language.path = SelectLanguageFile(0, medium.languageFolder, selecting);
        for (const auto& name : knownLocales) {
            if (LanguageCodeFor(platform::LookUpLocale(name).languageId) == code) language.locales.push_back(name);
        }
        if (!language.path.empty()) language.scan = ScanLanguageFile(language.path);
        medium.languageFiles.push_back(std::move(language));
    }
}

namespace {

bool DefinedSomewhere(const Medium& medium, const std::string& key) {
    return std::any_of(medium.languageFiles.begin(), medium.languageFiles.end(),
                       [&](const LanguageFile& language) { return language.scan.Find(key) != nullptr; });
}

// The keys this file lacks that another file defines (a key no file defines is said once, below).
void CheckMissingKeys(const Medium& medium, const std::vector<NeededKey>& needed, const LanguageFile& language,
                      Report& report) {
    std::vector<std::string> missing;
    for (const NeededKey& key : needed) {
        if (language.scan.Find(key.key) || !DefinedSomewhere(medium, key.key)) continue;
        missing.push_back(key.key + " (" + key.what + ", " + key.file + " line " + std::to_string(key.line) + ")");
    }
    if (missing.empty()) return;
    constexpr std::size_t kListed = 8;
    std::string list;
    for (std::size_t i = 0; i < missing.size() && i < kListed; ++i) list += (i ? ", " : "") + missing[i];
    if (missing.size() > kListed) list += " and " + std::to_string(missing.size() - kListed) + " more";
    report.Add({language.file, 0, Severity::Warning, "lang-missing-key",
                std::to_string(missing.size()) + (missing.size() == 1 ? " key is" : " keys are") + " missing, so " +
                    (missing.size() == 1 ? "its text is" : "their texts are") + " empty for " + Users(language) + ": " +
                    list + "."});
}

// Returns whether the file exists, so that its texts could be checked.
bool CheckLanguageFile(const Medium& medium, const std::vector<NeededKey>& needed, const LanguageFile& language,
                       Report& report) {
    if (language.path.empty()) {
        const bool chosen = language.forced || !language.locales.empty() || language.code == LanguageCodeFor(0);
        if (!chosen) return false;
        const bool everyone = language.forced || language.code == LanguageCodeFor(0);
        report.Add(
            {language.file, 0, everyone ? Severity::Error : Severity::Warning, "lang-missing",
             "There is no " + language.code + ".ini: " + Users(language) +
                 " get no interface texts at all (every caption and item is empty)." +
                 (language.forced ? "" : " A copy of another language file would at least show that language.")});
        return false;
    }
    if (auto found =
            CaseOnlyMatch(medium, "Language\\" + language.code + ".ini", language.file, 0, language.code + ".ini"))
        report.Add(std::move(*found));
    if (!language.scan.readable) {
        report.Add({language.file, 0, Severity::Error, "lang-unreadable",
                    "The file cannot be read: " + Users(language) + " get no texts."});
        return true;
    }
    CheckStructure(language, report);
    CheckValues(language, report);
    if (language.scan.rootLine == 0) return true;  // no texts at all: said once above
    CheckMissingKeys(medium, needed, language, report);
    if (!language.scan.truncated) CheckCapacities(medium, language, report);
    CheckAccessKeys(medium, language, report);
    return true;
}

void CheckKeysDefinedNowhere(const Medium& medium, const std::vector<NeededKey>& needed, Report& report) {
    std::set<std::string> reported;
    for (const NeededKey& key : needed) {
        if (DefinedSomewhere(medium, key.key) ||
            !reported.insert(key.file + '\0' + std::to_string(key.line) + key.key).second) {
            continue;
        }
        std::string message =
            "No language file defines " + Quoted(key.key) + ": the text of " + key.what + " is empty for every user.";
        if (!IsAscii(key.key) && platform::AnsiCodePage() != platform::kUtf8CodePage) {
            message += " The key holds characters outside ASCII; the launcher converts it to code page " +
                       std::to_string(platform::AnsiCodePage()) +
                       " before the lookup, so it cannot match a UTF-8 key: use ASCII keys.";
        }
        report.Add({key.file, key.line, Severity::Warning,
                    key.file == "conf.xml" ? "item-text-undefined" : "uicfg-key-undefined", message});
    }
}

// Files beside them that no user ever gets.
void CheckFilesNeverChosen(const Medium& medium, Report& report) {
    std::string picked;
    for (const LanguageFile& language : medium.languageFiles) {
        if (!language.forced) picked += (picked.empty() ? "" : ", ") + language.code;
    }
    const auto others = platform::FindMatches(medium.languageFolder + "\\*.ini", 256, platform::DotEntries::Skip);
    for (const auto& name : others) {
        const std::string code = name.size() > 4 ? name.substr(0, name.size() - 4) : name;
        const bool known =
            std::any_of(medium.languageFiles.begin(), medium.languageFiles.end(),
                        [&](const LanguageFile& l) { return platform::EqualIgnoringAsciiCase(l.code, code); });
        if (!known) {
            report.Add({"Language/" + name, 0, Severity::Note, "lang-never-chosen",
                        "No user ever gets this file: the launcher picks only " + picked + " (or a testLanguage)."});
        }
    }
}

}  // namespace

void CheckLanguageFiles(const Medium& medium, Report& report) {
    const std::vector<NeededKey> needed = NeededKeys(medium);
    bool anyFile = false;
    for (const LanguageFile& language : medium.languageFiles) {
        if (CheckLanguageFile(medium, needed, language, report)) anyFile = true;
    }
    if (!anyFile) return;
    CheckKeysDefinedNowhere(medium, needed, report);
    CheckFilesNeverChosen(medium, report);
}

}  // namespace checker
