// The skin: the background, the logo and the three state images of each button size, and the
// variants of each for other display scales.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checker/medium.h"
#include "checker/png_reader.h"
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
// its scale.
constexpr int kLowestScale = 100;
constexpr int kHighestScale = 400;
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
    int scale;          // -1 when the part after "scale-" is no scale
};

// The image and the scale a file name "<stem>.scale-<N>.png" gives, the stem being a skin
// image's name without ".png"; letter case as Windows ignores it.
std::optional<VariantName> ParseVariantName(const std::string& name) {
    constexpr std::string_view kExtension = ".png";
    constexpr std::string_view kMarker = ".scale-";
    for (std::size_t i = 0; i < kSkin.size(); ++i) {
        const std::string_view base = kSkin[i].name;
        const std::string_view stem = base.substr(0, base.size() - kExtension.size());
        const std::size_t head = stem.size() + kMarker.size();
        if (name.size() <= head + kExtension.size()) continue;
        if (!platform::EqualIgnoringAsciiCase(std::string_view(name).substr(0, stem.size()), stem) ||
            !platform::EqualIgnoringAsciiCase(std::string_view(name).substr(stem.size(), kMarker.size()), kMarker) ||
            !platform::EqualIgnoringAsciiCase(std::string_view(name).substr(name.size() - kExtension.size()),
                                              kExtension)) {
            continue;
        }
        const std::string digits = name.substr(head, name.size() - kExtension.size() - head);
        // Windows' own names have no leading zero: "scale-0200" is no scale.
        int scale = digits.size() <= 3 && digits[0] != '0' ? 0 : -1;
        for (const char c : digits) scale = c >= '0' && c <= '9' && scale >= 0 ? scale * 10 + (c - '0') : -1;
        return VariantName{i, scale};
    }
    return std::nullopt;
}

// "menu" of "menu.png".
std::string Stem(const SkinImage& image) {
    const std::string name = image.name;
    return name.substr(0, name.size() - 4);
}

// A size times a scale in percent, rounded as MulDiv rounds.
std::uint32_t Scaled(std::uint32_t size, int scale) {
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(size) * static_cast<unsigned>(scale) + 50) / 100);
}

std::string SizeText(std::uint32_t width, std::uint32_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

void CheckVariant(const Medium& medium, const std::string& folder, const std::string& name, const VariantName& variant,
                  std::vector<BaseImage>& bases, Report& report) {
    const SkinImage& image = kSkin[variant.image];
    BaseImage& base = bases[variant.image];
    const std::string file = folder + "/" + name;
    const std::string scale = std::to_string(variant.scale) + " %";
    if (variant.scale < kLowestScale || variant.scale > kHighestScale) {
        report.Add({file, 0, Severity::Warning, "skin-variant-scale",
                    name + " names no scale from " + std::to_string(kLowestScale) + " to " +
                        std::to_string(kHighestScale) + " (as in " + Stem(image) +
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
    const std::uint32_t width = Scaled(base.width, variant.scale);
    const std::uint32_t height = Scaled(base.height, variant.scale);
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
