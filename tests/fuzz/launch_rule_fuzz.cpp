// Launch-rule expansion and resolution with arbitrary rules and language names, against a
// small medium. Input: rule, language, country and default language, separated by '\n'.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "tasks/launch_target.h"

namespace {

std::filesystem::path g_medium;

void RemoveMedium() {
    std::error_code ignored;
    std::filesystem::remove_all(g_medium, ignored);
}

void MakeMedium() {
    char pattern[] = "/tmp/setup-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    g_medium = pattern;
    for (const char* folder : {"Setup/de_DE", "Setup/en-us", "Setup/De-AT", "Docs/Manual", "Pkg/Sub", "x[1]"}) {
        std::filesystem::create_directories(g_medium / folder);
    }
    for (const char* file : {"Setup/de_DE/setup.exe", "Setup/en-us/setup.exe", "Setup/De-AT/Setup.EXE",
                             "Drivers/tool.exe", "Pkg/Sub/run.exe", "x[1]/a.txt", "readme"}) {
        std::filesystem::create_directories((g_medium / file).parent_path());
        std::ofstream(g_medium / file) << "x";
    }
    std::atexit(RemoveMedium);
}

std::string_view NextField(std::string_view& input) {
    const std::size_t end = input.find('\n');
    const std::string_view field = input.substr(0, end);
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    return field;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeMedium();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string rule(NextField(input));
    LanguageState state;
    state.szLanguage = std::string(NextField(input));
    state.szCountry = std::string(NextField(input));
    ConfigItem item;
    item.open = rule;
    if (!input.empty()) item.defaultLanguage = std::string(NextField(input));

    int shown = 0;
    std::string shownText;
    const LaunchContext context{g_medium.string() + "/", state,
                                [&](const std::string& text, const std::string& caption, unsigned type) {
                                    Check(caption == kLaunchFailureCaption && type == 0);
                                    shownText = text;
                                    return ++shown;
                                }};

    std::size_t tokens = 0;
    for (std::size_t at = rule.find(kLanguageToken); at != std::string::npos; at = rule.find(kLanguageToken, at + 10)) {
        ++tokens;
    }
    for (const auto mode : {LanguageMode::LanguageAndCountry, LanguageMode::Language, LanguageMode::DefaultLanguage}) {
        const std::string text = FormLanguageText(state, item, mode);
        Check(text.size() <= kMaxLanguageText);
        const std::string candidate = ExpandLanguageToken(context, item, mode);
        Check(candidate.size() == rule.size() - tokens * 10 + tokens * text.size());
    }

    std::string path;
    const bool resolved = ResolveLaunchTarget(context, item, path);
    Check(shown == (resolved ? 0 : 1));
    if (resolved) {
        Check(path.compare(0, g_medium.string().size(), g_medium.string()) == 0);
    } else {
        Check(shownText.compare(0, 20 + rule.size(), "Configuration item:\n" + rule) == 0);
    }
    return 0;
}
