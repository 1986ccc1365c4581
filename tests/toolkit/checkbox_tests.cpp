// ksCheckBox: clicks and their notification, the box and its tick by style,
// the push-like form, and renaming with F2 through ksInplaceEdit.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/checkbox.h"
#include "toolkit/colours.h"
#include "toolkit/fonts.h"
#include "toolkit/inplace_edit.h"
#include "toolkit/window_record.h"

namespace {

const int kBoxId = 1001;

RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

TEST(CheckBoxBoxRect, LeftAndVerticallyCentredLessOneByDefault) {
    RECT box = CheckBoxBoxRect(Rect(0, 0, 100, 20), 0);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 2);  // (20 - 13) / 2 rounded down, less 1
    EXPECT_EQ(box.right, 13);
    EXPECT_EQ(box.bottom, 15);
}

TEST(CheckBoxBoxRect, RightWithLeftText) {
    RECT box = CheckBoxBoxRect(Rect(0, 0, 100, 20), BS_LEFTTEXT);
    EXPECT_EQ(box.left, 87);
}

TEST(CheckBoxBoxRect, TopAndBottomStyles) {
    EXPECT_EQ(CheckBoxBoxRect(Rect(0, 0, 100, 30), BS_TOP).top, 1);
    EXPECT_EQ(CheckBoxBoxRect(Rect(0, 0, 100, 30), BS_BOTTOM).top, 14);
}

TEST(CheckBoxBoxRect, NeverAboveTheTop) {
    EXPECT_EQ(CheckBoxBoxRect(Rect(0, 0, 100, 10), 0).top, 0);
    EXPECT_EQ(CheckBoxBoxRect(Rect(0, 0, 100, 14), 0).top, 0);
    EXPECT_EQ(CheckBoxBoxRect(Rect(0, 0, 100, 10), BS_BOTTOM).top, 0);
}

class CheckBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        PaintNow(parent.Window());
    }
    void TearDown() override {
        if (box) DestroyWindow(box);
    }
    void Make(DWORD style, const char* text = "Materials", int width = kWidth,
              int height = kHeight) {
        box = MakeControl("ksCheckBox", text, style | WS_TABSTOP, 10, 10, width, height,
                          parent.Window(), kBoxId);
        ASSERT_NE(box, nullptr);
        PaintNow(box);
    }
    void Send(UINT message, int x, int y) { SendMessageA(box, message, 0, MAKELPARAM(x, y)); }
    int Checked() { return static_cast<int>(SendMessageA(box, BM_GETCHECK, 0, 0)); }
    // Top-left of the 13 by 13 box of a default-styled check box.
    POINT BoxOrigin() {
        RECT client;
        GetClientRect(box, &client);
        RECT r = CheckBoxBoxRect(client, static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE)));
        return POINT{r.left, r.top};
    }

    static const int kWidth = 90;
    static const int kHeight = 17;
    RecordingParent parent{240, 80};
    HWND box = nullptr;
};

TEST_F(CheckBoxTest, ClickInsideTogglesAndNotifies) {
    Make(0);
    EXPECT_EQ(Checked(), 0);
    Send(WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(GetCapture(), box);
    EXPECT_EQ(GetFocus(), box);
    Send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(Checked(), 1);
    EXPECT_NE(GetCapture(), box);
    ASSERT_EQ(parent.CommandCodes(), (std::vector<int>{BN_CLICKED}));
    const SentMessage& sent = parent.Messages().back();
    EXPECT_EQ(LOWORD(sent.wParam), kBoxId);
    EXPECT_EQ(reinterpret_cast<HWND>(sent.lParam), box);
    Send(WM_LBUTTONDOWN, 5, 5);
    Send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(Checked(), 0);
    EXPECT_EQ(parent.CommandCodes().size(), 2u);
}

TEST_F(CheckBoxTest, ReleaseOutsideNeitherTogglesNorNotifiesButUnpresses) {
    Make(0);
    const POINT o = BoxOrigin();
    Send(WM_LBUTTONDOWN, 5, 5);
    PaintNow(box);
    EXPECT_EQ(WindowPixel(box, o.x + 6, o.y + 6), ToolkitColour(kThinFrameBottomColour));
    Send(WM_LBUTTONUP, 200, 5);
    EXPECT_EQ(Checked(), 0);
    EXPECT_TRUE(parent.CommandCodes().empty());
    EXPECT_EQ(WindowPixel(box, o.x + 6, o.y + 6), ToolkitColour(kFieldColour));
    EXPECT_EQ(GetWindowRecord<CheckBoxRecord>(box)->pressed, 0);
}

TEST_F(CheckBoxTest, SetCheckWithTheCurrentStateDoesNotRedraw) {
    Make(0);
    const POINT o = BoxOrigin();
    SendMessageA(box, BM_SETCHECK, 1, 0);
    HDC dc = GetDC(box);
    SetPixel(dc, o.x + 3, o.y + 3, kSentinel);
    ReleaseDC(box, dc);
    SendMessageA(box, BM_SETCHECK, 1, 0);
    EXPECT_EQ(WindowPixel(box, o.x + 3, o.y + 3), kSentinel);
    SendMessageA(box, BM_SETCHECK, 0, 0);
    EXPECT_EQ(WindowPixel(box, o.x + 3, o.y + 3), ToolkitColour(kFieldColour));
    EXPECT_EQ(Checked(), 0);
    EXPECT_TRUE(parent.CommandCodes().empty());
}

TEST_F(CheckBoxTest, BoxHasTwoSunkenRingsAndTheFieldColour) {
    Make(0);
    const POINT o = BoxOrigin();
    const COLORREF dark = ToolkitColour(kDarkEdgeColour);
    const COLORREF light = ToolkitColour(kLightEdgeColour);
    EXPECT_EQ(WindowPixel(box, o.x + 6, o.y), dark);
    EXPECT_EQ(WindowPixel(box, o.x, o.y + 6), dark);
    EXPECT_EQ(WindowPixel(box, o.x + 12, o.y + 6), light);
    EXPECT_EQ(WindowPixel(box, o.x + 6, o.y + 12), light);
    EXPECT_EQ(WindowPixel(box, o.x + 6, o.y + 1), RGB(0, 0, 0));
    EXPECT_EQ(WindowPixel(box, o.x + 1, o.y + 6), RGB(0, 0, 0));
    EXPECT_EQ(WindowPixel(box, o.x + 11, o.y + 6), ToolkitColour(kFaceColour));
    EXPECT_EQ(WindowPixel(box, o.x + 6, o.y + 11), ToolkitColour(kFaceColour));
    EXPECT_EQ(WindowPixel(box, o.x + 6, o.y + 6), ToolkitColour(kFieldColour));
    // No text is drawn beside a plain box: the rest is left to the parent.
    EXPECT_EQ(WindowPixel(box, 40, kHeight / 2), kSentinel);
}

TEST_F(CheckBoxTest, TickIsThreeStackedPolylines) {
    Make(0);
    SendMessageA(box, BM_SETCHECK, 1, 0);
    const POINT o = BoxOrigin();
    const int l = o.x + 1, t = o.y + 1;
    const COLORREF mark = ToolkitColour(kTextColour);
    for (int dy = 0; dy < 3; ++dy) {
        SCOPED_TRACE(dy);
        EXPECT_EQ(WindowPixel(box, l + 2, t + 4 + dy), mark);
        EXPECT_EQ(WindowPixel(box, l + 4, t + 6 + dy), mark);
        EXPECT_EQ(WindowPixel(box, l + 6, t + 4 + dy), mark);
        EXPECT_EQ(WindowPixel(box, l + 8, t + 2 + dy), mark);
    }
    // The end point of the long stroke is not drawn, nor the corner above the tick.
    EXPECT_EQ(WindowPixel(box, l + 9, t + 1), ToolkitColour(kFieldColour));
    EXPECT_EQ(WindowPixel(box, l + 2, t + 2), ToolkitColour(kFieldColour));
    RECT inside = {l + 1, t + 1, l + 10, t + 10};
    EXPECT_EQ(CountInWindowRect(box, inside, mark), 21);
}

TEST_F(CheckBoxTest, DisabledBoxIsFaceWithADarkTick) {
    Make(0);
    SendMessageA(box, BM_SETCHECK, 1, 0);
    EnableWindow(box, FALSE);
    const POINT o = BoxOrigin();
    const int l = o.x + 1, t = o.y + 1;
    EXPECT_EQ(WindowPixel(box, l + 2, t + 2), ToolkitColour(kFaceColour));
    EXPECT_EQ(WindowPixel(box, l + 4, t + 6), ToolkitColour(kDarkEdgeColour));
    // A disabled box keeps its state.
    EXPECT_EQ(Checked(), 1);
}

TEST_F(CheckBoxTest, LeftTextPutsTheBoxAtTheRight) {
    Make(BS_LEFTTEXT);
    EXPECT_EQ(WindowPixel(box, kWidth - 13 + 6, 1), ToolkitColour(kDarkEdgeColour));
    EXPECT_EQ(WindowPixel(box, kWidth - 13 + 6, 8), ToolkitColour(kFieldColour));
    EXPECT_EQ(WindowPixel(box, 6, 8), kSentinel);
}

TEST_F(CheckBoxTest, TopAndBottomStylesMoveTheBox) {
    Make(BS_TOP, "x", kWidth, 40);
    EXPECT_EQ(WindowPixel(box, 6, 1), ToolkitColour(kDarkEdgeColour));
    DestroyWindow(box);
    Make(BS_BOTTOM, "x", kWidth, 40);
    EXPECT_EQ(WindowPixel(box, 6, 24), ToolkitColour(kDarkEdgeColour));
    EXPECT_EQ(WindowPixel(box, 6, 36), ToolkitColour(kLightEdgeColour));
}

TEST_F(CheckBoxTest, PushLikeFillsAndSinksWhenChecked) {
    Make(BS_PUSHLIKE, "Flip", 60, 20);
    const COLORREF light = ToolkitColour(kLightEdgeColour);
    const COLORREF dark = ToolkitColour(kDarkEdgeColour);
    EXPECT_EQ(WindowPixel(box, 2, 2), ToolkitColour(kFaceColour));
    EXPECT_EQ(WindowPixel(box, 30, 0), light);
    EXPECT_EQ(WindowPixel(box, 30, 19), dark);
    SendMessageA(box, BM_SETCHECK, 1, 0);
    EXPECT_EQ(WindowPixel(box, 2, 2), ToolkitColour(kHotFillColour));
    EXPECT_EQ(WindowPixel(box, 30, 0), dark);
    EXPECT_EQ(WindowPixel(box, 30, 19), light);
    RECT inside = {1, 1, 59, 19};
    EXPECT_GT(CountInWindowRect(box, inside, ToolkitColour(kTextColour)), 5);
}

TEST_F(CheckBoxTest, PushLikeLooksActiveWhilePressed) {
    Make(BS_PUSHLIKE, "Flip", 60, 20);
    Send(WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(WindowPixel(box, 2, 2), ToolkitColour(kHotFillColour));
    Send(WM_LBUTTONUP, 100, 100);
    EXPECT_EQ(WindowPixel(box, 2, 2), ToolkitColour(kFaceColour));
}

// Text pixels are found as anything but the face inside the frame, so that
// smoothed glyph edges count too.
int FirstInkColumn(HWND box, int width, int height) {
    const COLORREF face = ToolkitColour(kFaceColour);
    for (int x = 1; x < width - 1; ++x)
        for (int y = 1; y < height - 1; ++y)
            if (WindowPixel(box, x, y) != face) return x;
    return -1;
}

int LowestInkRow(HWND box, int x0, int x1, int height) {
    const COLORREF face = ToolkitColour(kFaceColour);
    for (int y = height - 2; y >= 1; --y)
        if (CountInWindowRow(box, y, x0, x1, face) < x1 - x0 + 1) return y;
    return -1;
}

TEST_F(CheckBoxTest, PushLikeTextAlignsLeftOnlyWithBsLeft) {
    Make(BS_PUSHLIKE | BS_LEFT, "Go", 120, 20);
    const int left = FirstInkColumn(box, 120, 20);
    DestroyWindow(box);
    Make(BS_PUSHLIKE, "Go", 120, 20);
    const int centred = FirstInkColumn(box, 120, 20);
    DestroyWindow(box);
    Make(BS_PUSHLIKE | BS_CENTER, "Go", 120, 20);
    const int alsoCentred = FirstInkColumn(box, 120, 20);
    EXPECT_GE(left, 3);
    EXPECT_LT(left, 10);
    EXPECT_GT(centred, 40);
    EXPECT_EQ(alsoCentred, centred);
}

TEST_F(CheckBoxTest, PushLikeTwoToThePowerNIsRaised) {
    Make(BS_PUSHLIKE, "2n", 40, 20);
    HDC dc = GetDC(box);
    HGDIOBJ previous = SelectObject(dc, GetToolkitFont(0));
    SIZE two = {0, 0};
    GetTextExtentPoint32A(dc, "2", 1, &two);
    SelectObject(dc, previous);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(box, dc);
    // The client rectangle moved down 2, in by 3 and 1, then right to the middle.
    const int left = 4 + 40 / 2 - two.cx - (dpi < 120 ? 1 : 0);
    const int twoRow = LowestInkRow(box, left, left + two.cx - 1, 20);
    const int nRow = LowestInkRow(box, left + two.cx, left + 2 * two.cx, 20);
    ASSERT_GE(twoRow, 0);
    ASSERT_GE(nRow, 0);
    EXPECT_EQ(twoRow - nRow, 3);
    const int first = FirstInkColumn(box, 40, 20);
    EXPECT_GE(first, left);
    EXPECT_LE(first, left + 2);  // the glyph's own left bearing
}

TEST_F(CheckBoxTest, RightButtonUpGoesToTheParentInItsCoordinates) {
    Make(0);
    SetCursorPos(40 + 30, 40 + 25);
    SendMessageA(box, WM_RBUTTONUP, MK_SHIFT, MAKELPARAM(1, 1));
    ASSERT_EQ(parent.Count(WM_RBUTTONUP), 1);
    const SentMessage& sent = parent.Messages().back();
    EXPECT_EQ(sent.wParam, static_cast<WPARAM>(MK_SHIFT));
    EXPECT_EQ(LOWORD(sent.lParam), 30);
    EXPECT_EQ(HIWORD(sent.lParam), 25);
}

TEST_F(CheckBoxTest, NewTextIsStored) {
    Make(BS_PUSHLIKE, "Flip", 60, 20);
    EXPECT_TRUE(SetWindowTextA(box, "Flop"));
    EXPECT_EQ(WindowText(box), "Flop");
}

// Renaming: the editor is a popup over the check box.
class RenameTest : public CheckBoxTest {
  protected:
    void SetUp() override {
        CheckBoxTest::SetUp();
        Make(BS_PUSHLIKE, "Materials");
    }
    void TearDown() override {
        HWND editor = Editor();
        if (editor) DestroyWindow(editor);
        CheckBoxTest::TearDown();
    }
    static HWND Editor() { return FindWindowA("ksInplaceEdit", nullptr); }
    HWND Field() { return GetDlgItem(Editor(), kInplaceEditFieldId); }
    bool WaitClosed() {
        return PumpUntil([] { return Editor() == nullptr; });
    }
    std::vector<std::string> Renames() {
        std::vector<std::string> texts;
        for (const SentMessage& sent : parent.Messages())
            if (sent.message == WM_COMMAND && HIWORD(sent.wParam) == CKN_RENAMED) {
                EXPECT_EQ(LOWORD(sent.wParam), kBoxId);
                texts.push_back(sent.text);
            }
        return texts;
    }
    void Retype(const char* text) {
        SendMessageA(Field(), EM_SETSEL, 0, -1);
        SendMessageA(Field(), WM_CLEAR, 0, 0);
        for (const char* c = text; *c; ++c) SendMessageA(Field(), WM_CHAR, *c, 0);
    }
    void PressKey(HWND target, WPARAM key) {
        PostMessageA(target, WM_KEYDOWN, key, 0);
        PostMessageA(target, WM_CHAR, key, 0);
        PumpPending();
    }
};

TEST_F(RenameTest, F2DoesNothingWhenTheParentDoesNotAnswer) {
    SendMessageA(box, WM_KEYDOWN, VK_F2, 0);
    EXPECT_EQ(parent.Count(CKM_BEGINRENAME), 1);
    EXPECT_EQ(Editor(), nullptr);
}

TEST_F(RenameTest, F2OpensAnEditorOverTheBoxWithItsTextSelected) {
    parent.AllowRename(true);
    SendMessageA(box, WM_KEYDOWN, VK_F2, 0);
    HWND editor = Editor();
    ASSERT_NE(editor, nullptr);
    RECT boxRect, editorRect;
    GetWindowRect(box, &boxRect);
    GetWindowRect(editor, &editorRect);
    EXPECT_TRUE(EqualRect(&boxRect, &editorRect));
    EXPECT_TRUE(IsWindowVisible(editor));
    HWND field = Field();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(WindowText(field), "Materials");
    EXPECT_EQ(GetFocus(), field);
    DWORD start = 1, end = 0;
    SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 9u);
    EXPECT_EQ(GetCapture(), editor);
    EXPECT_EQ(GetWindowRecord<InplaceEditRecord>(editor)->target, box);
}

TEST_F(RenameTest, EnterTakesTheNewNameAndTellsTheParentOnce) {
    parent.AllowRename(true);
    SendMessageA(box, WM_KEYDOWN, VK_F2, 0);
    ASSERT_NE(Editor(), nullptr);
    Retype("Shaders");
    PressKey(Field(), VK_RETURN);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(WindowText(box), "Shaders");
    EXPECT_EQ(Renames(), (std::vector<std::string>{"Shaders"}));
}

TEST_F(RenameTest, EscapeSendsTheOldNameBack) {
    parent.AllowRename(true);
    SendMessageA(box, WM_KEYDOWN, VK_F2, 0);
    Retype("Shaders");
    PressKey(Field(), VK_ESCAPE);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(WindowText(box), "Materials");
    EXPECT_EQ(Renames(), (std::vector<std::string>{"Materials"}));
}

TEST_F(RenameTest, EmptyEntryKeepsTheOldNameButStillNotifies) {
    parent.AllowRename(true);
    SendMessageA(box, CKM_BEGINRENAME, 0, 0);
    Retype("");
    PressKey(Field(), VK_RETURN);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(WindowText(box), "Materials");
    EXPECT_EQ(Renames(), (std::vector<std::string>{"Materials"}));
}

TEST_F(RenameTest, ClickOutsideCommits) {
    SendMessageA(box, CKM_BEGINRENAME, 0, 0);  // starts at once, without asking
    EXPECT_EQ(parent.Count(CKM_BEGINRENAME), 0);
    Retype("Outside");
    HWND editor = Editor();
    SendMessageA(editor, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));  // inside: ignored
    PumpPending();
    EXPECT_NE(Editor(), nullptr);
    SendMessageA(editor, WM_LBUTTONDOWN, 0, MAKELPARAM(static_cast<WORD>(-5), 5));
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(WindowText(box), "Outside");
    EXPECT_EQ(Renames(), (std::vector<std::string>{"Outside"}));
}

TEST_F(RenameTest, LosingActivationCommitsOnce) {
    SendMessageA(box, CKM_BEGINRENAME, 0, 0);
    Retype("Elsewhere");
    SetActiveWindow(parent.Window());
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(Renames(), (std::vector<std::string>{"Elsewhere"}));
}

TEST_F(RenameTest, DestroyedEditorStillCommitsOnce) {
    SendMessageA(box, CKM_BEGINRENAME, 0, 0);
    Retype("Gone");
    DestroyWindow(Editor());
    PumpPending();
    EXPECT_EQ(Renames(), (std::vector<std::string>{"Gone"}));
}

TEST_F(RenameTest, EditorFieldIsTheFieldColour) {
    SendMessageA(box, CKM_BEGINRENAME, 0, 0);
    HWND field = Field();
    RedrawWindow(field, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    RECT client;
    GetClientRect(field, &client);
    EXPECT_EQ(WindowFramePixel(field, 0, 5), ToolkitColour(kDarkEdgeColour));
    EXPECT_EQ(WindowFramePixel(field, 1, 5), RGB(0, 0, 0));
    EXPECT_GT(CountInWindowRect(field, client, ToolkitColour(kFieldColour)), 10);
}

}  // namespace
