#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "checker/findings.h"
#include "config/xml_document.h"

// Pieces the two XML checks share.
namespace checker {

// The text with every unquoted attribute value inside a tag quoted (older XML readers took
// name=value; TinyXML-2 refuses the whole file). Lines are neither added nor removed.
std::string QuoteAttributeValues(std::string_view text);

// The file's bytes, at most `limit` of them; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::size_t limit, std::string& bytes);

// Lines of a text, split at "\n" (a "\r" before it dropped).
std::vector<std::string_view> SplitLines(std::string_view text);

// The encoding an XML declaration names ("" when none).
std::string DeclaredEncoding(const tinyxml2::XMLDocument& document);

// "did you mean" for a name the launcher ignores: a known name that differs only in letter
// case or by one character; "" when there is none.
std::string SuggestName(std::string_view name, const std::vector<std::string_view>& known);

// A UTF-8 text for messages: quoted, with control characters escaped.
std::string Quoted(std::string_view text);

// Loads one of the medium's XML files as the launcher does. When it does not load, reports why
// (what the launcher then does is `consequence`) and every line whose attribute values lack
// quotes, with the line as it should read; when adding those quotes is all it takes, reads the
// fixed text instead, so that the other checks can go on. Also reports a declared encoding
// other than UTF-8 and a missing root element. True when `document` has a root element.
bool LoadXmlForChecks(const std::string& path, const std::string& file, const std::string& consequence,
                      XmlDocument& document, Report& report);

}  // namespace checker
