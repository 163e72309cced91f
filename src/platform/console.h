#pragma once

#include <string>
#include <vector>

// The command line and the console of a command-line tool.
namespace platform {

// The program's arguments after its own name, in UTF-8: on Windows read from the wide command
// line (CommandLineToArgvW), so that a folder named in any script arrives whole; on POSIX argv.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Standard output and error take UTF-8 text as it is (Windows: console code page 65001;
// POSIX: nothing to do).
void PrepareConsoleForUtf8();

// Whether standard output is a terminal that shows ANSI colour sequences (Windows: a console
// that accepts virtual-terminal processing).
bool StandardOutputIsColourTerminal();

}  // namespace platform
