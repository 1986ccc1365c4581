#include <gtest/gtest.h>
#include <windows.h>

#include "toolkit/opacity.h"

namespace {

class OpacityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 10, 10, 50, 30, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }

    BYTE Alpha() {
        COLORREF key = 0;
        BYTE alpha = 0;
        DWORD flags = 0;
        EXPECT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
        EXPECT_EQ(flags & LWA_ALPHA, static_cast<DWORD>(LWA_ALPHA));
        return alpha;
    }

    HWND window = nullptr;
};

TEST_F(OpacityTest, MoreThanAHundredPercentIsFullyOpaque) {
    ASSERT_TRUE(SetWindowOpacity(window, 150));
    EXPECT_EQ(Alpha(), 255);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(OpacityTest, HalfIsAlphaOneHundredTwentySeven) {
    ASSERT_TRUE(SetWindowOpacity(window, 50));
    EXPECT_EQ(Alpha(), 127);
}

TEST_F(OpacityTest, AlphaIsTruncated) {
    ASSERT_TRUE(SetWindowOpacity(window, 99));
    EXPECT_EQ(Alpha(), 252);  // 99 * 255 / 100 = 252.45
}

TEST_F(OpacityTest, NegativePercentIsFullyTransparent) {
    ASSERT_TRUE(SetWindowOpacity(window, -10));
    EXPECT_EQ(Alpha(), 0);
}

TEST_F(OpacityTest, WorksAgainAfterTheModuleWasReleased) {
    ReleaseOpacityModule();
    ASSERT_TRUE(SetWindowOpacity(window, 100));
    EXPECT_EQ(Alpha(), 255);
}

}  // namespace
