#include <gtest/gtest.h>
#include <windows.h>

#include "toolkit/fonts.h"
#include "toolkit/unload.h"

namespace {

LOGFONTA Describe(HFONT font) {
    LOGFONTA description = {};
    GetObjectA(font, sizeof description, &description);
    return description;
}

int ScreenDpiY() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

TEST(ToolkitFonts, IndicesOutsideTheCacheGiveNoFont) {
    EXPECT_EQ(GetToolkitFont(6), nullptr);
    EXPECT_EQ(GetToolkitFont(1000), nullptr);
    EXPECT_EQ(GetToolkitFont(-1), nullptr);
}

TEST(ToolkitFonts, AnIndexGivesTheSameHandleOnEveryCall) {
    HFONT first = GetToolkitFont(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetToolkitFont(1), first);
    EXPECT_EQ(GetToolkitFont(1), first);
}

TEST(ToolkitFonts, FontOneIsElevenPixelsHighAtNinetySixDpi) {
    EXPECT_EQ(Describe(GetToolkitFont(1)).lfHeight, -11);
}

TEST(ToolkitFonts, SizesFollowTheScreenResolution) {
    int dpi = ScreenDpiY();
    EXPECT_EQ(Describe(GetToolkitFont(0)).lfHeight, -MulDiv(8, dpi, 72));
    EXPECT_EQ(Describe(GetToolkitFont(2)).lfHeight, -MulDiv(10, dpi, 72));
    for (int i = 3; i <= 5; ++i)
        EXPECT_EQ(Describe(GetToolkitFont(i)).lfHeight, -MulDiv(8, dpi, 72));
}

TEST(ToolkitFonts, EverySlotIsItsOwnHandleOfTheInterfaceFace) {
    LOGFONTA stock = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
    for (int i = 0; i < kToolkitFontSlots; ++i) {
        SCOPED_TRACE(i);
        LOGFONTA d = Describe(GetToolkitFont(i));
        EXPECT_STREQ(d.lfFaceName, stock.lfFaceName);
        EXPECT_EQ(d.lfWeight, stock.lfWeight);
        EXPECT_EQ(d.lfCharSet, stock.lfCharSet);
        for (int j = 0; j < i; ++j) EXPECT_NE(GetToolkitFont(i), GetToolkitFont(j));
    }
}

TEST(ToolkitFonts, UnloadDeletesTheCachedFonts) {
    HFONT before = GetToolkitFont(0);
    ASSERT_NE(before, nullptr);
    ReleaseToolkit();
    EXPECT_EQ(GetObjectType(before), 0u);
    HFONT after = GetToolkitFont(0);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(GetObjectType(after), static_cast<DWORD>(OBJ_FONT));
}

}  // namespace
