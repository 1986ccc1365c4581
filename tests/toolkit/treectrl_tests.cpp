// ksTreeCtrl: the tree child sized to its content, panning within the
// limits and taking a pan back, the wheel, the passed-on notifications and
// Ctrl-clicks, the grab cursor and the border.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

#include "tests/support/import_patch_win.h"
#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/view_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/treectrl.h"
#include "toolkit/view_common.h"

namespace {

const int kTreeId = 1201;
const int kViewWidth = 120;
const int kViewHeight = 80;

HCURSOR WINAPI NoCursor(HINSTANCE, int, int, int, int, const void*, const void*) { return nullptr; }

class TreeCtrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        view = MakeView("ksTreeCtrl", 0, kViewWidth, kViewHeight, parent.Window(), kTreeId);
        ASSERT_NE(view, nullptr);
        record = reinterpret_cast<const TreeCtrlRecord*>(GetWindowLongPtrA(view, 0));
        ASSERT_NE(record, nullptr);
        tree = record->tree;
        ASSERT_NE(tree, nullptr);
    }
    void TearDown() override {
        if (view) DestroyWindow(view);
    }

    HTREEITEM Insert(const char* text, HTREEITEM parentItem = TVI_ROOT) {
        TVINSERTSTRUCTA insert = {};
        insert.hParent = parentItem;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<char*>(text);
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(view, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    void InsertRows(int count, HTREEITEM parentItem = TVI_ROOT) {
        for (int i = 0; i < count; ++i) {
            std::string text = "a rather long item label number " + std::to_string(i);
            Insert(text.c_str(), parentItem);
        }
    }
    bool Pannable() { return SendMessageA(view, TRM_ISPANNABLE, 0, 0) != 0; }
    POINT Offset() { return PositionInParent(tree); }
    int RowHeight() { return static_cast<int>(SendMessageA(view, TVM_GETITEMHEIGHT, 0, 0)); }

    // A middle press on the tree with the cursor at a point of the view.
    void BeginPan(int x, int y) {
        ASSERT_TRUE(MoveCursorTo(view, x, y));
        POINT offset = Offset();
        PostMouse(tree, WM_MBUTTONDOWN, MK_MBUTTON, x - offset.x, y - offset.y);
    }
    void MoveTo(int x, int y) { ASSERT_TRUE(MoveCursorTo(view, x, y)); }

    NotifyParent parent{300, 200};
    HWND view = nullptr;
    HWND tree = nullptr;
    const TreeCtrlRecord* record = nullptr;
};

TEST_F(TreeCtrlTest, PanningContentThatFitsMovesNothing) {
    Insert("one");
    Insert("two");
    EXPECT_FALSE(Pannable());
    // The child fills the view, with room to the right.
    RECT size;
    GetWindowRect(tree, &size);
    EXPECT_EQ(size.right - size.left, kViewWidth + 40);
    EXPECT_EQ(size.bottom - size.top, kViewHeight);
    BeginPan(50, 40);
    EXPECT_EQ(GetCapture(), view);
    MoveTo(-40, -40);
    MoveTo(400, 300);
    EXPECT_EQ(Offset().x, 0);
    EXPECT_EQ(Offset().y, 0);
    PostMouse(view, WM_MBUTTONUP, 0, 400, 300);
    EXPECT_NE(GetCapture(), view);
    PostWheel(tree, -240, 20, 20);
    EXPECT_EQ(Offset().y, 0);
}

TEST_F(TreeCtrlTest, PanningStopsAtTheLimitsAndTheRightButtonTakesItBack) {
    InsertRows(8);
    ASSERT_TRUE(Pannable());
    const int lowestX = kViewWidth - record->content.cx;
    const int lowestY = kViewHeight - 8 * RowHeight();
    ASSERT_LT(lowestX, -20);
    ASSERT_LT(lowestY, -20);
    BeginPan(100, 70);
    MoveTo(90, 60);
    EXPECT_EQ(Offset().x, -10);
    EXPECT_EQ(Offset().y, -10);
    // Far past the far edges: the content's far edges meet the view's.
    MoveTo(-45, -45);
    EXPECT_EQ(Offset().x, lowestX);
    EXPECT_EQ(Offset().y, lowestY);
    // Moving back starts at once, not after the cursor has come back.
    MoveTo(-35, -40);
    EXPECT_EQ(Offset().x, lowestX + 10);
    EXPECT_EQ(Offset().y, lowestY + 5);
    PostMouse(view, WM_RBUTTONDOWN, MK_RBUTTON | MK_MBUTTON, -35, -40);
    EXPECT_EQ(Offset().x, 0);
    EXPECT_EQ(Offset().y, 0);
    EXPECT_NE(GetCapture(), view);
    MoveTo(0, 0);
    EXPECT_EQ(Offset().y, 0);
    // Toward positive offsets the pan stops at 0.
    BeginPan(10, 10);
    MoveTo(200, 150);
    EXPECT_EQ(Offset().x, 0);
    EXPECT_EQ(Offset().y, 0);
    PostMouse(view, WM_MBUTTONUP, 0, 200, 150);
}

TEST_F(TreeCtrlTest, TheCursorWrapsAtTheScreenEdgesWithoutMovingTheContent) {
    InsertRows(60);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    BeginPan(50, 70);
    POINT top = {50, 0};
    ScreenToClient(view, &top);
    MoveTo(50, top.y);  // the top row of the screen
    const int afterMove = Offset().y;
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.y, screenHeight - 2);
    // The jump itself pans nothing; moves from the new place do.
    ASSERT_TRUE(WaitForMoveAt(cursor));
    EXPECT_EQ(Offset().y, afterMove);
    POINT wrapped = {50, screenHeight - 2};
    ScreenToClient(view, &wrapped);
    MoveTo(50, wrapped.y - 3);
    EXPECT_EQ(Offset().y, afterMove - 3);
    PostMouse(view, WM_MBUTTONUP, 0, 50, wrapped.y - 3);
}

TEST_F(TreeCtrlTest, TheWheelPansWholeRowsOnlyWhenThereIsMoreToShow) {
    InsertRows(30);
    const int row = RowHeight();
    PostWheel(tree, -240, 20, 20);
    EXPECT_EQ(Offset().y, -2 * row);
    PostWheel(tree, 60, 20, 20);  // less than a notch
    EXPECT_EQ(Offset().y, -2 * row);
    PostWheel(tree, 1200, 20, 20);
    EXPECT_EQ(Offset().y, 0);
}

TEST_F(TreeCtrlTest, InsertingDeletingAndExpandingLayTheContentOutAgain) {
    HTREEITEM branch = Insert("branch");
    InsertRows(20, branch);
    // Under a collapsed branch the new rows show nowhere.
    EXPECT_FALSE(Pannable());
    SendMessageA(view, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(branch));
    EXPECT_TRUE(Pannable());
    PostWheel(tree, -1200, 20, 20);
    EXPECT_LT(Offset().y, 0);
    // Collapsed by the user: the content fits again and comes back to the top.
    SendMessageA(view, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(branch));
    parent.Clear();
    PostMessageA(tree, WM_KEYDOWN, VK_LEFT, 0);
    PumpPending();
    EXPECT_FALSE(Pannable());
    EXPECT_EQ(Offset().y, 0);
    EXPECT_EQ(parent.CountOf(TVN_ITEMEXPANDINGA), 1);
    // Expanded again by message, which sends no notification this time.
    parent.Clear();
    SendMessageA(view, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(branch));
    EXPECT_EQ(parent.CountOf(TVN_ITEMEXPANDINGA), 0);
    EXPECT_TRUE(Pannable());
    SendMessageA(view, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(branch));
    EXPECT_FALSE(Pannable());
    // Rows added at the root show at once.
    InsertRows(20);
    EXPECT_TRUE(Pannable());
    SendMessageA(view, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    EXPECT_FALSE(Pannable());
}

TEST_F(TreeCtrlTest, NotificationsAndCtrlClicksReachTheParentInTheViewsName) {
    InsertRows(30);
    HTREEITEM last =
        reinterpret_cast<HTREEITEM>(SendMessageA(view, TVM_GETNEXTITEM, TVGN_LASTVISIBLE, 0));
    parent.Clear();
    SendMessageA(view, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(last));
    ASSERT_EQ(parent.CountOf(TVN_SELCHANGEDA), 1);
    const PassedNotification& passed = parent.Notifications().back();
    EXPECT_EQ(passed.wParam, static_cast<WPARAM>(kTreeId));
    EXPECT_EQ(passed.idFrom, static_cast<UINT_PTR>(kTreeId));
    EXPECT_EQ(passed.hwndFrom, view);
    // The selected last row was brought into view: the content's bottom is the view's.
    EXPECT_EQ(Offset().y, kViewHeight - 30 * RowHeight());

    // A Ctrl-click on the tree arrives at the parent in its own coordinates.
    PostMouse(tree, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, 5, 6);
    ASSERT_EQ(parent.LeftClicks().size(), 1u);
    POINT inParent = {5, 6};
    MapWindowPoints(tree, parent.Window(), &inParent, 1);
    EXPECT_EQ(parent.LeftClicks()[0].x, inParent.x);
    EXPECT_EQ(parent.LeftClicks()[0].y, inParent.y);
    // A plain click stays with the tree.
    PostMouse(tree, WM_LBUTTONDOWN, MK_LBUTTON, 5, 6);
    PostMouse(tree, WM_LBUTTONUP, 0, 5, 6);
    EXPECT_EQ(parent.LeftClicks().size(), 1u);

    // A drag begun on the tree is the parent's to handle.
    NMTREEVIEWA drag = {};
    drag.hdr.hwndFrom = tree;
    drag.hdr.code = TVN_BEGINDRAGA;
    SendMessageA(view, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drag));
    EXPECT_EQ(parent.CountOf(TVN_BEGINDRAGA), 1);
}

TEST_F(TreeCtrlTest, TheGrabCursorIsA32PixelHandHeldAt10And10) {
    InsertRows(30);
    BeginPan(50, 40);
    HCURSOR cursor = GetCursor();
    EXPECT_EQ(cursor, record->grabCursor);
    EXPECT_NE(cursor, LoadCursorA(nullptr, IDC_HAND));
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_EQ(info.xHotspot, 10u);
    EXPECT_EQ(info.yHotspot, 10u);
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    PostMouse(view, WM_MBUTTONUP, 0, 50, 40);
    // When no cursor can be made, the system hand stands in.
    void* real =
        PatchImport(ThisModule(), "user32.dll", "CreateCursor", reinterpret_cast<void*>(NoCursor));
    ASSERT_NE(real, nullptr);
    HCURSOR fallback = CreateGrabCursor();
    PatchImport(ThisModule(), "user32.dll", "CreateCursor", real);
    EXPECT_EQ(fallback, LoadCursorA(nullptr, IDC_HAND));
    ReleaseGrabCursor(fallback);
}

TEST_F(TreeCtrlTest, FieldBackgroundInsideAThinFrameAndAFaceFrame) {
    Insert("one");
    RedrawWindow(view, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const int w = kViewWidth + 4;
    const int h = kViewHeight + 4;
    EXPECT_EQ(WindowFramePixel(view, 0, 0), ToolkitColour(kThinFrameTopColour));
    EXPECT_EQ(WindowFramePixel(view, w - 1, h - 1), ToolkitColour(kThinFrameBottomColour));
    EXPECT_EQ(WindowFramePixel(view, 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(WindowFramePixel(view, w - 2, h - 2), ToolkitColour(kFaceColour));
    // Below the only row the tree shows its field colour.
    EXPECT_EQ(WindowPixel(view, kViewWidth - 5, kViewHeight - 5), ToolkitColour(kFieldColour));
    // A selection without the focus is drawn in the hot colours, not the system's.
    HTREEITEM first =
        reinterpret_cast<HTREEITEM>(SendMessageA(view, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    SendMessageA(view, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
    SetFocus(parent.Window());
    RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const RECT firstRow = {0, 0, kViewWidth, RowHeight()};
    EXPECT_GT(CountInWindowRect(tree, firstRow, ToolkitColour(kHotFillColour)), 50);
}

}  // namespace
