// The Help > Toolkit... panel tried as a user would: clicks at screen points,
// each delivered to the window the system finds there.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "hostapp/toolkitpanel_win.h"
#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/menu.h"
#include "toolkit/spinner.h"
#include "toolkit/window_record.h"

namespace {

struct ChildSearch {
    const char* cls;
    const char* text;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM lParam) {
    ChildSearch& search = *reinterpret_cast<ChildSearch*>(lParam);
    if (ClassName(child) != search.cls || (search.text && WindowText(child) != search.text))
        return TRUE;
    search.found = child;
    return FALSE;
}

// The first window of a class (and, when given, a text) inside a window.
HWND FindChild(HWND parent, const char* cls, const char* text = nullptr) {
    ChildSearch search = {cls, text, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

POINT Centre(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A left click at a screen point, delivered as the system would: to the
// window under it. That window is returned.
HWND ClickAt(POINT screen) {
    HWND target = WindowFromPoint(screen);
    POINT client = screen;
    ScreenToClient(target, &client);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    PumpPending();
    return target;
}

BOOL CALLBACK CheckReachable(HWND child, LPARAM) {
    if (GetParent(child) != GetAncestor(child, GA_ROOT) || ClassName(child) == "ksGroupBox")
        return TRUE;
    HWND hit = WindowFromPoint(Centre(child));
    EXPECT_TRUE(hit == child || IsChild(child, hit))
        << ClassName(child) << " under " << ClassName(hit);
    return TRUE;
}

class ToolkitPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ShowToolkitPanel(GetModuleHandleA(nullptr), nullptr));
        panel = FindWindowA("plyhostToolkitPanel", nullptr);
        ASSERT_NE(panel, nullptr);
        PumpPending();
    }
    void TearDown() override {
        if (HWND menu = FindWindowA("ksMenu", nullptr)) DestroyWindow(menu);
        DestroyWindow(panel);
        PumpPending();
    }
    HWND panel = nullptr;
};

TEST_F(ToolkitPanelTest, EveryControlAnswersTheMouse) {
    EnumChildWindows(panel, CheckReachable, 0);

    HWND status = FindChild(panel, "ksStatic", "Choices made here show on this line.");
    ASSERT_NE(status, nullptr);
    HWND menuButton = FindChild(panel, "ksButton", "Menu...");
    ASSERT_NE(menuButton, nullptr);
    EXPECT_EQ(ClickAt(Centre(menuButton)), menuButton);
    HWND menu = FindWindowA("ksMenu", nullptr);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(IsWindowVisible(menu));
    const RECT save = GetWindowRecord<MenuRecord>(menu)->items[1]->itemRect;
    POINT item = {(save.left + save.right) / 2, (save.top + save.bottom) / 2};
    ClientToScreen(menu, &item);
    EXPECT_EQ(ClickAt(item), menu);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(menu); }));
    EXPECT_EQ(WindowText(status), "Menu: Save as...");

    // The check box sits left of its label.
    HWND label = FindChild(panel, "ksStatic", "Flip Z and Y");
    ASSERT_NE(label, nullptr);
    RECT labelRect;
    GetWindowRect(label, &labelRect);
    HWND flip = ClickAt(POINT{labelRect.left - 10, Centre(label).y});
    EXPECT_EQ(ClassName(flip), "ksCheckBox");
    EXPECT_EQ(SendMessageA(flip, BM_GETCHECK, 0, 0), 1);

    HWND spinner = FindChild(panel, "ksSpinner");
    ASSERT_NE(spinner, nullptr);
    RECT spinnerRect;
    GetWindowRect(spinner, &spinnerRect);
    EXPECT_EQ(ClassName(ClickAt(POINT{spinnerRect.right - 5, spinnerRect.top + 4})),
              "ksSpinButton");
    const double* value =
        reinterpret_cast<const double*>(SendMessageA(spinner, SPM_GETVALUE, 0, 0));
    EXPECT_DOUBLE_EQ(*value, 1.1);
}

}  // namespace
