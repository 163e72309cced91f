// Language/UICfg.xml: which language-file key fills which interface text.
#include <string>
#include <utility>

#include "checker/medium.h"
#include "checker/xml_support.h"
#include "config/xml_document.h"
#include "platform/files.h"

namespace checker {

namespace {

constexpr char kFile[] = "Language/UICfg.xml";
constexpr char kConsequence[] = "every interface text is empty for every user";

}  // namespace

std::string EntryName(int entry) {
    return "entry " + std::to_string(entry) + " (slot " + std::to_string(UiSlotOfEntry(entry)) + ")";
}

void CheckUiConfig(Medium& medium, Report& report) {
    const std::string relative = "Language\\UICfg.xml";
    const std::string path = medium.Path(relative);
    if (!platform::FileExists(path)) {
        report.Add({kFile, 0, Severity::Error, "uicfg-missing",
                    std::string("There is no Language/UICfg.xml: ") + kConsequence + "."});
        return;
    }
    if (auto found = CaseOnlyMatch(medium, relative, kFile, 0, "UICfg.xml")) report.Add(std::move(*found));
    XmlDocument document;
    if (!LoadXmlForChecks(path, kFile, kConsequence, document, report)) return;
    ReadUiEntries(document, medium.uiEntries, &medium.uiSources);
    medium.uiEntriesRead = true;

    const auto& entries = medium.uiEntries;
    const int count = static_cast<int>(entries.size());
    if (count < kUiEntryCount) {
        report.Add({kFile, document.RootElement()->GetLineNum(), Severity::Warning, "uicfg-few-entries",
                    "There are " + std::to_string(count) + " entries; the interface has " +
                        std::to_string(kUiEntryCount) + ": the texts of entries " + std::to_string(count) + " to " +
                        std::to_string(kUiEntryCount - 1) + " stay empty."});
    } else if (count > kUiEntryCount) {
        report.Add({kFile, medium.uiSources[kUiEntryCount].line, Severity::Note, "uicfg-extra-entries",
                    "Entries from here on (" + std::to_string(count - kUiEntryCount) +
                        ") are ignored: the launcher reads the first " + std::to_string(kUiEntryCount) + "."});
    }
    for (int entry = 0; entry < count && entry < kUiEntryCount; ++entry) {
        const UiEntry& ui = entries[static_cast<std::size_t>(entry)];
        const UiEntrySource& source = medium.uiSources[static_cast<std::size_t>(entry)];
        if (source.attributeCount < 2) {
            report.Add({kFile, source.line, Severity::Note, "uicfg-few-attributes",
                        EntryName(entry) + " has " + std::to_string(source.attributeCount) +
                            " attributes; the two numbers kept with the text read as 0 where missing."});
        }
        if (ui.key.empty()) {
            report.Add({kFile, source.line, Severity::Warning, "uicfg-empty-key",
                        EntryName(entry) + " has no key: that interface text stays empty."});
        }
    }
}

}  // namespace checker
