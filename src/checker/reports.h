#pragma once

#include <string>

#include "checker/findings.h"

namespace checker {

// What the run was, for the report's head.
struct RunInfo {
    std::string medium;
    unsigned codePage = 0;
};

// Readable text, grouped by file; `colour` adds terminal colours to the severities.
std::string FormatText(const Report& report, const RunInfo& info, bool colour);

// The JSON document of docs/setup-check.md.
std::string FormatJson(const Report& report, const RunInfo& info);

// Any bytes as valid UTF-8: what is not UTF-8 becomes U+FFFD.
std::string ValidUtf8(const std::string& text);

}  // namespace checker
