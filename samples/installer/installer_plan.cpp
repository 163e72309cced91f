#include "installer_plan.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <set>

namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// Decimal, or hexadecimal after "0x" (exit codes such as 0x80070643); nothing else may follow.
bool ParseNumber(std::string_view text, unsigned long& value) {
    if (text.empty() || text.front() == '-' || text.front() == '+') return false;
    const std::string digits(text);
    char* end = nullptr;
    errno = 0;
    const unsigned long parsed = std::strtoul(digits.c_str(), &end, 0);
    if (errno != 0 || end == digits.c_str() || *end != '\0' || parsed > 0xFFFFFFFFul) return false;
    value = parsed;
    return true;
}

}  // namespace

InstallerPlan ReadInstallerPlan(std::string_view content, const std::string& name) {
    InstallerPlan plan;
    plan.title = name;
    plan.text = name;
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark) content.remove_prefix(kByteOrderMark.size());

    std::set<std::string> seen;
    while (!content.empty()) {
        const std::size_t end = content.find('\n');
        const std::string_view line = Trim(content.substr(0, end));
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == ';' || line.front() == '#' || line.front() == '[' ||
            equals == std::string_view::npos) {
            continue;
        }
        const std::string key = Lower(Trim(line.substr(0, equals)));
        const std::string_view value = Trim(line.substr(equals + 1));
        if (!seen.insert(key).second) continue;
        unsigned long number = 0;
        if (key == "title") {
            plan.title = value;
        } else if (key == "text") {
            plan.text = value;
        } else if (key == "cancel") {
            plan.cancel = value;
        } else if (key == "seconds" && ParseNumber(value, number)) {
            plan.seconds = static_cast<unsigned>(std::min<unsigned long>(number, kMaxInstallerSeconds));
        } else if (key == "exitcode" && ParseNumber(value, number)) {
            plan.exitCode = number;
        }
    }
    return plan;
}
