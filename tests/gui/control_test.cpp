#include "framework/control.h"

#include <gtest/gtest.h>

namespace {

// What the windows of the test saw: WM_SHOWWINDOW at the child, WM_ERASEBKGND at the parent.
struct Seen {
    int showWindow = 0;
    WPARAM lastShown = 2;
    int parentErases = 0;
    int childErases = 0;
};
Seen g_seen;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) ++g_seen.parentErases;
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) ++g_seen.childErases;
    if (message == WM_SHOWWINDOW) {
        ++g_seen.showWindow;
        g_seen.lastShown = wParam;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class ControlShowTest : public testing::Test {
protected:
    void SetUp() override {
        g_seen = Seen();
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSW parentClass{};
        parentClass.lpfnWndProc = ParentProc;
        parentClass.hInstance = instance;
        parentClass.lpszClassName = L"ControlShowTestParent";
        RegisterClassW(&parentClass);
        WNDCLASSW childClass{};
        childClass.lpfnWndProc = ChildProc;
        childClass.hInstance = instance;
        childClass.lpszClassName = L"ControlShowTestChild";
        RegisterClassW(&childClass);
        parent_ = CreateWindowExW(0, L"ControlShowTestParent", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                  nullptr, instance, nullptr);
        if (!parent_ && GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
            GTEST_SKIP() << "no X display for Wine's windows: run under Xvfb";
        }
        ASSERT_NE(parent_, nullptr);
        child_ = CreateWindowExW(0, L"ControlShowTestChild", L"", WS_CHILD | WS_VISIBLE, 10, 10, 50, 30, parent_,
                                 nullptr, instance, nullptr);
        ASSERT_NE(child_, nullptr);
        ASSERT_TRUE(control_.Attach(child_));
        Settle();
        g_seen = Seen();
    }
    void TearDown() override {
        if (parent_) DestroyWindow(parent_);
    }
    // Paints whatever is pending, so that the next step starts with nothing to erase.
    void Settle() {
        UpdateWindow(parent_);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }

    HWND parent_ = nullptr;
    HWND child_ = nullptr;
    framework::Control control_;
};

TEST_F(ControlShowTest, HidingLeavesTheUncoveredBackgroundToTheParentsNextPaint) {
    struct Case {
        const char* name;
        bool startVisible;
        bool focused;
        int showWindowMessages;  // WM_SHOWWINDOW(FALSE) at the child
        bool focusAtParent;
    } cases[] = {
        {"visible", true, false, 1, false},
        {"visible, with the focus", true, true, 1, true},
        {"already hidden", false, false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowWindow(child_, c.startVisible ? SW_SHOW : SW_HIDE);
        SetFocus(c.focused ? child_ : parent_);
        Settle();
        g_seen = Seen();

        control_.Show(false);
        EXPECT_FALSE(GetWindowLongW(child_, GWL_STYLE) & WS_VISIBLE);
        EXPECT_EQ(g_seen.showWindow, c.showWindowMessages);
        if (c.showWindowMessages) {
            EXPECT_EQ(g_seen.lastShown, static_cast<WPARAM>(FALSE));
        }
        EXPECT_EQ(g_seen.parentErases, 0) << "nothing is erased before the parent paints";
        RECT pending{};
        EXPECT_EQ(GetUpdateRect(parent_, &pending, FALSE) != FALSE, c.startVisible);
        if (c.focused) {
            EXPECT_EQ(GetFocus(), parent_) << "the focus goes back to the parent, as with ShowWindow";
        }
        Settle();
        EXPECT_EQ(g_seen.parentErases, c.startVisible ? 1 : 0) << "the paint erases the uncovered background";
        EXPECT_FALSE(GetUpdateRect(parent_, nullptr, FALSE));
    }
}

TEST_F(ControlShowTest, ShowingLeavesTheEraseToTheControlsPaint) {
    control_.Show(false);
    Settle();
    g_seen = Seen();
    control_.Show(true);
    EXPECT_TRUE(GetWindowLongW(child_, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(g_seen.showWindow, 1);
    EXPECT_EQ(g_seen.lastShown, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(g_seen.childErases, 0) << "nothing is erased before the control paints";
    EXPECT_TRUE(GetUpdateRect(child_, nullptr, FALSE)) << "the shown control paints itself";
    Settle();
    EXPECT_EQ(g_seen.childErases, 1) << "its paint erases it";

    g_seen = Seen();
    control_.Show(true);
    EXPECT_EQ(g_seen.showWindow, 0) << "an already visible control is left alone, as ShowWindow does";
}

}  // namespace
