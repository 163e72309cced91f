#include <windows.h>
// windows.h first: shellapi.h relies on its types.
#include <shellapi.h>

#include <cstdlib>

#include "platform/console.h"
#include "platform/text.h"

namespace platform {

// The narrow argv holds the ANSI form, in which letters the code page lacks are lost.
std::vector<std::string> ProgramArguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(WideToMultiByte(wide[i], kUtf8CodePage));
    LocalFree(wide);
    return arguments;
}

void PrepareConsoleForUtf8() { SetConsoleOutputCP(CP_UTF8); }

bool StandardOutputIsColourTerminal() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (std::getenv("NO_COLOR") || !GetConsoleMode(output, &mode)) return false;
    return SetConsoleMode(output, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace platform
