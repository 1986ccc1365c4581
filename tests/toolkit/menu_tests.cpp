// ksMenu: placement on the screen, painting, hot tracking, choosing and
// every way of closing, driven by posted mouse and key input.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/fonts.h"
#include "toolkit/menu.h"
#include "toolkit/window_record.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0);

// Counts its deletions, so a test can see that the menu deleted its items.
class CountedItem : public ksMenuData {
  public:
    CountedItem(UINT command, const char* text, int& deleted)
        : ksMenuData(command, text), deleted(deleted) {}
    ~CountedItem() override { ++deleted; }

  private:
    int& deleted;
};

int RowHeightOfFont0() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, GetToolkitFont(0));
    SIZE size;
    GetTextExtentPoint32A(dc, "\xD6g", 2, &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size.cy + 2;
}

class MenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        PumpPending();
    }
    void TearDown() override {
        if (IsWindow(menu)) DestroyWindow(menu);
        PumpPending();
    }
    // Opens a menu with the items "Open", "Save", a separator and "Close"
    // (commands 101, 102, 103) at a screen point.
    void Open(POINT origin, const char* title = nullptr, int placement = kMenuAtOrigin,
              int translucent = 0) {
        std::vector<ksMenuData*> entries = {new CountedItem(101, "Open", deleted),
                                            new CountedItem(102, "Save", deleted), nullptr,
                                            new CountedItem(103, "Close", deleted)};
        MenuDescription description = {};
        description.origin = origin;
        description.placement = placement;
        description.title = title;
        description.translucent = translucent;
        description.opacityPercent = 60;
        description.entries = entries.data();
        description.entryCount = static_cast<int>(entries.size());
        menu = OpenMenu(owner.Window(), description);
        ASSERT_NE(menu, nullptr);
        PumpPending();
    }
    RECT ScreenRect() {
        RECT rect;
        GetWindowRect(menu, &rect);
        return rect;
    }
    const ksMenuData& Item(int index) { return *GetWindowRecord<MenuRecord>(menu)->items[index]; }
    POINT Centre(int index) {
        const RECT& r = Item(index).itemRect;
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Post(UINT message, POINT p) { PostMessageA(menu, message, 0, MAKELPARAM(p.x, p.y)); }
    void Click(POINT p) {
        Post(WM_LBUTTONDOWN, p);
        Post(WM_LBUTTONUP, p);
    }
    bool Closes() {
        return PumpUntil([&] { return !IsWindow(menu); }, 2000);
    }
    std::vector<WPARAM> Commands() {
        std::vector<WPARAM> commands;
        for (const SentMessage& sent : owner.Messages())
            if (sent.message == WM_COMMAND) commands.push_back(sent.wParam);
        return commands;
    }

    RecordingParent owner{200, 100};
    HWND menu = nullptr;
    int deleted = 0;
};

TEST_F(MenuTest, LaysOutRowsAndOpensAtItsOriginAwayFromTheScreenEdges) {
    const int row = RowHeightOfFont0();
    Open(POINT{300, 200}, "Tools");
    const RECT rect = ScreenRect();
    EXPECT_EQ(rect.left, 300);
    EXPECT_EQ(rect.top, 200);
    // Title and its line, three rows, one separator, the frame.
    EXPECT_EQ(rect.bottom - rect.top, (row + 1) + 3 * row + 1 + 2);
    const MenuRecord& record = *GetWindowRecord<MenuRecord>(menu);
    EXPECT_EQ(rect.right - rect.left, record.textWidth + 16);
    EXPECT_EQ(Item(0).itemRect.top, row + 2);
    EXPECT_EQ(Item(0).itemRect.left, 1);
    EXPECT_EQ(Item(0).itemRect.right, rect.right - rect.left - 1);
    EXPECT_EQ(Item(3).itemRect.top, Item(1).itemRect.bottom + 1);
}

TEST_F(MenuTest, NearTheRightAndBottomEdgesOpensLeftOfAndAboveItsOrigin) {
    const int right = GetSystemMetrics(SM_CXSCREEN) - 5;
    const int bottom = GetSystemMetrics(SM_CYSCREEN) - 5;
    Open(POINT{right, bottom});
    const RECT rect = ScreenRect();
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

TEST_F(MenuTest, PaintsFrameTitleLineSeparatorAndHotItem) {
    Open(POINT{300, 200}, "Tools");
    PaintNow(menu);
    const COLORREF face = ToolkitColour(kFaceColour);
    const COLORREF background =
        RGB(GetRValue(face) - 10, GetGValue(face) - 10, GetBValue(face) - 10);
    const RECT open = Item(0).itemRect;
    EXPECT_EQ(WindowPixel(menu, 0, 0), kBlack);
    EXPECT_EQ(WindowPixel(menu, open.right, open.bottom), kBlack);  // right frame
    EXPECT_EQ(WindowPixel(menu, open.right - 2, open.top + 1), background);
    EXPECT_EQ(
        CountInWindowRow(menu, open.top - 1, 1, open.right - 1, ToolkitColour(kDarkEdgeColour)),
        open.right - 1);  // under the title
    EXPECT_EQ(WindowPixel(menu, 5, Item(1).itemRect.bottom), ToolkitColour(kDarkEdgeColour));
    const COLORREF text = ToolkitColour(kTextColour);
    const RECT title = {1, 1, open.right, open.top - 1};
    EXPECT_GT(CountInWindowRect(menu, title, text), 0);
    EXPECT_GT(CountInWindowRect(menu, Item(1).itemRect, text), 0);

    Post(WM_MOUSEMOVE, Centre(0));
    PumpPending();
    const RECT client = {open.left, open.top, open.right, open.bottom};
    const int area = (open.right - open.left) * (open.bottom - open.top);
    const int hotFill = CountInWindowRect(menu, client, ToolkitColour(kHotFillColour));
    const int hotText = CountInWindowRect(menu, client, ToolkitColour(kHotTextColour));
    EXPECT_GT(hotText, 0);
    EXPECT_GT(hotFill, area / 2);
    EXPECT_EQ(CountInWindowRect(menu, Item(1).itemRect, ToolkitColour(kHotFillColour)), 0);
}

TEST_F(MenuTest, DropDownBackgroundIsTheFieldColour) {
    Open(POINT{0, 0}, nullptr, kMenuBelowOwner);
    PaintNow(menu);
    EXPECT_EQ(WindowPixel(menu, Item(0).itemRect.right - 2, Item(0).itemRect.top + 1),
              ToolkitColour(kFieldColour));
    // Below the owner, as wide as it less one pixel.
    RECT ownerRect;
    GetWindowRect(owner.Window(), &ownerRect);
    const RECT rect = ScreenRect();
    EXPECT_EQ(rect.left, ownerRect.left);
    EXPECT_EQ(rect.top, ownerRect.bottom - 1);
    EXPECT_EQ(rect.right, ownerRect.right - 1);
}

TEST_F(MenuTest, OpensAtTheCursorAndIsTranslucentOnlyWhenAsked) {
    SetCursorPos(250, 150);
    Open(POINT{0, 0}, nullptr, kMenuAtCursor, 1);
    EXPECT_EQ(ScreenRect().left, 250);
    EXPECT_EQ(ScreenRect().top, 150);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(menu, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 60 * 255 / 100);
    DestroyWindow(menu);
    Open(POINT{300, 200});
    EXPECT_EQ(GetWindowLongA(menu, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

// Translucent with the opacity left as = {} gives it: fully opaque, never an
// invisible menu that holds the mouse. (The screen under Xvfb has no
// compositor and shows every window opaque, so the alpha is read instead.)
TEST_F(MenuTest, TranslucentMenuWithoutAnOpacityIsOpaque) {
    ksMenuData* entries[] = {new CountedItem(101, "Open", deleted)};
    MenuDescription description = {};
    description.origin = POINT{300, 200};
    description.translucent = 1;
    description.entries = entries;
    description.entryCount = 1;
    menu = OpenMenu(owner.Window(), description);
    ASSERT_NE(menu, nullptr);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(menu, nullptr, &alpha, &flags));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_EQ(alpha, 255);
}

// Only the rectangles of the item that stops and the one that starts being
// hot are painted again; a mark elsewhere survives.
TEST_F(MenuTest, HotTrackingInvalidatesOnlyTheOldAndNewItems) {
    Open(POINT{300, 200});
    Post(WM_MOUSEMOVE, Centre(0));
    PumpPending();
    HDC dc = GetDC(menu);
    SetPixel(dc, Centre(3).x, Centre(3).y, kSentinel);
    SetPixel(dc, Centre(0).x, Item(0).itemRect.top, kSentinel);
    ReleaseDC(menu, dc);
    Post(WM_MOUSEMOVE, Centre(1));
    PumpPending();
    EXPECT_EQ(GetWindowRecord<MenuRecord>(menu)->hot, 1);
    EXPECT_EQ(WindowPixel(menu, Centre(3).x, Centre(3).y), kSentinel);
    EXPECT_NE(WindowPixel(menu, Centre(0).x, Item(0).itemRect.top), kSentinel);
    EXPECT_EQ(WindowPixel(menu, Item(1).itemRect.right - 2, Item(1).itemRect.top + 1),
              ToolkitColour(kHotFillColour));
    // The separator and the frame are never hot.
    Post(WM_MOUSEMOVE, POINT{Centre(1).x, Item(1).itemRect.bottom});
    PumpPending();
    EXPECT_EQ(GetWindowRecord<MenuRecord>(menu)->hot, -1);
}

TEST_F(MenuTest, ClickOnAnItemSendsItsCommandToTheOwnerAndCloses) {
    Open(POINT{300, 200});
    EXPECT_EQ(GetCapture(), menu);
    Click(Centre(3));
    EXPECT_TRUE(Closes());
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{103}));
    EXPECT_EQ(owner.Messages().back().lParam, 0);
    EXPECT_EQ(deleted, 3);
}

TEST_F(MenuTest, ClickOnASeparatorOrTheFrameLeavesItOpen) {
    Open(POINT{300, 200});
    Click(POINT{Centre(1).x, Item(1).itemRect.bottom});
    Click(POINT{0, Centre(0).y});
    PumpPending();
    EXPECT_TRUE(IsWindow(menu));
    EXPECT_TRUE(Commands().empty());
}

TEST_F(MenuTest, ClickOutsideClosesWithoutACommand) {
    Open(POINT{300, 200});
    Post(WM_RBUTTONDOWN, POINT{-20, 5});
    EXPECT_TRUE(Closes());
    Open(POINT{300, 200});
    Post(WM_LBUTTONDOWN, POINT{5, ScreenRect().bottom - ScreenRect().top + 3});
    EXPECT_TRUE(Closes());
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(deleted, 6);
}

TEST_F(MenuTest, EscapeEnterAndDeactivationCloseWithoutACommand) {
    Open(POINT{300, 200});
    EXPECT_EQ(GetFocus(), menu);
    PostMessageA(GetFocus(), WM_CHAR, VK_ESCAPE, 0);
    EXPECT_TRUE(Closes());
    Open(POINT{300, 200});
    Post(WM_MOUSEMOVE, Centre(0));
    PostMessageA(GetFocus(), WM_CHAR, VK_RETURN, 0);
    EXPECT_TRUE(Closes());
    Open(POINT{300, 200});
    SetActiveWindow(owner.Window());
    EXPECT_TRUE(Closes());
    EXPECT_TRUE(Commands().empty());
}

TEST_F(MenuTest, LabelsAreCutAt63Characters) {
    const std::string longText(80, 'x');
    ksMenuData item(1, longText.c_str());
    EXPECT_EQ(std::string(item.label), std::string(63, 'x'));
}

}  // namespace
