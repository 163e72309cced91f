#include "checker/xml_support.h"

#include <algorithm>
#include <cstdio>

#include "platform/ascii_case.h"
#include "platform/open_file.h"

namespace checker {

namespace {

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Levenshtein distance, stopping early above 1.
bool WithinOneEdit(std::string_view a, std::string_view b) {
    if (a.size() > b.size()) std::swap(a, b);
    if (b.size() - a.size() > 1) return false;
    std::size_t i = 0;
    while (i < a.size() && a[i] == b[i]) ++i;
    if (a.size() == b.size()) return a.substr(i + (i < a.size())) == b.substr(i + (i < b.size()));
    return a.substr(i) == b.substr(i + 1);
}

}  // namespace

std::string QuoteAttributeValues(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    std::size_t i = 0;
    const auto copyUntil = [&](std::string_view end) {
        const std::size_t stop = text.find(end, i);
        const std::size_t to = stop == std::string_view::npos ? text.size() : stop + end.size();
        out.append(text.substr(i, to - i));
        i = to;
    };
    while (i < text.size()) {
        if (text[i] != '<') {
            out.push_back(text[i++]);
            continue;
        }
        if (text.substr(i, 4) == "<!--") {
            copyUntil("-->");
            continue;
        }
        if (text.substr(i, 9) == "<![CDATA[") {
            copyUntil("]]>");
            continue;
        }
        if (i + 1 < text.size() && (text[i + 1] == '?' || text[i + 1] == '!')) {
            copyUntil(">");
            continue;
        }
        // A tag: quoted values are copied, an unquoted value after '=' gets quotes.
        out.push_back(text[i++]);
        while (i < text.size() && text[i] != '>') {
            const char c = text[i];
            if (c == '"' || c == '\'') {
                const std::size_t close = text.find(c, i + 1);
                const std::size_t to = close == std::string_view::npos ? text.size() : close + 1;
                out.append(text.substr(i, to - i));
                i = to;
                continue;
            }
            out.push_back(c);
            ++i;
            if (c != '=') continue;
            while (i < text.size() && IsXmlSpace(text[i])) out.push_back(text[i++]);
            if (i >= text.size() || text[i] == '"' || text[i] == '\'' || text[i] == '>') continue;
            std::size_t end = i;
            while (end < text.size() && !IsXmlSpace(text[end]) && text[end] != '>') ++end;
            if (end < text.size() && text[end] == '>' && end > i && text[end - 1] == '/') --end;  // "/>" ends the tag
            const std::string_view value = text.substr(i, end - i);
            const char quote = value.find('"') == std::string_view::npos ? '"' : '\'';
            out.push_back(quote);
            out.append(value);
            out.push_back(quote);
            i = end;
        }
    }
    return out;
}

bool ReadWholeFile(const std::string& path, std::size_t limit, std::string& bytes) {
    const platform::UniqueFile file = platform::OpenFileForReading(path);
    if (!file) return false;
    bytes.clear();
    char chunk[64 * 1024];
    std::size_t read = 0;
    while (bytes.size() < limit &&
           (read = std::fread(chunk, 1, std::min(sizeof chunk, limit - bytes.size()), file.get())) > 0) {
        bytes.append(chunk, read);
    }
    return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string DeclaredEncoding(const tinyxml2::XMLDocument& document) {
    for (const tinyxml2::XMLNode* node = document.FirstChild(); node; node = node->NextSibling()) {
        const tinyxml2::XMLDeclaration* declaration = node->ToDeclaration();
        if (!declaration) {
            if (node->ToElement()) break;
            continue;
        }
        const std::string_view value = declaration->Value() ? declaration->Value() : "";
        const std::size_t at = value.find("encoding");
        if (at == std::string_view::npos) return {};
        std::size_t quote = value.find_first_of("\"'", at);
        if (quote == std::string_view::npos) return {};
        const std::size_t close = value.find(value[quote], quote + 1);
        if (close == std::string_view::npos) return {};
        return std::string(value.substr(quote + 1, close - quote - 1));
    }
    return {};
}

std::string SuggestName(std::string_view name, const std::vector<std::string_view>& known) {
    for (const std::string_view candidate : known) {
        if (platform::EqualIgnoringAsciiCase(name, candidate)) return std::string(candidate);
    }
    if (name.size() < 3) return {};
    const auto folded = [](std::string_view text) {
        std::string out(text);
        for (char& c : out) c = platform::FoldAsciiCase(c);
        return out;
    };
    for (const std::string_view candidate : known) {
        if (WithinOneEdit(folded(name), folded(candidate))) return std::string(candidate);
    }
    return {};
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

namespace {

// Reports why the file does not load; true when a fixed copy was read instead.
bool ReportLoadFailure(const std::string& path, const std::string& file, const std::string& consequence,
                       XmlDocument& document, Report& report) {
    const auto add = [&](int line, Severity severity, const char* code, std::string message) {
        report.Add({file, line, severity, code, std::move(message)});
    };
    std::string bytes;
    const bool read = ReadWholeFile(path, static_cast<std::size_t>(kMaxXmlFileBytes) + 1, bytes);
    if (read && bytes.size() > static_cast<std::size_t>(kMaxXmlFileBytes)) {
        add(0, Severity::Error, "xml-too-large",
            "The file is larger than 16 MiB, which the launcher refuses: " + consequence + ".");
        return false;
    }
    std::string message = "The launcher cannot read the file (TinyXML-2: " + std::string(document.ErrorName()) + ")";
    if (read && bytes.size() >= 2 &&
        ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
        message += "; it is UTF-16, save it as UTF-8";
    }
    add(document.ErrorID() == tinyxml2::XML_ERROR_EMPTY_DOCUMENT ? 0 : document.ErrorLineNum(), Severity::Error,
        "xml-unreadable", message + ": " + consequence + ".");
    if (!read) return false;

    const std::string fixed = QuoteAttributeValues(bytes);
    if (fixed == bytes) return false;
    const auto before = SplitLines(bytes);
    const auto after = SplitLines(fixed);
    for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
        if (before[i] == after[i]) continue;
        add(static_cast<int>(i + 1), Severity::Error, "xml-unquoted-attribute",
            "Attribute values without quotes: older XML readers accepted them, this launcher refuses the whole "
            "file. Write the line as: " +
                std::string(after[i]));
    }
    if (document.Parse(fixed.data(), fixed.size()) != tinyxml2::XML_SUCCESS) return false;
    add(0, Severity::Note, "xml-read-as-fixed",
        "The other findings read the file with those quotes added; the launcher reads nothing until they are.");
    return true;
}

}  // namespace

bool LoadXmlForChecks(const std::string& path, const std::string& file, const std::string& consequence,
                      XmlDocument& document, Report& report) {
    if (LoadXmlFile(document, path) != tinyxml2::XML_SUCCESS &&
        !ReportLoadFailure(path, file, consequence, document, report)) {
        return false;
    }
    const std::string encoding = DeclaredEncoding(document);
    if (!encoding.empty() && !platform::EqualIgnoringAsciiCase(encoding, "utf-8") &&
        !platform::EqualIgnoringAsciiCase(encoding, "utf8")) {
        report.Add({file, 1, Severity::Warning, "xml-encoding",
                    "The declaration names the encoding " + Quoted(encoding) +
                        ", but the launcher reads every XML file as UTF-8: save it as UTF-8."});
    }
    if (!document.RootElement()) {
        report.Add({file, 0, Severity::Error, "xml-no-root", "The file holds no element: " + consequence + "."});
        return false;
    }
    return true;
}

}  // namespace checker
