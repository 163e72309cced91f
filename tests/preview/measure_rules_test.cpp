// The rules by which ./dev preview decides that a text of Setup's window does not fit, and where
// its pixels are: the static label's drawing flags, lines shown, the image button's centring,
// list cells, and the progress animation's dots; the window's layout facts as it reads them.
#include "measure_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "layout_facts.h"

namespace preview {
namespace {

TEST(LabelDrawFlags, FollowTheStaticControlsStyle) {
    struct Case {
        LONG style;
        LONG exStyle;
        std::optional<UINT> flags;
    } cases[] = {
        {SS_LEFT, 0, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK},
        {SS_CENTER, 0, DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK},
        {SS_RIGHT, 0, DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK},
        {SS_LEFT | WS_GROUP | WS_VISIBLE, 0, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK},  // window styles don't count
        {SS_LEFT | SS_NOPREFIX, 0, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX},
        {SS_LEFT, WS_EX_RIGHT, DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK},
        {SS_CENTER, WS_EX_RIGHT, DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK},
        {SS_LEFT | SS_CENTERIMAGE, 0, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_SINGLELINE | DT_VCENTER},
        {SS_LEFT | SS_ENDELLIPSIS, 0, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_SINGLELINE | DT_END_ELLIPSIS},
        {SS_SIMPLE, 0, DT_LEFT | DT_SINGLELINE},
        {SS_SIMPLE | SS_CENTERIMAGE, 0, DT_LEFT | DT_SINGLELINE},  // a simple label ignores the rest
        {SS_LEFTNOWORDWRAP, 0, DT_LEFT | DT_EXPANDTABS},
        {SS_ENHMETAFILE, 0, std::nullopt},  // the logo placeholder shows no text
        {SS_BITMAP, 0, std::nullopt},
        {SS_OWNERDRAW, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LabelDrawFlags(c.style, c.exStyle), c.flags) << std::hex << "style " << c.style;
    }
}

TEST(LinesShown, WholeLinesAndAlwaysTheFirst) {
    struct Case {
        int height;
        int lineHeight;
        int lines;
    } cases[] = {
        {40, 15, 2}, {45, 15, 3}, {44, 15, 2}, {20, 24, 1},  // a heading lower than its line
        {80, 24, 3}, {0, 15, 1},  {30, 0, 1},                // no metrics: one line
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinesShown(c.height, c.lineHeight), c.lines) << c.height << "/" << c.lineHeight;
}

TEST(JudgeLabel, WidthAndLines) {
    struct Case {
        const char* what;
        Extent needed;
        Extent available;
        int lineHeight;
        int neededLines;
        int shownLines;
        bool fits;
    } cases[] = {
        {"one line", {299, 15}, {300, 40}, 15, 1, 2, true},
        {"exactly the width", {300, 15}, {300, 40}, 15, 1, 2, true},
        {"two lines in two", {420, 30}, {500, 40}, 15, 2, 2, true},
        {"three lines in two", {480, 45}, {500, 40}, 15, 3, 2, false},
        {"a word wider than the label", {512, 15}, {500, 40}, 15, 1, 2, false},
        {"heading lower than its line", {190, 24}, {300, 20}, 24, 1, 1, true},
        {"heading that wraps", {290, 48}, {300, 20}, 24, 2, 1, false},
        {"restart text, three lines", {498, 72}, {500, 80}, 24, 3, 3, true},
        {"restart text, four lines", {498, 96}, {500, 80}, 24, 4, 3, false},
    };
    for (const Case& c : cases) {
        const Verdict verdict = JudgeLabel(c.needed, c.available, c.lineHeight);
        EXPECT_EQ(verdict.neededLines, c.neededLines) << c.what;
        EXPECT_EQ(verdict.shownLines, c.shownLines) << c.what;
        EXPECT_EQ(verdict.fits, c.fits) << c.what;
    }
}

TEST(JudgeButton, CentredOneLineFromTheMiddle) {
    struct Case {
        const char* what;
        Extent needed;
        Extent available;
        int lineHeight;
        bool fits;
    } cases[] = {
        {"caption narrower", {105, 23}, {136, 40}, 23, true},
        {"caption as wide", {136, 23}, {136, 40}, 23, true},
        {"caption wider", {207, 23}, {136, 40}, 23, false},
        {"select button", {90, 15}, {120, 26}, 15, true},
        // A line break: the second line starts 8 + 23 px down a 40 px button and is cut off.
        {"two lines", {80, 46}, {136, 40}, 23, false},
        // In a 70 px button two lines of 23 px fit below the middle line's top (23 + 46 <= 70).
        {"two lines, tall button", {200, 46}, {400, 70}, 23, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JudgeButton(c.needed, c.available, c.lineHeight).fits, c.fits) << c.what;
    }
}

TEST(JudgeCell, TheWidthDecides) {
    EXPECT_TRUE(JudgeCell(89, 90).fits);
    EXPECT_TRUE(JudgeCell(90, 90).fits);
    EXPECT_FALSE(JudgeCell(91, 90).fits);
    EXPECT_EQ(CellTextInset(true), 2);
    EXPECT_EQ(CellTextInset(false), 5);
}

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(Ink, WhereTheTextsPixelsAre) {
    const RECT label{341, 208, 791, 248};  // 450 x 40
    struct Case {
        const char* what;
        Extent needed;
        int neededLines;
        UINT flags;
        RECT ink;
    } cases[] = {
        {"left, one line", {219, 15}, 1, DT_LEFT | DT_WORDBREAK, {341, 208, 560, 223}},
        {"centred, one line", {220, 15}, 1, DT_CENTER | DT_WORDBREAK, {456, 208, 676, 223}},
        {"right, one line", {200, 15}, 1, DT_RIGHT | DT_WORDBREAK, {591, 208, 791, 223}},
        {"centred, two lines", {440, 30}, 2, DT_CENTER | DT_WORDBREAK, {346, 208, 786, 238}},
        {"three lines: the two shown", {449, 45}, 3, DT_LEFT | DT_WORDBREAK, {341, 208, 790, 238}},
        {"wider than the label: clipped", {600, 15}, 1, DT_LEFT | DT_WORDBREAK, {341, 208, 791, 223}},
        {"one line centred upright", {100, 15}, 1, DT_LEFT | DT_SINGLELINE | DT_VCENTER, {341, 220, 441, 235}},
    };
    for (const Case& c : cases) {
        Verdict verdict;
        verdict.neededLines = c.neededLines;
        verdict.shownLines = LinesShown(40, 15);
        EXPECT_TRUE(LabelInk(label, c.needed, verdict, 15, c.flags) == c.ink) << c.what;
    }
    const RECT button{486, 512, 622, 552};  // 136 x 40, caption line 23 px
    Verdict one;
    EXPECT_TRUE(ButtonInk(button, {104, 23}, one, 23) == (RECT{502, 520, 606, 543}));
    EXPECT_TRUE(ButtonInk(button, {207, 23}, one, 23) == (RECT{486, 520, 622, 543}));
}

TEST(Dots, TheAnimationsSteps) {
    const std::wstring running = L"Installing";
    EXPECT_EQ(WithMostDots(running), L"Installing.....");
    EXPECT_EQ(WithMostDots(L""), L".....");
    struct Case {
        const wchar_t* text;
        bool step;
    } cases[] = {
        {L"Installing.", true}, {L"Installing.....", true}, {L"Installing......", false}, {L"Installing", false},
        {L"Installed", false},  {L"Installing..x", false},  {L"Xnstalling..", false},     {L"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsAnimationStep(c.text, running), c.step);
    EXPECT_TRUE(IsAnimationStep(L"...", L""));  // an empty running text still animates
}

TEST(LayoutFacts, ReadAsWindowFactsPrintsThem) {
    // Lines of window_facts --facts --dpi 144, CR LF ends and a kind and a column added later.
    const std::string text =
        "# comment\r\nwindow\t0\t0\t1200\t855\r\nid\tx\ty\twidth\theight\tfont\ttext\tcolour\tpages\timages\r\n"
        "1005\t512\t30\t600\t60\tm_fontTitle\tslot 0\ttransparent #000000\tMenuPage\t-\r\n"
        "1016\t729\t768\t204\t60\tm_font16\tslot 17\t-\tDefaultInstallPage\t136x40_button\textra\r\n"
        "1045\t401\t33\t750\t45\tm_font16\tslot 19\ttransparent #3399FF\tProgressPage\t-\r\n"
        "1052\t401\t33\t450\t30\tm_font16\tslot 19 ..\ttransparent #3399FF\t-\t-\r\n"
        "1051\t600\t33\t450\t30\tm_font16\tslot 19 .\ttransparent #3399FF\t-\t-\r\n"
        "1057\t450\t525\t90\t60\tm_font30\t\"8\"\ttransparent #FF0000\tRestartPage\t-\r\n"
        "scale\t144\t150\r\nfont\tm_fontTitle\tArial\t700\tcell\t45\r\nfont\tm_font16\tArial\t0\tem\t32\r\n"
        "column\t1061\t0\t743\tleft\tstart\tNAME\r\nfuture\t1\r\ncaption\t1016\t729\t768\t204\t60\t0x0B\r\n";
    std::string error;
    const auto facts = ReadLayoutFacts(text, error);
    ASSERT_TRUE(facts) << error;
    EXPECT_EQ((std::vector<int>{facts->width, facts->height, facts->dpi}), (std::vector<int>{1200, 855, 144}));
    ASSERT_EQ(facts->controls.size(), 6u);
    EXPECT_EQ(facts->controls[1].id, 1016);
    EXPECT_EQ(facts->controls[1].font, "m_font16");
    EXPECT_EQ(facts->controls[1].slot, 17);
    EXPECT_FALSE(facts->controls[5].slot);  // a fixed text
    EXPECT_EQ(facts->RunningSlot(), 19);
    ASSERT_NE(facts->FirstDotLabel(), nullptr);
    EXPECT_EQ(facts->FirstDotLabel()->id, 1051);
    EXPECT_EQ(facts->fonts.at("m_fontTitle").pixels, 45);
    EXPECT_TRUE(facts->fonts.at("m_fontTitle").cellHeight);
    EXPECT_EQ(facts->fonts.at("m_font16").weight, 0);
    EXPECT_EQ(facts->captionFlags.at(1016), 0x0Bu);

    // The fonts as the window makes them: the title bold, the point fonts by their em.
    HDC dc = CreateCompatibleDC(nullptr);
    for (const auto& [index, weight, em] : {std::tuple{0, 700, 0}, std::tuple{1, 400, 32}}) {
        HFONT font = facts->CreateFontOf(facts->controls[index]);
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        EXPECT_EQ(metrics.tmWeight, weight);
        if (em) {
            EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, em);
        }
        SelectObject(dc, old);
        DeleteObject(font);
    }
    DeleteDC(dc);

    EXPECT_FALSE(ReadLayoutFacts("window\t0\t0\t800\t570\n", error));
}

}  // namespace
}  // namespace preview
