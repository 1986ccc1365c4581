// Dialog template 103 as the library carries it.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/frontend/dialog_template_reader_win.h"

namespace {

TEST(ProgressTemplate, IsTheFramelessDialogWithItsSixControls) {
    DialogTemplate t = ReadDialogTemplate(103);
    ASSERT_TRUE(t.extended);
    EXPECT_EQ(t.style, 0x80080040u);
    EXPECT_EQ(t.cx, 258);
    EXPECT_EQ(t.cy, 84);
    EXPECT_EQ(t.title, "");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.face, "MS Sans Serif");

    const std::vector<TemplateControl> expected = {
        {0x50010000, 189, 55, 61, 14, 1021, "BUTTON", "Cancel Import"},
        {0x50000307, 7, 15, 243, 35, 1017, "BUTTON", " importing... "},
        {0x50020000, 18, 25, 225, 8, 1020, "STATIC", ""},
        {0x50000000, 15, 37, 227, 4, 1019, "ksProgressCtrl", ""},
        {0x40010000, 189, 55, 61, 14, 1022, "BUTTON", "-= DONE =-"},
        {0x50020000, 16, 56, 147, 8, 1023, "STATIC", ""},
    };
    ExpectControls(t, expected);
}

}  // namespace
