#pragma once

#include <string>
#include <vector>

#include "checker/findings.h"

namespace checker {

// Checks the medium in `folder` (which must exist) as the users of `locales` ("de_DE", ...)
// would meet it: conf.xml, UICfg.xml, the language files, the launch rules and the skin.
Report CheckMedium(const std::string& folder, const std::vector<std::string>& locales);

// The command line: setup-check [--json] [--no-color] [--codepage N] [--locale xx_YY] MEDIUM.
// Writes the report to `out` and problems with the command itself to `err`; returns the exit
// status: 0 clean, 1 warnings only, 2 errors, 3 when the check could not run.
int RunSetupCheck(const std::vector<std::string>& arguments, std::string& out, std::string& err, bool colour);

}  // namespace checker
