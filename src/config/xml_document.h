#pragma once

#include <tinyxml2.h>

#include <optional>
#include <string>

#include "platform/path.h"

// TinyXML-2 with the behaviour of the original TinyXML that the medium's files were written
// for: element text with white space condensed, boolean words "true"/"yes"/"1" and
// "false"/"no"/"0" in any letter case, integers as sscanf's "%d" reads them.

// Files larger than this are refused instead of being read whole into memory.
inline constexpr long kMaxXmlFileBytes = 16L << 20;

// A document whose element text loses leading, trailing and repeated white space.
class XmlDocument : public tinyxml2::XMLDocument {
public:
    XmlDocument() : tinyxml2::XMLDocument(true, tinyxml2::COLLAPSE_WHITESPACE) {}
};

// How loading a file went, for the log: TinyXML-2's error (XML_SUCCESS when the document loaded
// and has a root element, XML_ERROR_EMPTY_DOCUMENT when it has none) and the line it names.
struct XmlOutcome {
    tinyxml2::XMLError error = tinyxml2::XML_SUCCESS;
    int line = 0;
};

// Loads a file; the encoding is left to the library. With `outcome`, it is filled.
tinyxml2::XMLError LoadXmlFile(XmlDocument& document, const platform::Path& path, XmlOutcome* outcome = nullptr);

// Sets `value` when the attribute holds one of the boolean words; true when it did.
bool QueryBoolAttribute(const tinyxml2::XMLElement& element, const char* name, bool& value);

// Sets `value` when the attribute starts with a decimal number (blanks and a sign allowed,
// anything may follow); true when it did. Values beyond the int range saturate.
bool QueryIntAttribute(const tinyxml2::XMLElement& element, const char* name, int& value);

// The number a text starts with, as sscanf's "%d" reads it; nothing when it starts with none.
std::optional<int> ParseLeadingInt(const char* text);

// atoi: the leading number, or 0. Values beyond the int range saturate (as the Windows C
// runtime's atoi does) instead of being undefined.
int AsciiToInt(const char* text);
