#include "checker/findings.h"

#include <algorithm>

namespace checker {

namespace {

// The order files are reported in: the configuration first, then the language files, the skin,
// then anything else.
int FileRank(const std::string& file) {
    if (file == "conf.xml") return 0;
    if (file == "Language/UICfg.xml") return 1;
    if (file.rfind("Language/", 0) == 0) return 2;
    if (file.rfind("ImageIcon/", 0) == 0) return 3;
    return 4;
}

}  // namespace

const char* SeverityName(Severity severity) {
    switch (severity) {
        case Severity::Error:
            return "error";
        case Severity::Warning:
            return "warning";
        case Severity::Note:
            break;
    }
    return "note";
}

void Report::Add(Finding finding) { findings_.push_back(std::move(finding)); }

void Report::AddForLocale(Finding finding, const std::string& locale) {
    const std::string identity = finding.file + '\0' + std::to_string(finding.line) + '\0' + finding.code + '\0' +
                                 finding.message + '\0' + finding.boxText.value_or("");
    if (const auto known = byIdentity_.find(identity); known != byIdentity_.end()) {
        findings_[known->second].locales.push_back(locale);
        return;
    }
    finding.locales = {locale};
    byIdentity_.emplace(identity, findings_.size());
    findings_.push_back(std::move(finding));
}

std::vector<Finding> Report::Sorted() const {
    std::vector<Finding> sorted = findings_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Finding& a, const Finding& b) {
        const int rankA = FileRank(a.file), rankB = FileRank(b.file);
        if (rankA != rankB) return rankA < rankB;
        if (a.file != b.file) return a.file < b.file;
        return a.line < b.line;
    });
    return sorted;
}

int Report::Count(Severity severity) const {
    return static_cast<int>(
        std::count_if(findings_.begin(), findings_.end(), [&](const Finding& f) { return f.severity == severity; }));
}

int Report::ExitStatus() const {
    if (Count(Severity::Error) > 0) return 2;
    if (Count(Severity::Warning) > 0) return 1;
    return 0;
}

}  // namespace checker
