#include "controls/png_button.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "gdi_support.h"

namespace {

using test::ImagePath;

constexpr int kButtonId = 1001;
constexpr UINT kNotifyId = 7;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kLime = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// What the parent window saw: commands from the button, in order.
struct ParentLog {
    std::vector<WORD> notifications;
};

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* log = reinterpret_cast<ParentLog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_COMMAND:
            if (log && LOWORD(wParam) == kButtonId) log->notifications.push_back(HIWORD(wParam));
            return 0;
        case WM_DRAWITEM:
            return framework::ReflectDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

class PngButtonTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ParentProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"PngButtonTestParent";
        RegisterClassW(&windowClass);
        parent_ = CreateWindowExW(0, L"PngButtonTestParent", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
        if (!parent_ && GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
            GTEST_SKIP() << "no X display for Wine's windows: run under Xvfb";
        }
        ASSERT_NE(parent_, nullptr);
        SetWindowLongPtrW(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log_));
        HWND window = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 10, 20, 50,
                                      30, parent_, reinterpret_cast<HMENU>(kButtonId), windowClass.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(button_.Attach(window));
    }
    void TearDown() override {
        if (parent_) DestroyWindow(parent_);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    void SetStateImages(const char* normal = "button_normal.png", const char* pressed = "button_pressed.png") {
        const std::wstring normalPath = ImagePath(normal);
        const std::wstring hoverPath = ImagePath("button_hover.png");
        const std::wstring pressedPath = pressed ? ImagePath(pressed) : std::wstring();
        button_.SetImages(parent_, kNotifyId, normalPath.c_str(), hoverPath.c_str(),
                          pressed ? pressedPath.c_str() : nullptr);
    }

    RECT ButtonRect() const {
        RECT rect{};
        GetWindowRect(button_.Handle(), &rect);
        MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    // State messages posted to the parent since the last call, as their lParam values.
    std::vector<LPARAM> TakeStates() {
        std::vector<LPARAM> states;
        MSG message;
        while (PeekMessageW(&message, parent_, WM_PNGBUTTON_STATE, WM_PNGBUTTON_STATE, PM_REMOVE)) {
            EXPECT_EQ(message.wParam, kNotifyId);
            states.push_back(message.lParam);
        }
        return states;
    }

    // Draws the button into a canvas as the dialog's reflected WM_DRAWITEM would.
    void Draw(test::Canvas& canvas, UINT itemState, COLORREF dcTextColour = kBlack) {
        ::SetTextColor(canvas.Dc(), dcTextColour);
        DRAWITEMSTRUCT request{};
        request.CtlType = ODT_BUTTON;
        request.CtlID = kButtonId;
        request.itemAction = ODA_DRAWENTIRE;
        request.itemState = itemState;
        request.hwndItem = button_.Handle();
        request.hDC = canvas.Dc();
        GetClientRect(button_.Handle(), &request.rcItem);
        ASSERT_TRUE(framework::ReflectDrawItem(request));
    }

    void Send(UINT message, WPARAM wParam = 0) { SendMessageW(button_.Handle(), message, wParam, MAKELPARAM(5, 5)); }

    HWND parent_ = nullptr;
    ParentLog log_;
    CPngButton button_;
};

TEST_F(PngButtonTest, TakesTheSizeOfItsNormalImageOnlyOnTheFirstLoadedSetUp) {
    struct Step {
        const char* normal;
        RECT expectedRect;  // in the parent's client area
        int imageWidth, imageHeight;
    } steps[] = {
        {"missing.png", {10, 20, 10, 20}, 0, 0},          // vanishes, image rectangle stays empty
        {"button_normal.png", {10, 20, 50, 40}, 40, 20},  // sized now, corner kept
        {"button_large.png", {10, 20, 50, 40}, 60, 30},   // new images, old size
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.normal);
        SetStateImages(step.normal);
        const RECT rect = ButtonRect();
        EXPECT_EQ(rect.left, step.expectedRect.left);
        EXPECT_EQ(rect.top, step.expectedRect.top);
        EXPECT_EQ(rect.right, step.expectedRect.right);
        EXPECT_EQ(rect.bottom, step.expectedRect.bottom);
        EXPECT_EQ(button_.ImageWidth(), step.imageWidth);
        EXPECT_EQ(button_.ImageHeight(), step.imageHeight);
    }
    EXPECT_EQ(button_.ImageRect().right, 40);
    EXPECT_EQ(button_.ImageRect().bottom, 20);
}

TEST_F(PngButtonTest, DrawsTheImageOfItsState) {
    SetStateImages();
    test::Canvas canvas(40, 20, RGB(1, 2, 3));
    struct Case {
        const char* what;
        UINT message;  // sent before drawing, 0 for none
        UINT itemState;
        COLORREF colour;
        int pixels = 40 * 20;
    } cases[] = {
        {"normal", 0, 0, kRed},
        {"held down", 0, ODS_SELECTED, kBlue},
        {"hover", WM_MOUSEHOVER, 0, kLime},
        {"held down while hovering", 0, ODS_SELECTED, kBlue},
        {"disabled and focused, no keyboard cues, like any other", 0, ODS_DISABLED | ODS_FOCUS | ODS_NOFOCUSRECT,
         kLime},
        // The focus cue, 3 pixels in: a dark ring of the focus border width, a light one inside.
        {"focused once the keyboard is used: dark ring", 0, ODS_FOCUS, kBlack, 2 * (34 + 14) - 4},
        {"focused once the keyboard is used: light ring", 0, ODS_FOCUS, kWhite, 2 * (32 + 12) - 4},
        {"left", WM_MOUSELEAVE, 0, kRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.message) Send(c.message);
        canvas.Fill(RGB(1, 2, 3));
        Draw(canvas, c.itemState);
        EXPECT_EQ(canvas.Count(c.colour), c.pixels);
    }
}

TEST_F(PngButtonTest, WithoutAPressedPathPressingShowsTheNormalImage) {
    SetStateImages("button_normal.png", nullptr);
    test::Canvas canvas(40, 20, RGB(1, 2, 3));
    Draw(canvas, ODS_SELECTED);
    EXPECT_EQ(canvas.Count(kRed), 40 * 20);
}

TEST_F(PngButtonTest, MouseStatesArePostedAndColourTheCaption) {
    SetStateImages();
    SetWindowTextW(button_.Handle(), L"MMMMMM");
    test::Canvas canvas(40, 20, RGB(1, 2, 3));
    struct Case {
        const char* what;
        UINT message;
        std::vector<LPARAM> states;
        COLORREF image, caption;
        bool hover;
    } cases[] = {
        {"before any state", 0, {}, kRed, kBlue, false},  // the context's own colour (blue here)
        {"rests", WM_MOUSEHOVER, {1}, kLime, kWhite, true},
        {"leaves", WM_MOUSELEAVE, {0}, kRed, kBlack, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.message) Send(c.message);
        EXPECT_EQ(TakeStates(), c.states);
        EXPECT_EQ(button_.IsHover(), c.hover);
        canvas.Fill(RGB(1, 2, 3));
        Draw(canvas, 0, kBlue);
        EXPECT_GT(canvas.Count(c.image), 40 * 20 / 2);
        EXPECT_GT(canvas.Count(c.caption), 0) << "caption colour";
        EXPECT_EQ(canvas.Count(RGB(1, 2, 3)), 0) << "the image covers the whole button";
    }
}

// Columns that hold caption pixels: first and last, or {40, -1} when there are none.
std::pair<int, int> CaptionSpan(const test::Canvas& canvas, COLORREF caption) {
    int first = 40, last = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            if (canvas.At(x, y) == caption) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

TEST_F(PngButtonTest, CaptionIsCentredWithAmpersandPrefixes) {
    SetStateImages();
    button_.SetTextColor(kWhite);
    test::Canvas canvas(40, 20, RGB(1, 2, 3));
    auto spanOf = [&](const wchar_t* caption) {
        SetWindowTextW(button_.Handle(), caption);
        canvas.Fill(RGB(1, 2, 3));
        Draw(canvas, 0);
        return CaptionSpan(canvas, kWhite);
    };
    EXPECT_EQ(spanOf(L"").second, -1) << "an empty caption draws only the image";

    const auto plain = spanOf(L"I");
    ASSERT_GE(plain.second, plain.first);
    EXPECT_NEAR((plain.first + plain.second) / 2.0, 19.5, 3.0) << "centred";

    const auto prefixed = spanOf(L"&I");  // the ampersand is not drawn, it underlines the I
    ASSERT_GE(prefixed.second, prefixed.first);
    EXPECT_LE(prefixed.second - prefixed.first, plain.second - plain.first + 3);

    const auto doubled = spanOf(L"&&");  // one ampersand is drawn
    EXPECT_GE(doubled.second, doubled.first);

    const auto wide = spanOf(L"MMMMMMMMMMMMMMMM");  // wider than the button: clipped on both sides
    EXPECT_LE(wide.first, 2);
    EXPECT_GE(wide.second, 37);
}

TEST_F(PngButtonTest, PressesClickAndADoubleClickCountsAsTwoClicks) {
    SetStateImages();
    Send(WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(TakeStates(), std::vector<LPARAM>{2});
    Send(WM_LBUTTONUP);
    EXPECT_EQ(log_.notifications, std::vector<WORD>{BN_CLICKED});

    log_.notifications.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON);
    Send(WM_LBUTTONUP);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON);
    Send(WM_LBUTTONUP);
    EXPECT_EQ(log_.notifications, (std::vector<WORD>{BN_CLICKED, BN_CLICKED}));
    EXPECT_EQ(TakeStates(), std::vector<LPARAM>{2}) << "the second press of a double click posts nothing";
}

TEST_F(PngButtonTest, NothingIsPostedBeforeSetUpAndErasingPaintsNothing) {
    Send(WM_MOUSEHOVER);
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_PNGBUTTON_STATE, WM_PNGBUTTON_STATE, PM_REMOVE));

    test::Canvas canvas(10, 10, RGB(1, 2, 3));
    EXPECT_EQ(SendMessageW(button_.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0), TRUE);
    EXPECT_EQ(canvas.Count(RGB(1, 2, 3)), 100);
}

TEST_F(PngButtonTest, ReleasesItsWindowWhenTheWindowGoes) {
    SetStateImages();
    const HWND window = button_.Handle();
    DestroyWindow(window);
    EXPECT_EQ(button_.Handle(), nullptr);
    DRAWITEMSTRUCT request{};
    request.CtlType = ODT_BUTTON;
    request.hwndItem = window;
    EXPECT_FALSE(framework::ReflectDrawItem(request));
    EXPECT_EQ(button_.ReleaseImages(), TRUE);
}

TEST_F(PngButtonTest, AButtonObjectThatGoesFirstGivesTheWindowItsOwnProcedureBack) {
    HWND window = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 40, 20, parent_,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    const LONG_PTR ownProcedure = GetWindowLongPtrW(window, GWLP_WNDPROC);
    {
        CPngButton temporary;
        ASSERT_TRUE(temporary.Attach(window));
        EXPECT_NE(GetWindowLongPtrW(window, GWLP_WNDPROC), ownProcedure);
    }
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), ownProcedure);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 0);
    DRAWITEMSTRUCT request{};
    request.CtlType = ODT_BUTTON;
    request.hwndItem = window;
    EXPECT_FALSE(framework::ReflectDrawItem(request)) << "nothing draws the button any more";
    SendMessageW(window, WM_MOUSEHOVER, 0, 0);  // reaches the platform button only
    DestroyWindow(window);
}

}  // namespace
