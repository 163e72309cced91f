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

std::string SelectLanguageFile(std::uint16_t languageId, const std::string& languageFolder,
                               const LanguageState& languageState) {
    if (languageFolder.empty()) return {};
    std::string path = languageFolder;
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.back() != '\\') path += '\\';
    path += languageState.szIniTest ? *languageState.szIniTest : LanguageCodeFor(languageId);
    path += ".ini";
    return platform::FileExists(path) ? path : std::string();
}

bool ReadIniText(const std::string& languageFile, const std::string& key, wchar_t (&destination)[kIniTextUnits]) {
    if (key.empty()) return false;
    const std::string value = ReadIniValue(languageFile, kLanguageSection, key);
    const std::wstring text = Utf8ToWide(value.c_str());
    std::wmemset(destination, L'\0', kIniTextUnits);
    std::wmemcpy(destination, text.c_str(), std::min(text.size(), kIniTextUnits - 1));
    return true;
}

std::wstring Utf8ToWide(const char* text) { return platform::MultiByteToWide(text, platform::kUtf8CodePage); }

std::string Utf8ToAnsi(const char* text) {
    const std::wstring wide = Utf8ToWide(text);
    return platform::WideToMultiByte(wide.c_str(), platform::kAnsiCodePage);
}
