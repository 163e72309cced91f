#include "checker/checker.h"

#include "checker/medium.h"

namespace checker {

Report CheckMedium(const std::string& folder, const std::vector<std::string>& locales) {
    Medium medium;
    medium.folder = folder;
    // As the launcher's program folder: ending in a backslash, which the seam reads on every platform.
    if (!medium.folder.empty() && medium.folder.back() != '\\' && medium.folder.back() != '/') medium.folder += '\\';
    medium.languageFolder = medium.folder + "Language";
    Report report;
    report.locales = locales;
    CheckProductConfig(medium, report);
    CheckUiConfig(medium, report);
    FindLanguageFiles(medium);
    CheckLanguageFiles(medium, report);
    CheckLaunchRules(medium, locales, report);
    CheckSkin(medium, report);
    for (const auto& language : medium.languageFiles) {
        report.languages.push_back(
            {language.file, language.code, !language.path.empty(), language.forced, language.locales});
    }
    return report;
}

}  // namespace checker
