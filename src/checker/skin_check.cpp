// The skin: the background, the logo and the three state images of each button size, and the
// variants of each for other display scales.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "checker/medium.h"
#include "checker/png_reader.h"
#include "config/skin_variants.h"
#include "platform/ascii_case.h"
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

// A variant is named as Windows names scaled assets: "menu.scale-200.png" stands in for "menu.png"
// at 200 %. The launcher takes the variant for its scale, else the smallest larger one scaled
// down, else the largest scaled up, and passes over one whose size is not the base size times
// its scale (config/skin_variants.h, which both follow).

// The scales most screens run at, whose missing variants the note names.
constexpr int kCommonScales[] = {150, 200};
// More than every image at every scale: a bound on what a folder can make the check read.
constexpr std::size_t kMaxVariants = 14 * 301;

// What the image check learnt of a base image, for its variants.
struct BaseImage {
    bool present = false;
    bool sized = false;  // its header was read
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool counted = false;     // the window shows it, so its missing variants are noted
    std::vector<int> scales;  // the variants the launcher can use
};

struct VariantName {
    std::size_t image;  // index in kSkin
    int scale;          // percent, or kNotAScale
};

// The skin image and the scale a file name "<stem>.scale-<N>.png" gives; letter case as Windows
// ignores it. Nothing for a name of another form, or for an image that is not the skin's.
std::optional<VariantName> ParseVariantName(const std::string& name) {
    const auto split = SplitSkinVariantName(name);
    if (!split) return std::nullopt;
    for (std::size_t i = 0; i < kSkin.size(); ++i) {
        if (platform::EqualIgnoringAsciiCase(split->base, kSkin[i].name)) return VariantName{i, split->scale};
    }
    return std::nullopt;
}

// "menu" of "menu.png".
std::string Stem(const SkinImage& image) {
    const std::string name = image.name;
    return name.substr(0, name.size() - 4);
}

std::string SizeText(long long width, long long height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

void CheckVariant(const Medium& medium, const std::string& folder, const std::string& name, const VariantName& variant,
                  std::vector<BaseImage>& bases, Report& report) {
    const SkinImage& image = kSkin[variant.image];
    BaseImage& base = bases[variant.image];
    const std::string file = folder + "/" + name;
    const std::string scale = std::to_string(variant.scale) + " %";
    if (variant.scale == kNotAScale) {
        report.Add({file, 0, Severity::Warning, "skin-variant-scale",
                    name + " names no scale from " + std::to_string(kMinVariantScale) + " to " +
                        std::to_string(kMaxVariantScale) + " (as in " + Stem(image) +
                        ".scale-150.png): the launcher never uses it."});
        return;
    }
    if (!base.present) {
        report.Add({file, 0, Severity::Warning, "skin-variant-orphan",
                    name + " has no " + image.name + " beside it: a variant stands in for its image at " + scale +
                        " only, and the launcher does not use it without the image."});
        return;
    }
    // The name the launcher asks for: the image's own spelling.
    const std::string asked = Stem(image) + ".scale-" + std::to_string(variant.scale) + ".png";
    if (auto found = CaseOnlyMatch(medium, folder + "\\" + asked, file, 0, asked)) report.Add(std::move(*found));
    const PngCheck png = CheckPngFile(medium.Path(folder + "\\" + name));
    if (!png.valid) {
        report.Add(
            {file, 0, Severity::Error, "skin-unreadable",
             name + " is not a readable PNG (" + png.problem + "): the launcher does not use it at " + scale + "."});
        return;
    }
    if (!base.sized) return;
    const long long width = VariantLength(base.width, variant.scale);
    const long long height = VariantLength(base.height, variant.scale);
    if (png.width != width || png.height != height) {
        report.Add({file, 0, Severity::Error, "skin-variant-size",
                    name + " is " + SizeText(png.width, png.height) + ", not " + SizeText(width, height) + " (" +
                        image.name + "'s " + SizeText(base.width, base.height) + " at " + scale +
                        "): the launcher does not use it, and scales another size of the image instead."});
        return;
    }
    base.scales.push_back(variant.scale);
}

// "a, b and c"
std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

// One note for the whole skin: which images have no variant of their own at the scales most
// screens run at.
void NoteMissingVariants(const std::vector<BaseImage>& bases, Report& report) {
    std::vector<std::string> without[std::size(kCommonScales)];
    std::size_t counted = 0;
    for (std::size_t i = 0; i < kSkin.size(); ++i) {
        if (!bases[i].counted) continue;
        ++counted;
        for (std::size_t s = 0; s < std::size(kCommonScales); ++s) {
            const auto& scales = bases[i].scales;
            if (std::find(scales.begin(), scales.end(), kCommonScales[s]) == scales.end()) {
                without[s].push_back(kSkin[i].name);
            }
        }
    }
    std::string message;
    for (std::size_t s = 0; s < std::size(kCommonScales); ++s) {
        if (without[s].empty()) continue;
        message += (message.empty() ? "No variant for " : "; no variant for ") + std::to_string(kCommonScales[s]) +
                   " %: " + (without[s].size() == counted ? std::string("every image") : Listed(without[s]));
    }
    if (message.empty()) return;
    report.Add({"ImageIcon/", 0, Severity::Note, "skin-no-variant",
                message + ". At those display scales the launcher scales such an image from a larger variant, or up "
                          "from the 100 % image, which blurs it."});
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
    std::vector<BaseImage> bases(kSkin.size());
    for (std::size_t i = 0; i < kSkin.size(); ++i) {
        const SkinImage& image = kSkin[i];
        const std::string relative = folder + "\\" + image.name;
        const std::string file = folder + "/" + image.name;
        const std::string path = medium.Path(relative);
        BaseImage& base = bases[i];
        base.present = platform::FileExists(path);
        // A logo the window does not show is read only for the sizes of its variants.
        const bool shown = image.role != Role::Logo || (medium.configRead && medium.config.uiShowIcon);
        if (!base.present) {
            if (!shown) continue;
            report.Add({file, 0, SeverityWithout(image),
                        image.role == Role::Logo ? "skin-logo-missing" : "skin-missing",
                        std::string(image.name) + " is missing: " + WithoutIt(image) + "."});
            continue;
        }
        const PngCheck png = CheckPngFile(path);
        base.sized = png.hasHeader;
        base.width = png.width;
        base.height = png.height;
        base.counted = shown && png.valid;
        if (!shown) continue;
        if (auto found = CaseOnlyMatch(medium, relative, file, 0, image.name)) report.Add(std::move(*found));
        if (!png.valid) {
            report.Add(
                {file, 0, SeverityWithout(image), "skin-unreadable",
                 std::string(image.name) + " is not a readable PNG (" + png.problem + "): " + WithoutIt(image) + "."});
        }
        if (png.hasHeader && image.width != 0 &&
            (png.width != static_cast<std::uint32_t>(image.width) ||
             png.height != static_cast<std::uint32_t>(image.height))) {
            report.Add(
                {file, 0, Severity::Warning, "skin-size",
                 std::string(image.name) + " is " + SizeText(png.width, png.height) + ", not " +
                     SizeText(static_cast<std::uint32_t>(image.width), static_cast<std::uint32_t>(image.height)) +
                     ": " + SizeConsequence(image) + "."});
        }
    }
    for (const std::string& name :
         platform::FindMatches(medium.Path(folder + "\\*.scale-*.png"), kMaxVariants, platform::DotEntries::Skip)) {
        if (const auto variant = ParseVariantName(name)) CheckVariant(medium, folder, name, *variant, bases, report);
    }
    NoteMissingVariants(bases, report);
}

}  // namespace checker
