// The host's interface colours and brushes, and CenterWindow.
#include <gtest/gtest.h>
#include <windows.h>

#include "hostsdk/colorman.h"

namespace {

int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

COLORREF Colour(int id) { return GetColorManager()->GetColor(id); }

TEST(HostColours, DarkPaletteKeepsTheRoles) {
    ASSERT_NE(GetColorManager(), nullptr);
    EXPECT_EQ(GetColorManager(), GetColorManager());
    const int face = Brightness(Colour(0));
    EXPECT_LT(face, 3 * 128) << "a dark interface";
    EXPECT_GT(Brightness(Colour(1)), face + 300) << "text reads on the face";
    EXPECT_GT(Brightness(Colour(5)), face) << "light edge lighter than the face";
    EXPECT_LT(Brightness(Colour(6)), face) << "dark edge darker than the face";
    EXPECT_NE(Colour(7), Colour(0)) << "fields stand apart from the face";
    EXPECT_GT(Brightness(Colour(1)), Brightness(Colour(7)) + 300) << "text reads in fields";
    EXPECT_NE(Colour(4), Colour(0)) << "checked fill shows";
    EXPECT_GT(Brightness(Colour(11)), Brightness(Colour(4))) << "hot menu text on hot fill";
    EXPECT_LT(Brightness(Colour(15)), Brightness(Colour(16))) << "thin frame sunken";
    EXPECT_EQ(Colour(-1), Colour(0));
    EXPECT_EQ(Colour(1000), Colour(0));
}

TEST(HostColours, BrushesAreMadeOnceAndMatchTheirColour) {
    for (int id : {0, 1, 4, 5, 6, 7, 11, 15, 16}) {
        HBRUSH brush = GetColorManager()->GetBrush(id);
        ASSERT_NE(brush, nullptr) << id;
        EXPECT_EQ(brush, GetColorManager()->GetBrush(id)) << id;
        LOGBRUSH lb;
        ASSERT_EQ(GetObjectA(brush, sizeof lb, &lb), int(sizeof lb)) << id;
        EXPECT_EQ(lb.lbStyle, UINT(BS_SOLID)) << id;
        EXPECT_EQ(lb.lbColor, Colour(id)) << id;
    }
}

TEST(HostColours, BrushPaintsItsColour) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT r = {0, 0, 4, 4};
    FillRect(dc, &r, GetColorManager()->GetBrush(7));
    EXPECT_EQ(GetPixel(dc, 2, 2), Colour(7));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

HWND MakePopup(int x, int y, int w, int h, HWND owner) {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, x, y, w, h, owner, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

TEST(HostWindows, CenterWindowOverItsOwner) {
    HWND owner = MakePopup(100, 100, 400, 300, nullptr);
    HWND dialog = MakePopup(0, 0, 200, 100, owner);
    ASSERT_NE(owner, nullptr);
    ASSERT_NE(dialog, nullptr);
    CenterWindow(dialog, owner);
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right - r.left, 200);
    DestroyWindow(dialog);
    DestroyWindow(owner);
}

TEST(HostWindows, CenterWindowWithoutOwnerUsesTheWorkArea) {
    HWND dialog = MakePopup(0, 0, 200, 100, nullptr);
    ASSERT_NE(dialog, nullptr);
    CenterWindow(dialog, nullptr);
    RECT area, r;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, area.left + (area.right - area.left - 200) / 2);
    EXPECT_EQ(r.top, area.top + (area.bottom - area.top - 100) / 2);
    DestroyWindow(dialog);
}

TEST(HostWindows, CenteredDialogStaysOnTheWorkArea) {
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    HWND owner = MakePopup(area.right - 100, area.bottom - 50, 100, 50, nullptr);
    HWND dialog = MakePopup(0, 0, 300, 200, owner);
    CenterWindow(dialog, owner);
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_LE(r.right, area.right);
    EXPECT_LE(r.bottom, area.bottom);
    EXPECT_GE(r.left, area.left);
    DestroyWindow(dialog);
    DestroyWindow(owner);
    CenterWindow(nullptr, nullptr);  // tolerated
}

}  // namespace
