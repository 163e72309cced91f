#include "support/medium_builder.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <tuple>

namespace checker_test {

namespace {

const char* const kCodes[] = {"de-de", "en-us", "fr-fr", "ja-jp", "ko-ko", "nl-nl",
                              "pl-pl", "pt-pt", "ru-ru", "zh-cn", "zh-tw"};

std::string BigEndian(unsigned value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

std::string Describe(const std::string& file, int line, checker::Severity severity, const std::string& code,
                     const std::string& message) {
    return file + ":" + std::to_string(line) + " " + checker::SeverityName(severity) + " [" + code + "] " + message;
}

}  // namespace

const char kCleanInstalls[] =
    "    <item strId=\"APP_MAIN\" open=\"Setup/Main/setup.exe\" default=\"1\" icon=\"1\"/>\n"
    "    <item strId=\"APP_DRIVER\" open=\"Setup/Driver/{language}/driver.exe\" icon=\"3\"/>\n";
const char kCleanManuals[] = "    <item strId=\"DOC_GUIDE\" open=\"Manuals/guide.txt\" icon=\"0\"/>\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> UiKeys() {
    std::vector<std::string> keys;
    for (int i = 0; i < 37; ++i) keys.push_back("UI_" + std::to_string(i));
    return keys;
}

std::string LanguageFile(const std::string& code, const std::string& extra) {
    std::string text = "[ROOT]\r\n";
    for (const auto& key : UiKeys()) text += key + " = " + code + " text " + key + "\r\n";
    text += "APP_MAIN = Main\r\nAPP_DRIVER = Driver\r\nDOC_GUIDE = Guide\r\n";
    return text + extra;
}

std::string ConfXml(const std::string& installs, const std::string& manuals, const std::string& rootAttributes) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<setup debug=\"no\"" +
           rootAttributes +
           ">\n"
           "  <ui showIcon=\"1\"/>\n"
           "  <installs showIcon=\"1\">\n" +
           installs +
           "  </installs>\n"
           "  <manuals showIcon=\"1\">\n" +
           manuals +
           "  </manuals>\n"
           "</setup>\n";
}

std::string UiCfgXml(const std::vector<std::string>& keys) {
    std::string text = "<ui>\n";
    for (std::size_t i = 0; i < keys.size(); ++i) {
        text += "  <text id=\"" + std::to_string(i) + "\" max=\"254\">" + keys[i] + "</text>\n";
    }
    return text + "</ui>\n";
}

std::string PngChunk(const std::string& type, const std::string& data) {
    const std::string typed = type + data;
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()));
    return BigEndian(static_cast<unsigned>(data.size())) + typed + BigEndian(static_cast<unsigned>(crc));
}

std::string PngHeader(unsigned width, unsigned height, int depth, int colorType, int interlace) {
    return PngChunk("IHDR", BigEndian(width) + BigEndian(height) +
                                std::string{static_cast<char>(depth), static_cast<char>(colorType), 0, 0,
                                            static_cast<char>(interlace)});
}

std::string Compressed(const std::string& bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
             static_cast<uLong>(bytes.size()));
    out.resize(size);
    return out;
}

std::string Png(unsigned width, unsigned height, bool interlaced) {
    static std::map<std::tuple<unsigned, unsigned, bool>, std::string> made;  // the skin repeats its sizes
    if (const auto found = made.find({width, height, interlaced}); found != made.end()) return found->second;
    std::string raw;
    if (!interlaced) {
        raw.assign(static_cast<std::size_t>(height) * (1 + 4 * width), '\0');
    } else {
        const unsigned passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                       {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& p : passes) {
            const unsigned w = width > p[0] ? (width - p[0] + p[2] - 1) / p[2] : 0;
            const unsigned h = height > p[1] ? (height - p[1] + p[3] - 1) / p[3] : 0;
            if (w && h) raw.append(static_cast<std::size_t>(h) * (1 + 4 * w), '\0');
        }
    }
    return made[{width, height, interlaced}] = "\x89PNG\r\n\x1a\n" +
                                               PngHeader(width, height, 8, 6, interlaced ? 1 : 0) +
                                               PngChunk("IDAT", Compressed(raw)) + PngChunk("IEND", "");
}

std::string BitPng(unsigned width, unsigned height) {
    static std::map<std::pair<unsigned, unsigned>, std::string> made;
    if (const auto found = made.find({width, height}); found != made.end()) return found->second;
    const std::string raw(static_cast<std::size_t>(height) * (1 + (width + 7) / 8), '\0');
    return made[{width, height}] = "\x89PNG\r\n\x1a\n" + PngHeader(width, height, 1, 0, 0) +
                                   PngChunk("IDAT", Compressed(raw)) + PngChunk("IEND", "");
}

Medium::Medium(const std::string& folderName) : folder_(folderName) {
    Write("conf.xml", ConfXml(kCleanInstalls, kCleanManuals));
    Write("Language/UICfg.xml", UiCfgXml(UiKeys()));
    for (const char* code : kCodes) Write(std::string("Language/") + code + ".ini", LanguageFile(code));
    Write("Setup/Main/setup.exe", "x");
    for (const char* folder : {"de-de", "en-us"}) Write(std::string("Setup/Driver/") + folder + "/driver.exe", "x");
    Write("Manuals/guide.txt", "x");
    // Each image with its variants for 150 % and 200 %, those in one bit a pixel: a check reads
    // every image of every test medium.
    const struct {
        const char* stem;
        unsigned width, height;
    } images[] = {{"menu", 800, 570},
                  {"logo", 180, 40},
                  {"400x70_Button_Normal", 400, 70},
                  {"400x70_Button_Hover", 400, 70},
                  {"400x70_Button_Pressed", 400, 70},
                  {"280x50_Button_Normal", 280, 50},
                  {"280x50_Button_Hover", 280, 50},
                  {"280x50_Button_Pressed", 280, 50},
                  {"136x40_button_Normal", 136, 40},
                  {"136x40_button_Hover", 136, 40},
                  {"136x40_button_Pressed", 136, 40},
                  {"120x26_button_Normal", 120, 26},
                  {"120x26_button_Hover", 120, 26},
                  {"120x26_button_Pressed", 120, 26}};
    for (const auto& image : images) {
        Write(std::string("ImageIcon/") + image.stem + ".png", Png(image.width, image.height));
        for (const unsigned scale : {150u, 200u}) {
            Write(std::string("ImageIcon/") + image.stem + ".scale-" + std::to_string(scale) + ".png",
                  BitPng(image.width * scale / 100, image.height * scale / 100));
        }
    }
}

void Medium::Remove(const std::string& relative) const {
    std::string generic = relative;
    std::replace(generic.begin(), generic.end(), '\\', '/');
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(Path()) / generic, ignored);
}

checker::Report Medium::Check(const std::vector<std::string>& locales) const {
    return checker::CheckMedium(Path(), locales);
}

::testing::AssertionResult FindingsAre(const checker::Report& report, const std::vector<Expected>& expected) {
    std::vector<checker::Finding> actual = report.Findings();
    std::stable_sort(actual.begin(), actual.end(), [](const auto& a, const auto& b) {
        return std::tie(a.file, a.line, a.code) < std::tie(b.file, b.line, b.code);
    });
    std::vector<Expected> wanted = expected;
    std::stable_sort(wanted.begin(), wanted.end(), [](const auto& a, const auto& b) {
        return std::tie(a.file, a.line, a.code) < std::tie(b.file, b.line, b.code);
    });
    std::string problems;
    for (std::size_t i = 0; i < std::max(actual.size(), wanted.size()); ++i) {
        if (i >= actual.size()) {
            const Expected& w = wanted[i];
            problems += "\n  missing: " + Describe(w.file, w.line, w.severity, w.code, w.message);
            continue;
        }
        const checker::Finding& a = actual[i];
        if (i >= wanted.size()) {
            problems += "\n  unexpected: " + Describe(a.file, a.line, a.severity, a.code, a.message);
            continue;
        }
        const Expected& w = wanted[i];
        const bool same = a.file == w.file && a.line == w.line && a.severity == w.severity && a.code == w.code &&
                          (w.message.empty() || a.message == w.message) &&
                          (w.box.empty() || (a.boxText && *a.boxText == w.box));
        if (!same) {
            problems += "\n  expected: " + Describe(w.file, w.line, w.severity, w.code, w.message) +
                        (w.box.empty() ? "" : " box " + w.box) +
                        "\n  found:    " + Describe(a.file, a.line, a.severity, a.code, a.message) +
                        (a.boxText ? " box " + *a.boxText : "");
        }
    }
    if (problems.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << problems;
}

}  // namespace checker_test
