// ksComboBox: separators among the choices, selection by message, keys,
// wheel and the drop-down, and where the drop-down opens.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/import_patch_win.h"
#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/combobox.h"
#include "toolkit/menu.h"
#include "toolkit/window_record.h"

namespace {

const int kComboId = 1201;

std::vector<HWND> caretsHidden;
BOOL WINAPI RecordHideCaret(HWND window) {
    caretsHidden.push_back(window);
    return TRUE;
}

// A font's cell height, read from its metrics.
int CellHeight(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

HFONT ArialOfHeight(int height) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
}

class ComboBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        combo =
            MakeControl("ksComboBox", "", WS_TABSTOP, 10, 10, 120, 20, parent.Window(), kComboId);
        ASSERT_NE(combo, nullptr);
        PumpPending();
    }
    void TearDown() override {
        HWND menu = OpenedMenu();
        if (menu) DestroyWindow(menu);
        DestroyWindow(combo);
        PumpPending();
    }
    // a, separator, b, "<separator>", c: three choices.
    void AddItems() {
        Add("a");
        Add(nullptr);
        Add("b");
        Add("<separator>");
        Add("c");
    }
    LRESULT Add(const char* text) {
        return SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    int Selection() { return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)); }
    HWND Edit() { return GetWindowRecord<ComboBoxRecord>(combo)->edit; }
    RECT EditRect() {
        RECT rect;
        GetWindowRect(Edit(), &rect);
        MapWindowPoints(nullptr, combo, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // Makes the combo 120 wide and `height` high, gives it the font and
    // returns where its field went.
    RECT FieldFor(int height, HFONT font) {
        SetWindowPos(combo, nullptr, 0, 0, 120, height, SWP_NOMOVE | SWP_NOZORDER);
        SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        const RECT field = EditRect();
        SendMessageA(combo, WM_SETFONT, 0, FALSE);
        return field;
    }
    std::string Shown() { return WindowText(Edit()); }
    int Changes() {
        int n = 0;
        for (const SentMessage& sent : parent.Messages())
            n += sent.message == WM_COMMAND && sent.wParam == MAKEWPARAM(kComboId, CBN_SELCHANGE);
        return n;
    }
    static HWND OpenedMenu() { return FindWindowA("ksMenu", nullptr); }
    HWND OpenByClick() {
        PostMessageA(Edit(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        HWND menu = nullptr;
        PumpUntil([&] { return (menu = OpenedMenu()) != nullptr; }, 2000);
        return menu;
    }
    void Key(UINT key) { PostMessageA(GetFocus(), WM_KEYDOWN, key, 0); }

    RecordingParent parent{200, 60};
    HWND combo = nullptr;
};

TEST_F(ComboBoxTest, SeparatorsAreNotChoices) {
    AddItems();
    EXPECT_EQ(GetWindowRecord<ComboBoxRecord>(combo)->lastIndex, 2);
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(Shown(), "b");
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(Shown(), "c");
    EXPECT_EQ(Changes(), 2);
}

TEST_F(ComboBoxTest, SetCurSelOutOfRangeChangesNothing) {
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 0, 0), CB_ERR);  // no choices at all
    EXPECT_EQ(Selection(), -1);
    AddItems();
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    parent.Clear();
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 5, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 3, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0), CB_ERR);
    EXPECT_EQ(Selection(), 1);
    EXPECT_EQ(Shown(), "b");
    EXPECT_EQ(Changes(), 0);
}

TEST_F(ComboBoxTest, ResetContentEmptiesTheField) {
    AddItems();
    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    EXPECT_EQ(SendMessageA(combo, CB_RESETCONTENT, 0, 0), 1);
    EXPECT_EQ(Selection(), -1);
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(Add("d"), 1);
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 0, 0), 0);
    EXPECT_EQ(Shown(), "d");
}

TEST_F(ComboBoxTest, UpDownAndWheelStepWithinTheChoicesOtherKeysDoNothing) {
    AddItems();
    SetFocus(combo);
    EXPECT_EQ(GetFocus(), Edit());
    Key(VK_DOWN);
    PumpPending();
    EXPECT_EQ(Selection(), 0);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    PumpPending();
    EXPECT_EQ(Selection(), 2);
    EXPECT_EQ(Shown(), "c");
    Key(VK_UP);
    Key(VK_HOME);
    Key(VK_DELETE);
    PumpPending();
    EXPECT_EQ(Selection(), 1);
    EXPECT_EQ(Shown(), "b");
    PostMessageA(combo, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    PumpPending();
    EXPECT_EQ(Selection(), 0);
    PostMessageA(combo, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    PostMessageA(combo, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);  // less than a notch
    PumpPending();
    EXPECT_EQ(Selection(), 1);
    EXPECT_EQ(Changes(), 6);
}

TEST_F(ComboBoxTest, WheelOnAnEmptyComboChangesNothing) {
    PostMessageA(combo, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    PumpPending();
    EXPECT_EQ(Selection(), -1);
    EXPECT_EQ(Changes(), 0);
}

TEST_F(ComboBoxTest, ChoosingInTheDropDownSelectsAndNotifies) {
    AddItems();
    HWND menu = OpenByClick();
    ASSERT_NE(menu, nullptr);
    const MenuRecord& record = *GetWindowRecord<MenuRecord>(menu);
    ASSERT_EQ(record.itemCount, 5);
    EXPECT_EQ(record.items[1], nullptr);
    EXPECT_EQ(record.items[4]->command, kComboFirstCommand + 2);
    const RECT b = record.items[2]->itemRect;
    PostMessageA(menu, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, b.top + 2));
    PostMessageA(menu, WM_LBUTTONUP, 0, MAKELPARAM(5, b.top + 2));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(menu); }, 2000));
    EXPECT_EQ(Selection(), 1);
    EXPECT_EQ(Shown(), "b");
    EXPECT_EQ(Changes(), 1);
}

// A choice, Escape and a click outside each close the drop-down; the field
// has the focus again after each, so the wheel and the keys act at once.
TEST_F(ComboBoxTest, FieldHasTheFocusAgainHoweverTheDropDownCloses) {
    AddItems();
    const auto choose = [](HWND menu) {
        const RECT b = GetWindowRecord<MenuRecord>(menu)->items[2]->itemRect;
        PostMessageA(menu, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, b.top + 2));
        PostMessageA(menu, WM_LBUTTONUP, 0, MAKELPARAM(5, b.top + 2));
    };
    const auto escape = [](HWND menu) { PostMessageA(menu, WM_CHAR, VK_ESCAPE, 0); };
    const auto clickOutside = [](HWND menu) {
        PostMessageA(menu, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-20, -20));
    };
    for (const auto& close : {std::function<void(HWND)>(choose), std::function<void(HWND)>(escape),
                              std::function<void(HWND)>(clickOutside)}) {
        HWND menu = OpenByClick();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(GetFocus(), menu);
        close(menu);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(menu); }, 2000));
        PumpPending();
        EXPECT_EQ(GetFocus(), Edit());
    }
    EXPECT_EQ(Selection(), 1);
    // The wheel goes to the focus, the field, and steps the choice.
    PostMessageA(GetFocus(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    PumpPending();
    EXPECT_EQ(Selection(), 2);
}

TEST_F(ComboBoxTest, ArrowButtonOpensTheDropDownBelowTheCombo) {
    AddItems();
    SendMessageA(combo, WM_COMMAND, MAKEWPARAM(kComboArrowId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(combo, kComboArrowId)));
    HWND menu = OpenedMenu();
    ASSERT_NE(menu, nullptr);
    RECT comboRect, menuRect;
    GetWindowRect(combo, &comboRect);
    GetWindowRect(menu, &menuRect);
    EXPECT_EQ(menuRect.top, comboRect.bottom - 1);
    EXPECT_EQ(menuRect.left, comboRect.left);
    EXPECT_EQ(menuRect.right, comboRect.right - 1);
}

// The list's last row meets the combo's top, as its first row meets the
// combo's bottom when it opens below.
TEST_F(ComboBoxTest, NearTheBottomOfTheScreenTheDropDownOpensAboveTheCombo) {
    AddItems();
    SetWindowPos(parent.Window(), nullptr, 40, GetSystemMetrics(SM_CYSCREEN) - 40, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    HWND menu = OpenByClick();
    ASSERT_NE(menu, nullptr);
    RECT comboRect, menuRect;
    GetWindowRect(combo, &comboRect);
    GetWindowRect(menu, &menuRect);
    EXPECT_EQ(menuRect.bottom, comboRect.top + 1);
    EXPECT_EQ(menuRect.left, comboRect.left);
}

TEST_F(ComboBoxTest, PaintsASunkenFrame) {
    PaintNow(combo);
    RECT client;
    GetClientRect(combo, &client);
    EXPECT_EQ(WindowPixel(combo, 0, 0), ToolkitColour(kDarkEdgeColour));
    EXPECT_EQ(WindowPixel(combo, client.right - 1, client.bottom - 1),
              ToolkitColour(kLightEdgeColour));
    EXPECT_EQ(WindowPixel(combo, 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(WindowPixel(combo, client.right - 2, client.bottom - 2), ToolkitColour(kFaceColour));
    EXPECT_EQ(WindowPixel(combo, 3, client.bottom / 2), ToolkitColour(kFieldColour));
}

// The field spans from 4 to the arrow button (120 - 15) and is as high as
// the text; with 8 and 9 pixels to spare its top is at 5 and 6, half the
// room and a little lower. A font taller than the combo gets the top at 2
// and 20 - 2 - 2 = 16 of height, inside the 2-pixel frame.
TEST_F(ComboBoxTest, TheFieldIsPlacedByTheHeightOfItsFont) {
    HFONT small = ArialOfHeight(-9), medium = ArialOfHeight(-16), large = ArialOfHeight(-40);
    const int smallHeight = CellHeight(small), mediumHeight = CellHeight(medium);
    ASSERT_GT(CellHeight(large), 20);

    RECT field = FieldFor(smallHeight + 8, small);
    EXPECT_EQ(field.left, 4);
    EXPECT_EQ(field.right, 105);
    EXPECT_EQ(field.top, 5);
    EXPECT_EQ(field.bottom - field.top, smallHeight);

    field = FieldFor(mediumHeight + 9, medium);
    EXPECT_EQ(field.top, 6);
    EXPECT_EQ(field.bottom - field.top, mediumHeight);

    field = FieldFor(20, large);
    EXPECT_EQ(field.left, 4);
    EXPECT_EQ(field.right, 105);
    EXPECT_EQ(field.top, 2);
    EXPECT_EQ(field.bottom, 18);

    for (HFONT font : {small, medium, large}) DeleteObject(font);
}

TEST_F(ComboBoxTest, TheFieldSharesTheCombosStateSelectsAllOnFocusAndKeepsTheCursor) {
    EnableWindow(combo, FALSE);
    EXPECT_FALSE(IsWindowEnabled(Edit()));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(combo, kComboArrowId)));
    EnableWindow(combo, TRUE);
    EXPECT_TRUE(IsWindowEnabled(Edit()));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(combo, kComboArrowId)));

    Add("abc");
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    SetFocus(parent.Window());
    SendMessageA(Edit(), EM_SETSEL, 1, 1);
    void* real = PatchImport(ThisModule(), "user32.dll", "HideCaret",
                             reinterpret_cast<void*>(RecordHideCaret));
    ASSERT_NE(real, nullptr);
    caretsHidden.clear();
    SetFocus(Edit());
    PatchImport(ThisModule(), "user32.dll", "HideCaret", real);
    DWORD start = 0, end = 0;
    SendMessageA(Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);
    EXPECT_EQ(caretsHidden, std::vector<HWND>{Edit()});

    // The field shows the cursor it is given, not a text cursor of its own.
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    EXPECT_EQ(SendMessageA(Edit(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Edit()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              1);
    EXPECT_EQ(GetCursor(), arrow);
}

}  // namespace
