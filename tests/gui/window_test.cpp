// The main window on the sample skin, switched to high contrast while it is open (Wine always
// reports the mode off, so the test forces it): the window, the buttons, the labels and the focus
// cue take the system's colours, no skin image remains, the logo does. The picture of the menu
// page in high contrast, with the focus on the second button, is written to
// high-contrast-menu.png in the working folder.
#include <windows.h>
// windows.h first: the other system headers rely on its types.
#include <commctrl.h>
#include <objidl.h>
// (kept apart so include sorting leaves objidl.h first)
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <string>

#include "config/process_objects.h"
#include "window/orvane_dlg.h"

namespace {

constexpr UINT kLookNormal = WM_APP + 100;
constexpr UINT kLookHighContrast = WM_APP + 101;
constexpr int kWidth = 800;
constexpr int kHeight = 570;

class TestDialog : public COrvaneDlg {
public:
    using COrvaneDlg::COrvaneDlg;
    Gdiplus::Bitmap* normal = nullptr;
    Gdiplus::Bitmap* highContrast = nullptr;

protected:
    bool IsHighContrast() const noexcept override { return highContrastOn_; }
    BOOL OnInitDialog() noexcept override {
        const BOOL result = COrvaneDlg::OnInitDialog();
        PostMessageW(Handle(), kLookNormal, 0, 0);
        return result;
    }
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
        if (message == kLookNormal) {
            // The modal loop shows the window only once its queue is empty.
            ShowWindow(Handle(), SW_SHOW);
            normal = Capture();
            highContrastOn_ = true;
            SendMessageW(Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
            // Tab through the dialog's own message loop, as a keyboard user presses it.
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
            PostMessageW(Handle(), kLookHighContrast, 0, 0);
            return 0;
        }
        if (message == kLookHighContrast) {
            highContrast = Capture();
            EndDialog(IDOK);
            return 0;
        }
        return COrvaneDlg::HandleMessage(message, wParam, lParam);
    }

private:
    // The client area as it stands once every pending paint is done.
    Gdiplus::Bitmap* Capture() noexcept {
        RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const HDC window = GetDC(Handle());
        const HDC memory = CreateCompatibleDC(window);
        const HBITMAP bitmap = CreateCompatibleBitmap(window, kWidth, kHeight);
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, kWidth, kHeight, window, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        auto* picture = new Gdiplus::Bitmap(bitmap, nullptr);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(Handle(), window);
        return picture;
    }

    bool highContrastOn_ = false;
};

std::wstring Native(std::string path) {
    for (char& c : path) c = c == '/' ? '\\' : c;
    return L"Z:" + std::wstring(path.begin(), path.end());
}

COLORREF At(Gdiplus::Bitmap& picture, int x, int y) {
    Gdiplus::Color colour;
    picture.GetPixel(x, y, &colour);
    return RGB(colour.GetR(), colour.GetG(), colour.GetB());
}

int CountIn(Gdiplus::Bitmap& picture, RECT area, COLORREF colour, bool equal = true) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) count += (At(picture, x, y) == colour) == equal;
    }
    return count;
}

TEST(WindowTest, HighContrastDrawsWithTheSystemsColoursAndKeepsTheLogo) {
    if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) GTEST_SKIP() << "no X display: run under Xvfb";
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const controls::GdiplusSession gdiplus;
    const std::wstring samples = Native(SETUP_SAMPLE_MEDIUM);
    const std::string language(samples.begin(), samples.end());
    LoadUiTextTable(0x0409, language + "\\Language", g_uiTextTable, language + "\\Language\\UICfg.xml",
                    g_languageState);
    g_productConfig.uiShowIcon = true;
    SkinImages skin;
    skin.StartLoading(Native(SETUP_TEST_SKIN) + L"\\");
    TestDialog dialog(nullptr, skin);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    ASSERT_TRUE(dialog.normal && dialog.highContrast);
    Gdiplus::Bitmap& before = *dialog.normal;
    Gdiplus::Bitmap& after = *dialog.highContrast;

    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const RECT leftPanel{0, 80, 250, 570};  // the skin's dark panel, below the logo
    EXPECT_EQ(CountIn(before, leftPanel, window), 0) << "the skin before the switch";
    EXPECT_EQ(CountIn(after, leftPanel, window, false), 0) << "the window's colour after it";
    EXPECT_EQ(At(after, 790, 110), window);
    EXPECT_GT(CountIn(after, RECT{50, 20, 230, 60}, window, false), 0) << "the logo stays";
    EXPECT_GT(CountIn(after, RECT{341, 20, 741, 60}, GetSysColor(COLOR_WINDOWTEXT)), 100) << "the title";
    // The default installation button, unfocused now: face and frame.
    EXPECT_EQ(At(after, 345, 150), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(after, 341, 150), GetSysColor(COLOR_BTNTEXT));
    // The custom installation button has the focus: the cue's two rings inside its frame.
    EXPECT_EQ(At(after, 404, 280), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(At(after, 405, 280), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(At(after, 406, 280), GetSysColor(COLOR_BTNFACE));

    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    EXPECT_EQ(after.Save(L"high-contrast-menu.png", &png, nullptr), Gdiplus::Ok);
    delete dialog.normal;
    delete dialog.highContrast;
}

}  // namespace
