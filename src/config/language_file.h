#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/language_state.h"
#include "platform/path.h"

// Destination size of ReadIniText: a value of at most 254 UTF-8 bytes and its terminator
// always fit.
inline constexpr std::size_t kIniTextUnits = 256;

inline constexpr char kLanguageSection[] = "ROOT";

// The language file code for a language id: the primary language (low 8 bits) picks the row;
// Chinese is "zh-cn" for 0x0804 only and "zh-tw" otherwise; unknown languages get "en-us".
const char* LanguageCodeFor(std::uint16_t languageId);

// How the language file is chosen: its code (languageState.szIniTest when set, which is then
// `forced`, else the table's code of the language id), the path that code gives (folder + code +
// ".ini", every '/' turned into '\'; "" without a folder) and whether that file exists.
struct LanguageFileChoice {
    std::uint16_t languageId = 0;
    std::string code;
    bool forced = false;
    platform::Path path;
    bool exists = false;
};
LanguageFileChoice ChooseLanguageFile(std::uint16_t languageId, const platform::Path& languageFolder,
                                      const LanguageState& languageState);

// The full path of the language file (folder + code + ".ini", with every '/' turned into '\')
// when it exists, else "". The code is languageState.szIniTest when set, else the one of the
// language id. No other code is tried.
platform::Path SelectLanguageFile(std::uint16_t languageId, const platform::Path& languageFolder,
                                  const LanguageState& languageState);

// The value of `key` in section ROOT of the language file, decoded from UTF-8, into
// `destination` (cleared first). A missing file, section or key gives the empty text.
// False, with the destination untouched, only when the key is empty.
bool ReadIniText(const platform::Path& languageFile, const std::string& key, wchar_t (&destination)[kIniTextUnits]);

// The texts of several keys from one reading of the language file, in the order of `keys`: for
// each, what ReadIniText puts into its destination (at most kIniTextUnits - 1 units), or nothing
// for an empty key, for which ReadIniText leaves the destination as it is.
std::vector<std::optional<std::wstring>> ReadIniTexts(const platform::Path& languageFile,
                                                      const std::vector<std::string>& keys);

// Puts a text from ReadIniTexts into a destination as ReadIniText does.
void StoreIniText(const std::wstring& text, wchar_t (&destination)[kIniTextUnits]);

// UTF-8 to wide text; invalid sequences become U+FFFD.
std::wstring Utf8ToWide(const char* text);

// UTF-8 to the active ANSI code page; characters the code page lacks become its default
// character.
std::string Utf8ToAnsi(const char* text);
