#include <gtest/gtest.h>
#include <windows.h>

#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/fonts.h"
#include "tests/toolkit/window_test_support_win.h"

namespace {

const COLORREF kBackground = RGB(1, 2, 3);
const COLORREF kA = RGB(250, 10, 20);
const COLORREF kB = RGB(30, 40, 200);


// The frame of 10 x 6 at (2, 3) occupies columns 2..11 and rows 3..8.
void ExpectTenBySixFrame(const Canvas& canvas) {
    EXPECT_EQ(canvas.CountInRow(3, 2, 11, kA), 9);
    EXPECT_EQ(canvas.At(11, 3), kB);
    EXPECT_EQ(canvas.CountInColumn(2, 3, 8, kA), 5);
    EXPECT_EQ(canvas.At(2, 8), kB);
    EXPECT_EQ(canvas.CountInColumn(11, 3, 8, kB), 6);
    EXPECT_EQ(canvas.CountInRow(8, 2, 11, kB), 10);
    // Inside and outside are untouched.
    for (int y = 4; y <= 7; ++y) EXPECT_EQ(canvas.CountInRow(y, 3, 10, kBackground), 8);
    EXPECT_EQ(canvas.CountInRow(2, 0, 15, kBackground), 16);
    EXPECT_EQ(canvas.CountInRow(9, 0, 15, kBackground), 16);
    EXPECT_EQ(canvas.CountInColumn(1, 0, 11, kBackground), 12);
    EXPECT_EQ(canvas.CountInColumn(12, 0, 11, kBackground), 12);
    EXPECT_EQ(canvas.CountAll(16, 12, kA) + canvas.CountAll(16, 12, kB), 9 + 5 + 6 + 10 - 2);
}

TEST(Draw3dFrame, TenBySixFrameGivesTheCornersToTheBottomRightColour) {
    Canvas canvas(16, 12, kBackground);
    Draw3dFrame(canvas.dc, 2, 3, 10, 6, kA, kB);
    ExpectTenBySixFrame(canvas);
}

TEST(Draw3dFrame, RectangleFormDrawsTheSameFrame) {
    Canvas canvas(16, 12, kBackground);
    RECT rect = {2, 3, 12, 9};
    Draw3dFrame(canvas.dc, rect, kA, kB);
    ExpectTenBySixFrame(canvas);
}

TEST(Draw3dFrame, SwappedColoursGiveTheSunkenLook) {
    Canvas canvas(16, 12, kBackground);
    Draw3dFrame(canvas.dc, 0, 0, 4, 4, kB, kA);
    EXPECT_EQ(canvas.At(0, 0), kB);
    EXPECT_EQ(canvas.At(3, 3), kA);
    EXPECT_EQ(canvas.At(3, 0), kA);
    EXPECT_EQ(canvas.At(0, 3), kA);
}

TEST(FillSolidRect, FillsExactlyTheRectangleAndKeepsTheBackgroundColour) {
    Canvas canvas(8, 8, kBackground);
    RECT rect = {1, 2, 5, 4};
    FillSolidRect(canvas.dc, rect, kA);
    EXPECT_EQ(canvas.CountAll(8, 8, kA), 8);
    EXPECT_EQ(canvas.CountInRow(2, 1, 4, kA), 4);
    EXPECT_EQ(canvas.CountInRow(3, 1, 4, kA), 4);
    EXPECT_EQ(canvas.At(0, 2), kBackground);
    EXPECT_EQ(canvas.At(5, 2), kBackground);
    EXPECT_EQ(canvas.At(1, 4), kBackground);
    EXPECT_EQ(GetBkColor(canvas.dc), kA);
}

TEST(FillSolidRect, PositionAndSizeFormFillsWidthTimesHeight) {
    Canvas canvas(8, 8, kBackground);
    FillSolidRect(canvas.dc, 2, 1, 3, 5, kB);
    EXPECT_EQ(canvas.CountAll(8, 8, kB), 15);
    EXPECT_EQ(canvas.CountInColumn(2, 1, 5, kB), 5);
    EXPECT_EQ(canvas.CountInColumn(4, 1, 5, kB), 5);
    EXPECT_EQ(canvas.At(5, 1), kBackground);
    EXPECT_EQ(canvas.At(2, 6), kBackground);
}

TEST(FillSolidRect, EmptyRectangleDrawsNothing) {
    Canvas canvas(4, 4, kBackground);
    FillSolidRect(canvas.dc, 1, 1, 0, 3, kA);
    EXPECT_EQ(canvas.CountAll(4, 4, kA), 0);
}

TEST(DrawControlText, EnabledTextUsesTheTextColourOnly) {
    Canvas canvas(60, 20, kBackground);
    SelectObject(canvas.dc, GetToolkitFont(0));
    RECT rect = {0, 0, 60, 20};
    DrawControlText(canvas.dc, "MMMM", rect, DT_LEFT | DT_TOP | DT_SINGLELINE, true);
    EXPECT_GT(canvas.CountAll(60, 20, ToolkitColour(kTextColour)), 0);
    EXPECT_EQ(canvas.CountAll(60, 20, ToolkitColour(kLightEdgeColour)), 0);
    EXPECT_EQ(GetBkMode(canvas.dc), TRANSPARENT);
}

TEST(DrawControlText, DisabledTextIsEmbossedInTheEdgeColours) {
    Canvas canvas(60, 20, kBackground);
    SelectObject(canvas.dc, GetToolkitFont(0));
    RECT rect = {0, 0, 60, 20};
    DrawControlText(canvas.dc, "MMMM", rect, DT_LEFT | DT_TOP | DT_SINGLELINE, false);
    COLORREF light = ToolkitColour(kLightEdgeColour);
    COLORREF dark = ToolkitColour(kDarkEdgeColour);
    ASSERT_NE(light, dark);
    EXPECT_GT(canvas.CountAll(60, 20, light), 0);
    EXPECT_GT(canvas.CountAll(60, 20, dark), 0);
    EXPECT_EQ(canvas.CountAll(60, 20, ToolkitColour(kTextColour)), 0);
    // The shadow lies one pixel right and down: nothing light in the first column or row.
    EXPECT_EQ(canvas.CountInColumn(0, 0, 19, light), 0);
    EXPECT_EQ(canvas.CountInRow(0, 0, 59, light), 0);
}

}  // namespace
