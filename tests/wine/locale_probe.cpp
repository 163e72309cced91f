// Prints what the configuration core makes of the user's locale, for tests/wine/locale_test.sh:
//   locale_probe <language folder> <language file> <key>
// One "name=value" line each: the ANSI code page, the language state, the language file
// SelectLanguageFile picks (its name only), and the key's value in section ROOT as our reader
// delivers it (bytes and UTF-16 units in hex) and as GetPrivateProfileStringA does.
#include <windows.h>

#include <cstdio>
#include <string>

#include "config/ini_reader.h"
#include "config/language_file.h"
#include "config/language_state.h"

namespace {

std::string HexBytes(const std::string& bytes) {
    std::string hex;
    char part[4];
    for (unsigned char c : bytes) {
        std::snprintf(part, sizeof part, "%02x", c);
        hex += part;
    }
    return hex;
}

std::string HexUnits(const wchar_t* text) {
    std::string hex;
    char part[8];
    for (; *text; ++text) {
        std::snprintf(part, sizeof part, "%04x", static_cast<unsigned>(*text));
        hex += part;
    }
    return hex;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: locale_probe <language folder> <language file> <key>\n");
        return 2;
    }
    const LanguageState state;
    const std::string chosen = SelectLanguageFile(state.wLanguage, argv[1], state);
    wchar_t text[kIniTextUnits] = {};
    ReadIniText(argv[2], argv[3], text);
    char system[256] = {};
    GetPrivateProfileStringA(kLanguageSection, argv[3], "", system, 255, argv[2]);

    std::printf("acp=%u\n", GetACP());
    std::printf("wLanguage=0x%04x\n", static_cast<unsigned>(state.wLanguage));
    std::printf("szLanguage=%s\n", state.szLanguage.c_str());
    std::printf("szCountry=%s\n", state.szCountry.c_str());
    std::printf("file=%s\n", chosen.substr(chosen.find_last_of('\\') + 1).c_str());
    std::printf("bytes=%s\n", HexBytes(ReadIniValue(argv[2], kLanguageSection, argv[3])).c_str());
    std::printf("units=%s\n", HexUnits(text).c_str());
    std::printf("system=%s\n", HexBytes(system).c_str());
    return 0;
}
