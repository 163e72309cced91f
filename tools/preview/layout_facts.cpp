#include "layout_facts.h"

#include <cstdlib>
#include <sstream>

namespace preview {

namespace {

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t')) fields.push_back(field);
    return fields;
}

bool Number(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 0);
    if (*end != '\0') return false;
    value = static_cast<int>(parsed);
    return true;
}

// "slot N", "slot N ..." (its dots), a fixed text in quotes or "-".
void ReadCaption(const std::string& text, FactsControl& control) {
    int slot = 0;
    if (text.rfind("slot ", 0) != 0) return;
    const std::size_t space = text.find(' ', 5);
    if (!Number(text.substr(5, space == std::string::npos ? std::string::npos : space - 5), slot)) return;
    control.slot = slot;
    if (space != std::string::npos) control.dots = static_cast<int>(text.size() - space - 1);
}

}  // namespace

HFONT LayoutFacts::CreateFontOf(const FactsControl& control) const {
    const auto found = fonts.find(control.font);
    if (found == fonts.end()) return nullptr;
    const FactsFont& font = found->second;
    LOGFONTW logFont{};
    logFont.lfHeight = font.cellHeight ? font.pixels : -font.pixels;
    logFont.lfWeight = font.weight;
    // The title is an explicit logical font of the ANSI character set and the swiss family; the
    // point fonts leave both to the system.
    logFont.lfCharSet = font.cellHeight ? ANSI_CHARSET : DEFAULT_CHARSET;
    logFont.lfPitchAndFamily = font.cellHeight ? (FF_SWISS | DEFAULT_PITCH) : 0;
    font.face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&logFont);
}

std::optional<int> LayoutFacts::RunningSlot() const {
    for (const FactsControl& control : controls) {
        if (control.dots > 0) return control.slot;
    }
    return std::nullopt;
}

const FactsControl* LayoutFacts::FirstDotLabel() const {
    for (const FactsControl& control : controls) {
        if (control.dots == 1) return &control;
    }
    return nullptr;
}

std::optional<LayoutFacts> ReadLayoutFacts(const std::string& text, std::string& error) {
    LayoutFacts facts;
    std::istringstream in(text);
    std::string line;
    bool window = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = Fields(line);
        int id = 0;
        if (f[0] == "window" && f.size() >= 5) {
            window = Number(f[3], facts.width) && Number(f[4], facts.height);
        } else if (f[0] == "scale" && f.size() >= 2) {
            Number(f[1], facts.dpi);
        } else if (f[0] == "font" && f.size() >= 6) {
            FactsFont font;
            font.face.assign(f[2].begin(), f[2].end());  // ASCII
            font.cellHeight = f[4] == "cell";
            if (Number(f[3], font.weight) && Number(f[5], font.pixels)) facts.fonts[f[1]] = font;
        } else if (f[0] == "caption" && f.size() >= 7) {
            int flags = 0;
            if (Number(f[1], id) && Number(f[6], flags)) facts.captionFlags[id] = static_cast<UINT>(flags);
        } else if (Number(f[0], id) && f.size() >= 7) {
            FactsControl control;
            control.id = id;
            if (f[5] != "-") control.font = f[5];
            ReadCaption(f[6], control);
            facts.controls.push_back(control);
        }
    }
    if (!window || facts.controls.empty() || facts.fonts.empty()) {
        error = "no window, controls or fonts in the facts";
        return std::nullopt;
    }
    return facts;
}

}  // namespace preview
