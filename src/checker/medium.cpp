#include "checker/medium.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "platform/files.h"

namespace checker {

const LanguageFile* Medium::FileForCode(const std::string& code) const {
    for (const auto& file : languageFiles) {
        if (file.code == code) return &file;
    }
    return nullptr;
}

std::string ReportName(std::string relative) {
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return relative;
}

std::optional<Finding> CaseOnlyMatch(const Medium& medium, const std::string& relative, const std::string& file,
                                     int line, const std::string& what) {
    const auto stored = platform::StoredNames(medium.folder, relative);
    if (!stored) return std::nullopt;
    std::string asked, found;
    bool differs = false;
    std::size_t index = 0;
    std::size_t start = 0;
    while (start <= relative.size() && index < stored->size()) {
        std::size_t end = relative.find_first_of("\\/", start);
        if (end == std::string::npos) end = relative.size();
        const std::string component = relative.substr(start, end - start);
        start = end + 1;
        if (component.empty() || component == ".") continue;
        const std::string& name = (*stored)[index++];
        asked += (asked.empty() ? "" : "/") + component;
        found += (found.empty() ? "" : "/") + name;
        differs = differs || component != name;
    }
    if (!differs) return std::nullopt;
    return Finding{file, line, Severity::Note, "case-only-match",
                   what + " is found only because Windows ignores letter case: it is asked for as \"" + asked +
                       "\", the medium holds \"" + found + "\"."};
}

}  // namespace checker
