#include "config/language_file.h"

#include <algorithm>
#include <cwchar>

#include "config/ini_reader.h"
#include "platform/files.h"
#include "platform/text.h"

const char* LanguageCodeFor(std::uint16_t languageId) {
    switch (languageId & 0xFF) {
        case 0x04:
            return languageId == 0x0804 ? "zh-cn" : "zh-tw";
        case 0x07:
            return "de-de";
        case 0x0C:
            return "fr-fr";
        case 0x11:
            return "ja-jp";
        case 0x12:
            return "ko-ko";
        case 0x13:
            return "nl-nl";
        case 0x15:
            return "pl-pl";
        case 0x16:
            return "pt-pt";
        case 0x19:
            return "ru-ru";
        default:
            return "en-us";
    }
}

LanguageFileChoice ChooseLanguageFile(std::uint16_t languageId, const platform::Path& languageFolder,
                                      const LanguageState& languageState) {
    LanguageFileChoice choice;
    choice.languageId = languageId;
    choice.forced = languageState.szIniTest.has_value();
    choice.code = choice.forced ? *languageState.szIniTest : LanguageCodeFor(languageId);
    if (languageFolder.empty()) return choice;
    choice.path = languageFolder;
    std::replace(choice.path.begin(), choice.path.end(), '/', '\\');
    if (choice.path.back() != '\\') choice.path += '\\';
    choice.path += choice.code + ".ini";
    choice.exists = platform::FileExists(choice.path);
    return choice;
}

platform::Path SelectLanguageFile(std::uint16_t languageId, const platform::Path& languageFolder,
                                  const LanguageState& languageState) {
    LanguageFileChoice choice = ChooseLanguageFile(languageId, languageFolder, languageState);
    return choice.exists ? std::move(choice.path) : platform::Path();
}

namespace {

std::wstring IniText(const std::string& value) {
    std::wstring text = Utf8ToWide(value.c_str());
    if (text.size() > kIniTextUnits - 1) text.resize(kIniTextUnits - 1);
    return text;
}

}  // namespace

bool ReadIniText(const platform::Path& languageFile, const std::string& key, wchar_t (&destination)[kIniTextUnits]) {
    if (key.empty()) return false;
    StoreIniText(IniText(ReadIniValue(languageFile, kLanguageSection, key)), destination);
    return true;
}

std::vector<std::optional<std::wstring>> ReadIniTexts(const platform::Path& languageFile,
                                                      const std::vector<std::string>& keys) {
    const std::vector<std::string> values = ReadIniValues(languageFile, kLanguageSection, keys);
    std::vector<std::optional<std::wstring>> texts;
    texts.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        texts.push_back(keys[i].empty() ? std::nullopt : std::optional<std::wstring>(IniText(values[i])));
    }
    return texts;
}

void StoreIniText(const std::wstring& text, wchar_t (&destination)[kIniTextUnits]) {
    std::wmemset(destination, L'\0', kIniTextUnits);
    std::wmemcpy(destination, text.c_str(), std::min(text.size(), kIniTextUnits - 1));
}

std::wstring Utf8ToWide(const char* text) { return platform::MultiByteToWide(text, platform::kUtf8CodePage); }

std::string Utf8ToAnsi(const char* text) {
    const std::wstring wide = Utf8ToWide(text);
    return platform::WideToMultiByte(wide.c_str(), platform::kAnsiCodePage);
}
