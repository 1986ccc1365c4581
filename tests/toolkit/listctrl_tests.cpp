// ksListCtrl: the wheel below the header and not over it, panning by whole
// rows and taking a pan back, the header painted in the toolkit's colours
// and deaf to the mouse, and the selection notification.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/view_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/listctrl.h"

namespace {

const int kListId = 1301;
const int kViewWidth = 200;
const int kViewHeight = 120;
const int kRows = 50;

class ListCtrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        view = MakeView("ksListCtrl", 0, kViewWidth, kViewHeight, parent.Window(), kListId);
        ASSERT_NE(view, nullptr);
        record = reinterpret_cast<const ListCtrlRecord*>(GetWindowLongPtrA(view, 0));
        ASSERT_NE(record, nullptr);
        list = record->list;
        header = reinterpret_cast<HWND>(SendMessageA(view, LVM_GETHEADER, 0, 0));
        ASSERT_NE(header, nullptr);
        AddColumn(0, "Name", 90);
        AddColumn(1, "Size", 70);
        for (int i = 0; i < kRows; ++i) {
            std::string text = "row " + std::to_string(i);
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = const_cast<char*>(text.c_str());
            SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        RECT row = {LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(view, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
        rowHeight = row.bottom - row.top;
        ASSERT_GT(rowHeight, 0);
        parent.Clear();
    }
    void TearDown() override {
        if (view) DestroyWindow(view);
    }
    void AddColumn(int index, const char* text, int width) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(text);
        column.cx = width;
        SendMessageA(view, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
    }
    int Top() { return static_cast<int>(SendMessageA(view, LVM_GETTOPINDEX, 0, 0)); }
    // A middle press on the list with the cursor at a point of the view.
    void BeginPan(int x, int y) {
        ASSERT_TRUE(MoveCursorTo(view, x, y));
        PostMouse(list, WM_MBUTTONDOWN, MK_MBUTTON, x, y);
    }
    void MoveTo(int x, int y) { ASSERT_TRUE(MoveCursorTo(view, x, y)); }

    NotifyParent parent{300, 200};
    HWND view = nullptr;
    HWND list = nullptr;
    HWND header = nullptr;
    const ListCtrlRecord* record = nullptr;
    int rowHeight = 0;
};

TEST_F(ListCtrlTest, TheWheelScrollsRowsBelowTheHeaderAndNothingOverIt) {
    PostWheel(header, -240, 40, 5);
    PostWheel(list, -240, 40, 16);
    EXPECT_EQ(Top(), 0);
    PostWheel(list, -240, 40, 17);
    EXPECT_EQ(Top(), 2);
    PostWheel(list, 60, 40, 60);  // less than a notch
    EXPECT_EQ(Top(), 2);
    PostWheel(list, 120, 40, 60);
    EXPECT_EQ(Top(), 1);
}

TEST_F(ListCtrlTest, PanningMovesWholeRowsWithTheCursorAndTheRightButtonTakesItBack) {
    BeginPan(50, 100);
    EXPECT_EQ(GetCapture(), view);
    // Up by three and a half rows: three rows follow, the half waits.
    MoveTo(50, 100 - 3 * rowHeight - rowHeight / 2);
    EXPECT_EQ(Top(), 3);
    MoveTo(50, 100 - 4 * rowHeight);
    EXPECT_EQ(Top(), 3);
    MoveTo(50, 100 - 7 * rowHeight - rowHeight / 2);
    EXPECT_EQ(Top(), 7);
    MoveTo(50, 100 - 5 * rowHeight - rowHeight / 2);
    EXPECT_EQ(Top(), 5);
    PostMouse(view, WM_RBUTTONDOWN, MK_RBUTTON, 50, 0);
    EXPECT_EQ(Top(), 0);
    EXPECT_NE(GetCapture(), view);
    PostMouse(view, WM_MOUSEMOVE, 0, 50, 10);
    EXPECT_EQ(Top(), 0);
    // Released with the middle button, the rows stay where they are.
    BeginPan(50, 100);
    MoveTo(50, 100 - 2 * rowHeight);
    PostMouse(view, WM_MBUTTONUP, 0, 50, 100 - 2 * rowHeight);
    EXPECT_EQ(Top(), 2);
    EXPECT_NE(GetCapture(), view);
}

TEST_F(ListCtrlTest, TheCursorWrapsAtTheScreenEdgesWhilePanning) {
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    BeginPan(50, 100);
    POINT top = {50, 0};
    ScreenToClient(view, &top);
    MoveTo(50, top.y);  // the top row of the screen
    const int afterMove = Top();
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.y, screenHeight - 2);
    // The jump itself scrolls nothing.
    ASSERT_TRUE(WaitForMoveAt(cursor));
    EXPECT_EQ(Top(), afterMove);
    PostMouse(view, WM_MBUTTONUP, 0, 50, 0);
}

TEST_F(ListCtrlTest, HeaderColumnsAreFaceWithAFrameAndText) {
    RedrawWindow(view, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT first;
    SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_EQ(first.right, 90);
    const COLORREF face = ToolkitColour(kFaceColour);
    const COLORREF frameTop = ToolkitColour(kThinFrameBottomColour);
    const COLORREF frameBottom = ToolkitColour(kThinFrameTopColour);
    const COLORREF text = ToolkitColour(kTextColour);
    EXPECT_EQ(WindowPixel(header, 0, 0), frameTop);
    EXPECT_EQ(WindowPixel(header, 0, first.bottom - 2), frameTop);
    EXPECT_EQ(WindowPixel(header, 89, 1), frameBottom);
    EXPECT_EQ(WindowPixel(header, 40, first.bottom - 1), frameBottom);
    EXPECT_EQ(WindowPixel(header, 2, 2), face);
    // "Name" starts 6 pixels in, in the text colour, on the face.
    const RECT firstInside = {1, 1, 89, first.bottom - 1};
    const RECT leftInset = {1, 1, 6, first.bottom - 1};
    EXPECT_GT(CountInWindowRect(header, firstInside, text), 10);
    EXPECT_EQ(CountInWindowRect(header, leftInset, text), 0);
    // Past the last column: face, no frame.
    EXPECT_EQ(WindowPixel(header, 170, 0), face);
    EXPECT_EQ(WindowPixel(header, 170, first.bottom - 1), face);
    // Without HDS_BUTTONS the top and left edges are the face: a flat column.
    SetWindowLongA(header, GWL_STYLE, GetWindowLongA(header, GWL_STYLE) & ~HDS_BUTTONS);
    PaintNow(header);
    EXPECT_EQ(WindowPixel(header, 0, 0), face);
    EXPECT_EQ(WindowPixel(header, 0, first.bottom - 2), face);
    EXPECT_EQ(WindowPixel(header, 89, 1), frameBottom);
    EXPECT_EQ(WindowPixel(header, 40, first.bottom - 1), frameBottom);
}

TEST_F(ListCtrlTest, TheHeaderTakesNoClicksAndNoColumnSizing) {
    // A drag on the divider of the first column, then a click and a double click.
    PostMouse(header, WM_LBUTTONDOWN, MK_LBUTTON, 89, 5);
    PostMouse(header, WM_MOUSEMOVE, MK_LBUTTON, 129, 5);
    PostMouse(header, WM_LBUTTONUP, 0, 129, 5);
    PostMouse(header, WM_LBUTTONDOWN, MK_LBUTTON, 30, 5);
    PostMouse(header, WM_LBUTTONUP, 0, 30, 5);
    PostMouse(header, WM_LBUTTONDBLCLK, MK_LBUTTON, 30, 5);
    RECT first;
    SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_EQ(first.right, 90);
    EXPECT_TRUE(parent.Notifications().empty());
}

TEST_F(ListCtrlTest, TheListIs40PixelsWiderAndASelectionReachesTheParent) {
    RECT size;
    GetWindowRect(list, &size);
    EXPECT_EQ(size.right - size.left, kViewWidth + 40);
    EXPECT_EQ(size.bottom - size.top, kViewHeight);
    // Full-row selection: a click right of the first column's text selects the row.
    RECT row = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(view, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    const int y = (row.top + row.bottom) / 2;
    PostMouse(list, WM_LBUTTONDOWN, MK_LBUTTON, 120, y);
    PostMouse(list, WM_LBUTTONUP, 0, 120, y);
    EXPECT_EQ(SendMessageA(view, LVM_GETITEMSTATE, 1, LVIS_SELECTED), LVIS_SELECTED);
    ASSERT_GT(parent.CountOf(LVN_ITEMCHANGED), 0);
    const PassedNotification& passed = parent.Notifications().back();
    EXPECT_EQ(passed.idFrom, static_cast<UINT_PTR>(kListId));
    EXPECT_EQ(passed.hwndFrom, view);
    EXPECT_EQ(parent.CountOf(LVN_ITEMCHANGED), static_cast<int>(parent.Notifications().size()));
}

}  // namespace
