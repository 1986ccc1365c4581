// ksButton: notifications of press, click and cancel; the pushed state and
// its sunken look.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/button.h"
#include "toolkit/colours.h"

namespace {

const int kButtonId = 77;

class ButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        button = CreateWindowExA(0, "ksButton", "OK", WS_CHILD | WS_VISIBLE, 10, 10, kWidth,
                                 kHeight, parent.Window(), reinterpret_cast<HMENU>(kButtonId),
                                 ThisModule(), nullptr);
        ASSERT_NE(button, nullptr);
        PaintNow(parent.Window());
    }
    void TearDown() override { DestroyWindow(button); }

    void Send(UINT message, int x, int y) { SendMessageA(button, message, 0, MAKELPARAM(x, y)); }

    static const int kWidth = 80;
    static const int kHeight = 24;
    TestParent parent{200, 60};
    HWND button = nullptr;
};

TEST_F(ButtonTest, ReleaseInsideSendsPressThenClick) {
    Send(WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(GetCapture(), button);
    Send(WM_LBUTTONUP, 6, 6);
    EXPECT_EQ(parent.Codes(), (std::vector<int>{BN_HILITE, BN_CLICKED}));
    EXPECT_NE(GetCapture(), button);
}

TEST_F(ButtonTest, ReleaseOutsideSendsPressThenCancel) {
    Send(WM_LBUTTONDOWN, 5, 5);
    Send(WM_MOUSEMOVE, 120, 5);
    Send(WM_LBUTTONUP, 120, 5);
    EXPECT_EQ(parent.Codes(), (std::vector<int>{BN_HILITE, BN_UNHILITE}));
}

TEST_F(ButtonTest, MovingBackInBeforeReleaseStillClicks) {
    Send(WM_LBUTTONDOWN, 5, 5);
    Send(WM_MOUSEMOVE, -3, 5);
    Send(WM_MOUSEMOVE, 5, 5);
    Send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(parent.Codes(), (std::vector<int>{BN_HILITE, BN_CLICKED}));
}

TEST_F(ButtonTest, AReleaseWithoutAPressIsACancel) {
    Send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(parent.Codes(), (std::vector<int>{BN_UNHILITE}));
}

TEST_F(ButtonTest, PushedOnlyWhilePressedHoveredAndEnabled) {
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), 0);
    Send(WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), 0);  // no mouse move inside yet
    Send(WM_MOUSEMOVE, 5, 5);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), BST_PUSHED);
    Send(WM_MOUSEMOVE, 5, 50);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), 0);
    Send(WM_MOUSEMOVE, 5, 5);
    EnableWindow(button, FALSE);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), 0);
    EnableWindow(button, TRUE);
    Send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), 0);
}

TEST_F(ButtonTest, RaisedFrameOnAFaceFilledButton) {
    PaintNow(button);
    const COLORREF light = ToolkitColour(kLightEdgeColour);
    const COLORREF dark = ToolkitColour(kDarkEdgeColour);
    EXPECT_EQ(WindowPixel(button, 0, 0), light);
    EXPECT_EQ(WindowPixel(button, 40, 0), light);
    EXPECT_EQ(WindowPixel(button, 0, 12), light);
    EXPECT_EQ(WindowPixel(button, kWidth - 1, 0), dark);
    EXPECT_EQ(WindowPixel(button, 0, kHeight - 1), dark);
    EXPECT_EQ(WindowPixel(button, kWidth - 1, 12), dark);
    EXPECT_EQ(WindowPixel(button, 3, 3), ToolkitColour(kFaceColour));
    EXPECT_GT(
        CountInWindowRow(button, kHeight / 2, 0, kWidth - 1, ToolkitColour(kTextColour)) +
            CountInWindowRow(button, kHeight / 2 + 1, 0, kWidth - 1, ToolkitColour(kTextColour)),
        0);
}

TEST_F(ButtonTest, PushedLooksSunken) {
    Send(WM_LBUTTONDOWN, 5, 5);
    Send(WM_MOUSEMOVE, 5, 5);
    PaintNow(button);
    const COLORREF light = ToolkitColour(kLightEdgeColour);
    const COLORREF dark = ToolkitColour(kDarkEdgeColour);
    EXPECT_EQ(WindowPixel(button, 40, 0), dark);
    EXPECT_EQ(WindowPixel(button, 0, 12), dark);
    EXPECT_EQ(WindowPixel(button, kWidth - 1, 12), light);
    EXPECT_EQ(WindowPixel(button, 40, kHeight - 1), light);
    Send(WM_LBUTTONUP, 5, 5);
}

TEST_F(ButtonTest, DisabledTextIsEmbossed) {
    EnableWindow(button, FALSE);
    PaintNow(button);
    int textPixels = 0, darkPixels = 0;
    for (int y = 3; y < kHeight - 3; ++y) {
        textPixels += CountInWindowRow(button, y, 2, kWidth - 3, ToolkitColour(kTextColour));
        darkPixels += CountInWindowRow(button, y, 2, kWidth - 3, ToolkitColour(kDarkEdgeColour));
    }
    EXPECT_EQ(textPixels, 0);
    EXPECT_GT(darkPixels, 0);
}

}  // namespace
