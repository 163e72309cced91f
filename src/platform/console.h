#pragma once

// The console a command-line tool writes to.
namespace platform {

// Standard output and error take UTF-8 text as it is (Windows: console code page 65001;
// POSIX: nothing to do).
void PrepareConsoleForUtf8();

// Whether standard output is a terminal that shows ANSI colour sequences (Windows: a console
// that accepts virtual-terminal processing).
bool StandardOutputIsColourTerminal();

}  // namespace platform
