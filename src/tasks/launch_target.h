#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "config/language_state.h"
#include "config/product_config.h"
#include "platform/message_box.h"
#include "platform/path.h"

class RunLog;

// Everything launch-rule resolution reads from the program; the main window builds one per
// call from the process-wide objects and a message box that it owns. Tests give their own
// folder, language and message box.
struct LaunchContext {
    platform::Path programFolder;        // ends in a separator; every rule is relative to it
    const LanguageState& languageState;  // szLanguage, szCountry of the user's locale
    // Shows the failure message; empty stands for the platform's box without an owner.
    MessageBoxFunction showMessage = platform::ShowMessageBox;
    // Where each candidate tried and the result are written; none: nowhere.
    const RunLog* log = nullptr;
};

// How "{language}" is spelled in a candidate, tried in this order.
enum class LanguageMode {
    LanguageAndCountry = 1,  // "de_DE"
    Language = 2,            // "de*"
    DefaultLanguage = 3,     // the item's defaultLanguage + "*", or "en*"
};

inline constexpr char kLanguageToken[] = "{language}";
inline constexpr char kLaunchFailureCaption[] = "Configuration exception";

// The language text is formed in a fixed buffer; longer texts (which neither the locale nor a
// sensible conf.xml produce) are cut to this many bytes.
inline constexpr std::size_t kMaxLanguageText = 99;

// The language text of one mode, at most kMaxLanguageText bytes.
std::string FormLanguageText(const LanguageState& languageState, const ConfigItem& item, LanguageMode mode);

// The item's rule with every "{language}" replaced, left to right, by the mode's language
// text; inserted text is not searched again. An item without a rule gives "".
std::string ExpandLanguageToken(const LaunchContext& context, const ConfigItem& item, LanguageMode mode);

// One folder search of a resolution: the pattern and the entries it returned, the one taken
// first. Only kept when a caller asks (see LaunchTrace); the launcher itself asks the
// platform for the first entry only.
struct RuleSearch {
    std::string pattern;
    std::vector<std::string> matches;  // at most kTracedMatches
};
using RuleSearchLog = std::vector<RuleSearch>;
inline constexpr std::size_t kTracedMatches = 16;

// Looks for the entry a candidate names under the program folder, replacing each wildcard
// component by the name the folder search returns first (never "." or ".."). True: `path`
// holds the full path of an existing file, or of any entry matched by a wildcard in the last
// component. False: nothing matched and `path` is unusable. Shows no message. With `searches`,
// every folder search made is appended to it.
bool FindRuleMatch(const LaunchContext& context, std::string candidate, platform::Path& path,
                   RuleSearchLog* searches = nullptr);

// How a resolution went, for tools that explain it.
struct LaunchTrace {
    std::optional<LanguageMode> mode;  // the mode that matched; none without the token or when nothing did
    std::string candidate;             // the candidate that matched
    RuleSearchLog searches;            // the folder searches of that candidate (of the last one tried on failure)
};

// Resolves the item's rule, trying the language variants in mode order when it holds
// "{language}". True: `path` holds the full path of an existing entry. False: the
// "Configuration exception" message has been shown (and closed) listing every candidate.
bool ResolveLaunchTarget(const LaunchContext& context, const ConfigItem& item, platform::Path& path,
                         LaunchTrace* trace = nullptr);

// The failure message's text: the rule, a blank line, the sentence, then the candidates
// (already joined by "\n") after a lone carriage return.
std::string FormatLaunchFailure(const std::string& rule, const std::string& candidates);

// The message, under the same caption and in the same form, when the rule resolved but the
// shell could not start the file because its path is too long: the file's full path instead of
// the candidates.
std::string FormatPathTooLong(const std::string& rule, const platform::Path& path);
