#pragma once

#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "config/language_file.h"
#include "config/language_state.h"
#include "config/product_config.h"
#include "log/run_log.h"
#include "platform/log_file.h"
#include "platform/path.h"
#include "tasks/launch_target.h"

// Every event of the launcher's log, worded here and nowhere else, in the order a start meets
// them. Texts from the medium and paths are written as they are (UTF-8) in double quotes, with
// control characters escaped so that an event stays on its line.

// What the launcher knows of itself and the system at its start.
struct LauncherFacts {
    const char* version = "";
    unsigned windowsMajor = 0;
    unsigned windowsMinor = 0;
    unsigned windowsBuild = 0;
    bool underWow64 = false;
    bool elevated = false;
    unsigned dpi = 0;  // of the screen; 96 is 100 %
    platform::Path medium;
};
void LogLauncher(const RunLog& log, const LauncherFacts& facts);

// The user's interface language and locale.
void LogLanguageState(const RunLog& log, const LanguageState& state);

// A file of the medium read as XML: read, or TinyXML-2's error and the line it names (a
// document without a root element counts as XML_ERROR_EMPTY_DOCUMENT).
void LogXmlFile(const RunLog& log, const char* what, const platform::Path& path, tinyxml2::XMLError error,
                int errorLine);
// "debug" and "testLanguage" as conf.xml left them.
void LogConfigSwitches(const RunLog& log, const LanguageState& state);
void LogLanguageFile(const RunLog& log, const LanguageFileChoice& choice, bool read);
// Each installer and manual: key, text, rule, icon and whether it is ticked by default.
void LogItems(const RunLog& log, const ProductConfig& config);

// One candidate of a launch rule (mode: none for a rule without "{language}") and the entry it
// matched, or none; then, when none matched, the failure and its message.
void LogCandidate(const RunLog& log, std::optional<LanguageMode> mode, const std::string& candidate,
                  const platform::Path* match);
void LogRuleMatchedNothing(const RunLog& log, const std::string& rule);

// The scale the window lays itself out at (its monitor's, fitted to the work area), at its start
// and again whenever it moves to a monitor of another scale.
void LogWindowScale(const RunLog& log, int dpi);

// The user's steps.
void LogPage(const RunLog& log, const std::string& pages);
void LogButton(const RunLog& log, int id, const wchar_t* caption);
void LogTick(const RunLog& log, std::size_t row, bool ticked);
void LogExitQuestion(const RunLog& log, bool yes);

// An installer or a manual handed to the shell: started (with its process id when the shell gave
// a process), or not, and why.
enum class ItemKind { Installer, Manual };
struct ShellStart {
    bool started = false;
    bool pathTooLong = false;
    unsigned long error = 0;      // the system's error when not started
    unsigned long processId = 0;  // 0: no process
};
void LogShellStart(const RunLog& log, ItemKind kind, std::size_t row, const platform::Path& path,
                   const platform::Path& folder, const ShellStart& start);
// An installer that could not be run ("installer 2 not run: <why>, failure").
void LogInstallerFailed(const RunLog& log, std::size_t row, const char* why);
void LogInstallerEnded(const RunLog& log, std::size_t row, std::uint32_t exitCode);
// The exit question's yes ended the running installer, named by its process id (false: it had
// ended by itself already).
void LogInstallerStopped(const RunLog& log, unsigned long processId, bool ended);

// The end.
void LogRestartDecision(const RunLog& log, bool countdown);
void LogRestartRequest(const RunLog& log, bool accepted, unsigned long error);
enum class LeaveReason { LeaveButton, Escape, WindowClosed, Finish, ClosedBySystem };
void LogLeave(const RunLog& log, LeaveReason reason);
void LogSessionEnding(const RunLog& log);
// The launcher's last line; written once however many ways lead to it.
void LogEnd(RunLog& log, int exitCode);
