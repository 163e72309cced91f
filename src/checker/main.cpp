// setup-check: tells a vendor what the launcher will make of an installation medium.
#include <cstdio>
#include <string>
#include <vector>

#include "checker/checker.h"
#include "platform/console.h"

int main(int argc, char** argv) {
    platform::PrepareConsoleForUtf8();
    const std::vector<std::string> arguments = platform::ProgramArguments(argc, argv);
    std::string out, err;
    const int status = checker::RunSetupCheck(arguments, out, err, platform::StandardOutputIsColourTerminal());
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fwrite(err.data(), 1, err.size(), stderr);
    std::fflush(stdout);
    return status;
}
