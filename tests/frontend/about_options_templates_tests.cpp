// Dialog templates 101 (about box) and 102 (options) and the about box's
// picture, as the library carries them.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/frontend/dialog_template_reader_win.h"
#include "tests/toolkit/window_test_support_win.h"

namespace {

const DWORD kNoId = 0xFFFFFFFF;

void ExpectFramelessDialog(const DialogTemplate& t, short cx, short cy) {
    ASSERT_TRUE(t.extended);
    EXPECT_EQ(t.style, 0x80080040u);  // WS_POPUP | WS_SYSMENU | DS_SETFONT
    EXPECT_EQ(t.cx, cx);
    EXPECT_EQ(t.cy, cy);
    EXPECT_EQ(t.title, "");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.face, "MS Sans Serif");
}

TEST(AboutTemplate, IsAnEmptyFramelessDialog) {
    DialogTemplate t = ReadDialogTemplate(101);
    ExpectFramelessDialog(t, 186, 110);
    EXPECT_TRUE(t.controls.empty());
}

TEST(OptionsTemplate, HasItsTwentySixControlsInTabOrder) {
    DialogTemplate t = ReadDialogTemplate(102);
    ExpectFramelessDialog(t, 196, 165);
    const std::vector<TemplateControl> expected = {
        {0x50010000, 7, 136, 43, 14, 1025, "BUTTON", "Import"},
        {0x50010000, 53, 136, 43, 14, 9, "BUTTON", "Help"},
        {0x50010000, 99, 136, 43, 14, 1024, "BUTTON", "About..."},
        {0x50010000, 145, 136, 43, 14, 2, "BUTTON", "Cancel"},
        {0x50010003, 109, 28, 65, 10, 1016, "BUTTON", "Replace Scene"},
        {0x50020000, 109, 45, 21, 9, kNoId, "STATIC", "Name:"},
        {0x50810080, 132, 43, 51, 12, 1018, "EDIT", ""},
        {0x50010003, 15, 77, 63, 10, 1001, "BUTTON", "Vertex Normals"},
        {0x50010003, 15, 90, 57, 10, 1002, "BUTTON", "Vertex Colors"},
        {0x50010003, 15, 104, 79, 10, 1003, "BUTTON", "Texture Coordinates"},
        {0x50010003, 15, 118, 44, 10, 1004, "BUTTON", "Materials"},
        {0x50010003, 109, 77, 51, 10, 1009, "BUTTON", "Flip ZY-Axis"},
        {0x50010003, 109, 89, 56, 10, 1012, "BUTTON", "Center Pivot"},
        {0x50010000, 137, 102, 41, 12, 1010, "ksSpinner", ""},
        {0x50010003, 109, 118, 71, 10, 1005, "BUTTON", "Generate Normals"},
        {0x50000007, 103, 15, 85, 46, 1013, "BUTTON", " General "},
        {0x50020000, 113, 104, 21, 9, kNoId, "STATIC", "Scale:"},
        {0x50000007, 103, 65, 85, 66, 1011, "BUTTON", " Geometry "},
        {0x50000007, 7, 65, 90, 66, 1014, "BUTTON", " Selective Loading"},
        {0x50000007, 7, 15, 90, 46, 1015, "BUTTON", " Content "},
        {0x50020000, 15, 26, 29, 9, kNoId, "STATIC", "Vertices:"},
        {0x50020000, 15, 36, 29, 9, kNoId, "STATIC", "Faces:"},
        {0x50020000, 15, 47, 29, 9, kNoId, "STATIC", "Materials:"},
        {0x50020000, 47, 26, 45, 9, 1006, "STATIC", "0"},
        {0x50020000, 47, 36, 45, 9, 1007, "STATIC", "0"},
        {0x50020000, 47, 47, 45, 9, 1008, "STATIC", "0"},
    };
    ExpectControls(t, expected);
}

TEST(OptionsTemplate, HasNoDefaultPushButton) {
    for (const TemplateControl& c : ReadDialogTemplate(102).controls) {
        if (lstrcmpiA(c.className.c_str(), "BUTTON") != 0) continue;
        EXPECT_NE(c.style & 0xF, DWORD(BS_DEFPUSHBUTTON)) << c.text;
    }
}

// 8 bits per pixel, 268 x 142, in the frame's greys with some of its green.
TEST(AboutPicture, IsAn8BitPictureOf268By142) {
    HRSRC found = FindResourceA(ThisModule(), MAKEINTRESOURCEA(113), RT_BITMAP);
    ASSERT_NE(found, nullptr);
    const BITMAPINFOHEADER* info =
        static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(ThisModule(), found)));
    EXPECT_EQ(info->biWidth, 268);
    EXPECT_EQ(info->biHeight, 142);
    EXPECT_EQ(info->biBitCount, 8);

    ResourceBitmap picture(113);
    ASSERT_TRUE(picture.Loaded());
    int darkGreys = 0, pixels = 0;
    for (int y = 0; y < 142; y += 2)
        for (int x = 0; x < 268; x += 2) {
            const COLORREF c = picture.At(x, y);
            const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            darkGreys += r == g && g == b && r <= 0x6E;
            ++pixels;
        }
    // Mostly the frame's dark greys; the lettering and the mesh are the rest.
    EXPECT_GT(darkGreys, pixels * 3 / 4);
    // The rim: the frame's darkest grey at the top left, lit at the bottom right.
    EXPECT_EQ(picture.At(0, 0), RGB(0x15, 0x15, 0x15));
    EXPECT_EQ(picture.At(267, 141), RGB(0x56, 0x56, 0x56));
}

}  // namespace
