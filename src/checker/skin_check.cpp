// The skin: the background, the logo and the three state images of each button size.
#include <string>
#include <vector>

#include "checker/medium.h"
#include "checker/png_reader.h"
#include "platform/files.h"

namespace checker {

namespace {

enum class Role { Background, Logo, Normal, Other };

struct SkinImage {
    const char* name;
    int width;  // 0: any size
    int height;
    Role role;
};

// The window's file names and the sizes they promise (exact letter case: "Button" for the
// two large sizes, "button" for the small ones).
const std::vector<SkinImage> kSkin = {
    {"menu.png", 800, 570, Role::Background},
    {"logo.png", 0, 0, Role::Logo},
    {"400x70_Button_Normal.png", 400, 70, Role::Normal},
    {"400x70_Button_Hover.png", 400, 70, Role::Other},
    {"400x70_Button_Pressed.png", 400, 70, Role::Other},
    {"280x50_Button_Normal.png", 280, 50, Role::Normal},
    {"280x50_Button_Hover.png", 280, 50, Role::Other},
    {"280x50_Button_Pressed.png", 280, 50, Role::Other},
    {"136x40_button_Normal.png", 136, 40, Role::Normal},
    {"136x40_button_Hover.png", 136, 40, Role::Other},
    {"136x40_button_Pressed.png", 136, 40, Role::Other},
    {"120x26_button_Normal.png", 120, 26, Role::Normal},
    {"120x26_button_Hover.png", 120, 26, Role::Other},
    {"120x26_button_Pressed.png", 120, 26, Role::Other},
};

// What the window does without the image.
std::string WithoutIt(const SkinImage& image) {
    switch (image.role) {
        case Role::Background:
            return "the window has no skinned background";
        case Role::Logo:
            return "no logo is painted, although <ui showIcon=\"1\"> asks for it";
        case Role::Normal:
            return "the buttons of this size shrink to nothing and cannot be clicked";
        case Role::Other:
            break;
    }
    return "the buttons of this size show no image in that state";
}

Severity SeverityWithout(const SkinImage& image) {
    return image.role == Role::Background || image.role == Role::Normal ? Severity::Error : Severity::Warning;
}

std::string SizeConsequence(const SkinImage& image) {
    switch (image.role) {
        case Role::Background:
            return "the background tiles it across the 800 x 570 window";
        case Role::Normal:
            return "the buttons of this size take the image's size, not the layout's";
        default:
            return "it is drawn in the normal image's rectangle, cut or with gaps";
    }
}

}  // namespace

void CheckSkin(const Medium& medium, Report& report) {
    const std::string folder = "ImageIcon";
    const auto attributes = platform::ReadFileAttributes(medium.Path(folder));
    if (!attributes || (*attributes & platform::kAttributeDirectory) == 0) {
        report.Add({"ImageIcon/", 0, Severity::Error, "skin-no-folder",
                    "There is no ImageIcon folder: the window has no background and every button shrinks to nothing."});
        return;
    }
    for (const SkinImage& image : kSkin) {
        if (image.role == Role::Logo && !(medium.configRead && medium.config.uiShowIcon)) continue;
        const std::string relative = folder + "\\" + image.name;
        const std::string file = folder + "/" + image.name;
        const std::string path = medium.Path(relative);
        if (!platform::FileExists(path)) {
            report.Add({file, 0, SeverityWithout(image),
                        image.role == Role::Logo ? "skin-logo-missing" : "skin-missing",
                        std::string(image.name) + " is missing: " + WithoutIt(image) + "."});
            continue;
        }
        if (auto found = CaseOnlyMatch(medium, relative, file, 0, image.name)) report.Add(std::move(*found));
        const PngCheck png = CheckPngFile(path);
        if (!png.valid) {
            report.Add(
                {file, 0, SeverityWithout(image), "skin-unreadable",
                 std::string(image.name) + " is not a readable PNG (" + png.problem + "): " + WithoutIt(image) + "."});
        }
        if (png.hasHeader && image.width != 0 &&
            (png.width != static_cast<std::uint32_t>(image.width) ||
             png.height != static_cast<std::uint32_t>(image.height))) {
            report.Add({file, 0, Severity::Warning, "skin-size",
                        std::string(image.name) + " is " + std::to_string(png.width) + " x " +
                            std::to_string(png.height) + ", not " + std::to_string(image.width) + " x " +
                            std::to_string(image.height) + ": " + SizeConsequence(image) + "."});
        }
    }
}

}  // namespace checker
