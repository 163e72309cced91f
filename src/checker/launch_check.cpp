// Launch rules: what each item resolves to for each user, found by the launcher's own resolution.
#include <string>
#include <vector>

#include "checker/medium.h"
#include "config/language_file.h"
#include "platform/files.h"
#include "platform/known_locales.h"
#include "tasks/launch_target.h"

namespace checker {

namespace {

constexpr char kFile[] = "conf.xml";

std::string Relative(const Medium& medium, const std::string& path) {
    if (path.compare(0, medium.folder.size(), medium.folder) == 0) return ReportName(path.substr(medium.folder.size()));
    return ReportName(path);
}

std::string ItemName(const ConfigItem& item) { return item.strId && !item.strId->empty() ? *item.strId : "(no strId)"; }

std::string JoinNames(const std::vector<std::string>& names, std::size_t limit) {
    std::string joined;
    for (std::size_t i = 0; i < names.size() && i < limit; ++i) joined += (i ? ", " : "") + names[i];
    if (names.size() > limit) joined += ", ...";
    return joined;
}

void CheckResolution(const Medium& medium, const ConfigItem& item, bool installs, const std::string& locale,
                     bool resolved, const std::string& path, const LaunchTrace& trace, const std::string& boxText,
                     Report& report) {
    const std::string name = ItemName(item);
    if (!resolved) {
        std::string why = "no file matches its rule";
        const auto named = platform::ReadFileAttributes(medium.folder + item.open.value_or(""));
        if (named && (*named & platform::kAttributeDirectory) != 0) why = "its rule names a folder, not a file";
        Finding finding{kFile, item.line, Severity::Error, "launch-no-match",
                        "Item " + name + ": " + why + ", so the user sees the \"" + kLaunchFailureCaption +
                            "\" box and " + (installs ? "the installer is not run." : "the manual does not open.")};
        finding.boxText = boxText;
        report.AddForLocale(std::move(finding), locale);
        return;
    }
    const std::string relative = Relative(medium, path);
    const auto attributes = platform::ReadFileAttributes(path);
    if (attributes && (*attributes & platform::kAttributeDirectory) != 0) {
        Finding finding{kFile, item.line, Severity::Warning, "launch-folder",
                        "Item " + name + " resolves to the folder " + relative +
                            ": the launcher hands a folder to the shell, which opens it in a window instead of " +
                            (installs ? "installing anything." : "opening a manual.")};
        finding.path = relative;
        report.AddForLocale(std::move(finding), locale);
    }
    for (const RuleSearch& search : trace.searches) {
        if (search.matches.size() < 2) continue;
        const std::string count =
            search.matches.size() >= kTracedMatches ? std::to_string(kTracedMatches) + " or more" : std::to_string(search.matches.size());
        Finding finding{kFile, item.line, Severity::Warning, "launch-ambiguous",
                        "Item " + name + ": " + Relative(medium, search.pattern) + " matches " + count + " entries (" +
                            JoinNames(search.matches, 5) + "); the launcher takes the first the file system returns, " +
                            search.matches.front() + " here, and another file system may return another first."};
        finding.path = relative;
        report.AddForLocale(std::move(finding), locale);
    }
    const std::string rest = path.compare(0, medium.folder.size(), medium.folder) == 0 ? path.substr(medium.folder.size()) : path;
    if (auto found = CaseOnlyMatch(medium, rest, kFile, item.line, "The launch target of item " + name)) {
        found->path = relative;
        report.AddForLocale(std::move(*found), locale);
    }
}

}  // namespace

void CheckLaunchRules(const Medium& medium, const std::vector<std::string>& locales, Report& report) {
    if (!medium.configRead) return;
    for (const std::string& locale : locales) {
        const platform::LocaleNames names = platform::LookUpLocale(locale);
        LanguageState state(names.languageId, names.language, names.country);
        state.szIniTest = medium.configState.szIniTest;
        const std::string code = state.szIniTest ? *state.szIniTest : LanguageCodeFor(names.languageId);
        const LanguageFile* languageFile = medium.FileForCode(code);
        std::string boxText;
        const LaunchContext context{medium.folder, state, nullptr,
                                    [&](void*, const std::string& text, const std::string&, unsigned) {
                                        boxText = text;
                                        return 1;
                                    }};
        for (const bool installs : {true, false}) {
            const ConfigItemList& items = installs ? medium.config.installs : medium.config.manuals;
            for (std::size_t index = 0; index < items.size(); ++index) {
                const ConfigItem& item = *items[index];
                if (!item.open) continue;  // never resolved: the launcher skips such items
                boxText.clear();
                std::string path;
                LaunchTrace trace;
                const bool resolved = ResolveLaunchTarget(context, item, path, &trace);

                Resolution resolution;
                resolution.list = installs ? "installs" : "manuals";
                resolution.index = static_cast<int>(index);
                resolution.line = item.line;
                resolution.strId = item.strId.value_or("");
                resolution.rule = *item.open;
                resolution.locale = locale;
                resolution.languageFile = code + ".ini";
                resolution.languageFileExists = languageFile && !languageFile->path.empty();
                if (resolved) {
                    if (trace.mode) resolution.mode = static_cast<int>(*trace.mode);
                    resolution.candidate = trace.candidate;
                    resolution.path = Relative(medium, path);
                    const auto attributes = platform::ReadFileAttributes(path);
                    resolution.isFolder = attributes && (*attributes & platform::kAttributeDirectory) != 0;
                } else {
                    resolution.boxText = boxText;
                }
                report.resolutions.push_back(resolution);
                CheckResolution(medium, item, installs, locale, resolved, path, trace, boxText, report);
            }
        }
    }
}

}  // namespace checker
