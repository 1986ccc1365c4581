// ksProgressCtrl: the bar's length for a fraction, clamping, colour, frame.
#include <gtest/gtest.h>
#include <windows.h>

#include <limits>

#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/progress.h"

namespace {

const COLORREF kBar = RGB(200, 40, 10);

class ProgressCtrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        control = CreateWindowExA(0, "ksProgressCtrl", "", WS_CHILD | WS_VISIBLE, 10, 10, kWidth,
                                  kHeight, parent.Window(), nullptr, ThisModule(), nullptr);
        ASSERT_NE(control, nullptr);
        PaintNow(parent.Window());
        PaintNow(control);
        ASSERT_EQ(SendMessageA(control, PGM_SETCOLOR, 0, kBar), 1);
        PaintNow(control);
    }
    void TearDown() override { DestroyWindow(control); }

    LRESULT SetFraction(float fraction) {
        return SendMessageA(control, PGM_SETFRACTION, 0, reinterpret_cast<LPARAM>(&fraction));
    }
    int BarLength() { return CountInWindowRow(control, kHeight / 2, 0, kWidth - 1, kBar); }

    static const int kWidth = 231;
    static const int kHeight = 10;
    TestParent parent{300, 60};
    HWND control = nullptr;
};

TEST_F(ProgressCtrlTest, StartsDarkBlueAndEmpty) {
    HWND fresh = CreateWindowExA(0, "ksProgressCtrl", "", WS_CHILD, 0, 0, 50, 6, parent.Window(),
                                 nullptr, ThisModule(), nullptr);
    ASSERT_NE(fresh, nullptr);
    const ProgressRecord* record =
        reinterpret_cast<const ProgressRecord*>(GetWindowLongPtrA(fresh, 0));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->barColour, RGB(0, 0, 128));
    EXPECT_EQ(record->fraction, 0.0f);
    DestroyWindow(fresh);
}

TEST_F(ProgressCtrlTest, A231PixelBarIs113LongAtOneHalfAnd225At0999) {
    EXPECT_EQ(SetFraction(0.5f), 1);
    EXPECT_EQ(BarLength(), 113);
    // The bar starts at the inner rectangle's left edge.
    EXPECT_EQ(WindowPixel(control, 2, 5), kBar);
    EXPECT_EQ(WindowPixel(control, 114, 5), kBar);
    EXPECT_EQ(WindowPixel(control, 115, 5), ToolkitColour(kFaceColour));
    SetFraction(0.999f);
    EXPECT_EQ(BarLength(), 225);
}

TEST_F(ProgressCtrlTest, InnerAreaIs226PixelsOfFaceAndBar) {
    SetFraction(0.25f);
    const COLORREF face = ToolkitColour(kFaceColour);
    EXPECT_EQ(BarLength() + CountInWindowRow(control, 5, 0, kWidth - 1, face), 226);
    // Rows 2 to h-3 are inner; rows 0 and h-1 the frame.
    EXPECT_EQ(WindowPixel(control, 50, 2), kBar);
    EXPECT_EQ(WindowPixel(control, 50, kHeight - 3), kBar);
}

TEST_F(ProgressCtrlTest, FractionsOutsideZeroToOneAreClamped) {
    SetFraction(1.5f);
    EXPECT_EQ(BarLength(), 226);
    const ProgressRecord* record =
        reinterpret_cast<const ProgressRecord*>(GetWindowLongPtrA(control, 0));
    EXPECT_EQ(record->fraction, 1.0f);
    SetFraction(-0.2f);
    EXPECT_EQ(BarLength(), 0);
    EXPECT_EQ(record->fraction, 0.0f);
    EXPECT_EQ(CountInWindowRow(control, 5, 2, kWidth - 4, ToolkitColour(kFaceColour)), 226);
}

TEST_F(ProgressCtrlTest, ANotANumberFractionIsStoredAsZeroAndEmptiesTheBar) {
    SetFraction(0.5f);
    EXPECT_EQ(SetFraction(std::numeric_limits<float>::quiet_NaN()), 1);
    const ProgressRecord* record =
        reinterpret_cast<const ProgressRecord*>(GetWindowLongPtrA(control, 0));
    EXPECT_EQ(record->fraction, 0.0f);
    PaintNow(control);
    EXPECT_EQ(BarLength(), 0);
    EXPECT_EQ(CountInWindowRow(control, 5, 2, kWidth - 4, ToolkitColour(kFaceColour)), 226);
}

TEST_F(ProgressCtrlTest, ANewColourShowsAtTheNextPaintWithTheSameLength) {
    SetFraction(0.5f);
    const COLORREF other = RGB(10, 220, 30);
    EXPECT_EQ(SendMessageA(control, PGM_SETCOLOR, 0, other), 1);
    const ProgressRecord* record =
        reinterpret_cast<const ProgressRecord*>(GetWindowLongPtrA(control, 0));
    EXPECT_EQ(record->barColour, other);
    EXPECT_EQ(BarLength(), 113);  // not yet repainted
    UpdateWindow(control);
    EXPECT_EQ(CountInWindowRow(control, 5, 0, kWidth - 1, other), 113);
    EXPECT_EQ(BarLength(), 0);
}

TEST_F(ProgressCtrlTest, PaintDrawsTheThinFrameAndLeavesTheLastColumn) {
    SetFraction(0.5f);
    PaintNow(control);
    const COLORREF top = ToolkitColour(kThinFrameTopColour);
    const COLORREF bottom = ToolkitColour(kThinFrameBottomColour);
    EXPECT_EQ(WindowPixel(control, 0, 0), top);
    EXPECT_EQ(WindowPixel(control, 100, 0), top);
    EXPECT_EQ(WindowPixel(control, 0, 5), top);
    EXPECT_EQ(WindowPixel(control, kWidth - 2, 5), bottom);
    EXPECT_EQ(WindowPixel(control, 100, kHeight - 1), bottom);
    // Not painted by the control: the parent's colour shows.
    EXPECT_EQ(WindowPixel(control, kWidth - 1, 5), kSentinel);
    EXPECT_EQ(WindowPixel(control, 1, 5), kSentinel);
    EXPECT_EQ(WindowPixel(control, kWidth - 3, 5), kSentinel);
    EXPECT_EQ(BarLength(), 113);
}

}  // namespace
