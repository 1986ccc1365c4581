// The group-box subclass: an etched frame with a centred title, the inside
// left to the parent.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/fonts.h"
#include "toolkit/groupbox.h"

namespace {

TEST(GroupTitleColour, MovesEachChannelOnModulo255) {
    EXPECT_EQ(GroupTitleColour(RGB(197, 197, 197)), RGB(42, 32, 17));
    EXPECT_EQ(GroupTitleColour(RGB(68, 68, 68)), RGB(168, 158, 143));
    EXPECT_EQ(GroupTitleColour(RGB(155, 165, 180)), RGB(0, 0, 0));
    EXPECT_EQ(GroupTitleColour(RGB(0, 0, 0)), RGB(100, 90, 75));
}

class GroupBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        group = CreateWindowExA(0, "BUTTON", " Title ", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 10,
                                kWidth, kHeight, parent.Window(), nullptr, ThisModule(), nullptr);
        ASSERT_NE(group, nullptr);
        system = GetWindowLongPtrA(group, GWLP_WNDPROC);
        SubclassGroupBox(group);
        PaintNow(parent.Window());
        PaintNow(group);

        HDC dc = GetDC(group);
        HGDIOBJ previous = SelectObject(dc, GetToolkitFont(0));
        GetTextExtentPoint32A(dc, " Title ", 7, &title);
        SIZE x;
        GetTextExtentPoint32A(dc, "X", 1, &x);
        line = x.cy / 2;
        SelectObject(dc, previous);
        ReleaseDC(group, dc);
    }
    void TearDown() override {
        UnsubclassGroupBox(group);
        DestroyWindow(group);
    }

    static const int kWidth = 200;
    static const int kHeight = 80;
    TestParent parent{260, 120};
    HWND group = nullptr;
    LONG_PTR system = 0;
    SIZE title = {0, 0};
    int line = 0;
};

TEST_F(GroupBoxTest, SubclassIsInstalledOnceAndRestored) {
    LONG_PTR ours = GetWindowLongPtrA(group, GWLP_WNDPROC);
    EXPECT_NE(ours, system);
    SubclassGroupBox(group);  // a second install changes nothing
    EXPECT_EQ(GetWindowLongPtrA(group, GWLP_WNDPROC), ours);
    UnsubclassGroupBox(group);
    EXPECT_EQ(GetWindowLongPtrA(group, GWLP_WNDPROC), system);
    SubclassGroupBox(group);
}

TEST_F(GroupBoxTest, EtchedFrameDarkAboveAndLeftOfLight) {
    const COLORREF light = ToolkitColour(kLightEdgeColour);
    const COLORREF dark = ToolkitColour(kDarkEdgeColour);
    const COLORREF face = ToolkitColour(kFaceColour);
    // Left edge, below the title line.
    EXPECT_EQ(WindowPixel(group, 0, 40), dark);
    EXPECT_EQ(WindowPixel(group, 1, 40), light);
    // Top line, left of the title.
    EXPECT_EQ(WindowPixel(group, 3, line), dark);
    EXPECT_EQ(WindowPixel(group, 3, line + 1), light);
    // Right and bottom: dark one pixel in, light on the edge.
    EXPECT_EQ(WindowPixel(group, kWidth - 2, 40), dark);
    EXPECT_EQ(WindowPixel(group, kWidth - 1, 40), light);
    EXPECT_EQ(WindowPixel(group, 100, kHeight - 2), dark);
    EXPECT_EQ(WindowPixel(group, 100, kHeight - 1), light);
    // The first, face-coloured ring shows only at two corners.
    EXPECT_EQ(WindowPixel(group, kWidth - 1, line), face);
    EXPECT_EQ(WindowPixel(group, 0, kHeight - 1), face);
}

TEST_F(GroupBoxTest, InsideIsLeftToTheParent) {
    EXPECT_EQ(WindowPixel(group, kWidth / 2, kHeight / 2), kSentinel);
    EXPECT_EQ(WindowPixel(group, 2, kHeight / 2), kSentinel);
}

TEST_F(GroupBoxTest, TitleIsCentredInItsColourOverAFaceStrip) {
    const COLORREF face = ToolkitColour(kFaceColour);
    const COLORREF titleColour = GroupTitleColour(face);
    const int left = kWidth / 2 - title.cx / 2;
    // The strip above the line, from 5 pixels in on either side.
    EXPECT_EQ(WindowPixel(group, 5, 0), face);
    EXPECT_EQ(WindowPixel(group, kWidth - 6, 0), face);
    EXPECT_EQ(WindowPixel(group, 4, 0), kSentinel);
    EXPECT_EQ(WindowPixel(group, kWidth - 5, 0), kSentinel);
    // The title box interrupts the frame line; the leading space is face.
    EXPECT_EQ(WindowPixel(group, left + 1, line), face);
    EXPECT_EQ(WindowPixel(group, left - 2, line), ToolkitColour(kDarkEdgeColour));
    int titlePixels = 0, outside = 0;
    for (int y = 0; y < title.cy; ++y) {
        titlePixels += CountInWindowRow(group, y, left, left + title.cx - 1, titleColour);
        outside += CountInWindowRow(group, y, 0, left - 1, titleColour);
        outside += CountInWindowRow(group, y, left + title.cx, kWidth - 1, titleColour);
    }
    EXPECT_GT(titlePixels, 10);
    EXPECT_EQ(outside, 0);
}

TEST_F(GroupBoxTest, NewTextRepaintsCentred) {
    SetWindowTextA(group, "");
    const COLORREF titleColour = GroupTitleColour(ToolkitColour(kFaceColour));
    int titlePixels = 0;
    for (int y = 0; y < title.cy; ++y)
        titlePixels += CountInWindowRow(group, y, 0, kWidth - 1, titleColour);
    EXPECT_EQ(titlePixels, 0);
    // Without a title the strip is still face, and the line runs on under it.
    EXPECT_EQ(WindowPixel(group, kWidth / 2, line), ToolkitColour(kDarkEdgeColour));
    EXPECT_EQ(WindowText(group), "");
}

}  // namespace
