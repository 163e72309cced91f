#include "config/xml_document.h"

#include <climits>
#include <cstring>
#include <string_view>

#include "platform/ascii_case.h"
#include "platform/open_file.h"

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

namespace {

tinyxml2::XMLError LoadOpenedFile(XmlDocument& document, std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return tinyxml2::XML_ERROR_FILE_READ_ERROR;
    const long size = std::ftell(file);
    if (size < 0 || size > kMaxXmlFileBytes) return tinyxml2::XML_ERROR_FILE_READ_ERROR;
    std::rewind(file);
    return document.LoadFile(file);
}

}  // namespace

tinyxml2::XMLError LoadXmlFile(XmlDocument& document, const platform::Path& path, XmlOutcome* outcome) {
    const platform::UniqueFile file = platform::OpenFileForReading(path);
    const tinyxml2::XMLError error = file ? LoadOpenedFile(document, file.get()) : tinyxml2::XML_ERROR_FILE_NOT_FOUND;
    if (outcome) {
        outcome->error = error;
        outcome->line = error == tinyxml2::XML_SUCCESS ? 0 : document.ErrorLineNum();
        if (error == tinyxml2::XML_SUCCESS && !document.RootElement())
            outcome->error = tinyxml2::XML_ERROR_EMPTY_DOCUMENT;
    }
    return error;
}

bool QueryBoolAttribute(const tinyxml2::XMLElement& element, const char* name, bool& value) {
    const char* text = element.Attribute(name);
    if (!text) return false;
    for (const char* word : {"true", "yes", "1"}) {
        if (platform::EqualIgnoringAsciiCase(text, word)) return value = true, true;
    }
    for (const char* word : {"false", "no", "0"}) {
        if (platform::EqualIgnoringAsciiCase(text, word)) return value = false, true;
    }
    return false;
}

bool QueryIntAttribute(const tinyxml2::XMLElement& element, const char* name, int& value) {
    const char* text = element.Attribute(name);
    if (!text) return false;
    const std::optional<int> number = ParseLeadingInt(text);
    if (!number) return false;
    value = *number;
    return true;
}

std::optional<int> ParseLeadingInt(const char* text) {
    while (IsSpace(*text)) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    if (*text < '0' || *text > '9') return std::nullopt;
    long long magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1) magnitude = magnitude * 10 + (*text - '0');
    }
    if (negative) return magnitude > static_cast<long long>(INT_MAX) ? INT_MIN : -static_cast<int>(magnitude);
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

int AsciiToInt(const char* text) { return ParseLeadingInt(text).value_or(0); }
