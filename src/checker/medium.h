#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "checker/findings.h"
#include "checker/language_scan.h"
#include "config/language_state.h"
#include "config/product_config.h"
#include "config/ui_text_table.h"

// What the checks learn about one medium and hand on to each other.
namespace checker {

// One language file the selection can pick.
struct LanguageFile {
    std::string code;                  // "de-de", or a forced testLanguage code
    std::string file;                  // as reported: "Language/de-de.ini"
    std::string path;                  // what SelectLanguageFile gives; empty when the file is missing
    std::vector<std::string> locales;  // the known locales whose users get it
    bool forced = false;               // the testLanguage of conf.xml
    LanguageScan scan;
};

struct Medium {
    std::string folder;  // the program folder: ends in a separator
    std::string languageFolder;

    bool configRead = false;  // conf.xml was read (perhaps after fixing its quotes)
    ProductConfig config;
    LanguageState configState{0x0409, "en", "US"};  // szIniTest and debug as conf.xml leaves them

    bool uiEntriesRead = false;
    std::vector<UiEntry> uiEntries;
    std::vector<UiEntrySource> uiSources;

    std::vector<LanguageFile> languageFiles;  // every code the table yields, then a forced one

    std::string Path(const std::string& relative) const { return folder + relative; }
    const LanguageFile* FileForCode(const std::string& code) const;
};

// "entry 35 (slot 36)": a UICfg.xml entry and the interface text it fills.
std::string EntryName(int entry);

// Report names use '/' whatever the platform.
std::string ReportName(std::string relative);

// Each check adds its findings; they run in this order, each reading what the earlier left.
void CheckProductConfig(Medium& medium, Report& report);
void CheckUiConfig(Medium& medium, Report& report);
void FindLanguageFiles(Medium& medium);
void CheckLanguageFiles(const Medium& medium, Report& report);
void CheckLaunchRules(const Medium& medium, const std::vector<std::string>& locales, Report& report);
void CheckSkin(const Medium& medium, Report& report);

// A note when the entries `relative` names are stored with other letter case than asked for;
// nothing when they are not (or do not exist).
std::optional<Finding> CaseOnlyMatch(const Medium& medium, const std::string& relative, const std::string& file,
                                     int line, const std::string& what);

}  // namespace checker
