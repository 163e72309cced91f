// The main window on the sample skin, switched to high contrast while open (forced: Wine always
// reports the mode off), with the focus moved by Tab: system colours, no skin, the logo kept. The
// picture is written to high-contrast-menu.png in the working folder.
#include <windows.h>
// windows.h first: the other system headers rely on its types.
#include <commctrl.h>
#include <objidl.h>
// (kept apart so include sorting leaves objidl.h first)
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "config/process_objects.h"
#include "resource.h"
#include "window/orvane_dlg.h"

namespace {

constexpr UINT kSwitch = WM_APP + 100;
constexpr UINT kCapture = WM_APP + 101;

class TestDialog : public COrvaneDlg {
public:
    using COrvaneDlg::COrvaneDlg;
    std::unique_ptr<Gdiplus::Bitmap> picture;
    LONG buttonType = 0;

protected:
    bool IsHighContrast() const noexcept override { return highContrast_; }
    BOOL OnInitDialog() noexcept override {
        PostMessageW(Handle(), kSwitch, 0, 0);
        return COrvaneDlg::OnInitDialog();
    }
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
        if (message == kSwitch) {
            ShowWindow(Handle(), SW_SHOW);  // the modal loop shows it only once its queue is empty
            highContrast_ = true;
            SendMessageW(Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
            // As the dialog manager marks a default button: the button must stay owner-drawn.
            const HWND button = GetDlgItem(Handle(), IDC_BTN_DEFAULT_INSTALL);
            SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
            buttonType = GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);  // through the dialog's message loop
            PostMessageW(Handle(), kCapture, 0, 0);
        } else if (message == kCapture) {
            RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            const HDC window = GetDC(Handle());
            const HDC memory = CreateCompatibleDC(window);
            const HBITMAP bitmap = CreateCompatibleBitmap(window, 800, 570);
            const HGDIOBJ previous = SelectObject(memory, bitmap);
            BitBlt(memory, 0, 0, 800, 570, window, 0, 0, SRCCOPY);
            SelectObject(memory, previous);
            picture = std::make_unique<Gdiplus::Bitmap>(bitmap, nullptr);
            DeleteObject(bitmap);
            DeleteDC(memory);
            ReleaseDC(Handle(), window);
            EndDialog(IDOK);
        } else {
            return COrvaneDlg::HandleMessage(message, wParam, lParam);
        }
        return 0;
    }

private:
    bool highContrast_ = false;
};

std::string Native(std::string path) {
    for (char& c : path) c = c == '/' ? '\\' : c;
    return "Z:" + path;
}

TEST(WindowTest, HighContrastDrawsWithTheSystemsColoursAndKeepsTheLogo) {
    if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) GTEST_SKIP() << "no X display: run under Xvfb";
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const controls::GdiplusSession gdiplus;
    const std::string language = Native(SETUP_SAMPLE_MEDIUM "/Language");
    LoadUiTextTable(0x0409, language, g_uiTextTable, language + "\\UICfg.xml", g_languageState);
    g_productConfig.uiShowIcon = true;
    SkinImages skin;
    const std::string skinFolder = Native(SETUP_TEST_SKIN "/");
    skin.StartLoading(std::wstring(skinFolder.begin(), skinFolder.end()));
    TestDialog dialog(nullptr, skin);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.buttonType, BS_OWNERDRAW);
    ASSERT_TRUE(dialog.picture);

    Gdiplus::Bitmap& picture = *dialog.picture;
    const auto count = [&](RECT area, int colour, bool same = true) {
        int pixels = 0;
        Gdiplus::Color at;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                picture.GetPixel(x, y, &at);
                pixels += (RGB(at.GetR(), at.GetG(), at.GetB()) == GetSysColor(colour)) == same;
            }
        }
        return pixels;
    };
    const auto is = [&](int x, int y, int colour) { return count(RECT{x, y, x + 1, y + 1}, colour) == 1; };
    EXPECT_EQ(count(RECT{0, 80, 250, 570}, COLOR_WINDOW, false), 0) << "the skin's dark panel is gone";
    EXPECT_GT(count(RECT{50, 20, 230, 60}, COLOR_WINDOW, false), 0) << "the logo stays";
    EXPECT_GT(count(RECT{341, 20, 741, 60}, COLOR_WINDOWTEXT), 100) << "the title";
    // The default installation button: face and frame; the custom one has the focus: the cue's
    // two rings inside its frame.
    EXPECT_TRUE(is(345, 150, COLOR_BTNFACE) && is(341, 150, COLOR_BTNTEXT));
    EXPECT_TRUE(is(404, 280, COLOR_BTNTEXT) && is(405, 280, COLOR_HIGHLIGHT) && is(406, 280, COLOR_BTNFACE));

    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    EXPECT_EQ(picture.Save(L"high-contrast-menu.png", &png, nullptr), Gdiplus::Ok);
}

}  // namespace
