#include "tasks/launch_target.h"

#include "log/log_events.h"
#include "platform/files.h"
#include "platform/message_box.h"

namespace {

// Rules use backslashes only; a POSIX program folder ends in a slash, and Windows takes a
// slash as a separator too, so both count.
constexpr char kSeparators[] = "\\/";
constexpr char kWildcards[] = "*?";
constexpr std::size_t kTokenLength = sizeof(kLanguageToken) - 1;

bool HasToken(const std::string& rule) { return rule.find(kLanguageToken) != std::string::npos; }

// The entry the launcher takes for a search pattern: the first real one the platform returns.
std::optional<std::string> FirstEntry(const std::string& pattern, RuleSearchLog* searches) {
    if (!searches) return platform::FindFirstMatch(pattern, platform::DotEntries::Skip);
    RuleSearch search{pattern, platform::FindMatches(pattern, kTracedMatches, platform::DotEntries::Skip)};
    std::optional<std::string> first;
    if (!search.matches.empty()) first = search.matches.front();
    searches->push_back(std::move(search));
    return first;
}

// The form of both messages: the rule, a blank line, the sentence, then after a lone carriage
// return what the sentence speaks of.
std::string FormatLaunchBox(const std::string& rule, const char* sentence, const std::string& what) {
    return "Configuration item:\n" + rule + "\n\n" + sentence + "\r" + what;
}

void ShowLaunchFailure(const LaunchContext& context, const std::string& rule, const std::string& candidates) {
    if (context.log) LogRuleMatchedNothing(*context.log, rule);
    const std::string text = FormatLaunchFailure(rule, candidates);
    platform::ShowMessageWith(context.showMessage, text, kLaunchFailureCaption, 0);
}

}  // namespace

std::string FormLanguageText(const LanguageState& languageState, const ConfigItem& item, LanguageMode mode) {
    // Each part up to its first NUL, as printf's "%s" took it; printf itself would bring MinGW's
    // printf engine into Setup.exe.
    std::string text;
    switch (mode) {
        case LanguageMode::LanguageAndCountry:
            text = std::string(languageState.szLanguage.c_str()) + '_' + languageState.szCountry.c_str();
            break;
        case LanguageMode::Language:
            text = std::string(languageState.szLanguage.c_str()) + '*';
            break;
        case LanguageMode::DefaultLanguage:
            text = std::string(item.defaultLanguage ? item.defaultLanguage->c_str() : "en") + '*';
            break;
    }
    if (text.size() > kMaxLanguageText) text.resize(kMaxLanguageText);
    return text;
}

std::string ExpandLanguageToken(const LaunchContext& context, const ConfigItem& item, LanguageMode mode) {
    if (!item.open) return {};
    const std::string& rule = *item.open;
    const std::string languageText = FormLanguageText(context.languageState, item, mode);
    std::string candidate;
    candidate.reserve(rule.size());
    std::size_t from = 0;
    for (std::size_t at = rule.find(kLanguageToken); at != std::string::npos; at = rule.find(kLanguageToken, from)) {
        candidate.append(rule, from, at - from);
        candidate += languageText;
        from = at + kTokenLength;
    }
    candidate.append(rule, from, std::string::npos);
    return candidate;
}

bool FindRuleMatch(const LaunchContext& context, std::string candidate, platform::Path& path, RuleSearchLog* searches) {
    path = context.programFolder + candidate;
    std::size_t wildcard = path.find_first_of(kWildcards);
    if (wildcard == std::string::npos) {
        const auto attributes = platform::ReadFileAttributes(path);
        return attributes && (*attributes & platform::kAttributeDirectory) == 0;
    }

    std::size_t lastSeparator = path.find_last_of(kSeparators);
    while (wildcard != std::string::npos && lastSeparator != std::string::npos && wildcard < lastSeparator) {
        const std::size_t separatorBefore = path.find_last_of(kSeparators, wildcard);
        const std::size_t componentStart = separatorBefore == std::string::npos ? 0 : separatorBefore + 1;
        const std::size_t componentEnd = path.find_first_of(kSeparators, wildcard);
        // "." and ".." come first from a bare "*" on Windows and would leave the rule pointing
        // back up the tree, so a folder component takes the first real entry.
        const auto name = FirstEntry(path.substr(0, componentEnd), searches);
        if (!name) return false;
        path.replace(componentStart, componentEnd - componentStart, *name);
        const std::size_t nameEnd = componentStart + name->size();
        lastSeparator = lastSeparator - componentEnd + nameEnd;
        // The returned name is taken literally: the next wildcard is looked for after it.
        wildcard = path.find_first_of(kWildcards, nameEnd);
    }
    // The last component, wildcard or not: the search returns the entry as stored, file or folder.
    const auto name = FirstEntry(path, searches);
    if (!name) return false;
    const std::size_t folderEnd = lastSeparator == std::string::npos ? 0 : lastSeparator + 1;
    path.replace(folderEnd, std::string::npos, *name);
    return true;
}

bool ResolveLaunchTarget(const LaunchContext& context, const ConfigItem& item, platform::Path& path,
                         LaunchTrace* trace) {
    const auto tryCandidate = [&](const std::string& candidate, std::optional<LanguageMode> mode) {
        if (trace) trace->searches.clear();
        const bool found = FindRuleMatch(context, candidate, path, trace ? &trace->searches : nullptr);
        if (context.log) LogCandidate(*context.log, mode, candidate, found ? &path : nullptr);
        if (found && trace) {
            trace->mode = mode;
            trace->candidate = candidate;
        }
        return found;
    };
    const std::string rule = item.open.value_or(std::string());
    if (!HasToken(rule)) {
        if (tryCandidate(rule, std::nullopt)) return true;
        ShowLaunchFailure(context, rule, rule);
        return false;
    }
    std::string candidates;
    for (const LanguageMode mode :
         {LanguageMode::LanguageAndCountry, LanguageMode::Language, LanguageMode::DefaultLanguage}) {
        const std::string candidate = ExpandLanguageToken(context, item, mode);
        if (tryCandidate(candidate, mode)) return true;
        if (mode != LanguageMode::LanguageAndCountry) candidates += '\n';
        candidates += candidate;
    }
    ShowLaunchFailure(context, rule, candidates);
    return false;
}

std::string FormatLaunchFailure(const std::string& rule, const std::string& candidates) {
    return FormatLaunchBox(rule, "No file matching the following rule was found.", candidates);
}

std::string FormatPathTooLong(const std::string& rule, const platform::Path& path) {
    return FormatLaunchBox(rule, "The following file was found, but its path is too long for Windows to start it.",
                           path);
}
