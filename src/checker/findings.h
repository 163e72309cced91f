#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// What the checker found: one record per problem, grouped by file when reported.
namespace checker {

enum class Severity { Note, Warning, Error };

const char* SeverityName(Severity severity);

struct Finding {
    Finding() = default;
    Finding(std::string file, int line, Severity severity, std::string code, std::string message)
        : file(std::move(file)), line(line), severity(severity), code(std::move(code)), message(std::move(message)) {}

    std::string file;  // relative to the medium, '/' between components ("conf.xml", "Language/de-de.ini")
    int line = 0;      // 0: the file as a whole
    Severity severity = Severity::Note;
    std::string code;     // stable identifier of the kind of finding
    std::string message;  // one or two sentences, UTF-8
    // Launch rules only: the users concerned and what they get.
    std::vector<std::string> locales;
    std::string path;                    // the entry the rule resolved to, relative to the medium
    std::optional<std::string> boxText;  // the exact text of the "Configuration exception" box
};

// How one item's launch rule resolves for one user.
struct Resolution {
    std::string list;  // "installs" or "manuals"
    int index = 0;     // row in that list, from 0
    int line = 0;      // the item's line in conf.xml
    std::string strId;
    std::string rule;
    std::string locale;        // "de_DE"
    std::string languageFile;  // e.g. "de-de.ini"
    bool languageFileExists = false;
    std::optional<int> mode;  // none: a rule without the token, or nothing matched
    std::string candidate;    // the candidate that matched
    std::string path;         // relative to the medium; empty when nothing matched
    bool isFolder = false;
    std::optional<std::string> boxText;
};

// One language file the selection can pick, and who gets it.
struct LanguageChoice {
    std::string file;  // "Language/de-de.ini"
    std::string code;
    bool exists = false;
    bool forced = false;
    std::vector<std::string> locales;
};

// Everything one run found.
class Report {
public:
    void Add(Finding finding);
    // Adds `locale` to a finding already made for the same file, line, code and message, or
    // adds the finding (with that one locale) when there is none: one record per problem, with
    // every user it hits.
    void AddForLocale(Finding finding, const std::string& locale);

    const std::vector<Finding>& Findings() const { return findings_; }
    // Sorted by file (conf.xml, Language/UICfg.xml, the language files, the skin, the rest),
    // then line, then the order found.
    std::vector<Finding> Sorted() const;

    std::vector<Resolution> resolutions;
    std::vector<std::string> locales;  // the locales checked, in order
    std::vector<LanguageChoice> languages;

    int Count(Severity severity) const;
    // 0 clean (notes at most), 1 warnings, 2 errors.
    int ExitStatus() const;

private:
    std::vector<Finding> findings_;
    std::map<std::string, std::size_t> byIdentity_;
};

}  // namespace checker
