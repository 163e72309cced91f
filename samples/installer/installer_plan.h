#pragma once

#include <string>
#include <string_view>

// What the sample installer shows and how it ends, read from the .ini file of the same name
// beside it. Texts stay UTF-8; the window converts them.
struct InstallerPlan {
    std::string title;              // window title
    std::string text;               // the line above the progress bar
    std::string cancel = "Cancel";  // caption of the cancel button
    unsigned seconds = 3;           // how long the "installation" takes
    unsigned long exitCode = 0;     // the exit code when it was not cancelled
};

// The longest installation a plan may ask for; a longer one is cut to it.
inline constexpr unsigned kMaxInstallerSeconds = 600;

// Reads "Key = Value" lines (Title, Text, Cancel, Seconds, ExitCode; keys in any case) from a
// UTF-8 text with or without a byte-order mark. Lines starting with ';' or '#' and section
// headers are skipped; a key given twice keeps its first value; a number that does not parse
// keeps the default. Title and Text default to `name`.
InstallerPlan ReadInstallerPlan(std::string_view content, const std::string& name);
