// ksStatic and ksGroupBox: alignment, line feeds, the embossed disabled
// text, and the group frame as a class of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/fonts.h"
#include "toolkit/groupbox.h"

namespace {

// Ink is anything but the face colour: glyph edges may be smoothed.
struct Ink {
    int left = -1, right = -1, top = -1, bottom = -1;
};

Ink FindInk(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    const COLORREF face = ToolkitColour(kFaceColour);
    Ink ink;
    HDC dc = GetDC(window);
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) {
            if (GetPixel(dc, x, y) == face) continue;
            if (ink.left < 0 || x < ink.left) ink.left = x;
            if (x > ink.right) ink.right = x;
            if (ink.top < 0) ink.top = y;
            ink.bottom = y;
        }
    ReleaseDC(window, dc);
    return ink;
}

int LineHeight() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, GetToolkitFont(0));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

class StaticTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        PaintNow(parent.Window());
    }
    void TearDown() override {
        if (label) DestroyWindow(label);
    }
    void Make(const char* text, DWORD style, int height = kHeight) {
        if (label) DestroyWindow(label);
        label = MakeControl("ksStatic", text, style, 10, 10, kWidth, height, parent.Window(), 1006);
        ASSERT_NE(label, nullptr);
        PaintNow(label);
    }

    static const int kWidth = 120;
    static const int kHeight = 40;
    RecordingParent parent{200, 100};
    HWND label = nullptr;
};

TEST_F(StaticTest, FillsItsAreaWithTheFace) {
    Make("", 0);
    EXPECT_EQ(WindowPixel(label, 0, 0), ToolkitColour(kFaceColour));
    EXPECT_EQ(WindowPixel(label, kWidth - 1, kHeight - 1), ToolkitColour(kFaceColour));
}

TEST_F(StaticTest, AlignsLeftCentreAndRight) {
    Make("1.234", 0);
    Ink left = FindInk(label);
    Make("1.234", SS_CENTER);
    Ink centre = FindInk(label);
    Make("1.234", SS_RIGHT);
    Ink right = FindInk(label);
    ASSERT_GE(left.left, 0);
    EXPECT_LE(left.left, 1);
    EXPECT_GE(right.right, kWidth - 2);
    const int width = left.right - left.left;
    EXPECT_NEAR(centre.left, (kWidth - width) / 2, 2);
}

TEST_F(StaticTest, OneLineIsVerticallyCentred) {
    Make("Vertices:", 0);
    Ink ink = FindInk(label);
    ASSERT_GE(ink.top, 0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, kHeight / 2.0, 3.0);
}

TEST_F(StaticTest, LineFeedGivesSeveralLinesFromTheTop) {
    Make("first\nsecond\nthird", 0, 60);
    Ink ink = FindInk(label);
    ASSERT_GE(ink.top, 0);
    EXPECT_LT(ink.top, 4);
    EXPECT_GT(ink.bottom - ink.top, 2 * LineHeight() - 2);
}

TEST_F(StaticTest, EnabledTextIsTheTextColour) {
    Make("Faces:", 0);
    RECT client = {0, 0, kWidth, kHeight};
    EXPECT_GT(CountInWindowRect(label, client, ToolkitColour(kTextColour)), 5);
    EXPECT_EQ(CountInWindowRect(label, client, ToolkitColour(kDarkEdgeColour)), 0);
}

TEST_F(StaticTest, DisabledTextIsEmbossed) {
    Make("Faces:", 0);
    EnableWindow(label, FALSE);
    RECT client = {0, 0, kWidth, kHeight};
    EXPECT_EQ(CountInWindowRect(label, client, ToolkitColour(kTextColour)), 0);
    EXPECT_GT(CountInWindowRect(label, client, ToolkitColour(kDarkEdgeColour)), 5);
    EXPECT_GT(CountInWindowRect(label, client, ToolkitColour(kLightEdgeColour)), 5);
}

TEST_F(StaticTest, NewTextRepaintsAtOnce) {
    Make("", 0);
    RECT client = {0, 0, kWidth, kHeight};
    EXPECT_EQ(CountInWindowRect(label, client, ToolkitColour(kTextColour)), 0);
    EXPECT_TRUE(SetWindowTextA(label, "1.234.567"));
    EXPECT_GT(CountInWindowRect(label, client, ToolkitColour(kTextColour)), 5);
    EXPECT_EQ(WindowText(label), "1.234.567");
}

class GroupBoxClassTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        group = MakeControl("ksGroupBox", " Geometry ", 0, 10, 10, kWidth, kHeight, parent.Window(),
                            1011);
        ASSERT_NE(group, nullptr);
        PaintNow(parent.Window());
        PaintNow(group);
    }
    void TearDown() override { DestroyWindow(group); }

    static const int kWidth = 160;
    static const int kHeight = 90;
    RecordingParent parent{200, 120};
    HWND group = nullptr;
};

TEST_F(GroupBoxClassTest, KeepsNoRecord) { EXPECT_EQ(GetWindowLongPtrA(group, 0), 0); }

// The host's face is RGB (68, 68, 68): titles come out RGB (168, 158, 143).
TEST_F(GroupBoxClassTest, TitleTakesItsColourFromTheFace) {
    ASSERT_EQ(ToolkitColour(kFaceColour), RGB(68, 68, 68));
    const COLORREF title = RGB(168, 158, 143);
    RECT strip = {0, 0, kWidth, 16};
    EXPECT_GT(CountInWindowRect(group, strip, title), 10);
    // Centred: as many title pixels left of the middle as right of it, roughly.
    RECT leftHalf = {0, 0, kWidth / 2, 16};
    RECT rightHalf = {kWidth / 2, 0, kWidth, 16};
    const int l = CountInWindowRect(group, leftHalf, title);
    const int r = CountInWindowRect(group, rightHalf, title);
    EXPECT_GT(l, 3);
    EXPECT_GT(r, 3);
}

TEST_F(GroupBoxClassTest, EtchedFrameAndAnUnpaintedInside) {
    EXPECT_EQ(WindowPixel(group, 0, 50), ToolkitColour(kDarkEdgeColour));
    EXPECT_EQ(WindowPixel(group, 1, 50), ToolkitColour(kLightEdgeColour));
    EXPECT_EQ(WindowPixel(group, kWidth - 1, 50), ToolkitColour(kLightEdgeColour));
    EXPECT_EQ(WindowPixel(group, kWidth / 2, kHeight / 2), kSentinel);
}

TEST_F(GroupBoxClassTest, NewTitleRepaints) {
    EXPECT_TRUE(SetWindowTextA(group, ""));
    RECT strip = {0, 0, kWidth, 16};
    EXPECT_EQ(CountInWindowRect(group, strip, RGB(168, 158, 143)), 0);
}

}  // namespace
