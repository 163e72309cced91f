// The skin images and the PNG reader behind their check.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "checker/png_reader.h"
#include "support/medium_builder.h"

namespace {

using checker::Severity;
using checker_test::BitPng;
using checker_test::Compressed;
using checker_test::Expected;
using checker_test::Png;
using checker_test::PngChunk;
using checker_test::PngHeader;

const std::string kSignature = "\x89PNG\r\n\x1a\n";

std::string Rows(std::size_t count, std::size_t bytes, char filter = 0) {
    std::string rows;
    for (std::size_t i = 0; i < count; ++i) rows += filter + std::string(bytes, '\0');
    return rows;
}

TEST(PngReader, AcceptsOnlyWhatDecodesToTheStatedImage) {
    const std::string end = PngChunk("IEND", "");
    std::string badCrc = Png(4, 4);
    badCrc[kSignature.size() + 8 + 13] ^= 1;  // the IHDR CRC
    struct Case {
        const char* name;
        std::string bytes;
        const char* problem;  // "" when valid
        unsigned width, height;
    };
    const Case cases[] = {
        {"plain", Png(120, 26), "", 120, 26},
        {"interlaced", Png(13, 7, true), "", 13, 7},
        {"grey 1-bit", kSignature + PngHeader(9, 2, 1, 0, 0) + PngChunk("IDAT", Compressed(Rows(2, 2))) + end, "", 9,
         2},
        {"palette",
         kSignature + PngHeader(2, 2, 8, 3, 0) + PngChunk("PLTE", std::string(3, '\0')) +
             PngChunk("IDAT", Compressed(Rows(2, 2))) + end,
         "", 2, 2},
        {"ancillary chunks are skipped",
         kSignature + PngHeader(1, 1, 8, 6, 0) + PngChunk("tEXt", "a\0b") + PngChunk("IDAT", Compressed(Rows(1, 4))) +
             end,
         "", 1, 1},
        {"data split over chunks",
         [&] {
             const std::string data = Compressed(Rows(3, 12));
             return kSignature + PngHeader(3, 3, 8, 6, 0) + PngChunk("IDAT", data.substr(0, 5)) +
                    PngChunk("IDAT", data.substr(5)) + end;
         }(),
         "", 3, 3},
        {"not a PNG", "GIF89a", "not a PNG file (wrong signature)", 0, 0},
        {"empty", "", "not a PNG file (wrong signature)", 0, 0},
        {"header not first", kSignature + end, "the first chunk is not IHDR", 0, 0},
        {"bad CRC", badCrc, "chunk IHDR fails its CRC", 0, 0},
        {"cut short", Png(40, 40).substr(0, 60), "the file ends inside chunk IDAT", 40, 40},
        {"no end", Png(4, 4).substr(0, Png(4, 4).size() - 12), "the file ends before its IEND chunk", 4, 4},
        {"too little data", kSignature + PngHeader(4, 4, 8, 6, 0) + PngChunk("IDAT", Compressed(Rows(3, 16))) + end,
         "the image data ends early (51 of 68 bytes)", 4, 4},
        {"too much data", kSignature + PngHeader(4, 4, 8, 6, 0) + PngChunk("IDAT", Compressed(Rows(5, 16))) + end,
         "the image data holds more bytes than the image", 4, 4},
        {"unknown filter", kSignature + PngHeader(2, 1, 8, 6, 0) + PngChunk("IDAT", Compressed(Rows(1, 8, 9))) + end,
         "a row has an unknown filter type 9", 2, 1},
        {"not compressed", kSignature + PngHeader(2, 1, 8, 6, 0) + PngChunk("IDAT", "garbage!") + end,
         "the image data is not valid compressed data", 2, 1},
        {"bad depth", kSignature + PngHeader(2, 1, 3, 2, 0) + end, "the header gives an invalid colour type and depth",
         2, 1},
        {"zero size", kSignature + PngHeader(0, 1, 8, 6, 0) + end, "the header gives an impossible size", 0, 1},
        {"palette missing", kSignature + PngHeader(2, 2, 8, 3, 0) + PngChunk("IDAT", Compressed(Rows(2, 2))) + end,
         "a palette image without a PLTE chunk before its data", 2, 2},
        {"no data", kSignature + PngHeader(2, 2, 8, 6, 0) + end, "there is no image data (IDAT)", 2, 2},
        {"unknown critical chunk", kSignature + PngHeader(1, 1, 8, 6, 0) + PngChunk("ABCD", "") + end,
         "an unknown critical chunk ABCD", 1, 1},
        // A header that promises 40 GB of pixels is measured, never inflated.
        {"huge header",
         kSignature + PngHeader(100000, 100000, 8, 6, 0) + PngChunk("IDAT", Compressed(std::string(1000, '\0'))) + end,
         "the image is 100000 x 100000, too large to be a skin image", 100000, 100000},
        {"impossible chunk length", kSignature + PngHeader(1, 1, 8, 6, 0) + "\xFF\xFF\xFF\xFFIDAT",
         "chunk IDAT has an impossible length", 1, 1},
    };
    test::TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const checker::PngCheck check = checker::CheckPngFile(folder.Write("image.png", c.bytes));
        EXPECT_EQ(check.problem, c.problem);
        EXPECT_EQ(check.valid, *c.problem == '\0');
        EXPECT_EQ(check.width, c.width);
        EXPECT_EQ(check.height, c.height);
    }
}

TEST(SkinCheck, FindsEachImageTheWindowWouldMissOrMisplace) {
    using Change = std::function<void(const checker_test::Medium&)>;
    auto write = [](std::string file, std::string bytes) -> Change {
        return [=](const checker_test::Medium& medium) { medium.Write("ImageIcon/" + file, bytes); };
    };
    auto remove = [](std::string file) -> Change {
        return [=](const checker_test::Medium& medium) { medium.Remove("ImageIcon/" + file); };
    };
    auto orphans = [](const std::string& stem) {
        return std::vector<Expected>{
            {"ImageIcon/" + stem + ".scale-150.png", 0, Severity::Warning, "skin-variant-orphan"},
            {"ImageIcon/" + stem + ".scale-200.png", 0, Severity::Warning, "skin-variant-orphan"}};
    };
    auto joined = [](std::vector<Expected> a, const std::vector<Expected>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::string blurred =
        ". At those display scales the launcher scales such an image from a larger variant, or up from the 100 % "
        "image, "
        "which blurs it.";
    struct Case {
        const char* name;
        std::vector<Change> changes;
        std::vector<Expected> findings;
    };
    const Case cases[] = {
        {"background missing",
         {remove("menu.png")},
         {{"ImageIcon/menu.png", 0, Severity::Error, "skin-missing",
           "menu.png is missing: the window has no skinned background."},
          {"ImageIcon/menu.scale-200.png", 0, Severity::Warning, "skin-variant-orphan",
           "menu.scale-200.png has no menu.png beside it: a variant stands in for its image at 200 % only, and the "
           "launcher does not use it without the image."},
          {"ImageIcon/menu.scale-150.png", 0, Severity::Warning, "skin-variant-orphan"}}},
        {"background of another size",
         {write("menu.png", Png(640, 480))},
         {{"ImageIcon/menu.png", 0, Severity::Warning, "skin-size",
           "menu.png is 640 x 480, not 800 x 570: the background tiles it across the 800 x 570 window."},
          {"ImageIcon/menu.scale-150.png", 0, Severity::Error, "skin-variant-size"},
          {"ImageIcon/menu.scale-200.png", 0, Severity::Error, "skin-variant-size"},
          {"ImageIcon/", 0, Severity::Note, "skin-no-variant"}}},
        {"normal image broken",
         {write("136x40_button_Normal.png", "not a png")},
         {{"ImageIcon/136x40_button_Normal.png", 0, Severity::Error, "skin-unreadable",
           "136x40_button_Normal.png is not a readable PNG (not a PNG file (wrong signature)): the buttons of this "
           "size shrink to nothing and cannot be clicked."}}},
        {"normal image of another size",
         {write("400x70_Button_Normal.png", Png(300, 70)), remove("400x70_Button_Normal.scale-150.png"),
          remove("400x70_Button_Normal.scale-200.png")},
         {{"ImageIcon/400x70_Button_Normal.png", 0, Severity::Warning, "skin-size",
           "400x70_Button_Normal.png is 300 x 70, not 400 x 70: the buttons of this size take the image's size, not "
           "the layout's."},
          {"ImageIcon/", 0, Severity::Note, "skin-no-variant",
           "No variant for 150 %: 400x70_Button_Normal.png; no variant for 200 %: 400x70_Button_Normal.png" +
               blurred}}},
        {"hover image missing",
         {remove("280x50_Button_Hover.png")},
         joined({{"ImageIcon/280x50_Button_Hover.png", 0, Severity::Warning, "skin-missing",
                  "280x50_Button_Hover.png is missing: the buttons of this size show no image in that state."}},
                orphans("280x50_Button_Hover"))},
        {"logo missing",
         {remove("logo.png")},
         joined({{"ImageIcon/logo.png", 0, Severity::Warning, "skin-logo-missing",
                  "logo.png is missing: no logo is painted, although <ui showIcon=\"1\"> asks for it."}},
                orphans("logo"))},
        {"case of a name",
         {remove("120x26_button_Pressed.png"), write("120x26_Button_Pressed.png", Png(120, 26))},
         {{"ImageIcon/120x26_button_Pressed.png", 0, Severity::Note, "case-only-match",
           "120x26_button_Pressed.png is found only because Windows ignores letter case: it is asked for as "
           "\"ImageIcon/120x26_button_Pressed.png\", the medium holds \"ImageIcon/120x26_Button_Pressed.png\"."}}},
        {"no folder",
         {remove("")},
         {{"ImageIcon/", 0, Severity::Error, "skin-no-folder",
           "There is no ImageIcon folder: the window has no background and every button shrinks to nothing."}}},
        {"variant of another size",
         {write("menu.scale-200.png", BitPng(1600, 1100))},
         {{"ImageIcon/menu.scale-200.png", 0, Severity::Error, "skin-variant-size",
           "menu.scale-200.png is 1600 x 1100, not 1600 x 1140 (menu.png's 800 x 570 at 200 %): the launcher does "
           "not use it, and scales another size of the image instead."},
          {"ImageIcon/", 0, Severity::Note, "skin-no-variant", "No variant for 200 %: menu.png" + blurred}}},
        {"variants at other scales, sizes rounded as MulDiv rounds",
         {write("120x26_button_Hover.scale-125.png", BitPng(150, 32)),
          write("400x70_Button_Normal.scale-175.png", BitPng(700, 123)), write("logo.scale-400.png", BitPng(720, 160))},
         {{"ImageIcon/120x26_button_Hover.scale-125.png", 0, Severity::Error, "skin-variant-size",
           "120x26_button_Hover.scale-125.png is 150 x 32, not 150 x 33 (120x26_button_Hover.png's 120 x 26 at "
           "125 %): the launcher does not use it, and scales another size of the image instead."}}},
        {"scales the launcher never uses",
         {write("logo.scale-50.png", BitPng(90, 20)), write("logo.scale-0200.png", BitPng(360, 80)),
          write("logo.scale-401.png", BitPng(722, 160)), write("other.scale-200.png", "not a skin image")},
         {{"ImageIcon/logo.scale-0200.png", 0, Severity::Warning, "skin-variant-scale"},
          {"ImageIcon/logo.scale-401.png", 0, Severity::Warning, "skin-variant-scale"},
          {"ImageIcon/logo.scale-50.png", 0, Severity::Warning, "skin-variant-scale",
           "logo.scale-50.png names no scale from 100 to 400 (as in logo.scale-150.png): the launcher never uses "
           "it."}}},
        {"variant damaged, or found only by ignoring case",
         {write("menu.scale-150.png", "not a png"), remove("logo.scale-200.png"),
          write("LOGO.Scale-200.PNG", BitPng(360, 80))},
         {{"ImageIcon/menu.scale-150.png", 0, Severity::Error, "skin-unreadable",
           "menu.scale-150.png is not a readable PNG (not a PNG file (wrong signature)): the launcher does not use it "
           "at 150 %."},
          {"ImageIcon/LOGO.Scale-200.PNG", 0, Severity::Note, "case-only-match"},
          {"ImageIcon/", 0, Severity::Note, "skin-no-variant", "No variant for 150 %: menu.png" + blurred}}},
        {"no variants for 150 %",
         {[](const checker_test::Medium& medium) {
             for (const char* name :
                  {"menu", "logo", "400x70_Button", "280x50_Button", "136x40_button", "120x26_button"}) {
                 for (const char* state : {"", "_Normal", "_Hover", "_Pressed"}) {
                     medium.Remove(std::string("ImageIcon/") + name + state + ".scale-150.png");
                 }
             }
         }},
         {{"ImageIcon/", 0, Severity::Note, "skin-no-variant", "No variant for 150 %: every image" + blurred}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        checker_test::Medium medium;
        for (const Change& change : c.changes) change(medium);
        EXPECT_TRUE(checker_test::FindingsAre(medium.Check(), c.findings));
    }
}

}  // namespace
