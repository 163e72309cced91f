// Launch-rule resolution against real folders: language variants in mode order, wildcard
// folders, the failure message. Runs natively and under wine64.
#include "tasks/launch_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/test_paths.h"

namespace {

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned type;
};

// A language state with chosen locale names; the rest as the platform gave it.
LanguageState Locale(const std::string& language, const std::string& country) {
    LanguageState state;
    state.szLanguage = language;
    state.szCountry = country;
    return state;
}

ConfigItem Item(std::optional<std::string> rule, std::optional<std::string> defaultLanguage = std::nullopt) {
    return ConfigItem{
        .open = std::move(rule), .defaultLanguage = std::move(defaultLanguage), .strId = {}, .text = {}, .line = 0};
}

class Resolver {
public:
    Resolver(const std::string& folder, const LanguageState& state)
        : context_{folder, state, [this](const std::string& text, const std::string& caption, unsigned type) {
                       shown_.push_back({text, caption, type});
                       return 1;
                   }} {}
    Resolver(const Resolver&) = delete;  // the message recorder points at this object
    Resolver& operator=(const Resolver&) = delete;

    const LaunchContext& Context() const { return context_; }
    const std::vector<ShownMessage>& Shown() const { return shown_; }

private:
    LaunchContext context_;
    std::vector<ShownMessage> shown_;
};

std::string Message(const std::string& rule, const std::string& candidates) {
    return "Configuration item:\n" + rule + "\n\nNo file matching the following rule was found.\r" + candidates;
}

TEST(ExpandLanguageTokenTest, FormsEachModeAndReplacesEveryToken) {
    struct Case {
        const char* rule;
        const char* language;
        const char* country;
        std::optional<std::string> defaultLanguage;
        LanguageMode mode;
        const char* expected;
    };
    const Case cases[] = {
        {"Setup\\{language}\\setup.exe", "de", "DE", {}, LanguageMode::LanguageAndCountry, "Setup\\de_DE\\setup.exe"},
        {"Setup\\{language}\\setup.exe", "de", "DE", {}, LanguageMode::Language, "Setup\\de*\\setup.exe"},
        {"Setup\\{language}\\setup.exe", "de", "DE", {}, LanguageMode::DefaultLanguage, "Setup\\en*\\setup.exe"},
        {"Setup\\{language}\\setup.exe", "de", "DE", "fr", LanguageMode::DefaultLanguage, "Setup\\fr*\\setup.exe"},
        {"Setup\\{language}\\setup.exe", "de", "DE", "fr", LanguageMode::Language, "Setup\\de*\\setup.exe"},
        {"{language}\\Setup_{language}.exe",
         "zh",
         "CN",
         {},
         LanguageMode::LanguageAndCountry,
         "zh_CN\\Setup_zh_CN.exe"},
        {"{language}{language}", "ja", "JP", {}, LanguageMode::Language, "ja*ja*"},
        {"{Language}\\{language", "de", "DE", {}, LanguageMode::LanguageAndCountry, "{Language}\\{language"},
        {"{{language}}", "de", "DE", {}, LanguageMode::LanguageAndCountry, "{de_DE}"},
        {"{language}", "{language}", "", {}, LanguageMode::Language, "{language}*"},
        {"{language}", "", "", {}, LanguageMode::LanguageAndCountry, "_"},
        {"setup.exe", "de", "DE", {}, LanguageMode::LanguageAndCountry, "setup.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " mode " + std::to_string(static_cast<int>(c.mode)));
        const LanguageState state = Locale(c.language, c.country);
        const LaunchContext context{"", state};
        EXPECT_EQ(ExpandLanguageToken(context, Item(c.rule, c.defaultLanguage), c.mode), c.expected);
    }
}

TEST(ExpandLanguageTokenTest, BoundsOverLongLanguageTexts) {
    const std::string longName(500, 'x');
    const LanguageState state = Locale(longName, longName);
    const LaunchContext context{"", state};
    for (const auto mode : {LanguageMode::LanguageAndCountry, LanguageMode::Language, LanguageMode::DefaultLanguage}) {
        const std::string text = FormLanguageText(state, Item("{language}", longName), mode);
        EXPECT_EQ(text, std::string(kMaxLanguageText, 'x'));
        EXPECT_EQ(ExpandLanguageToken(context, Item("a{language}b{language}", longName), mode),
                  "a" + text + "b" + text);
    }
}

TEST(ExpandLanguageTokenTest, ManyTokensStayLinear) {
    const LanguageState state = Locale("de", "DE");
    const LaunchContext context{"", state};
    std::string rule;
    for (int i = 0; i < 20000; ++i) rule += "{language}\\";
    const std::string candidate = ExpandLanguageToken(context, Item(rule), LanguageMode::LanguageAndCountry);
    EXPECT_EQ(candidate.size(), 20000u * 6);
    EXPECT_EQ(candidate.substr(0, 12), "de_DE\\de_DE\\");
    EXPECT_EQ(ExpandLanguageToken(context, Item(std::nullopt), LanguageMode::Language), "");
}

struct ResolveCase {
    const char* name;
    std::vector<std::string> tree;  // entries ending in a backslash are folders
    const char* language;
    const char* country;
    std::optional<std::string> defaultLanguage;
    const char* rule;
    std::optional<std::string> resolved;  // relative to the program folder; none: it fails
    const char* candidates;               // the failure message's candidate lines
};

const ResolveCase kResolveCases[] = {
    {"exact language folder wins",
     {"Setup\\de_DE\\setup.exe", "Setup\\de-at\\setup.exe"},
     "de",
     "DE",
     {},
     "Setup\\{language}\\setup.exe",
     "Setup\\de_DE\\setup.exe",
     ""},
    {"language only, stored name",
     {"Setup\\De-AT\\setup.exe", "Setup\\en-us\\setup.exe"},
     "de",
     "DE",
     {},
     "Setup\\{language}\\setup.exe",
     "Setup\\De-AT\\setup.exe",
     ""},
    {"english last",
     {"Setup\\en-gb\\setup.exe"},
     "ja",
     "JP",
     {},
     "Setup\\{language}\\setup.exe",
     "Setup\\en-gb\\setup.exe",
     ""},
    {"default language replaces english",
     {"Setup\\en-us\\setup.exe", "Setup\\fr-fr\\setup.exe"},
     "ja",
     "JP",
     "fr",
     "Setup\\{language}\\setup.exe",
     "Setup\\fr-fr\\setup.exe",
     ""},
    {"english never tried with a default",
     {"Setup\\en-us\\setup.exe"},
     "ja",
     "JP",
     "fr",
     "Setup\\{language}\\setup.exe",
     {},
     "Setup\\ja_JP\\setup.exe\nSetup\\ja*\\setup.exe\nSetup\\fr*\\setup.exe"},
    {"token twice",
     {"de_DE\\Setup_de_DE.exe", "de-at\\Setup_de.exe"},
     "de",
     "DE",
     {},
     "{language}\\Setup_{language}.exe",
     "de_DE\\Setup_de_DE.exe",
     ""},
    {"token twice, language only",
     {"de-at\\Setup_de-at.exe"},
     "de",
     "DE",
     {},
     "{language}\\Setup_{language}.exe",
     "de-at\\Setup_de-at.exe",
     ""},
    {"nothing for any language",
     {"Setup\\readme.txt"},
     "de",
     "DE",
     {},
     "Setup\\{language}\\setup.exe",
     {},
     "Setup\\de_DE\\setup.exe\nSetup\\de*\\setup.exe\nSetup\\en*\\setup.exe"},
    {"plain file", {"Tools\\run.exe"}, "de", "DE", {}, "Tools\\run.exe", "Tools\\run.exe", ""},
    {"plain file in other case keeps the rule's spelling",
     {"Tools\\Run.EXE"},
     "de",
     "DE",
     {},
     "tools\\run.exe",
     "tools\\run.exe",
     ""},
    {"existing folder is no file", {"Drivers\\readme.txt"}, "de", "DE", {}, "Drivers", {}, "Drivers"},
    {"missing file", {"Drivers\\readme.txt"}, "de", "DE", {}, "Drivers\\setup.exe", {}, "Drivers\\setup.exe"},
    {"last component wildcard",
     {"Drivers\\tool.exe", "Drivers\\notes.txt"},
     "de",
     "DE",
     {},
     "Drivers\\*.exe",
     "Drivers\\tool.exe",
     ""},
    {"last component wildcard gives stored name",
     {"Tools\\Setup.EXE"},
     "de",
     "DE",
     {},
     "tools\\SETUP.*",
     "tools\\Setup.EXE",
     ""},
    {"last component wildcard matches a folder", {"Docs\\Manual\\"}, "de", "DE", {}, "Docs\\Man*", "Docs\\Manual", ""},
    {"last component bare wildcard skips dots", {"Docs\\guide.pdf"}, "de", "DE", {}, "Docs\\*", "Docs\\guide.pdf", ""},
    {"last component wildcard in an empty folder", {"Docs\\"}, "de", "DE", {}, "Docs\\*", {}, "Docs\\*"},
    {"bare wildcard folder skips dots",
     {"Setup\\v2\\setup.exe"},
     "de",
     "DE",
     {},
     "Setup\\*\\setup.exe",
     "Setup\\v2\\setup.exe",
     ""},
    {"question mark folder",
     {"Setup\\v2\\setup.exe"},
     "de",
     "DE",
     {},
     "Setup\\V?\\setup.exe",
     "Setup\\v2\\setup.exe",
     ""},
    {"wildcard folder whose first match is a file",
     {"Setup\\a.txt"},
     "de",
     "DE",
     {},
     "Setup\\*\\setup.exe",
     {},
     "Setup\\*\\setup.exe"},
    {"wildcard folder matching nothing",
     {"Setup\\v2\\setup.exe"},
     "de",
     "DE",
     {},
     "Nope*\\*\\setup.exe",
     {},
     "Nope*\\*\\setup.exe"},
    {"wildcard folder then folder as last", {"Pkg\\Sub\\"}, "de", "DE", {}, "P*\\Sub", "Pkg\\Sub", ""},
    {"several wildcard folders", {"Pkg\\Sub\\run.exe"}, "de", "DE", {}, "*\\S?b\\*.exe", "Pkg\\Sub\\run.exe", ""},
    {"wildcard root", {"run.exe"}, "de", "DE", {}, "*.exe", "run.exe", ""},
    {"brackets are literal", {"x[1]\\run.exe", "x1\\run.exe"}, "de", "DE", {}, "x[?]\\run.exe", "x[1]\\run.exe", ""},
};

TEST(ResolveLaunchTargetTest, ResolvesOrExplains) {
    for (const auto& c : kResolveCases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        for (const auto& entry : c.tree) {
            if (entry.back() == '\\') {
                folder.MakeFolder(entry);
            } else {
                folder.Write(entry, "x");
            }
        }
        const LanguageState state = Locale(c.language, c.country);
        Resolver resolver(folder.Path(), state);
        std::string path;
        const bool resolved = ResolveLaunchTarget(resolver.Context(), Item(c.rule, c.defaultLanguage), path);
        ASSERT_EQ(resolved, c.resolved.has_value());
        if (resolved) {
            EXPECT_EQ(path, folder.Path() + *c.resolved);
            EXPECT_TRUE(platform::FileExists(path));
            EXPECT_TRUE(resolver.Shown().empty());
        } else {
            ASSERT_EQ(resolver.Shown().size(), 1u);
            const auto& shown = resolver.Shown().front();
            EXPECT_EQ(shown.text, Message(c.rule, c.candidates));
            EXPECT_EQ(shown.caption, "Configuration exception");
            EXPECT_EQ(shown.type, 0u);
        }
    }
}

TEST(ResolveLaunchTargetTest, MessageListsOneLinePerCandidate) {
    test::TempFolder folder;
    const LanguageState state = Locale("de", "DE");
    Resolver resolver(folder.Path(), state);
    std::string path;
    EXPECT_FALSE(ResolveLaunchTarget(resolver.Context(), Item("{language}\\a.exe"), path));
    EXPECT_FALSE(ResolveLaunchTarget(resolver.Context(), Item("Drivers\\a.exe"), path));
    ASSERT_EQ(resolver.Shown().size(), 2u);
    const auto candidateLines = [](const std::string& text) {
        const std::string list = text.substr(text.find('\r') + 1);
        return std::count(list.begin(), list.end(), '\n') + 1;
    };
    EXPECT_EQ(candidateLines(resolver.Shown()[0].text), 3);
    EXPECT_EQ(candidateLines(resolver.Shown()[1].text), 1);
    EXPECT_EQ(resolver.Shown()[1].text.back(), 'e');  // no line break after the last candidate
}

TEST(FindRuleMatchTest, ShowsNothingAndStaysBounded) {
    test::TempFolder folder;
    folder.Write("a\\a\\a.exe", "x");
    const LanguageState state = Locale("de", "DE");
    Resolver resolver(folder.Path(), state);
    std::string path;
    EXPECT_FALSE(FindRuleMatch(resolver.Context(), "missing.exe", path));
    EXPECT_TRUE(FindRuleMatch(resolver.Context(), "*\\*\\*.exe", path));
    EXPECT_EQ(path, folder.Path() + "a\\a\\a.exe");

    // Long rules made of wildcards and parent steps, far beyond the classic path limit: one
    // search per component and no match (Wine takes seconds per thousand such searches).
    std::string longRule;
    for (int i = 0; i < 1000; ++i) longRule += "*\\..\\";
    EXPECT_FALSE(FindRuleMatch(resolver.Context(), longRule + "*?*?.exe", path));
    EXPECT_FALSE(FindRuleMatch(resolver.Context(), std::string(100000, '*'), path));
    EXPECT_TRUE(resolver.Shown().empty());
}

TEST(ResolveLaunchTargetTest, TraceTellsTheWinningCandidateAndItsSearches) {
    struct Search {
        std::string pattern;            // relative to the program folder
        std::set<std::string> matches;  // in whatever order the platform returns them
    };
    struct Case {
        const char* name;
        std::vector<std::string> tree;
        const char* rule;
        std::optional<LanguageMode> mode;
        const char* candidate;  // "": nothing matched
        std::vector<Search> searches;
    };
    const Case cases[] = {
        {"exact language, no search",
         {"Setup\\de_DE\\setup.exe"},
         "Setup\\{language}\\setup.exe",
         LanguageMode::LanguageAndCountry,
         "Setup\\de_DE\\setup.exe",
         {}},
        {"language folders to choose from",
         {"Setup\\de-at\\setup.exe", "Setup\\de-ch\\setup.exe"},
         "Setup\\{language}\\setup.exe",
         LanguageMode::Language,
         "Setup\\de*\\setup.exe",
         {{"Setup\\de*", {"de-at", "de-ch"}}, {"Setup\\de-?\\setup.exe", {"setup.exe"}}}},
        {"english last",
         {"Setup\\en-us\\setup.exe"},
         "Setup\\{language}\\setup.exe",
         LanguageMode::DefaultLanguage,
         "Setup\\en*\\setup.exe",
         {{"Setup\\en*", {"en-us"}}, {"Setup\\en-us\\setup.exe", {"setup.exe"}}}},
        {"no token",
         {"Tools\\a.exe", "Tools\\b.exe", "Tools\\c.txt"},
         "Tools\\*.exe",
         std::nullopt,
         "Tools\\*.exe",
         {{"Tools\\*.exe", {"a.exe", "b.exe"}}}},
        {"nothing", {"Tools\\c.txt"}, "Tools\\*.exe", std::nullopt, "", {{"Tools\\*.exe", {}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        for (const auto& file : c.tree) folder.Write(file, "x");
        const LanguageState state = Locale("de", "DE");
        Resolver resolver(folder.Path(), state);
        std::string traced, plain;
        LaunchTrace trace;
        const bool resolved = ResolveLaunchTarget(resolver.Context(), Item(c.rule), traced, &trace);
        EXPECT_EQ(ResolveLaunchTarget(resolver.Context(), Item(c.rule), plain), resolved);
        ASSERT_EQ(resolved, *c.candidate != '\0');
        EXPECT_EQ(trace.mode, resolved ? c.mode : std::nullopt);
        if (!resolved) continue;
        EXPECT_EQ(traced, plain);
        EXPECT_EQ(trace.candidate, c.candidate);
        ASSERT_EQ(trace.searches.size(), c.searches.size());
        for (std::size_t i = 0; i < c.searches.size(); ++i) {
            const RuleSearch& search = trace.searches[i];
            const std::string& expected = c.searches[i].pattern;
            // The folder names the earlier searches put in are as the platform returned them.
            if (expected.find('?') == std::string::npos) {
                EXPECT_EQ(search.pattern, folder.Path() + expected);
            }
            EXPECT_EQ(std::set<std::string>(search.matches.begin(), search.matches.end()), c.searches[i].matches);
        }
        if (!trace.searches.empty() && !trace.searches.front().matches.empty()) {
            EXPECT_NE(traced.find(trace.searches.front().matches.front()), std::string::npos);
        }
    }
}

}  // namespace
