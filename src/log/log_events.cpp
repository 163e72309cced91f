#include "log/log_events.h"

#include "tasks/exit_codes.h"

namespace {

// What each exit code means for the row; every other code is a failure.
struct Verdict {
    std::uint32_t exitCode;
    const char* word;
};
constexpr Verdict kVerdicts[] = {
    {kExitSuccess, "success"},
    {kExitSuccessRebootRequired, "success, restart needed"},
    {kExitSuccessRebootInitiated, "success, restart started"},
};
constexpr char kFailure[] = "failure";

constexpr struct {
    LeaveReason reason;
    const char* words;
} kLeaveReasons[] = {
    {LeaveReason::LeaveButton, "leave button (the exit question answered yes)"},
    {LeaveReason::Escape, "Esc"},
    {LeaveReason::WindowClosed, "window closed"},
    {LeaveReason::Finish, "finish button"},
    {LeaveReason::ClosedBySystem, "closed by the system"},
};

// Indexed by LanguageMode; 0 for a rule without "{language}".
constexpr const char* kModeNames[] = {"the rule itself", "language and country", "language", "default language"};

constexpr const char* kItemKinds[] = {"installer ", "manual "};  // indexed by ItemKind

const char* BuildArchitecture() {
#if defined(__x86_64__)
    return "x86_64";
#elif defined(__i386__)
    return "i686";
#else
    return "other";
#endif
}

const char* YesNo(bool value) { return value ? "yes" : "no"; }

LogLine& Item(LogLine& line, ItemKind kind, std::size_t row) {
    return line << kItemKinds[static_cast<int>(kind)] << static_cast<unsigned long>(row);
}

// A language id as Windows documents them: "0x0407".
LogLine& LanguageId(LogLine& line, std::uint16_t id) { return line.Hex(id, 4); }

LogLine& QuoteOrNone(LogLine& line, const std::optional<std::string>& text) {
    return text ? line.Quote(*text) : line << "none";
}

void LogItemList(const RunLog& log, ItemKind kind, const ConfigItemList& items) {
    for (std::size_t row = 0; row < items.size(); ++row) {
        const ConfigItem& item = *items[row];
        LogLine line;
        Item(line, kind, row) << ": key ";
        QuoteOrNone(line, item.strId) << ", text ";
        line.Quote(item.text ? item.text->c_str() : L"") << ", rule ";
        QuoteOrNone(line, item.open);
        if (item.defaultLanguage) (line << ", defaultLanguage ").Quote(*item.defaultLanguage);
        (line << ", icon ").Signed(item.icon);
        if (kind == ItemKind::Installer) line << ", default " << YesNo(item.selectedByDefault);
        line.WriteTo(log);
    }
}

}  // namespace

void LogLauncher(const RunLog& log, const LauncherFacts& facts) {
    // The file's name holds the same moment and process; this line keeps them when it is renamed.
    (LogLine() << "Setup " << facts.version << ", " << BuildArchitecture() << " build, started "
               << LocalTimeText(log.Started()) << " local time, process " << platform::CurrentProcessId())
        .WriteTo(log);
    (LogLine() << "Windows " << facts.windowsMajor << "." << facts.windowsMinor << " build " << facts.windowsBuild
               << ", under WOW64: " << YesNo(facts.underWow64) << ", elevated: " << YesNo(facts.elevated))
        .WriteTo(log);
    (LogLine() << "display scale: " << (facts.dpi * 100 + 48) / 96 << " % (" << facts.dpi << " dpi)").WriteTo(log);
    (LogLine() << "medium: ").Quote(facts.medium).WriteTo(log);
}

void LogLanguageState(const RunLog& log, const LanguageState& state) {
    LogLine line;
    // The locale's names are the system's ISO codes: nothing to quote.
    LanguageId(line << "user interface language: ", state.wLanguage)
        << ", user locale: " << state.szLanguage << "_" << state.szCountry;
    line.WriteTo(log);
}

void LogXmlFile(const RunLog& log, const char* what, const platform::Path& path, tinyxml2::XMLError error,
                int errorLine) {
    LogLine line;
    (line << what << ": ").Quote(path);
    if (error == tinyxml2::XML_SUCCESS) {
        line << " read";
    } else {
        line << " not read: " << tinyxml2::XMLDocument::ErrorIDToName(error);
        if (errorLine > 0) line << " at line " << static_cast<unsigned long>(errorLine);
    }
    line.WriteTo(log);
}

void LogConfigSwitches(const RunLog& log, const LanguageState& state) {
    LogLine line;
    line << "conf.xml: debug " << YesNo(state.debug) << ", testLanguage ";
    (state.szIniTest ? line.Quote(*state.szIniTest) : line << "not set").WriteTo(log);
}

void LogLanguageFile(const RunLog& log, const LanguageFileChoice& choice, bool read) {
    LogLine line;
    (line << "language file: " << (choice.exists ? "" : "none found, ")).Quote(choice.code);
    if (choice.forced) {
        line << " (forced by testLanguage): ";
    } else {
        LanguageId(line << " (the table's code for ", choice.languageId) << "): ";
    }
    if (choice.path.empty()) {
        line << "no language folder";
    } else {
        line.Quote(choice.path) << (!choice.exists ? " does not exist" : read ? " read" : " cannot be read");
    }
    line.WriteTo(log);
}

void LogItems(const RunLog& log, const ProductConfig& config) {
    LogItemList(log, ItemKind::Installer, config.installs);
    LogItemList(log, ItemKind::Manual, config.manuals);
}

void LogCandidate(const RunLog& log, std::optional<LanguageMode> mode, const std::string& candidate,
                  const platform::Path* match) {
    LogLine line;
    (line << "candidate ").Quote(candidate) << " (" << kModeNames[mode ? static_cast<int>(*mode) : 0] << "): ";
    (match ? line.Quote(*match) : line << "no match").WriteTo(log);
}

void LogRuleMatchedNothing(const RunLog& log, const std::string& rule) {
    ((LogLine() << "rule ").Quote(rule) << " matched nothing: \"" << kLaunchFailureCaption << "\" shown").WriteTo(log);
}

void LogWindowScale(const RunLog& log, int dpi) {
    (LogLine() << "window scale: " << (dpi * 100 + 48) / 96 << " % (" << dpi << " dpi)").WriteTo(log);
}

void LogPage(const RunLog& log, const std::string& pages) { (LogLine() << "page: " << pages).WriteTo(log); }

void LogButton(const RunLog& log, int id, const wchar_t* caption) {
    (LogLine() << "button " << static_cast<unsigned long>(id) << " ").Quote(caption).WriteTo(log);
}

void LogTick(const RunLog& log, std::size_t row, bool ticked) {
    LogLine line;
    (Item(line, ItemKind::Installer, row) << (ticked ? " ticked" : " unticked")).WriteTo(log);
}

void LogExitQuestion(const RunLog& log, bool yes) {
    (LogLine() << "exit question answered " << YesNo(yes)).WriteTo(log);
}

void LogShellStart(const RunLog& log, ItemKind kind, std::size_t row, const platform::Path& path,
                   const platform::Path& folder, const ShellStart& start) {
    LogLine line;
    Item(line, kind, row) << (start.started ? " started: " : " not started: ");
    line.Quote(path);
    if (!folder.empty()) (line << " in ").Quote(folder);
    if (!start.started) {
        line << (start.pathTooLong ? ", its path is too long for the shell" : ", the shell refused it") << " (error "
             << start.error << ")";
    } else if (start.processId != 0) {
        line << ", process " << start.processId;
    } else {
        line << ", no process to wait for";
    }
    line.WriteTo(log);
}

void LogInstallerFailed(const RunLog& log, std::size_t row, const char* why) {
    LogLine line;
    (Item(line, ItemKind::Installer, row) << " not run: " << why << ", " << kFailure).WriteTo(log);
}

void LogInstallerEnded(const RunLog& log, std::size_t row, std::uint32_t exitCode) {
    const char* verdict = kFailure;
    for (const Verdict& entry : kVerdicts) {
        if (entry.exitCode == exitCode) verdict = entry.word;
    }
    LogLine line;
    Item(line, ItemKind::Installer, row) << " ended: exit code " << static_cast<unsigned long>(exitCode) << " (";
    (line.Hex(exitCode, 8) << "), " << verdict).WriteTo(log);
}

void LogInstallerStopped(const RunLog& log, unsigned long processId, bool ended) {
    (LogLine() << "the running installer, process " << processId
               << (ended ? ", ended by the exit question" : ", had ended by itself"))
        .WriteTo(log);
}

void LogRestartDecision(const RunLog& log, bool countdown) {
    (LogLine() << (countdown ? "restart: countdown started, the restart follows at 0"
                             : "restart: none (a 32-bit launcher on 64-bit Windows)"))
        .WriteTo(log);
}

void LogRestartRequest(const RunLog& log, bool accepted, unsigned long error) {
    LogLine line;
    line << "restart requested: ";
    (accepted ? line << "accepted" : line << "refused (error " << error << ")").WriteTo(log);
}

void LogLeave(const RunLog& log, LeaveReason reason) {
    LogLine line;
    line << "leaving: ";
    for (const auto& entry : kLeaveReasons) {
        if (entry.reason == reason) line << entry.words;
    }
    line.WriteTo(log);
}

void LogSessionEnding(const RunLog& log) { (LogLine() << "the system asks to end the session").WriteTo(log); }

void LogEnd(RunLog& log, int exitCode) {
    if (log.FirstEnd()) (LogLine() << "end, exit code ").Signed(exitCode).WriteTo(log);
}
