// ksScrollBar: arrows that step and repeat, a track that pages, a thumb that
// drags, and the WM_VSCROLL codes and positions the parent hears of.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "tests/support/import_patch_win.h"
#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/scrollbar.h"

namespace {

using Scroll = std::pair<int, int>;  // scroll code, position

// The repeat timer's elapses as the bar asks for them. No real timer runs:
// the test sends the ticks itself.
std::vector<UINT> repeatElapses;
UINT_PTR WINAPI RecordRepeatTimer(HWND, UINT_PTR id, UINT elapse, TIMERPROC) {
    if (id == kScrollRepeatTimer) repeatElapses.push_back(elapse);
    return id;
}

class ScrollBarTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        PaintNow(parent.Window());
        Make(kHeight);
    }
    void TearDown() override { DestroyWindow(bar); }
    void Make(int height) {
        if (bar) DestroyWindow(bar);
        bar = MakeControl("ksScrollBar", "", 0, 10, 10, kScrollArrowSize, height, parent.Window(),
                          40);
        ASSERT_NE(bar, nullptr);
        PumpPending();
        parent.Clear();
    }
    HWND Child(int id) { return GetDlgItem(bar, id); }
    RECT ChildRect(int id) {
        RECT rect;
        GetWindowRect(Child(id), &rect);
        MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    int ThumbTop() { return ChildRect(kScrollThumbId).top; }
    void SetRange(int maximum, int page) {
        SendMessageA(bar, SBX_SETRANGE, MAKEWPARAM(maximum, page), 0);
    }
    int Position() { return static_cast<int>(SendMessageA(bar, SBX_GETPOS, 0, 0)); }
    // Posts a mouse message to a window at a client point, with the real
    // cursor there too, and lets it be handled.
    void Mouse(HWND window, UINT message, int x, int y) {
        POINT screen = {x, y};
        ClientToScreen(window, &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageA(window, message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
        PumpPending();
    }
    // The WM_VSCROLL notifications since the last call.
    std::vector<Scroll> Scrolls() {
        PumpPending();
        std::vector<Scroll> scrolls;
        for (const SentMessage& sent : parent.Messages()) {
            if (sent.message != WM_VSCROLL) continue;
            EXPECT_EQ(reinterpret_cast<HWND>(sent.lParam), bar);
            scrolls.push_back({LOWORD(sent.wParam), HIWORD(sent.wParam)});
        }
        parent.Clear();
        return scrolls;
    }

    // Track length 150 - 24 - 26 = 100 pixels.
    static constexpr int kHeight = 150;
    RecordingParent parent{60, 220};
    HWND bar = nullptr;
};

TEST_F(ScrollBarTest, ArrowsAtTheEndsThumbOnTopTrackBetween) {
    EXPECT_EQ(ChildRect(kScrollUpId).top, 0);
    EXPECT_EQ(ChildRect(kScrollDownId).top, kHeight - kScrollArrowSize);
    RECT thumb = ChildRect(kScrollThumbId);
    EXPECT_EQ(thumb.top, kScrollArrowSize);
    EXPECT_EQ(thumb.bottom - thumb.top, 24);
    EXPECT_EQ(thumb.right - thumb.left, kScrollArrowSize);
    EXPECT_EQ(WindowPixel(bar, 6, 100), ToolkitColour(kLightEdgeColour));
    MoveWindow(bar, 10, 10, kScrollArrowSize, 200, TRUE);
    EXPECT_EQ(ChildRect(kScrollDownId).top, 200 - kScrollArrowSize);
    PaintNow(bar);
    EXPECT_EQ(WindowPixel(bar, 6, 180), ToolkitColour(kLightEdgeColour));
}

TEST_F(ScrollBarTest, ArrowPressStepsOnceAndEveryPressIsReported) {
    Mouse(Child(kScrollDownId), WM_LBUTTONDOWN, 6, 6);
    Mouse(Child(kScrollDownId), WM_LBUTTONUP, 6, 6);
    Mouse(Child(kScrollUpId), WM_LBUTTONDOWN, 6, 6);
    Mouse(Child(kScrollUpId), WM_LBUTTONUP, 6, 6);
    // At the top already: reported all the same, unchanged.
    Mouse(Child(kScrollUpId), WM_LBUTTONDOWN, 6, 6);
    Mouse(Child(kScrollUpId), WM_LBUTTONUP, 6, 6);
    EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{SB_LINEDOWN, 1}, {SB_LINEUP, 0}, {SB_LINEUP, 0}}));
    EXPECT_FALSE(KillTimer(bar, kScrollRepeatTimer));
}

TEST_F(ScrollBarTest, HeldArrowRepeatsUntilReleasedOffIt) {
    HWND down = Child(kScrollDownId);
    Mouse(down, WM_MOUSEMOVE, 6, 6);
    Mouse(down, WM_LBUTTONDOWN, 6, 6);
    EXPECT_TRUE(PumpUntil([&] { return Position() >= 4; }));
    Mouse(down, WM_MOUSEMOVE, 6, 40);
    Mouse(down, WM_LBUTTONUP, 6, 40);
    const int stopped = Position();
    EXPECT_FALSE(KillTimer(bar, kScrollRepeatTimer));
    std::vector<Scroll> scrolls = Scrolls();
    ASSERT_GE(scrolls.size(), 4u);
    for (size_t i = 0; i < scrolls.size(); ++i)
        EXPECT_EQ(scrolls[i], Scroll(SB_LINEDOWN, static_cast<int>(i) + 1));
    EXPECT_EQ(Position(), stopped);
}

TEST_F(ScrollBarTest, HeldArrowWaits300MsThenRepeatsEvery50Ms) {
    void* real = PatchImport(ThisModule(), "user32.dll", "SetTimer",
                             reinterpret_cast<void*>(RecordRepeatTimer));
    ASSERT_NE(real, nullptr);
    repeatElapses.clear();
    HWND down = Child(kScrollDownId);
    Mouse(down, WM_MOUSEMOVE, 6, 6);
    Mouse(down, WM_LBUTTONDOWN, 6, 6);
    SendMessageA(bar, WM_TIMER, kScrollRepeatTimer, 0);
    SendMessageA(bar, WM_TIMER, kScrollRepeatTimer, 0);
    Mouse(down, WM_LBUTTONUP, 6, 6);
    PatchImport(ThisModule(), "user32.dll", "SetTimer", real);
    EXPECT_EQ(repeatElapses, (std::vector<UINT>{300, 50, 50}));
    EXPECT_EQ(Position(), 3);
}

TEST_F(ScrollBarTest, TrackClickPagesTowardTheClick) {
    SetRange(20, 5);
    Scrolls();
    Mouse(bar, WM_LBUTTONDOWN, 6, 120);  // below the thumb
    EXPECT_EQ(GetCapture(), bar);
    Mouse(bar, WM_LBUTTONUP, 6, 120);
    EXPECT_NE(GetCapture(), bar);
    EXPECT_EQ(ThumbTop(), 13 + 100 * 5 / 20);
    Mouse(bar, WM_LBUTTONDOWN, 6, 20);  // above it
    Mouse(bar, WM_LBUTTONUP, 6, 20);
    // Each release reports once more where the bar stands.
    EXPECT_EQ(Scrolls(),
              (std::vector<Scroll>{
                  {SB_PAGEDOWN, 5}, {SB_THUMBTRACK, 5}, {SB_PAGEUP, 0}, {SB_THUMBTRACK, 0}}));
    // Paging ends with the release: the arrows step by lines again.
    Mouse(Child(kScrollDownId), WM_LBUTTONDOWN, 6, 6);
    Mouse(Child(kScrollDownId), WM_LBUTTONUP, 6, 6);
    EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{SB_LINEDOWN, 1}}));
}

TEST_F(ScrollBarTest, ThumbDragReportsThePositionUnderTheThumb) {
    SetRange(30, 5);
    Scrolls();
    HWND thumb = Child(kScrollThumbId);
    Mouse(thumb, WM_LBUTTONDOWN, 6, 10);  // thumb top 13: bar y 23
    EXPECT_EQ(GetCapture(), bar);
    Mouse(bar, WM_MOUSEMOVE, 6, 73);  // 50 pixels down: 50 * 30 / 100
    EXPECT_EQ(ThumbTop(), 63);
    Mouse(bar, WM_MOUSEMOVE, 6, 74);   // still position 15: nothing to report
    Mouse(bar, WM_MOUSEMOVE, 6, 400);  // the thumb stops at the end of the track
    EXPECT_EQ(ThumbTop(), kHeight - 24 - kScrollArrowSize);
    Mouse(bar, WM_LBUTTONUP, 6, 400);
    EXPECT_NE(GetCapture(), bar);
    EXPECT_EQ(Scrolls(),
              (std::vector<Scroll>{{SB_THUMBTRACK, 15}, {SB_THUMBTRACK, 30}, {SB_THUMBTRACK, 30}}));
}

TEST_F(ScrollBarTest, RangeAndPositionFromTheParent) {
    SendMessageA(bar, SBX_SETPOS, 8, 0);
    SendMessageA(bar, SBX_SETPOS, 9, 0);
    SendMessageA(bar, SBX_SETPOS, 40, 0);
    EXPECT_EQ(Position(), 10);
    SetRange(30, 5);
    SendMessageA(bar, SBX_SETPOS, 7, 0);
    EXPECT_EQ(ThumbTop(), 13 + 100 * 7 / 30);  // 36.33 truncated
    SetRange(4, 2);
    EXPECT_EQ(Position(), 4);
    EXPECT_EQ(ThumbTop(), kHeight - 24 - kScrollArrowSize);
    // A difference of one reads as a line, any other as a jump of the thumb.
    EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{SB_THUMBTRACK, 8},
                                              {SB_LINEDOWN, 9},
                                              {SB_THUMBTRACK, 10},
                                              {SB_THUMBTRACK, 10},
                                              {SB_THUMBTRACK, 7},
                                              {SB_THUMBTRACK, 4}}));
}

TEST_F(ScrollBarTest, NewRangeDoesNotApplyAnEarlierPositionChangeAgain) {
    SendMessageA(bar, SBX_SETPOS, 5, 0);
    SetRange(20, 3);
    EXPECT_EQ(Position(), 5);
    EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{SB_THUMBTRACK, 5}, {SB_THUMBTRACK, 5}}));
}

TEST_F(ScrollBarTest, EmptyRangeAndShortBarStayAtTheTop) {
    SetRange(0, 8);
    SendMessageA(bar, SBX_SETPOS, 3, 0);
    EXPECT_EQ(Position(), 0);
    Mouse(Child(kScrollThumbId), WM_LBUTTONDOWN, 6, 10);
    Mouse(bar, WM_MOUSEMOVE, 6, 90);
    Mouse(bar, WM_LBUTTONUP, 6, 90);
    EXPECT_EQ(Position(), 0);
    // Too short for any track: positions still count, the thumb stays put.
    Make(40);
    SendMessageA(bar, SBX_SETPOS, 5, 0);
    EXPECT_EQ(Position(), 5);
    EXPECT_EQ(ThumbTop(), kScrollArrowSize);
    Mouse(Child(kScrollThumbId), WM_LBUTTONDOWN, 6, 10);
    Mouse(bar, WM_MOUSEMOVE, 6, 30);
    Mouse(bar, WM_LBUTTONUP, 6, 30);
    EXPECT_EQ(Position(), 5);
}

}  // namespace
