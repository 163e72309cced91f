#include "config/skin_variants.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SkinVariants, NamesAVariantOnlyWithAScaleFrom100To400) {
    struct Case {
        const char* name;
        const char* base;  // nullptr: no variant
        int scale;
    };
    const Case cases[] = {
        {"menu.scale-150.png", "menu.png", 150},
        {"400x70_Button_Normal.SCALE-200.PNG", "400x70_Button_Normal.PNG", 200},
        {"a.b.scale-100.png", "a.b.png", 100},
        {"menu.scale-400.png", "menu.png", 400},
        {"menu.scale-401.png", nullptr, 0},
        {"menu.scale-99.png", nullptr, 0},
        {"menu.scale-0150.png", nullptr, 0},
        {"menu.scale-.png", nullptr, 0},
        {"menu.scale-15x.png", nullptr, 0},
        {"menu.scale-150.bmp", nullptr, 0},
        {".scale-150.png", nullptr, 0},
        {"menu-150.png", nullptr, 0},
        {"menu.png", nullptr, 0},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseSkinVariantName(c.name);
        ASSERT_EQ(parsed.has_value(), c.base != nullptr) << c.name;
        if (!parsed) continue;
        EXPECT_EQ(parsed->base, c.base);
        EXPECT_EQ(parsed->scale, c.scale);
    }
}

TEST(SkinVariants, TheVariantForTheScaleThenLargerOnesThenSmallerOnes) {
    EXPECT_EQ(VariantOrder(150, {100, 400, 125, 200, 150}), (std::vector<int>{150, 200, 400, 125, 100}));
    EXPECT_EQ(VariantOrder(175, {125, 300, 200, 150}), (std::vector<int>{200, 300, 150, 125}));
    EXPECT_EQ(VariantOrder(250, {125, 200}), (std::vector<int>{200, 125}));
    EXPECT_EQ(VariantOrder(150, {}), std::vector<int>{});
    // A variant is the base size times its scale, rounded: 70 px at 125 % is 88 (87.5).
    EXPECT_EQ(VariantLength(70, 125), 88);
    EXPECT_EQ(VariantLength(800, 150), 1200);
    EXPECT_EQ(VariantLength(26, 175), 46);
}

}  // namespace
