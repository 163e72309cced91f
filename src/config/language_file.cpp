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

platform::Path SelectLanguageFile(std::uint16_t languageId, const platform::Path& languageFolder,
                                  const LanguageState& languageState) {
    if (languageFolder.empty()) return {};
    std::string path = languageFolder;
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.back() != '\\') path += '\\';
    path += languageState.szIniTest ? *languageState.szIniTest : LanguageCodeFor(languageId);
    path += ".ini";
    return platform::FileExists(path) ? path : std::string();
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
