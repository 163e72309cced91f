#include "window/skin_images.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "gdi_support.h"
#include "support/test_paths.h"

namespace {

using test::DibReader;
using test::ImagePath;

std::string ReadFixture(const char* name) {
    const std::wstring wide = ImagePath(name);
    std::ifstream in(std::string(wide.begin(), wide.end()), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// A skin folder with some of the window's files, each a copy of a fixture.
class SkinImagesTest : public testing::Test {
protected:
    void Put(const char* file, const char* fixture) const { folder_.Write(file, ReadFixture(fixture)); }
    std::wstring Folder() const { return Wide(folder_.Path()); }

    controls::GdiplusSession session_;
    test::TempFolder folder_;
};

TEST_F(SkinImagesTest, ButtonsOfOneSizeShareTheImagesOfTheirFiles) {
    Put("280x50_Button_Normal.png", "button_normal.png");
    Put("280x50_Button_Hover.png", "button_large.png");
    Put("280x50_Button_Pressed.png", "button_pressed.png");
    Put("120x26_button_Normal.png", "argb32.png");  // its hover and pressed files are missing
    SkinImages skin;
    skin.StartLoading(Folder());

    struct Case {
        ButtonSkin size;
        UINT normal[2], hover[2], pressed[2];  // width and height; 0 x 0: the file did not load
    } cases[] = {
        {ButtonSkin::Size280x50, {40, 20}, {60, 30}, {40, 20}},
        {ButtonSkin::Size120x26, {3, 2}, {0, 0}, {0, 0}},
        {ButtonSkin::Size400x70, {0, 0}, {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.size));
        const SkinImages::ButtonImages first = skin.ButtonImagesOf(c.size);
        const SkinImages::ButtonImages second = skin.ButtonImagesOf(c.size);
        const std::pair<const controls::SharedBitmap*, const UINT*> states[] = {
            {&first.normal, c.normal}, {&first.hover, c.hover}, {&first.pressed, c.pressed}};
        for (const auto& [image, size] : states) {
            ASSERT_TRUE(*image) << "every state has an image object, loaded or not";
            EXPECT_EQ((*image)->GetWidth(), size[0]);
            EXPECT_EQ((*image)->GetHeight(), size[1]);
        }
        EXPECT_EQ(first.normal, second.normal) << "decoded once, shared";
        EXPECT_EQ(first.hover, second.hover);
        EXPECT_EQ(first.pressed, second.pressed);
        EXPECT_NE(first.normal, first.pressed) << "each file has an image of its own";
    }
    const SkinImages::ButtonImages none = skin.ButtonImagesOf(ButtonSkin::None);
    EXPECT_FALSE(none.normal || none.hover || none.pressed);
}

TEST_F(SkinImagesTest, TheBackgroundIsTheFileConvertedAndThePictureBehindTheLogo) {
    Put("menu.png", "argb32.png");
    SkinImages skin;
    skin.StartLoading(Folder());

    controls::CImage reference;
    ASSERT_EQ(reference.Load((Folder() + L"menu.png").c_str()), S_OK);
    const controls::UniqueBitmap expected(reference.Detach());
    const controls::UniqueBitmap actual = skin.TakeBackgroundBitmap();
    const DibReader expectedDib(expected.Get());
    const DibReader actualDib(actual.Get());
    ASSERT_TRUE(actualDib.Valid());
    EXPECT_EQ(actualDib.Depth(), expectedDib.Depth());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(actualDib.At(x, y), expectedDib.At(x, y)) << x << "," << y;
    }
    EXPECT_FALSE(skin.TakeBackgroundBitmap()) << "the caller took it";

    EXPECT_EQ(skin.Background().GetWidth(), 3u);
    EXPECT_EQ(skin.Background().GetHeight(), 2u);
}

TEST_F(SkinImagesTest, WithoutFilesEverythingIsEmpty) {
    SkinImages skin;
    skin.StartLoading(Folder());
    EXPECT_FALSE(skin.TakeBackgroundBitmap());
    EXPECT_FALSE(skin.Background().IsLoaded());
    EXPECT_FALSE(skin.Logo().IsLoaded());
    EXPECT_TRUE(skin.TakeListIcons()) << "the list is made even when no icon loads";
}

TEST_F(SkinImagesTest, TheLogoIsReadOnlyWhenAskedFor) {
    SkinImages skin;
    skin.StartLoading(Folder());
    EXPECT_FALSE(skin.Background().IsLoaded());
    skin.TakeListIcons();  // the loading has ended
    // Put only now: a logo decoded with the rest would be missing.
    Put("logo.png", "button_large.png");
    EXPECT_EQ(skin.Logo().GetWidth(), 60u);
    Put("logo.png", "argb32.png");
    EXPECT_EQ(skin.Logo().GetWidth(), 60u) << "decoded once";
}

}  // namespace
