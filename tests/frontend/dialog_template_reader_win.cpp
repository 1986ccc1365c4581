#include "tests/frontend/dialog_template_reader_win.h"

#include <gtest/gtest.h>

#include "tests/toolkit/window_test_support_win.h"

namespace {

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

DialogTemplate ReadExtendedTemplate(const void* data) {
    DialogTemplate t;
    const WORD* p = static_cast<const WORD*>(data);
    t.extended = p[0] == 1 && p[1] == 0xFFFF;  // version 1 of the extended form
    if (!t.extended) return t;
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
        TemplateControl c;
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

}  // namespace

DialogTemplate ReadDialogTemplate(int id) {
    HRSRC found = FindResourceExA(ThisModule(), RT_DIALOG, MAKEINTRESOURCEA(id),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (!found) return DialogTemplate();
    return ReadExtendedTemplate(LockResource(LoadResource(ThisModule(), found)));
}

void ExpectControls(const DialogTemplate& t, const std::vector<TemplateControl>& expected) {
    ASSERT_EQ(t.controls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].text + " " + std::to_string(expected[i].id));
        const TemplateControl& c = t.controls[i];
        EXPECT_EQ(c.id, expected[i].id);
        EXPECT_EQ(c.style, expected[i].style);
        EXPECT_EQ(c.x, expected[i].x);
        EXPECT_EQ(c.y, expected[i].y);
        EXPECT_EQ(c.cx, expected[i].cx);
        EXPECT_EQ(c.cy, expected[i].cy);
        EXPECT_EQ(lstrcmpiA(c.className.c_str(), expected[i].className.c_str()), 0) << c.className;
        EXPECT_EQ(c.text, expected[i].text);
    }
}
