#include "config/skin_variants.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SkinVariants, NamesOrderAndSizes) {
    const struct {
        const char* name;
        const char* base;  // "": no variant
        int scale;
    } names[] = {{"menu.scale-150.png", "menu.png", 150},
                 {"B_Normal.SCALE-200.PNG", "B_Normal.PNG", 200},
                 {"a.b.scale-100.png", "a.b.png", 100},
                 {"menu.scale-400.png", "menu.png", 400},
                 {"menu.scale-401.png", "", 0},
                 {"menu.scale-99.png", "", 0},
                 {"menu.scale-0150.png", "", 0},
                 {"menu.scale-15x.png", "", 0},
                 {"menu.scale-.png", "", 0},
                 {"menu.scale-150.bmp", "", 0},
                 {".scale-150.png", "", 0},
                 {"menu-150.png", "", 0}};
    for (const auto& c : names) {
        const auto parsed = ParseSkinVariantName(c.name);
        EXPECT_EQ(parsed ? parsed->base + "/" + std::to_string(parsed->scale) : "",
                  *c.base ? std::string(c.base) + "/" + std::to_string(c.scale) : "")
            << c.name;
    }
    // The variant for the scale, then the larger ones upwards, then the smaller ones downwards.
    EXPECT_EQ(VariantOrder(150, {100, 400, 125, 200, 150, 200}), (std::vector<int>{150, 200, 400, 125, 100}));
    EXPECT_EQ(VariantOrder(250, {125, 200}), (std::vector<int>{200, 125}));
    // The base size times the scale, rounded: 70 px at 125 % is 88.
    EXPECT_EQ(VariantLength(70, 125), 88);
    EXPECT_EQ(VariantLength(26, 175), 46);
}

}  // namespace
