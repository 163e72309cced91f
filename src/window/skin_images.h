#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "controls/image.h"
#include "controls/png_button.h"
#include "platform/handles_win.h"
#include "window/control_facts.h"

// The main window's skin and list icons, each file decoded once for the life of the window:
// menu.png (the background brush's bitmap and the picture behind the logo), the three state
// images of each button size (shared by the buttons of that size) and the six list icons. They
// are loaded on a worker thread that start-up starts as soon as the image folder is known, so
// that decoding overlaps reading the configuration and making the window; each accessor waits
// for what it returns. Only the user-interface thread calls the accessors. The worker ends
// only after the images are gone.
//
// Everything is loaded for one display scale (dpi): above 100 % each image comes from the
// medium's variant for that scale if it has one (see config/skin_variants.h), and is scaled once
// to the base image's size times the scale, so that painting only copies pixels. At 100 % the
// base images are used as they are.
class SkinImages {
public:
    struct ButtonImages {
        controls::SharedBitmap normal;
        controls::SharedBitmap hover;
        controls::SharedBitmap pressed;
    };

    SkinImages() noexcept = default;
    ~SkinImages();
    SkinImages(const SkinImages&) = delete;
    SkinImages& operator=(const SkinImages&) = delete;

    // Starts loading from `imageFolder` (ImageFolder, ending in a backslash) for `dpi`. GDI+
    // must be running. Without a worker thread the loading is done here and now.
    void StartLoading(const std::wstring& imageFolder, int dpi = 96) noexcept;
    // Loads everything again, here and now, for another dpi (the window moved to a monitor of
    // another scale, or it starts at another one than StartLoading was told).
    void Reload(int dpi) noexcept;
    int Dpi() const noexcept { return dpi_; }

    // menu.png converted into a GDI bitmap for the pattern brush; the caller takes it. Empty
    // when the file is missing or can't be decoded.
    controls::UniqueBitmap TakeBackgroundBitmap() noexcept;
    // menu.png as the picture the window paints behind the logo.
    const controls::Image& Background() noexcept;
    // logo.png, decoded the first time it is asked for: only a window that shows the logo
    // reads the file.
    const controls::Image& Logo() noexcept;
    // The state images of the buttons of one size; empty pointers for ButtonSkin::None.
    ButtonImages ButtonImagesOf(ButtonSkin skin) noexcept;
    // The same once everything is loaded; before that the normal image in all three places, as
    // soon as the normal images are loaded: the first paint needs no more.
    ButtonImages FirstButtonImagesOf(ButtonSkin skin) noexcept;
    // Whether everything is loaded; if not, NotifyWhenLoaded posts `message` to `window` (once)
    // when it is.
    bool IsLoaded() const noexcept;
    void NotifyWhenLoaded(HWND window, UINT message) noexcept;
    // The list icons in their fixed order (32 x 32 at 100 %, 32-bit colour); the caller takes the
    // list.
    platform::UniqueImageList TakeListIcons() noexcept;

private:
    static DWORD WINAPI LoadOnWorker(LPVOID skin) noexcept;
    void Load() noexcept;
    void LoadBackground() noexcept;
    void LoadButtons(const char* state, controls::SharedBitmap ButtonImages::*slot) noexcept;
    void LoadListIcons() noexcept;
    void FindVariants() noexcept;
    // The image `name` at the scale, decoded by `decode` (see the class comment).
    controls::Bitmap LoadScaled(const wchar_t* name, controls::Bitmap (*decode)(const wchar_t*)) noexcept;
    // Waits for the worker to have loaded the background, or everything.
    void WaitForBackground() noexcept;
    void WaitForAll() noexcept;

    static constexpr std::size_t kSkinCount = 5;  // ButtonSkin values, None included

    struct Variant {
        std::string base;  // the base image's name, in lower case
        int scale;
        std::wstring file;
    };

    std::wstring folder_;
    int dpi_ = 96;
    std::vector<Variant> variants_;
    // Written by the worker before it sets backgroundLoaded_ (or ends), read after the wait.
    controls::Bitmap background_;
    controls::UniqueBitmap backgroundBitmap_;
    std::array<ButtonImages, kSkinCount> buttons_{};
    platform::UniqueImageList listIcons_;

    std::optional<controls::Image> logo_;
    platform::UniqueKernelHandle backgroundLoaded_;  // manual-reset events
    platform::UniqueKernelHandle normalLoaded_;
    platform::UniqueKernelHandle allLoaded_;
    std::atomic<HWND> notify_ = nullptr;
    UINT notifyMessage_ = 0;
    platform::UniqueKernelHandle release_;  // lets the worker end, once the images are gone
    platform::UniqueKernelHandle worker_;
};
