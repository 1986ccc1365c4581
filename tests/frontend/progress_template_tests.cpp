// Dialog template 103 as the library carries it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/toolkit/window_test_support_win.h"

namespace {

struct Control {
    DWORD style;
    short x, y, cx, cy;
    DWORD id;
    std::string className;
    std::string text;
};

struct Template {
    DWORD style = 0;
    short cx = 0, cy = 0;
    std::string title;
    WORD pointSize = 0;
    std::string face;
    std::vector<Control> controls;
};

std::string Narrow(const WORD*& p) {
    std::string text;
    while (*p) text += static_cast<char>(*p++);
    ++p;
    return text;
}

// A name or an ordinal: 0xFFFF and a number, or a zero-terminated string.
std::string NameOrOrdinal(const WORD*& p) {
    if (*p == 0xFFFF) {
        WORD ordinal = p[1];
        p += 2;
        switch (ordinal) {
            case 0x80:
                return "BUTTON";
            case 0x81:
                return "EDIT";
            case 0x82:
                return "STATIC";
            default:
                return "#" + std::to_string(ordinal);
        }
    }
    return Narrow(p);
}

const WORD* AlignToDword(const WORD* p) {
    return reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~UINT_PTR(3));
}

Template ReadExtendedTemplate(const void* data) {
    Template t;
    const WORD* p = static_cast<const WORD*>(data);
    EXPECT_EQ(p[0], 1);       // version
    EXPECT_EQ(p[1], 0xFFFF);  // extended template
    const DWORD* d = reinterpret_cast<const DWORD*>(p + 2);
    t.style = d[2];  // help id, extended style, style
    p = reinterpret_cast<const WORD*>(d + 3);
    WORD count = *p++;
    p += 2;  // x, y
    t.cx = static_cast<short>(*p++);
    t.cy = static_cast<short>(*p++);
    NameOrOrdinal(p);  // menu
    NameOrOrdinal(p);  // class
    t.title = Narrow(p);
    if (t.style & DS_SETFONT) {
        t.pointSize = *p++;
        p += 2;  // weight, italic and character set
        t.face = Narrow(p);
    }
    for (WORD i = 0; i < count; ++i) {
        p = AlignToDword(p);
        const DWORD* item = reinterpret_cast<const DWORD*>(p);
        Control c;
        c.style = item[2];  // help id, extended style, style
        const short* rect = reinterpret_cast<const short*>(item + 3);
        c.x = rect[0];
        c.y = rect[1];
        c.cx = rect[2];
        c.cy = rect[3];
        c.id = *reinterpret_cast<const DWORD*>(rect + 4);
        p = reinterpret_cast<const WORD*>(rect + 6);
        c.className = NameOrOrdinal(p);
        c.text = NameOrOrdinal(p);
        WORD extra = *p++;
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
        t.controls.push_back(c);
    }
    return t;
}

TEST(ProgressTemplate, IsTheFramelessDialogWithItsSixControls) {
    HRSRC found = FindResourceExA(ThisModule(), RT_DIALOG, MAKEINTRESOURCEA(103),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(found, nullptr);
    Template t = ReadExtendedTemplate(LockResource(LoadResource(ThisModule(), found)));
    EXPECT_EQ(t.style, 0x80080040u);
    EXPECT_EQ(t.cx, 258);
    EXPECT_EQ(t.cy, 84);
    EXPECT_EQ(t.title, "");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.face, "MS Sans Serif");

    const Control expected[] = {
        {0x50010000, 189, 55, 61, 14, 1021, "BUTTON", "Cancel Import"},
        {0x50000307, 7, 15, 243, 35, 1017, "BUTTON", " importing... "},
        {0x50020000, 18, 25, 225, 8, 1020, "STATIC", ""},
        {0x50000000, 15, 37, 227, 4, 1019, "ksProgressCtrl", ""},
        {0x40010000, 189, 55, 61, 14, 1022, "BUTTON", "-= DONE =-"},
        {0x50020000, 16, 56, 147, 8, 1023, "STATIC", ""},
    };
    ASSERT_EQ(t.controls.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(expected[i].id);
        const Control& c = t.controls[i];
        EXPECT_EQ(c.id, expected[i].id);
        EXPECT_EQ(c.style, expected[i].style);
        EXPECT_EQ(c.x, expected[i].x);
        EXPECT_EQ(c.y, expected[i].y);
        EXPECT_EQ(c.cx, expected[i].cx);
        EXPECT_EQ(c.cy, expected[i].cy);
        // Class names are matched without regard to case (the resource
        // compiler stores ours in capitals).
        EXPECT_EQ(lstrcmpiA(c.className.c_str(), expected[i].className.c_str()), 0) << c.className;
        EXPECT_EQ(c.text, expected[i].text);
    }
}

}  // namespace
