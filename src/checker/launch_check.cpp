// Launch rules: what each item resolves to for each user, found by the launcher's own resolution.
#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>
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

// What a resolution found, and what is true of the entry it found: the same for every user
// who gets that entry (and for every user at all when the rule has no "{language}").
struct Outcome {
    bool resolved = false;
    std::string path;
    LaunchTrace trace;
    std::string boxText;
    bool isFolder = false;
    std::optional<Finding> caseOnly;
};

void CheckOutcome(const Medium& medium, const ConfigItem& item, bool installs, const std::string& locale,
                  const Outcome& outcome, Report& report) {
    const std::string name = ItemName(item);
    if (!outcome.resolved) {
        std::string why = "no file matches its rule";
        const auto named = platform::ReadFileAttributes(medium.folder + item.open.value_or(""));
        if (named && (*named & platform::kAttributeDirectory) != 0) why = "its rule names a folder, not a file";
        Finding finding{kFile, item.line, Severity::Error, "launch-no-match",
                        "Item " + name + ": " + why + ", so the user sees the \"" + kLaunchFailureCaption +
                            "\" box and " + (installs ? "the installer is not run." : "the manual does not open.")};
        finding.boxText = outcome.boxText;
        report.AddForLocale(std::move(finding), locale);
        return;
    }
    const std::string relative = Relative(medium, outcome.path);
    if (outcome.isFolder) {
        Finding finding{kFile, item.line, Severity::Warning, "launch-folder",
                        "Item " + name + " resolves to the folder " + relative +
                            ": the launcher hands a folder to the shell, which opens it in a window instead of " +
                            (installs ? "installing anything." : "opening a manual.")};
        finding.path = relative;
        report.AddForLocale(std::move(finding), locale);
    }
    for (const RuleSearch& search : outcome.trace.searches) {
        if (search.matches.size() < 2) continue;
        const std::string count = search.matches.size() >= kTracedMatches ? std::to_string(kTracedMatches) + " or more"
                                                                          : std::to_string(search.matches.size());
        Finding finding{kFile, item.line, Severity::Warning, "launch-ambiguous",
                        "Item " + name + ": " + Relative(medium, search.pattern) + " matches " + count + " entries (" +
                            JoinNames(search.matches, 5) + "); the launcher takes the first the file system returns, " +
                            search.matches.front() + " here, and another file system may return another first."};
        finding.path = relative;
        report.AddForLocale(std::move(finding), locale);
    }
    if (outcome.caseOnly) report.AddForLocale(*outcome.caseOnly, locale);
}

// Whether an item's resolved entry is a folder, and the note when only letter case found it.
using EntryFacts = std::map<std::pair<const ConfigItem*, std::string>, std::pair<bool, std::optional<Finding>>>;

Outcome Resolve(const Medium& medium, const LaunchContext& context, const ConfigItem& item, std::string& boxText,
                EntryFacts& entries) {
    Outcome outcome;
    boxText.clear();
    outcome.resolved = ResolveLaunchTarget(context, item, outcome.path, &outcome.trace);
    outcome.boxText = boxText;
    if (!outcome.resolved) return outcome;
    auto known = entries.find({&item, outcome.path});
    if (known == entries.end()) {
        const auto attributes = platform::ReadFileAttributes(outcome.path);
        const bool isFolder = attributes && (*attributes & platform::kAttributeDirectory) != 0;
        auto caseOnly = CaseOnlyMatch(medium, outcome.path.substr(std::min(medium.folder.size(), outcome.path.size())),
                                      kFile, item.line, "The launch target of item " + ItemName(item));
        if (caseOnly) caseOnly->path = Relative(medium, outcome.path);
        known =
            entries.emplace(std::make_pair(&item, outcome.path), std::make_pair(isFolder, std::move(caseOnly))).first;
    }
    outcome.isFolder = known->second.first;
    outcome.caseOnly = known->second.second;
    return outcome;
}

}  // namespace

void CheckLaunchRules(const Medium& medium, const std::vector<std::string>& locales, Report& report) {
    if (!medium.configRead) return;
    EntryFacts entries;
    std::map<const ConfigItem*, Outcome> withoutToken;  // the same for every user
    for (const std::string& locale : locales) {
        const platform::LocaleNames names = platform::LookUpLocale(locale);
        LanguageState state(names.languageId, names.language, names.country);
        state.szIniTest = medium.configState.szIniTest;
        const std::string code = state.szIniTest ? *state.szIniTest : LanguageCodeFor(names.languageId);
        const LanguageFile* languageFile = medium.FileForCode(code);
        std::string boxText;
        const LaunchContext context{medium.folder, state, [&](const std::string& text, const std::string&, unsigned) {
                                        boxText = text;
                                        return 1;
                                    }};
        for (const bool installs : {true, false}) {
            const ConfigItemList& items = installs ? medium.config.installs : medium.config.manuals;
            for (std::size_t index = 0; index < items.size(); ++index) {
                const ConfigItem& item = *items[index];
                if (!item.open) continue;  // never resolved: the launcher skips such items
                const bool hasToken = item.open->find(kLanguageToken) != std::string::npos;
                const auto cached = withoutToken.find(&item);
                const Outcome outcome = !hasToken && cached != withoutToken.end()
                                            ? cached->second
                                            : Resolve(medium, context, item, boxText, entries);
                if (!hasToken && cached == withoutToken.end()) withoutToken.emplace(&item, outcome);

                Resolution resolution;
                resolution.list = installs ? "installs" : "manuals";
                resolution.index = static_cast<int>(index);
                resolution.line = item.line;
                resolution.strId = item.strId.value_or("");
                resolution.rule = *item.open;
                resolution.locale = locale;
                resolution.languageFile = code + ".ini";
                resolution.languageFileExists = languageFile && !languageFile->path.empty();
                if (outcome.resolved) {
                    if (outcome.trace.mode) resolution.mode = static_cast<int>(*outcome.trace.mode);
                    resolution.candidate = outcome.trace.candidate;
                    resolution.path = Relative(medium, outcome.path);
                    resolution.isFolder = outcome.isFolder;
                } else {
                    resolution.boxText = outcome.boxText;
                }
                report.resolutions.push_back(std::move(resolution));
                CheckOutcome(medium, item, installs, locale, outcome, report);
            }
        }
    }
}

}  // namespace checker
