// The skinned frame: its bitmaps, the window's shape, the drag test and the
// painted frame read back pixel by pixel.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/skin.h"

namespace {

const COLORREF kGrey6E = RGB(0x6E, 0x6E, 0x6E);
const COLORREF kGrey56 = RGB(0x56, 0x56, 0x56);
const COLORREF kGrey3F = RGB(0x3F, 0x3F, 0x3F);
const COLORREF kGrey38 = RGB(0x38, 0x38, 0x38);
const COLORREF kGrey34 = RGB(0x34, 0x34, 0x34);
const COLORREF kGrey26 = RGB(0x26, 0x26, 0x26);
const COLORREF kGrey15 = RGB(0x15, 0x15, 0x15);

struct BitmapSize {
    int id;
    int width;
    int height;
};

const BitmapSize kSkinBitmapSizes[] = {
    {110, 9, 12}, {111, 7, 12},   {112, 92, 13}, {114, 10, 12},
    {115, 9, 12}, {116, 123, 23}, {117, 7, 9},
};

TEST(SkinBitmaps, AreEightBitsPerPixelInTheirFrameSizes) {
    for (const BitmapSize& expected : kSkinBitmapSizes) {
        SCOPED_TRACE(expected.id);
        HRSRC found = FindResourceA(ThisModule(), MAKEINTRESOURCEA(expected.id), RT_BITMAP);
        ASSERT_NE(found, nullptr);
        const BITMAPINFOHEADER* header =
            static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(ThisModule(), found)));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->biWidth, expected.width);
        EXPECT_EQ(header->biHeight, expected.height);
        EXPECT_EQ(header->biBitCount, 8);
    }
}

// Dark greys like the frame, with the lettering and the badge's details the
// only lighter pixels.
TEST(SkinBitmaps, AreMostlyTheFramesDarkGreys) {
    for (const BitmapSize& expected : kSkinBitmapSizes) {
        SCOPED_TRACE(expected.id);
        ResourceBitmap bitmap(expected.id);
        ASSERT_TRUE(bitmap.Loaded());
        int dark = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x) {
                COLORREF c = bitmap.At(x, y);
                dark += GetRValue(c) <= 0x6E && GetGValue(c) <= 0x6E && GetBValue(c) <= 0x6E;
            }
        EXPECT_GT(dark * 10, bitmap.Width() * bitmap.Height() * 8);
    }
}

TEST(SkinPainter, StartsWithTabWidth102AndNoModule) {
    SkinPainter painter;
    EXPECT_EQ(painter.tabWidth, 102);
    EXPECT_EQ(painter.moduleInstance, nullptr);
}

TEST(SkinPainter, SetupKeepsTheTabWidthUnlessAPositiveOneIsGiven) {
    SkinPainter painter;
    const int ids[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    painter.SetupSkin(ThisModule(), ids, 0);
    EXPECT_EQ(painter.tabWidth, 102);
    EXPECT_EQ(painter.moduleInstance, ThisModule());
    for (int i = 0; i < 8; ++i) EXPECT_EQ(painter.bitmapIds[i], ids[i]);
    painter.SetupSkin(ThisModule(), ids, -5);
    EXPECT_EQ(painter.tabWidth, 102);
    painter.SetupSkin(nullptr, kLibrarySkinBitmaps, 120);
    EXPECT_EQ(painter.tabWidth, 120);
    EXPECT_EQ(painter.moduleInstance, nullptr);
    EXPECT_EQ(painter.bitmapIds[7], 112);
}

TEST(SkinPainter, GetSkinPainterIsOneObject) { EXPECT_EQ(&GetSkinPainter(), &GetSkinPainter()); }

TEST(SkinPainter, RailEndsHalfwayBetweenTabAndRightEdge) {
    SkinPainter painter;
    EXPECT_EQ(painter.RailEnd(400), 259);  // 400 - (400 - 117) / 2
    EXPECT_EQ(painter.RailEnd(401), 259);
    EXPECT_EQ(painter.RailEnd(100), 108);  // narrower than the tab: -17 / 2 truncates to -8
}

// A borderless pop-up with a 400 x 300 client area, like a dialog.
class SkinWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr,
                                 ThisModule(), nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window);
        PrepareToolkit();
    }

    static const int kWidth = 400;
    static const int kHeight = 300;
    HWND window = nullptr;
};

TEST_F(SkinWindowTest, DragPointsAreOnTheFrame) {
    EXPECT_TRUE(IsSkinDragPoint(window, 3, 100));
    EXPECT_TRUE(IsSkinDragPoint(window, 100, 10));
    EXPECT_FALSE(IsSkinDragPoint(window, 100, 100));
    EXPECT_TRUE(IsSkinDragPoint(window, 100, 276));  // the bottom margin is 24 pixels
    // The inner rectangle (7, 22, 393, 276): left and top inside, right and bottom not.
    EXPECT_FALSE(IsSkinDragPoint(window, 7, 22));
    EXPECT_TRUE(IsSkinDragPoint(window, 6, 22));
    EXPECT_TRUE(IsSkinDragPoint(window, 7, 21));
    EXPECT_FALSE(IsSkinDragPoint(window, 392, 275));
    EXPECT_TRUE(IsSkinDragPoint(window, 393, 275));
    EXPECT_TRUE(IsSkinDragPoint(window, 392, 276));
    EXPECT_TRUE(IsSkinDragPoint(window, -4, -4));
}

// A press on the frame comes back as a caption press, which the system
// turns into a move; a press inside does not.
TEST_F(SkinWindowTest, APressOnTheFrameIsPostedAsACaptionPress) {
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
    }
    DragBySkin(window, MAKELPARAM(100, 100));
    EXPECT_FALSE(PeekMessageA(&message, window, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    DragBySkin(window, MAKELPARAM(3, 100));
    ASSERT_TRUE(PeekMessageA(&message, window, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(message.wParam, static_cast<WPARAM>(HTCAPTION));
    EXPECT_EQ(message.lParam, MAKELPARAM(3, 100));
    // Coordinates are signed: a press left of the window is on the frame too.
    DragBySkin(window, MAKELPARAM(-2, 100));
    EXPECT_TRUE(PeekMessageA(&message, window, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
}

TEST_F(SkinWindowTest, RegionIsBodyTabRailAndBadge) {
    ApplySkinRegion(window);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, region), ERROR);
    struct Probe {
        int x, y;
        bool inside;
    };
    const Probe probes[] = {
        // body: (0, 15) to (400, 295) with small round corners; the last
        // column and row of the rectangle stay outside, as with every region
        {200, 150, true},
        {0, 150, true},
        {398, 150, true},
        {399, 150, false},
        {200, 293, true},
        {200, 294, false},
        {200, 16, true},
        // caption tab: flat top to x = 102, then sloping down to x = 117 at y = 16
        {50, 2, true},
        {100, 3, true},
        {108, 3, false},
        {110, 12, true},
        // top rail: from x = 109 at y 8..15 to M = 259 at the top and 266 at the bottom
        {150, 4, false},
        {150, 9, true},
        {257, 9, true},
        {263, 9, false},
        {262, 14, true},
        {268, 14, false},
        {300, 12, false},
        // badge tab: 92 pixels from x = 282, hanging to the bottom edge
        {320, 298, true},
        {284, 296, true},
        {279, 298, false},
        {376, 297, false},
        {250, 298, false},
        {390, 298, false},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(testing::Message() << "(" << p.x << ", " << p.y << ")");
        EXPECT_EQ(PtInRegion(region, p.x, p.y) != FALSE, p.inside);
    }
    DeleteObject(region);
}

class SkinPaintTest : public SkinWindowTest {
  protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        canvas = new Canvas(kWidth, kHeight);
    }
    void TearDown() override {
        delete canvas;
        SkinWindowTest::TearDown();
    }
    // The block of the canvas at (left, top) equals the bitmap's rows 0..rows-1.
    void ExpectPiece(int id, int left, int top, int rows) {
        ResourceBitmap piece(id);
        ASSERT_TRUE(piece.Loaded());
        int differing = 0;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < piece.Width(); ++x)
                differing += canvas->At(left + x, top + y) != piece.At(x, y);
        EXPECT_EQ(differing, 0) << "bitmap " << id;
    }
    Canvas* canvas = nullptr;
};

TEST_F(SkinPaintTest, SideBordersAndInnerArea) {
    PaintSkin(window, canvas->dc);
    const COLORREF rim[] = {kGrey6E, kGrey56, kGrey38, kGrey26, kGrey15};
    for (int y : {23, 150, 281}) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(canvas->At(i, y), rim[i]) << "left " << i << " at " << y;
            EXPECT_EQ(canvas->At(kWidth - 6 + i, y), rim[i]) << "right " << i << " at " << y;
        }
        EXPECT_EQ(canvas->At(kWidth - 1, y), kSentinel);  // outside the region: not painted
    }
    const COLORREF face = ToolkitColour(kFaceColour);
    EXPECT_EQ(canvas->At(5, 23), face);
    EXPECT_EQ(canvas->At(393, 281), face);
    EXPECT_EQ(canvas->At(200, 150), face);
}

TEST_F(SkinPaintTest, CaptionStripLines) {
    PaintSkin(window, canvas->dc);
    // Right of the rail's end piece and left of the top-right corner.
    const int x = 330;
    const COLORREF rows[23] = {kGrey38, kGrey38, kGrey38, kGrey38, kGrey38, kGrey38,
                               kGrey38, kGrey38, kGrey6E, kGrey56, kGrey3F, kGrey38,
                               kGrey38, kGrey38, kGrey38, kGrey6E, kGrey56, kGrey38,
                               kGrey26, kGrey15, kGrey38, kGrey38, kGrey38};
    for (int y = 0; y < 23; ++y) EXPECT_EQ(canvas->At(x, y), rows[y]) << "row " << y;
    // The lines end one pixel before the right edge.
    EXPECT_EQ(canvas->At(kWidth - 1, 8), kGrey38);
}

TEST_F(SkinPaintTest, BottomStripLines) {
    PaintSkin(window, canvas->dc);
    const int x = 200;
    const int top = kHeight - 18;
    const COLORREF rows[18] = {kGrey38, kGrey6E, kGrey56, kGrey3F, kGrey38, kGrey38,
                               kGrey38, kGrey38, kGrey38, kGrey34, kGrey26, kGrey15,
                               kGrey38, kGrey38, kGrey38, kGrey38, kGrey38, kGrey38};
    for (int y = 0; y < 18; ++y) EXPECT_EQ(canvas->At(x, top + y), rows[y]) << "row " << y;
}

TEST_F(SkinPaintTest, BitmapsSitInTheirPlaces) {
    PaintSkin(window, canvas->dc);
    ExpectPiece(116, 0, 0, 23);             // caption tab
    ExpectPiece(115, 259 - 3, 8, 12);       // rail end at M - 3
    ExpectPiece(117, kWidth - 8, 15, 8);    // top-right; its last row is cut by the strip
    ExpectPiece(110, 0, kHeight - 18, 12);  // bottom-left
    ExpectPiece(112, kWidth - 118, kHeight - 13, 13);  // badge
    ExpectPiece(111, kWidth - 8, kHeight - 18, 12);    // bottom-right
    // Below the caption strip the inner area and the right rim begin.
    EXPECT_EQ(canvas->At(kWidth - 8, 23), ToolkitColour(kFaceColour));
    EXPECT_EQ(canvas->At(kWidth - 6, 23), kGrey6E);
}

TEST_F(SkinPaintTest, ATabWidthOf120MovesTheRailEnd) {
    SetupSkin(ThisModule(), kLibrarySkinBitmaps, 120);
    PaintSkin(window, canvas->dc);
    ExpectPiece(115, 400 - (400 - 135) / 2 - 3, 8, 12);
}

TEST_F(SkinPaintTest, MissingBitmapsLeaveTheLinesAlone) {
    const int missing[8] = {9001, 9001, 9002, 9003, 9004, 9005, 9006, 9007};
    SetupSkin(ThisModule(), missing, 102);
    PaintSkin(window, canvas->dc);
    EXPECT_EQ(canvas->At(60, 4), kGrey38);
    EXPECT_EQ(canvas->At(60, 8), kGrey6E);
    EXPECT_EQ(canvas->At(2, 15), kGrey6E);
    EXPECT_EQ(canvas->At(300, kHeight - 17), kGrey6E);
    EXPECT_EQ(canvas->At(200, 150), ToolkitColour(kFaceColour));
}

TEST_F(SkinPaintTest, WithoutAModuleNothingIsLoaded) {
    SetupSkin(nullptr, kLibrarySkinBitmaps, 102);
    PaintSkin(window, canvas->dc);
    EXPECT_EQ(canvas->At(60, 4), kGrey38);
}

}  // namespace
