#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "platform/console.h"

namespace platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

void PrepareConsoleForUtf8() {}

bool StandardOutputIsColourTerminal() {
    const char* term = std::getenv("TERM");
    return isatty(STDOUT_FILENO) != 0 && term && std::string_view(term) != "dumb" && !std::getenv("NO_COLOR");
}

}  // namespace platform
