// The about box: its size in pixels, its picture, how it closes and how it
// is dragged, shown through the importer as the host shows it.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "frontend/about.h"
#include "tests/frontend/options_test_support_win.h"
#include "toolkit/skin.h"

namespace {

class AboutBoxTest : public ::testing::Test, public ImporterFixture {
  protected:
    // Shows the box through the importer, owned by the host's main window,
    // while user acts on it. Answers the box's result.
    INT_PTR Show(const std::function<void(HWND box)>& user) {
        bool open = false;
        Watcher watcher([&] {
            HWND box = WaitForOwnedDialog(mainWindow.Window());
            if (!box) return;
            Flush(box);
            user(box);
            if (IsWindow(box) && IsWindowVisible(box)) {
                open = true;
                PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            }
        });
        const INT_PTR result = ShowAboutDialog(mainWindow.Window());
        watcher.Join();
        leftOpen = open;
        return result;
    }
    bool leftOpen = false;
};

TEST_F(AboutBoxTest, Is279By179PixelsAndCentredOverItsOwner) {
    RECT box = {}, owner = {}, client = {};
    bool hasRegion = false;
    Show([&](HWND b) {
        GetWindowRect(b, &box);
        GetClientRect(b, &client);
        GetWindowRect(mainWindow.Window(), &owner);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        hasRegion = GetWindowRgn(b, region) != ERROR;
        DeleteObject(region);
    });
    EXPECT_EQ(box.right - box.left, 279);
    EXPECT_EQ(box.bottom - box.top, 179);
    EXPECT_EQ(client.right, 279);  // no system border
    EXPECT_TRUE(hasRegion);
    // As far as the screen lets it, its centre is the owner's.
    EXPECT_NEAR((box.left + box.right) / 2, (owner.left + owner.right) / 2, 1);
}

TEST_F(AboutBoxTest, ShowsItsPictureInsideTheFrame) {
    ResourceBitmap picture(113);
    ASSERT_TRUE(picture.Loaded());
    int same = 0, compared = 0;
    COLORREF rim = 0;
    Show([&](HWND b) {
        RunOnWindowThread(b, [&] {
            PaintNow(b);
            for (int y = 0; y < 142; y += 7)
                for (int x = 0; x < 268; x += 11) {
                    same +=
                        WindowPixel(b, kAboutPictureX + x, kAboutPictureY + y) == picture.At(x, y);
                    ++compared;
                }
            rim = WindowPixel(b, 0, 100);
        });
    });
    EXPECT_EQ(same, compared);
    EXPECT_EQ(rim, RGB(0x6E, 0x6E, 0x6E));  // the frame's outer rim, left of the picture
}

TEST_F(AboutBoxTest, PaintingLeavesNoDrawingObjectBehind) {
    DWORD before = 0, after = 0;
    Show([&](HWND b) {
        RunOnWindowThread(b, [&] {
            PaintNow(b);
            before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
            for (int i = 0; i < 20; ++i) PaintNow(b);
            after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        });
    });
    EXPECT_EQ(after, before);
}

TEST_F(AboutBoxTest, AClickOnThePictureClosesIt) {
    EXPECT_EQ(Show([&](HWND b) { ClickAt(b, 140, 90); }), 0);
    EXPECT_FALSE(leftOpen);
}

TEST_F(AboutBoxTest, APressOnTheFrameDragsItInstead) {
    int presses = 0;
    bool open = false;
    Show([&](HWND b) {
        ClickAt(b, 2, 90);     // left rim
        ClickAt(b, 140, 10);   // caption strip
        ClickAt(b, 140, 170);  // bottom strip
        presses = hook.CaptionPresses();
        open = IsWindowVisible(b) != FALSE;
    });
    EXPECT_EQ(presses, 3);
    EXPECT_TRUE(open);
    EXPECT_TRUE(leftOpen);  // then closed by the fixture
}

TEST_F(AboutBoxTest, EnterAndClosingAnswerOneEscapeZero) {
    EXPECT_EQ(Show([&](HWND b) { PressKey(b, VK_RETURN); }), 1);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(Show([&](HWND b) { PressKey(b, VK_ESCAPE); }), 0);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(Show([&](HWND b) {
                  PostMessageA(b, WM_CLOSE, 0, 0);
                  Flush(b);
              }),
              1);
    EXPECT_FALSE(leftOpen);
}

TEST_F(AboutBoxTest, OtherCommandsLeaveItOpen) {
    bool open = false;
    Show([&](HWND b) {
        PostMessageA(b, WM_COMMAND, 1024, 0);
        Flush(b);
        open = IsWindowVisible(b) != FALSE;
    });
    EXPECT_TRUE(open);
}

TEST_F(AboutBoxTest, TheImportersShowAboutShowsIt) {
    bool seen = false;
    Watcher watcher([&] {
        HWND box = WaitForOwnedDialog(mainWindow.Window());
        if (!box) return;
        RECT rect;
        GetWindowRect(box, &rect);
        seen = rect.right - rect.left == kAboutWidth;
        ClickAt(box, 100, 100);
    });
    importer->ShowAbout(mainWindow.Window());
    watcher.Join();
    EXPECT_TRUE(seen);
}

// Shown by the host before any import, the frame still gets its artwork.
TEST_F(AboutBoxTest, ShownBeforeAnyImportTheFrameHasItsArtwork) {
    SetupSkin(nullptr, kLibrarySkinBitmaps, 0);  // as at the library's start
    ResourceBitmap tab(116);
    ASSERT_TRUE(tab.Loaded());
    POINT lettering = {-1, -1};
    for (int y = 0; y < tab.Height() && lettering.x < 0; ++y)
        for (int x = 0; x < tab.Width() && lettering.x < 0; ++x)
            if (tab.At(x, y) == RGB(0xD8, 0xD8, 0xD8)) lettering = {x, y};
    ASSERT_GE(lettering.x, 0);
    COLORREF seen = 0;
    Watcher watcher([&] {
        HWND box = WaitForOwnedDialog(mainWindow.Window());
        if (!box) return;
        Flush(box);
        RunOnWindowThread(box, [&] {
            PaintNow(box);
            seen = WindowPixel(box, lettering.x, lettering.y);
        });
        ClickAt(box, 100, 100);
    });
    importer->ShowAbout(mainWindow.Window());
    watcher.Join();
    EXPECT_EQ(seen, RGB(0xD8, 0xD8, 0xD8));
}

}  // namespace
