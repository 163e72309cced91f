// setup-check's command line.
#include <algorithm>
#include <string>
#include <vector>

#include "checker/checker.h"
#include "checker/reports.h"
#include "platform/files.h"
#include "platform/known_locales.h"
#include "platform/text.h"

namespace checker {

namespace {

constexpr int kCannotRun = 3;

constexpr char kUsage[] =
    "usage: setup-check [--json] [--no-color] [--codepage N] [--locale xx_YY] MEDIUM_FOLDER\n"
    "Checks an installation medium as the launcher reads it, for the users of each typical locale.\n"
    "  --json          the report as JSON (see docs/setup-check.md)\n"
    "  --no-color      no terminal colours\n"
    "  --codepage N    the ANSI code page of UICfg.xml's keys and of conf.xml texts that are\n"
    "                  not UTF-8 (default 1252)\n"
    "  --locale xx_YY  check one locale only\n"
    "Exit status: 0 clean, 1 warnings only, 2 errors, 3 the check could not run.\n";

struct Options {
    bool json = false;
    bool colour = true;
    std::optional<unsigned> codePage;
    std::optional<std::string> locale;
    std::string medium;
};

bool ParseCodePage(const std::string& text, unsigned& codePage) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    const unsigned long value = std::stoul(text);
    if (value == 0 || value > 65535) return false;
    codePage = static_cast<unsigned>(value);
    return true;
}

// Nothing when the options are fine; otherwise what is wrong with them.
std::optional<std::string> ParseOptions(const std::vector<std::string>& arguments, Options& options) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--json") {
            options.json = true;
        } else if (argument == "--no-color") {
            options.colour = false;
        } else if (argument == "--codepage") {
            unsigned codePage = 0;
            if (!hasValue || !ParseCodePage(arguments[++i], codePage)) return "--codepage needs a code page number";
            options.codePage = codePage;
        } else if (argument == "--locale") {
            if (!hasValue) return "--locale needs a locale such as de_DE";
            options.locale = arguments[++i];
        } else if (argument.size() > 1 && argument[0] == '-') {
            return "unknown option " + argument;
        } else if (!options.medium.empty()) {
            return "only one medium folder, please";
        } else {
            options.medium = argument;
        }
    }
    if (options.medium.empty()) return "which medium folder?";
    return std::nullopt;
}

}  // namespace

int RunSetupCheck(const std::vector<std::string>& arguments, std::string& out, std::string& err, bool colour) {
    Options options;
    if (std::find(arguments.begin(), arguments.end(), "--help") != arguments.end()) {
        out += kUsage;
        return 0;
    }
    if (const auto problem = ParseOptions(arguments, options)) {
        err += "setup-check: " + *problem + "\n" + kUsage;
        return kCannotRun;
    }
    if (options.codePage) {
        platform::SetAnsiCodePage(*options.codePage);
        // Windows matches in the system's code page and cannot be told another.
        if (platform::AnsiCodePage() != *options.codePage) {
            err += "setup-check: this system matches names in code page " + std::to_string(platform::AnsiCodePage()) +
                   "; run the check on a system with code page " + std::to_string(*options.codePage) +
                   " (or on Linux, where --codepage sets it)\n";
            return kCannotRun;
        }
    }
    std::vector<std::string> locales = platform::KnownLocaleNames();
    if (options.locale) {
        const auto known = platform::FindKnownLocale(*options.locale);
        const std::string name = known ? known->language + "_" + known->country : std::string();
        if (!known || std::find(locales.begin(), locales.end(), name) == locales.end()) {
            std::string list;
            for (const auto& locale : locales) list += " " + locale;
            err += "setup-check: unknown locale " + *options.locale + "; known:" + list + "\n";
            return kCannotRun;
        }
        locales = {name};
    }
    const auto attributes = platform::ReadFileAttributes(options.medium);
    if (!attributes || (*attributes & platform::kAttributeDirectory) == 0) {
        err += "setup-check: " + options.medium + " is not a folder that can be read\n";
        return kCannotRun;
    }
    const Report report = CheckMedium(options.medium, locales);
    const RunInfo info{options.medium, platform::AnsiCodePage()};
    out += options.json ? FormatJson(report, info) : FormatText(report, info, colour && options.colour);
    return report.ExitStatus();
}

}  // namespace checker
