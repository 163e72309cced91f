#include "checker/reports.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <utility>

#include "config/language_file.h"
#include "platform/text.h"

namespace checker {

namespace {

const char* Colour(Severity severity) {
    switch (severity) {
        case Severity::Error:
            return "\x1b[1;31m";
        case Severity::Warning:
            return "\x1b[1;33m";
        case Severity::Note:
            break;
    }
    return "\x1b[1;36m";
}

constexpr char kReset[] = "\x1b[0m";

std::string Join(const std::vector<std::string>& items) {
    std::string joined;
    for (const auto& item : items) joined += (joined.empty() ? "" : ", ") + item;
    return joined;
}

// The box text as lines, with its lone carriage returns shown.
std::vector<std::string> BoxLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (const char c : text) {
        if (c == '\n') {
            lines.emplace_back();
        } else if (c == '\r') {
            lines.back() += "<CR>";
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

std::string Summary(const Report& report) {
    const auto count = [&](Severity severity, const char* one, const char* many) {
        const int n = report.Count(severity);
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    return count(Severity::Error, "error", "errors") + ", " + count(Severity::Warning, "warning", "warnings") + ", " +
           count(Severity::Note, "note", "notes");
}

// The part of a box text before its candidate list, and the list.
std::pair<std::string, std::string> SplitBox(const std::string& text) {
    const std::size_t at = text.find('\r');
    if (at == std::string::npos) return {text, ""};
    return {text.substr(0, at + 1), text.substr(at + 1)};
}

bool SameProblem(const Finding& a, const Finding& b) {
    return a.file == b.file && a.line == b.line && a.code == b.code && a.message == b.message && a.boxText &&
           b.boxText && SplitBox(*a.boxText).first == SplitBox(*b.boxText).first;
}

// Findings by file; one problem that shows each user another box is written once, with the
// candidate lines of each user's box after it.
void AppendFindings(const Report& report, bool colour, std::string& out) {
    const auto users = [&](const std::vector<std::string>& locales) {
        return locales.size() == report.locales.size() && locales.size() > 1 ? std::string("every locale checked")
                                                                             : Join(locales);
    };
    const std::vector<Finding> sorted = report.Sorted();
    std::string file;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const Finding& finding = sorted[i];
        if (i > 0 && SameProblem(sorted[i - 1], finding)) {
            std::string candidates = SplitBox(*finding.boxText).second;
            for (std::size_t at = candidates.find('\n'); at != std::string::npos; at = candidates.find('\n', at)) {
                candidates.replace(at, 1, " | ");
            }
            out += "      " + Join(finding.locales) + ": " + ValidUtf8(candidates) + "\n";
            continue;
        }
        if (finding.file != file || file.empty()) {
            file = finding.file;
            out += "\n" + ValidUtf8(file) + "\n";
        }
        out += "  ";
        out += finding.line > 0 ? "line " + std::to_string(finding.line) + ": " : "";
        if (colour) out += Colour(finding.severity);
        out += SeverityName(finding.severity);
        if (colour) out += kReset;
        out += " [" + finding.code + "] " + ValidUtf8(finding.message) + "\n";
        const bool grouped = i + 1 < sorted.size() && SameProblem(finding, sorted[i + 1]);
        if (!finding.locales.empty() && !grouped) out += "      users: " + users(finding.locales) + "\n";
        if (!finding.boxText) continue;
        out += "      box \"Configuration exception\":\n";
        const auto [head, candidates] = SplitBox(*finding.boxText);
        for (const auto& line : BoxLines(grouped ? head : *finding.boxText)) out += "      | " + ValidUtf8(line) + "\n";
        if (grouped) {
            std::string list = candidates;
            for (std::size_t at = list.find('\n'); at != std::string::npos; at = list.find('\n', at))
                list.replace(at, 1, " | ");
            out += "      then the candidates, which differ by user (one line each in the box):\n";
            out += "      " + Join(finding.locales) + ": " + ValidUtf8(list) + "\n";
        }
    }
}

// One line per outcome of each item, with the locales that get it.
void AppendResolutions(const Report& report, std::string& out) {
    if (report.resolutions.empty()) return;
    out += "\nLaunch rules for " + std::to_string(report.locales.size()) +
           (report.locales.size() == 1 ? " locale" : " locales") +
           " (mode 1: language_COUNTRY, 2: language*, 3: defaultLanguage* or en*)\n";
    std::vector<std::string> items;
    std::map<std::string, std::vector<std::pair<std::string, std::vector<std::string>>>> outcomes;
    for (const Resolution& r : report.resolutions) {
        const std::string item = r.list + " " + std::to_string(r.index) + " " +
                                 (r.strId.empty() ? "(no strId)" : r.strId) + " (conf.xml line " +
                                 std::to_string(r.line) + "): " + r.rule;
        std::string outcome;
        if (r.path.empty()) {
            outcome = "no match: \"Configuration exception\"";
        } else {
            outcome = (r.mode ? "mode " + std::to_string(*r.mode) + " " : std::string()) + r.path +
                      (r.isFolder ? " (a folder)" : "");
        }
        auto& list = outcomes[item];
        if (list.empty()) items.push_back(item);
        auto found = std::find_if(list.begin(), list.end(), [&](const auto& entry) { return entry.first == outcome; });
        if (found == list.end()) {
            list.push_back({outcome, {r.locale}});
        } else {
            found->second.push_back(r.locale);
        }
    }
    for (const auto& item : items) {
        out += "  " + ValidUtf8(item) + "\n";
        for (const auto& [outcome, locales] : outcomes[item]) {
            const std::string who =
                locales.size() == report.locales.size() && locales.size() > 1 ? "every locale" : Join(locales);
            out += "    " + ValidUtf8(outcome) + "  <-  " + who + "\n";
        }
    }
}

void AppendLanguages(const Report& report, std::string& out) {
    if (report.languages.empty()) return;
    out += "\nLanguage files and the locales that get them\n";
    for (const LanguageChoice& language : report.languages) {
        out += "  " + ValidUtf8(language.file) + (language.exists ? "" : " (missing)") + ": ";
        if (language.forced) {
            out += "every user (testLanguage)";
        } else {
            out += Join(language.locales);
            if (language.code == LanguageCodeFor(0))
                out += (language.locales.empty() ? "" : ", ") + std::string("every other language");
        }
        out += "\n";
    }
}

void AppendJsonString(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : ValidUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void AppendJsonStrings(std::string& out, const std::vector<std::string>& items) {
    out += '[';
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out += ", ";
        AppendJsonString(out, items[i]);
    }
    out += ']';
}

// Writes `"name": ` and the value, with a comma before all but the first member.
class JsonObject {
public:
    explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
    ~JsonObject() { out_ += '}'; }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    std::string& Member(const char* name) {
        if (!first_) out_ += ", ";
        first_ = false;
        AppendJsonString(out_, name);
        out_ += ": ";
        return out_;
    }
    void String(const char* name, const std::string& value) { AppendJsonString(Member(name), value); }
    void Number(const char* name, long long value) { Member(name) += std::to_string(value); }
    void Bool(const char* name, bool value) { Member(name) += value ? "true" : "false"; }
    void Null(const char* name) { Member(name) += "null"; }

private:
    std::string& out_;
    bool first_ = true;
};

void AppendFinding(std::string& out, const Finding& finding) {
    JsonObject object(out);
    object.String("file", finding.file);
    if (finding.line > 0) {
        object.Number("line", finding.line);
    } else {
        object.Null("line");
    }
    object.String("severity", SeverityName(finding.severity));
    object.String("code", finding.code);
    object.String("message", finding.message);
    if (!finding.locales.empty()) AppendJsonStrings(object.Member("locales"), finding.locales);
    if (!finding.path.empty()) object.String("path", finding.path);
    if (finding.boxText) object.String("boxText", *finding.boxText);
}

void AppendResolution(std::string& out, const Resolution& r) {
    JsonObject object(out);
    object.String("list", r.list);
    object.Number("index", r.index);
    object.Number("line", r.line);
    object.String("strId", r.strId);
    object.String("rule", r.rule);
    object.String("locale", r.locale);
    object.String("languageFile", r.languageFile);
    object.Bool("languageFileExists", r.languageFileExists);
    if (r.mode) {
        object.Number("mode", *r.mode);
    } else {
        object.Null("mode");
    }
    if (r.path.empty()) {
        object.Null("candidate");
        object.Null("path");
    } else {
        object.String("candidate", r.candidate);
        object.String("path", r.path);
    }
    object.Bool("isFolder", r.isFolder);
    if (r.boxText) {
        object.String("boxText", *r.boxText);
    } else {
        object.Null("boxText");
    }
}

}  // namespace

std::string ValidUtf8(const std::string& text) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return text;
    const std::wstring wide = platform::MultiByteToWide(text.c_str(), platform::kUtf8CodePage);
    return platform::WideToMultiByte(wide.c_str(), platform::kUtf8CodePage);
}

std::string FormatText(const Report& report, const RunInfo& info, bool colour) {
    std::string out = "setup-check: " + ValidUtf8(info.medium) + " (code page " + std::to_string(info.codePage) + ")\n";
    AppendFindings(report, colour, out);
    AppendLanguages(report, out);
    AppendResolutions(report, out);
    out += "\n" + Summary(report) + "\n";
    return out;
}

std::string FormatJson(const Report& report, const RunInfo& info) {
    std::string out;
    {
        JsonObject root(out);
        root.String("tool", "setup-check");
        root.Number("schema", 1);
        root.String("medium", info.medium);
        root.Number("codePage", info.codePage);
        AppendJsonStrings(root.Member("locales"), report.locales);
        {
            JsonObject summary(root.Member("summary"));
            summary.Number("errors", report.Count(Severity::Error));
            summary.Number("warnings", report.Count(Severity::Warning));
            summary.Number("notes", report.Count(Severity::Note));
            summary.Number("exitStatus", report.ExitStatus());
        }
        std::string& findings = root.Member("findings");
        findings += '[';
        bool first = true;
        for (const Finding& finding : report.Sorted()) {
            findings += first ? "\n  " : ",\n  ";
            first = false;
            AppendFinding(findings, finding);
        }
        findings += ']';
        std::string& languages = root.Member("languageFiles");
        languages += '[';
        first = true;
        for (const LanguageChoice& language : report.languages) {
            languages += first ? "\n  " : ",\n  ";
            first = false;
            JsonObject object(languages);
            object.String("file", language.file);
            object.String("code", language.code);
            object.Bool("exists", language.exists);
            object.Bool("forced", language.forced);
            AppendJsonStrings(object.Member("locales"), language.locales);
        }
        languages += ']';
        std::string& resolutions = root.Member("resolutions");
        resolutions += '[';
        first = true;
        for (const Resolution& resolution : report.resolutions) {
            resolutions += first ? "\n  " : ",\n  ";
            first = false;
            AppendResolution(resolutions, resolution);
        }
        resolutions += ']';
    }
    return out + "\n";
}

}  // namespace checker
