// ksListBox: a standard list beside the toolkit's scroll bar; the range and
// page follow the rows, the bar, the wheel and the list's keys scroll it,
// and its two thin frames read back by pixel.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/listbox.h"
#include "toolkit/scrollbar.h"
#include "toolkit/window_record.h"

namespace {

class ListBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        PaintNow(parent.Window());
        box = MakeControl("ksListBox", "", 0, 10, 10, kWidth, 100, parent.Window(), 50);
        ASSERT_NE(box, nullptr);
        record = GetWindowRecord<ListBoxRecord>(box);
        ASSERT_GT(record->rowHeight, 0);
        ResizeToRows(8);
    }
    void TearDown() override { DestroyWindow(box); }
    void ResizeToRows(int rows) {
        height = rows * record->rowHeight + 4;
        MoveWindow(box, 10, 10, kWidth, height, TRUE);
        PumpPending();
    }
    void AddRows(int n) {
        for (int i = 0; i < n; ++i) {
            std::string text = "row " + std::to_string(i);
            SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        PumpPending();
    }
    const ScrollBarRecord& Bar() { return *GetWindowRecord<ScrollBarRecord>(record->scrollBar); }
    int TopIndex() { return static_cast<int>(SendMessageA(record->list, LB_GETTOPINDEX, 0, 0)); }
    void Click(HWND window, int x, int y) {
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        PumpPending();
    }
    void Wheel(int distance) {
        PostMessageA(record->list, WM_MOUSEWHEEL, MAKEWPARAM(0, distance), 0);
        PumpPending();
    }

    static constexpr int kWidth = 120;
    RecordingParent parent{160, 260};
    HWND box = nullptr;
    ListBoxRecord* record = nullptr;
    int height = 0;
};

TEST_F(ListBoxTest, TwentyRowsWithEightVisibleGiveRangeTwelveAndPageEight) {
    EXPECT_EQ(GetDlgCtrlID(record->list), kListBoxListId);
    EXPECT_EQ(record->visibleRows, 8);
    AddRows(5);
    EXPECT_EQ(Bar().maximum, 0);
    AddRows(15);
    EXPECT_EQ(Bar().maximum, 12);
    EXPECT_EQ(Bar().page, 8);
    ResizeToRows(5);
    EXPECT_EQ(record->visibleRows, 5);
    EXPECT_EQ(Bar().maximum, 15);
    EXPECT_EQ(Bar().page, 5);
}

TEST_F(ListBoxTest, TrackClickBelowTheThumbScrollsTheListAPage) {
    AddRows(20);
    Click(record->scrollBar, 6, height - 4 - 20);
    EXPECT_EQ(TopIndex(), 8);
    Click(record->scrollBar, 6, height - 4 - 20);
    EXPECT_EQ(TopIndex(), 12);
    EXPECT_EQ(Bar().position, 12);
}

TEST_F(ListBoxTest, WheelOnTheListScrollsListAndBarNotPastTheTop) {
    AddRows(20);
    Wheel(-2 * WHEEL_DELTA);
    EXPECT_EQ(TopIndex(), 2);
    EXPECT_EQ(Bar().position, 2);
    Wheel(3 * WHEEL_DELTA);
    EXPECT_EQ(TopIndex(), 0);
    EXPECT_EQ(Bar().position, 0);
}

TEST_F(ListBoxTest, KeysThatMoveTheSelectionMoveTheBar) {
    AddRows(20);
    SetFocus(box);
    EXPECT_EQ(GetFocus(), record->list);
    // The first Down selects row 0: row 9 ends up selected, on the last visible line.
    for (int i = 0; i < 10; ++i) PostMessageA(record->list, WM_KEYDOWN, VK_DOWN, 0);
    PumpPending();
    EXPECT_EQ(TopIndex(), 2);
    EXPECT_EQ(Bar().position, 2);
}

// Outer ring: 15 at top and left, 16 at bottom and right. Inner ring: black
// at top and left, face colour at bottom and right, reaching the right edge.
TEST_F(ListBoxTest, FramesAndFieldReadBackAsPixels) {
    PaintNow(box);
    const COLORREF top = ToolkitColour(kThinFrameTopColour);
    const COLORREF bottom = ToolkitColour(kThinFrameBottomColour);
    const COLORREF face = ToolkitColour(kFaceColour);
    const COLORREF black = RGB(0, 0, 0);
    EXPECT_EQ(CountInWindowRow(box, 0, 0, kWidth - 2, top), kWidth - 1);
    EXPECT_EQ(WindowPixel(box, 0, height - 2), top);
    EXPECT_EQ(CountInWindowRow(box, height - 1, 0, kWidth - 1, bottom), kWidth);
    EXPECT_EQ(WindowPixel(box, kWidth - 1, 0), bottom);
    EXPECT_EQ(WindowPixel(box, kWidth - 1, height / 2), face);
    EXPECT_EQ(CountInWindowRow(box, 1, 1, kWidth - 2, black), kWidth - 2);
    EXPECT_EQ(WindowPixel(box, 1, height - 3), black);
    EXPECT_EQ(CountInWindowRow(box, height - 2, 1, kWidth - 1, face), kWidth - 1);
    // The empty list is in the field colour, the scroll track in the light edge.
    EXPECT_EQ(WindowPixel(box, 40, height / 2), ToolkitColour(kFieldColour));
    EXPECT_EQ(WindowPixel(box, kWidth - 8, height / 2), ToolkitColour(kLightEdgeColour));
}

}  // namespace
