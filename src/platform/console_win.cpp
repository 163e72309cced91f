#include <windows.h>

#include <cstdlib>

#include "platform/console.h"

namespace platform {

void PrepareConsoleForUtf8() { SetConsoleOutputCP(CP_UTF8); }

bool StandardOutputIsColourTerminal() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (std::getenv("NO_COLOR") || !GetConsoleMode(output, &mode)) return false;
    return SetConsoleMode(output, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace platform
