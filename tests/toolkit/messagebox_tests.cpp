// The toolkit message box: its size from the text, the button's place, the
// result codes, the busy guard and the icon. A watcher thread looks at each
// box and closes it, so no test can hang on it.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>

#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/fonts.h"
#include "toolkit/messagebox.h"

namespace {

struct SeenBox {
    bool found = false;
    RECT window = {0, 0, 0, 0};
    RECT button = {0, 0, 0, 0};  // in the box's client coordinates
    std::string buttonText;
    std::string text;
    UINT style = 0;
    HWND owner = nullptr;
};

HWND WaitForBox() {
    DWORD start = GetTickCount();

    while (GetTickCount() - start < 20000) {
        HWND box = FindToolkitMessageBox();
        if (box && IsWindowVisible(box)) return box;
        Sleep(5);
    }
    return nullptr;
}

SeenBox Look(HWND box) {
    SeenBox seen;
    if (!box) return seen;
    seen.found = true;
    GetWindowRect(box, &seen.window);
    HWND button = GetDlgItem(box, 1);
    GetWindowRect(button, &seen.button);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&seen.button), 2);
    seen.buttonText = WindowText(button);
    const MessageRecord* record =
        reinterpret_cast<const MessageRecord*>(GetWindowLongPtrA(box, GWLP_USERDATA));
    if (record) {
        seen.text = record->text;
        seen.style = record->style;
    }
    seen.owner = GetWindow(box, GW_OWNER);
    return seen;
}

// Repaints a window of another thread and returns once it has painted.
void PaintFromOtherThread(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    SendMessageA(window, WM_PAINT, 0, 0);
}

void ClickOk(HWND box) {
    HWND button = GetDlgItem(box, 1);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// Shows a box with the text and style, lets look() see it, and closes it
// with close(); answers the box's result.
template <typename LookFn, typename CloseFn>
INT_PTR ShowAndClose(const char* text, UINT style, LookFn look, CloseFn close,
                     HWND owner = nullptr) {
    Watcher watcher([&] {
        HWND box = WaitForBox();
        look(box);
        if (box) close(box);
    });
    return ToolkitMessageBox(owner, text, style);
}

int LineHeight() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, GetToolkitFont(0));
    SIZE size;
    GetTextExtentPoint32A(dc, "\xD6g", 2, &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size.cy;
}

int TextWidth(const char* text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, GetToolkitFont(0));
    SIZE size;
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

class MessageBoxTest : public ::testing::Test {
  protected:
    void SetUp() override { PrepareToolkit(); }
};

TEST_F(MessageBoxTest, AShortLineGivesA179PixelBoxWithTheButtonAt70) {
    ASSERT_LT(TextWidth("file not found"), 70);
    SeenBox seen;
    INT_PTR result = ShowAndClose(
        "file not found", 0, [&](HWND box) { seen = Look(box); }, ClickOk);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(seen.window.right - seen.window.left, 179);
    EXPECT_EQ(seen.window.bottom - seen.window.top, LineHeight() + 107);
    const int height = seen.window.bottom - seen.window.top;
    EXPECT_EQ(seen.button.left, 70);
    EXPECT_EQ(seen.button.top, height - 49);
    EXPECT_EQ(seen.button.right - seen.button.left, 70);
    EXPECT_EQ(seen.button.bottom - seen.button.top, 20);
    EXPECT_EQ(seen.buttonText, "OK");
    EXPECT_EQ(seen.text, "file not found");
}

TEST_F(MessageBoxTest, AWideLineWidensTheBox) {
    const char* text = "not enough memory to create 123456789 texture-vertices";
    const int width = TextWidth(text);
    ASSERT_GT(width, 70);
    SeenBox seen;
    ShowAndClose(
        text, 0, [&](HWND box) { seen = Look(box); }, ClickOk);
    ASSERT_TRUE(seen.found);
    const int w = width + 109;
    EXPECT_EQ(seen.window.right - seen.window.left, w);
    EXPECT_EQ(seen.button.left, (w - 70) / 2 + 16);
}

TEST_F(MessageBoxTest, RunsOfLineFeedsCountAsOne) {
    SeenBox seen;
    ShowAndClose(
        "first\n\nsecond\n", 0, [&](HWND box) { seen = Look(box); }, ClickOk);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.window.bottom - seen.window.top, 2 * LineHeight() + 107);
    EXPECT_EQ(seen.text, "first\n\nsecond\n");
}

TEST_F(MessageBoxTest, EscapeClosesWithZero) {
    INT_PTR result = ShowAndClose(
        "press escape", 0, [](HWND) {},
        [](HWND box) { PostMessageA(GetDlgItem(box, 1), WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_EQ(result, 0);
}

TEST_F(MessageBoxTest, TheCancelCommandClosesWithZero) {
    INT_PTR result = ShowAndClose(
        "cancel", 0, [](HWND) {}, [](HWND box) { SendMessageA(box, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(result, 0);
}

TEST_F(MessageBoxTest, PressAndReleaseOutsideDoNotClose) {
    bool stillOpen = false;
    INT_PTR result = ShowAndClose(
        "stay", 0,
        [&](HWND box) {
            HWND button = GetDlgItem(box, 1);
            SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(500, 5));  // released outside: code 3
            SendMessageA(box, WM_COMMAND, MAKEWPARAM(1, BN_HILITE), 0);
            SendMessageA(box, WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0);
            stillOpen = IsWindow(box) && IsWindowVisible(box);
        },
        ClickOk);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, 1);
}

TEST_F(MessageBoxTest, ASecondBoxWhileOneIsOpenAnswers10) {
    INT_PTR second = -1;
    HWND secondBox = nullptr;
    INT_PTR first = ShowAndClose(
        "first", 0,
        [&](HWND) {
            second = ToolkitMessageBox(nullptr, "second", 0);
            Sleep(50);
            secondBox = FindToolkitMessageBox();
        },
        ClickOk);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, kMessageBoxBusy);
    // Only the first box was there.
    EXPECT_NE(secondBox, nullptr);
    // And once it is closed, boxes show again.
    EXPECT_EQ(ShowAndClose(
                  "third", 0, [](HWND) {}, ClickOk),
              1);
}

TEST_F(MessageBoxTest, KeepsTheStyleAndIsOwnedByTheGivenWindow) {
    TestParent owner(100, 50);
    SeenBox seen;
    ShowAndClose(
        "warning", MB_ICONWARNING, [&](HWND box) { seen = Look(box); }, ClickOk, owner.Window());
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.style, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(seen.owner, owner.Window());
}

TEST(MessageBoxIcon, QuestionExclamationOrInformation) {
    EXPECT_EQ(MessageBoxIcon(MB_ICONQUESTION), IDI_QUESTION);
    EXPECT_EQ(MessageBoxIcon(MB_ICONWARNING), IDI_EXCLAMATION);
    EXPECT_EQ(MessageBoxIcon(0), IDI_ASTERISK);
    EXPECT_EQ(MessageBoxIcon(MB_ICONERROR), IDI_ASTERISK);
    EXPECT_EQ(MessageBoxIcon(MB_ICONINFORMATION), IDI_ASTERISK);
    // Only the icon bits count.
    EXPECT_EQ(MessageBoxIcon(MB_ICONWARNING | MB_OKCANCEL), IDI_EXCLAMATION);
    EXPECT_EQ(MessageBoxIcon(MB_ICONQUESTION | MB_YESNO), IDI_QUESTION);
}

// The icon at (20, 35) and the text lines at (70, 42 + i x line height), read
// back from the box on screen.
TEST_F(MessageBoxTest, PaintsTheIconAndTheLines) {
    const int lineHeight = LineHeight();
    int iconDiffers = -1, otherIconDiffers = -1, firstLine = 0, secondLine = 0, belowLines = 0;
    const COLORREF text = ToolkitColour(kTextColour);
    ShowAndClose(
        "one\ntwo", MB_ICONERROR,
        [&](HWND box) {
            Canvas expected(32, 32, ToolkitColour(kFaceColour));
            DrawIcon(expected.dc, 0, 0, LoadIconA(nullptr, IDI_ASTERISK));
            Canvas other(32, 32, ToolkitColour(kFaceColour));
            DrawIcon(other.dc, 0, 0, LoadIconA(nullptr, IDI_HAND));
            // The box may still be repainted by the system after it shows (the
            // display exposes it): look again until a look finds it settled.
            for (int attempt = 0; attempt < 50; ++attempt) {
                PaintFromOtherThread(box);
                iconDiffers = otherIconDiffers = firstLine = secondLine = belowLines = 0;
                HDC dc = GetDC(box);
                for (int y = 0; y < 32; ++y)
                    for (int x = 0; x < 32; ++x) {
                        COLORREF seen = GetPixel(dc, 20 + x, 35 + y);
                        iconDiffers += seen != expected.At(x, y);
                        otherIconDiffers += seen != other.At(x, y);
                    }
                for (int y = 42; y < 42 + lineHeight; ++y)
                    for (int x = 70; x < 120; ++x) firstLine += GetPixel(dc, x, y) == text;
                for (int y = 42 + lineHeight; y < 42 + 2 * lineHeight; ++y)
                    for (int x = 70; x < 120; ++x) secondLine += GetPixel(dc, x, y) == text;
                for (int y = 42 + 2 * lineHeight; y < 42 + 3 * lineHeight; ++y)
                    for (int x = 70; x < 120; ++x) belowLines += GetPixel(dc, x, y) == text;
                ReleaseDC(box, dc);
                if (iconDiffers == 0 && firstLine > 0) break;
                Sleep(20);
            }
        },
        ClickOk);
    EXPECT_EQ(iconDiffers, 0);
    EXPECT_GT(otherIconDiffers, 0);
    EXPECT_GT(firstLine, 0);
    EXPECT_GT(secondLine, 0);
    EXPECT_EQ(belowLines, 0);
}

TEST_F(MessageBoxTest, HasTheSkinnedShape) {
    bool shaped = false, cornerCut = false;
    ShowAndClose(
        "shape", 0,
        [&](HWND box) {
            HRGN region = CreateRectRgn(0, 0, 0, 0);
            shaped = GetWindowRgn(box, region) != ERROR;
            RECT r;
            GetWindowRect(box, &r);
            cornerCut = !PtInRegion(region, r.right - r.left - 5, 5);
            DeleteObject(region);
        },
        ClickOk);
    EXPECT_TRUE(shaped);
    EXPECT_TRUE(cornerCut);
}

}  // namespace
