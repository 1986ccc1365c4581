// ksArrowButton: the arrow glyphs and the thumb, and the press, click and
// cancel notifications of a push button without taking the focus.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/arrow_button.h"
#include "toolkit/colours.h"
#include "toolkit/window_record.h"

namespace {

class ArrowButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        PaintNow(parent.Window());
    }
    void TearDown() override {
        if (button) DestroyWindow(button);
    }
    void Make(const char* text) {
        if (button) DestroyWindow(button);
        button = MakeControl("ksArrowButton", text, 0, 10, 10, kSize, kSize, parent.Window(), 31);
        ASSERT_NE(button, nullptr);
        PaintNow(button);
    }
    void Send(UINT message, int x, int y) { SendMessageA(button, message, 0, MAKELPARAM(x, y)); }
    int Ink(int y) { return CountInWindowRow(button, y, 1, kSize - 2, ToolkitColour(kTextColour)); }

    static const int kSize = 16;
    RecordingParent parent{100, 60};
    HWND button = nullptr;
};

TEST_F(ArrowButtonTest, CreationTextChoosesTheKind) {
    Make("up");
    EXPECT_EQ(GetWindowRecord<ArrowButtonRecord>(button)->isUp, 1);
    Make("Thumb");
    EXPECT_EQ(GetWindowRecord<ArrowButtonRecord>(button)->isThumb, 1);
    Make("DN");
    EXPECT_EQ(GetWindowRecord<ArrowButtonRecord>(button)->isUp, 0);
    EXPECT_EQ(GetWindowRecord<ArrowButtonRecord>(button)->isThumb, 0);
}

// 16 by 16: x0 = 6, y0 = 6.
TEST_F(ArrowButtonTest, UpArrowHasItsTipOnTop) {
    Make("UP");
    EXPECT_EQ(Ink(6), 1);
    EXPECT_EQ(WindowPixel(button, 8, 6), ToolkitColour(kTextColour));
    EXPECT_EQ(Ink(7), 3);
    EXPECT_EQ(Ink(8), 5);
    EXPECT_EQ(WindowPixel(button, 6, 8), ToolkitColour(kTextColour));
    EXPECT_EQ(Ink(9), 0);
}

TEST_F(ArrowButtonTest, DownArrowHasItsTipBelow) {
    Make("DN");
    EXPECT_EQ(Ink(6), 5);
    EXPECT_EQ(Ink(7), 3);
    EXPECT_EQ(Ink(8), 1);
}

TEST_F(ArrowButtonTest, PushedArrowSinksOnePixel) {
    Make("DN");
    Send(WM_LBUTTONDOWN, 3, 3);
    Send(WM_MOUSEMOVE, 3, 3);
    PaintNow(button);
    EXPECT_EQ(Ink(6), 0);
    EXPECT_EQ(Ink(7), 5);
    EXPECT_EQ(WindowPixel(button, 8, 0), ToolkitColour(kDarkEdgeColour));
    EXPECT_EQ(WindowPixel(button, 8, kSize - 1), ToolkitColour(kLightEdgeColour));
    Send(WM_LBUTTONUP, 3, 3);
}

TEST_F(ArrowButtonTest, ThumbIsARaisedFaceOnly) {
    Make("THUMB");
    EXPECT_EQ(WindowPixel(button, 8, 0), ToolkitColour(kLightEdgeColour));
    EXPECT_EQ(WindowPixel(button, 8, kSize - 1), ToolkitColour(kDarkEdgeColour));
    RECT inside = {1, 1, kSize - 1, kSize - 1};
    EXPECT_EQ(CountInWindowRect(button, inside, ToolkitColour(kFaceColour)),
              (kSize - 2) * (kSize - 2));
}

TEST_F(ArrowButtonTest, DisabledArrowIsDark) {
    Make("UP");
    EnableWindow(button, FALSE);
    EXPECT_EQ(WindowPixel(button, 8, 6), ToolkitColour(kDarkEdgeColour));
}

TEST_F(ArrowButtonTest, PressOutAndReleaseCancels) {
    Make("UP");
    HWND focus = GetFocus();
    Send(WM_LBUTTONDOWN, 3, 3);
    EXPECT_EQ(GetCapture(), button);
    EXPECT_EQ(GetFocus(), focus);  // an arrow never takes the focus
    Send(WM_MOUSEMOVE, 40, 3);
    Send(WM_LBUTTONUP, 40, 3);
    EXPECT_EQ(parent.CommandCodes(), (std::vector<int>{BN_HILITE, BN_UNHILITE}));
    EXPECT_NE(GetCapture(), button);
}

TEST_F(ArrowButtonTest, ReleaseInsideClicks) {
    Make("DN");
    Send(WM_LBUTTONDOWN, 3, 3);
    Send(WM_MOUSEMOVE, 30, 3);
    Send(WM_MOUSEMOVE, 3, 3);
    Send(WM_LBUTTONUP, 3, 3);
    EXPECT_EQ(parent.CommandCodes(), (std::vector<int>{BN_HILITE, BN_CLICKED}));
}

TEST_F(ArrowButtonTest, ThumbTakesNoCapture) {
    Make("THUMB");
    Send(WM_LBUTTONDOWN, 3, 3);
    EXPECT_NE(GetCapture(), button);
    Send(WM_LBUTTONUP, 3, 3);
    EXPECT_EQ(parent.CommandCodes(), (std::vector<int>{BN_HILITE, BN_CLICKED}));
}

}  // namespace
