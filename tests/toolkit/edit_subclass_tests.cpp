// The edit subclass of standard edit fields: the sunken two-ring border,
// Enter and Escape passed on to the parent, one-pixel margins, restoring.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/edit_subclass.h"

namespace {

class EditSubclassTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        edit = CreateWindowExA(
            WS_EX_CLIENTEDGE, "EDIT", "bunny", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10,
            kWidth, kHeight, parent.Window(), reinterpret_cast<HMENU>(1018), ThisModule(), nullptr);
        ASSERT_NE(edit, nullptr);
        system = GetWindowLongPtrA(edit, GWLP_WNDPROC);
        SubclassEdit(edit);
        RedrawWindow(edit, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    }
    void TearDown() override {
        UnsubclassEdit(edit);
        DestroyWindow(edit);
    }

    static const int kWidth = 80;
    static const int kHeight = 20;
    RecordingParent parent{120, 50};
    HWND edit = nullptr;
    LONG_PTR system = 0;
};

TEST_F(EditSubclassTest, InstalledOnceAndRestored) {
    LONG_PTR ours = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    EXPECT_NE(ours, system);
    SubclassEdit(edit);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), ours);
    UnsubclassEdit(edit);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), system);
    SubclassEdit(edit);
}

TEST_F(EditSubclassTest, MarginsAreOnePixel) {
    LRESULT margins = SendMessageA(edit, EM_GETMARGINS, 0, 0);
    EXPECT_EQ(LOWORD(margins), 1);
    EXPECT_EQ(HIWORD(margins), 1);
}

TEST_F(EditSubclassTest, BorderIsTwoSunkenRings) {
    const COLORREF dark = ToolkitColour(kDarkEdgeColour);
    const COLORREF light = ToolkitColour(kLightEdgeColour);
    const COLORREF face = ToolkitColour(kFaceColour);
    EXPECT_EQ(WindowFramePixel(edit, 30, 0), dark);
    EXPECT_EQ(WindowFramePixel(edit, 0, 10), dark);
    EXPECT_EQ(WindowFramePixel(edit, kWidth - 1, 0),
              light);  // corner goes to the bottom-right colour
    EXPECT_EQ(WindowFramePixel(edit, kWidth - 1, 10), light);
    EXPECT_EQ(WindowFramePixel(edit, 30, kHeight - 1), light);
    EXPECT_EQ(WindowFramePixel(edit, 30, 1), RGB(0, 0, 0));
    EXPECT_EQ(WindowFramePixel(edit, 1, 10), RGB(0, 0, 0));
    EXPECT_EQ(WindowFramePixel(edit, kWidth - 2, 10), face);
    EXPECT_EQ(WindowFramePixel(edit, 30, kHeight - 2), face);
}

TEST_F(EditSubclassTest, EnterAndEscapeAlsoReachTheParent) {
    SendMessageA(edit, WM_CHAR, VK_RETURN, 1);
    SendMessageA(edit, WM_CHAR, VK_ESCAPE, 1);
    SendMessageA(edit, WM_CHAR, 'x', 1);
    std::vector<WPARAM> characters;
    for (const SentMessage& sent : parent.Messages())
        if (sent.message == WM_CHAR) characters.push_back(sent.wParam);
    EXPECT_EQ(characters, (std::vector<WPARAM>{VK_RETURN, VK_ESCAPE}));
}

TEST_F(EditSubclassTest, TypingStillWorks) {
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 5, 5);
    SendMessageA(edit, WM_CHAR, '2', 1);
    EXPECT_EQ(WindowText(edit), "bunny2");
}

}  // namespace
