#include "window/skin_images.h"

#include <commctrl.h>

#include <memory>
#include <new>
#include <utility>

#include "framework/phase_trace.h"
#include "resource.h"

namespace {

// The list icons in the order that fixes each one's index, which conf.xml's items refer to.
constexpr int kListIcons[] = {IDI_LIST_PDF,    IDI_LIST_APPLICATION, IDI_LIST_COMPUTER,
                              IDI_LIST_DEVICE, IDI_LIST_ARCHIVE,     IDI_LIST_DOCUMENT};

constexpr ButtonSkin kSkins[] = {ButtonSkin::Size400x70, ButtonSkin::Size280x50, ButtonSkin::Size136x40,
                                 ButtonSkin::Size120x26};

std::wstring SkinFile(const std::wstring& folder, ButtonSkin skin, const char* state) {
    std::wstring path = folder;
    for (const char* part : {SkinStem(skin), state}) {
        for (const char* c = part; *c; ++c) path += static_cast<wchar_t>(*c);  // ASCII file names
    }
    return path;
}

controls::SharedBitmap LoadButtonImage(const std::wstring& path) noexcept {
    // An object that can't be allocated leaves the button's slot empty, which draws nothing,
    // like a file that failed to load.
    std::unique_ptr<controls::Bitmap> image(new (std::nothrow) controls::Bitmap());
    if (image) *image = controls::Bitmap::DecodeFile(path.c_str());
    return controls::SharedBitmap(std::move(image));
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

void SkinImages::StartLoading(const std::wstring& imageFolder) noexcept {
    folder_ = imageFolder;
    backgroundLoaded_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    allLoaded_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    release_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (backgroundLoaded_ && allLoaded_ && release_) {
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

void SkinImages::Load() noexcept {
    LoadBackground();
    if (backgroundLoaded_) SetEvent(backgroundLoaded_.Get());
    LoadButtons();
    LoadListIcons();
    if (allLoaded_) SetEvent(allLoaded_.Get());
    framework::MarkPhase("skin loaded");
}

void SkinImages::LoadBackground() noexcept {
    // One decode serves the brush (converted by CImage's rules) and the painting.
    background_ = controls::Bitmap::FromFile((folder_ + L"menu.png").c_str());
    controls::CImage converted;
    converted.Load(background_);
    backgroundBitmap_.Reset(converted.Detach());
    framework::MarkPhase("background decoded");
}

void SkinImages::LoadButtons() noexcept {
    for (const ButtonSkin skin : kSkins) {
        ButtonImages& images = buttons_[static_cast<std::size_t>(skin)];
        images.normal = LoadButtonImage(SkinFile(folder_, skin, "_Normal.png"));
        images.hover = LoadButtonImage(SkinFile(folder_, skin, "_Hover.png"));
        images.pressed = LoadButtonImage(SkinFile(folder_, skin, "_Pressed.png"));
    }
    framework::MarkPhase("button images decoded");
}

void SkinImages::LoadListIcons() noexcept {
    listIcons_.Reset(ImageList_Create(32, 32, ILC_COLOR32, 10, 10));
    for (const int id : kListIcons) {
        // Loaded at the system's icon size, then stored at the list's 32 x 32.
        const platform::UniqueIcon icon(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
        ImageList_AddIcon(listIcons_.Get(), icon.Get());
    }
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
    if (!logo_) logo_ = controls::Image::FromFile((folder_ + L"logo.png").c_str());
    return *logo_;
}

SkinImages::ButtonImages SkinImages::ButtonImagesOf(ButtonSkin skin) noexcept {
    WaitForAll();
    return buttons_[static_cast<std::size_t>(skin)];
}

platform::UniqueImageList SkinImages::TakeListIcons() noexcept {
    WaitForAll();
    return std::move(listIcons_);
}
