#include "window/window_fonts.h"

HFONT CreateWindowFont(FontRole role, int dpi) noexcept {
    const FontFacts* facts = FontFactsOf(role);
    if (!facts) return nullptr;
    LOGFONTW font{};
    font.lfHeight = FontHeight(*facts, dpi);
    font.lfWeight = facts->weight;
    font.lfCharSet = static_cast<BYTE>(facts->charSet);
    font.lfPitchAndFamily = static_cast<BYTE>(facts->pitchAndFamily);
    for (int i = 0; facts->face[i] && i < LF_FACESIZE - 1; ++i) font.lfFaceName[i] = facts->face[i];  // ASCII
    return CreateFontIndirectW(&font);
}
