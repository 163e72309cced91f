#include "window/skin_images.h"

#include <commctrl.h>

#include <memory>
#include <new>
#include <utility>

#include "config/skin_variants.h"
#include "framework/phase_trace.h"
#include "platform/handles_win.h"
#include "resource.h"
#include "window/control_facts.h"

namespace {

// The list icons in the order that fixes each one's index, which conf.xml's items refer to.
constexpr int kListIcons[] = {IDI_LIST_PDF,    IDI_LIST_APPLICATION, IDI_LIST_COMPUTER,
                              IDI_LIST_DEVICE, IDI_LIST_ARCHIVE,     IDI_LIST_DOCUMENT};

constexpr ButtonSkin kSkins[] = {ButtonSkin::Size400x70, ButtonSkin::Size280x50, ButtonSkin::Size136x40,
                                 ButtonSkin::Size120x26};

std::wstring SkinFile(ButtonSkin skin, const char* state) {
    std::wstring path;
    for (const char* part : {SkinStem(skin), state}) {
        for (const char* c = part; *c; ++c) path += static_cast<wchar_t>(*c);  // ASCII file names
    }
    return path;
}

controls::SharedBitmap Share(controls::Bitmap bitmap) noexcept {
    // An object that can't be allocated leaves the button's slot empty, which draws nothing,
    // like a file that failed to load.
    std::unique_ptr<controls::Bitmap> image(new (std::nothrow) controls::Bitmap());
    if (image) *image = std::move(bitmap);
    return controls::SharedBitmap(std::move(image));
}

// The variants' names are ASCII like the base names they stand beside; others are no variants.
std::optional<SkinVariantName> VariantName(const wchar_t* fileName) {
    std::string narrow;
    for (; *fileName; ++fileName) {
        if (*fileName > 0x7F) return std::nullopt;
        narrow += static_cast<char>(*fileName);
    }
    return ParseSkinVariantName(narrow);
}

std::string Folded(const wchar_t* name) {
    std::string folded;
    for (; *name; ++name) folded += static_cast<char>(*name >= L'A' && *name <= L'Z' ? *name - L'A' + L'a' : *name);
    return folded;
}

}  // namespace

SkinImages::~SkinImages() {
    if (!worker_) return;
    WaitForAll();
    // The images go while the thread that decoded them still runs; then the thread may end.
    background_ = controls::Bitmap();
    backgroundBitmap_.Reset();
    buttons_ = {};
    listIcons_.Reset();
    logo_.reset();
    SetEvent(release_.Get());
    WaitForSingleObject(worker_.Get(), INFINITE);
}

void SkinImages::StartLoading(const std::wstring& imageFolder, int dpi) noexcept {
    folder_ = imageFolder;
    dpi_ = dpi;
    backgroundLoaded_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    normalLoaded_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    allLoaded_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    release_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (backgroundLoaded_ && normalLoaded_ && allLoaded_ && release_) {
        worker_.Reset(CreateThread(nullptr, 0, &SkinImages::LoadOnWorker, this, 0, nullptr));
    }
    if (!worker_) Load();
}

DWORD WINAPI SkinImages::LoadOnWorker(LPVOID parameter) noexcept {
    auto* skin = static_cast<SkinImages*>(parameter);
    skin->Load();
    // Under Wine, GDI+ images outlived by the thread that decoded them made the program crash
    // later (seen under qemu-i386), so the thread stays until they are gone.
    WaitForSingleObject(skin->release_.Get(), INFINITE);
    return 0;
}

void SkinImages::Reload(int dpi) noexcept {
    WaitForAll();
    dpi_ = dpi;
    logo_.reset();
    Load();
}

void SkinImages::Load() noexcept {
    FindVariants();
    LoadBackground();
    if (backgroundLoaded_) SetEvent(backgroundLoaded_.Get());
    // What the first paint shows, then the rest.
    LoadButtons("_Normal.png", &ButtonImages::normal);
    if (normalLoaded_) SetEvent(normalLoaded_.Get());
    LoadButtons("_Hover.png", &ButtonImages::hover);
    LoadButtons("_Pressed.png", &ButtonImages::pressed);
    LoadListIcons();
    if (allLoaded_) SetEvent(allLoaded_.Get());
    framework::MarkPhase("skin loaded");
    if (const HWND window = notify_.exchange(nullptr)) PostMessageW(window, notifyMessage_, 0, 0);
}

void SkinImages::LoadBackground() noexcept {
    // One decode serves the brush (converted by CImage's rules) and the painting.
    background_ = LoadScaled(L"menu.png", &controls::Bitmap::FromFile);
    controls::CImage converted;
    converted.Load(background_);
    backgroundBitmap_.Reset(converted.Detach());
    framework::MarkPhase("background decoded");
}

void SkinImages::LoadButtons(const char* state, controls::SharedBitmap ButtonImages::*slot) noexcept {
    for (const ButtonSkin skin : kSkins) {
        buttons_[static_cast<std::size_t>(skin)].*slot =
            Share(LoadScaled(SkinFile(skin, state).c_str(), &controls::Bitmap::DecodeFile));
    }
    framework::MarkPhase("button images decoded");
}

void SkinImages::LoadListIcons() noexcept {
    const int size = ScaleValue(kListIconSize, dpi_);
    listIcons_.Reset(ImageList_Create(size, size, ILC_COLOR32, 10, 10));
    const HINSTANCE program = GetModuleHandleW(nullptr);
    // The icon's own image of that size if it has one, else its next larger one scaled down
    // (comctl32 6 has it; MinGW's import library does not list it).
    using ScaleDownFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    const auto scaleDown = reinterpret_cast<ScaleDownFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "LoadIconWithScaleDown")));
    for (const int id : kListIcons) {
        HICON loaded = nullptr;
        if (dpi_ == kBaseDpi) {
            // Loaded at the system's icon size, then stored at the list's 32 x 32.
            loaded = static_cast<HICON>(LoadImageW(program, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
        } else if (!scaleDown || FAILED(scaleDown(program, MAKEINTRESOURCEW(id), size, size, &loaded))) {
            loaded = static_cast<HICON>(LoadImageW(program, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
        }
        const platform::UniqueIcon icon(loaded);
        ImageList_AddIcon(listIcons_.Get(), icon.Get());
    }
}

void SkinImages::FindVariants() noexcept {
    variants_.clear();
    if (dpi_ == kBaseDpi) return;  // 100 %: the base images
    WIN32_FIND_DATAW entry{};
    const platform::UniqueFindHandle search(FindFirstFileExW((folder_ + L"*.scale-*.png").c_str(), FindExInfoBasic,
                                                             &entry, FindExSearchNameMatch, nullptr, 0));
    if (!search) return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (const auto name = VariantName(entry.cFileName)) {
            std::wstring base(name->base.begin(), name->base.end());
            variants_.push_back({Folded(base.c_str()), name->scale, entry.cFileName});
        }
    } while (FindNextFileW(search.Get(), &entry));
}

controls::Bitmap SkinImages::LoadScaled(const wchar_t* name, controls::Bitmap (*decode)(const wchar_t*)) noexcept {
    const std::wstring base = folder_ + name;
    if (dpi_ == kBaseDpi) return decode(base.c_str());
    SIZE size{};
    std::vector<int> scales;
    const std::string folded = Folded(name);
    for (const Variant& variant : variants_) {
        if (variant.base == folded) scales.push_back(variant.scale);
    }
    controls::Bitmap image;
    // A variant counts only at the base image's size times its scale: its size is the check that
    // it was drawn for that scale, and the base gives the size the window needs.
    if (!scales.empty() && controls::ReadPngSize(base.c_str(), size)) {
        for (const int scale : VariantOrder(ScalePercent(dpi_), scales)) {
            for (const Variant& variant : variants_) {
                if (variant.base != folded || variant.scale != scale) continue;
                image = decode((folder_ + variant.file).c_str());
                if (static_cast<int>(image.GetWidth()) != VariantLength(size.cx, scale) ||
                    static_cast<int>(image.GetHeight()) != VariantLength(size.cy, scale)) {
                    image = controls::Bitmap();
                }
                break;
            }
            if (image.IsLoaded()) break;
        }
    }
    if (!image.IsLoaded()) {
        // Decoded in full for the scaling anyway: the copy that DecodeFile makes is not needed.
        image = controls::Bitmap::FromFile(base.c_str());
        size = SIZE{static_cast<LONG>(image.GetWidth()), static_cast<LONG>(image.GetHeight())};
    }
    const int width = ScaleValue(size.cx, dpi_);
    const int height = ScaleValue(size.cy, dpi_);
    if (static_cast<int>(image.GetWidth()) == width && static_cast<int>(image.GetHeight()) == height) return image;
    return image.Scaled(width, height);
}

void SkinImages::WaitForBackground() noexcept {
    if (backgroundLoaded_) {
        WaitForSingleObject(backgroundLoaded_.Get(), INFINITE);
    } else {
        WaitForAll();
    }
}

void SkinImages::WaitForAll() noexcept {
    if (worker_) WaitForSingleObject(allLoaded_.Get(), INFINITE);
}

controls::UniqueBitmap SkinImages::TakeBackgroundBitmap() noexcept {
    WaitForBackground();
    return std::move(backgroundBitmap_);
}

const controls::Image& SkinImages::Background() noexcept {
    WaitForBackground();
    return background_;
}

const controls::Image& SkinImages::Logo() noexcept {
    if (logo_) return *logo_;
    if (dpi_ == kBaseDpi) {
        logo_ = controls::Image::FromFile((folder_ + L"logo.png").c_str());
    } else {
        logo_.emplace(LoadScaled(L"logo.png", &controls::Bitmap::FromFile));
    }
    return *logo_;
}

SkinImages::ButtonImages SkinImages::ButtonImagesOf(ButtonSkin skin) noexcept {
    WaitForAll();
    return buttons_[static_cast<std::size_t>(skin)];
}

SkinImages::ButtonImages SkinImages::FirstButtonImagesOf(ButtonSkin skin) noexcept {
    if (IsLoaded()) return ButtonImagesOf(skin);
    if (normalLoaded_) WaitForSingleObject(normalLoaded_.Get(), INFINITE);
    const controls::SharedBitmap& normal = buttons_[static_cast<std::size_t>(skin)].normal;
    return {normal, normal, normal};
}

bool SkinImages::IsLoaded() const noexcept {
    return !worker_ || WaitForSingleObject(allLoaded_.Get(), 0) == WAIT_OBJECT_0;
}

void SkinImages::NotifyWhenLoaded(HWND window, UINT message) noexcept {
    notifyMessage_ = message;
    notify_ = window;
    // Whichever side sees both the window and the end of the loading posts, once.
    if (IsLoaded() && notify_.exchange(nullptr)) PostMessageW(window, message, 0, 0);
}

platform::UniqueImageList SkinImages::TakeListIcons() noexcept {
    WaitForAll();
    return std::move(listIcons_);
}
