// ksSpinner: the shown text and its trailing zeros, typing and leaving the
// field, stepping with wrap and multipliers, the wheel, the keys, reset and
// restore, and when the parent is told.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/spinner.h"
#include "toolkit/window_record.h"

namespace {

const int kSpinnerId = 1010;

class SpinnerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        spinner = MakeControl("ksSpinner", "", WS_TABSTOP, 10, 10, kWidth, kHeight, parent.Window(),
                              kSpinnerId);
        ASSERT_NE(spinner, nullptr);
        edit = FindWindowExA(spinner, nullptr, "Edit", nullptr);
        ASSERT_NE(edit, nullptr);
        other = MakeControl("BUTTON", "other", BS_PUSHBUTTON, 120, 10, 60, 20, parent.Window(), 5);
        PaintNow(parent.Window());
    }
    void TearDown() override { DestroyWindow(spinner); }

    void SetParams(double minimum, double maximum, double step, short precision, unsigned wrap) {
        SpinnerParams params = {minimum, maximum, step, precision, wrap, 1};
        SendMessageA(spinner, SPM_SETPARAMS, 0, reinterpret_cast<LPARAM>(&params));
    }
    void SetValue(double value) {
        SendMessageA(spinner, SPM_SETVALUE, 0, reinterpret_cast<LPARAM>(&value));
    }
    double Value() {
        return *reinterpret_cast<const double*>(SendMessageA(spinner, SPM_GETVALUE, 0, 0));
    }
    std::string Text() { return WindowText(edit); }
    int Changes() {
        int n = 0;
        for (int code : parent.CommandCodes()) n += code == SPN_CHANGE;
        return n;
    }
    void Type(const char* text) {
        for (const char* c = text; *c; ++c) SendMessageA(edit, WM_CHAR, *c, 0);
    }
    void Retype(const char* text) {
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        Type(text);
    }
    // The scale spinner of the options dialog.
    void ScaleParams() { SetParams(0.001, 10000.0, 0.1, 3, 0); }

    static const int kWidth = 62;
    static const int kHeight = 20;
    RecordingParent parent{240, 80};
    HWND spinner = nullptr;
    HWND edit = nullptr;
    HWND other = nullptr;
};

TEST(SpinnerText, TrailingZerosGoButOneDigitStaysAfterThePoint) {
    char text[64];
    FormatSpinnerText(1.5, "%.3f", text, sizeof text);
    EXPECT_STREQ(text, "1.5");
    FormatSpinnerText(2.0, "%.3f", text, sizeof text);
    EXPECT_STREQ(text, "2.0");
    FormatSpinnerText(100.0, "%.3f", text, sizeof text);
    EXPECT_STREQ(text, "100.0");
    FormatSpinnerText(100.0, "%.0f", text, sizeof text);
    EXPECT_STREQ(text, "100");
    FormatSpinnerText(0.001, "%.3f", text, sizeof text);
    EXPECT_STREQ(text, "0.001");
    FormatSpinnerText(250.5, "%.3f", text, sizeof text);
    EXPECT_STREQ(text, "250.5");
}

TEST_F(SpinnerTest, StartsAtZeroWithPrecisionZero) {
    EXPECT_EQ(Text(), "0");
    EXPECT_EQ(Value(), 0.0);
    SpinnerRecord* record = GetWindowRecord<SpinnerRecord>(spinner);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->notify, 1u);
    EXPECT_EQ(record->maximum, 100.0);
    EXPECT_EQ(record->step, 1.0);
    EXPECT_EQ(record->spare, 1u);
    EXPECT_STREQ(record->format, "%.0f");
}

TEST_F(SpinnerTest, ChildrenLieAtTheRightPlaces) {
    SpinnerRecord* record = GetWindowRecord<SpinnerRecord>(spinner);
    auto placeOf = [&](HWND child) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, spinner, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    const int top = (kHeight - 18) / 2;
    RECT field = placeOf(record->edit);
    EXPECT_EQ(field.left, 0);
    EXPECT_EQ(field.top, top);
    EXPECT_EQ(field.right, kWidth - 13);
    EXPECT_EQ(field.bottom, top + 18);
    RECT up = placeOf(record->upButton);
    EXPECT_EQ(up.left, kWidth - 12);
    EXPECT_EQ(up.top, top);
    EXPECT_EQ(up.right - up.left, 12);
    EXPECT_EQ(up.bottom - up.top, 9);
    RECT down = placeOf(record->downButton);
    EXPECT_EQ(down.top, top + 9);
    EXPECT_EQ(GetWindowRecord<SpinButtonRecord>(record->upButton)->stepMessage, SPM_STEPUP);
    EXPECT_EQ(GetWindowRecord<SpinButtonRecord>(record->downButton)->stepMessage, SPM_STEPDOWN);
    EXPECT_EQ(GetWindowRecord<SpinButtonRecord>(record->upButton)->partner, record->downButton);
    EXPECT_EQ(GetWindowRecord<SpinButtonRecord>(record->downButton)->partner, record->upButton);
}

TEST_F(SpinnerTest, ShowsThreeDecimalsWithoutTrailingZeros) {
    SetParams(0.0, 10000.0, 0.1, 3, 0);
    SetValue(1.5);
    EXPECT_EQ(Text(), "1.5");
    SetValue(2.0);
    EXPECT_EQ(Text(), "2.0");
    SetValue(10000.0);
    EXPECT_EQ(Text(), "10000.0");
    SetValue(250.5);
    EXPECT_EQ(Text(), "250.5");
    EXPECT_EQ(Value(), 250.5);
}

TEST_F(SpinnerTest, PrecisionZeroShowsNoPoint) {
    SetParams(0.0, 100.0, 1.0, 0, 0);
    SetValue(2.0);
    EXPECT_EQ(Text(), "2");
}

TEST_F(SpinnerTest, SettingParamsAndValueDoesNotNotify) {
    ScaleParams();
    SetValue(100.0);
    SetValue(42.25);
    EXPECT_EQ(Changes(), 0);
    EXPECT_EQ(GetWindowRecord<SpinnerRecord>(spinner)->notify, 1u);
}

TEST_F(SpinnerTest, ValueFollowsTheRoundedShownText) {
    ScaleParams();
    SetValue(1.23456);
    EXPECT_EQ(Text(), "1.235");
    EXPECT_EQ(Value(), 1.235);
}

TEST_F(SpinnerTest, SteppingUpStopsExactlyAtTheMaximum) {
    ScaleParams();
    SetValue(9999.95);
    SendMessageA(spinner, SPM_STEPUP, 1, 0);
    EXPECT_EQ(Value(), 10000.0);
    EXPECT_EQ(Text(), "10000.0");
    EXPECT_EQ(Changes(), 1);
}

TEST_F(SpinnerTest, SteppingDownStopsAtTheMinimum) {
    ScaleParams();
    SetValue(0.05);
    SendMessageA(spinner, SPM_STEPDOWN, 1, 0);
    EXPECT_EQ(Value(), 0.001);
    EXPECT_EQ(Text(), "0.001");
}

TEST_F(SpinnerTest, WrapContinuesFromTheOtherEnd) {
    SetParams(0.0, 359.0, 1.0, 0, 1);
    SetValue(359.0);
    SendMessageA(spinner, SPM_STEPUP, 1, 0);
    EXPECT_EQ(Value(), 0.0);
    EXPECT_EQ(Text(), "0");
    SendMessageA(spinner, SPM_STEPDOWN, 1, 0);
    EXPECT_EQ(Value(), 359.0);
    EXPECT_EQ(Text(), "359");
}

TEST_F(SpinnerTest, StepCountMultipliesTheStep) {
    SetParams(0.0, 100.0, 2.0, 0, 0);
    SetValue(10.0);
    SendMessageA(spinner, SPM_STEPUP, 3, 0);
    EXPECT_EQ(Value(), 16.0);
    SendMessageA(spinner, SPM_STEPDOWN, 2, 0);
    EXPECT_EQ(Value(), 12.0);
}

TEST_F(SpinnerTest, ControlMakesStepsTenTimesLarger) {
    ScaleParams();
    SetValue(100.0);
    {
        HeldKeys keys(true, false);
        SendMessageA(spinner, SPM_STEPUP, 1, 0);
    }
    EXPECT_DOUBLE_EQ(Value(), 101.0);
}

TEST_F(SpinnerTest, AltMakesStepsATenthWhenDecimalsAreShown) {
    ScaleParams();
    SetValue(100.0);
    {
        HeldKeys keys(true, true);  // Alt wins over Ctrl
        SendMessageA(spinner, SPM_STEPUP, 1, 0);
    }
    EXPECT_DOUBLE_EQ(Value(), 100.01);
    EXPECT_EQ(Text(), "100.01");
}

TEST_F(SpinnerTest, AltLeavesStepsAloneWithoutDecimals) {
    SetParams(0.0, 100.0, 1.0, 0, 0);
    SetValue(50.0);
    {
        HeldKeys keys(false, true);
        SendMessageA(spinner, SPM_STEPUP, 1, 0);
    }
    EXPECT_EQ(Value(), 51.0);
}

TEST_F(SpinnerTest, StepCountZeroIsOnePlainStepAndMarksThePress) {
    SetParams(0.0, 100.0, 1.0, 0, 0);
    SetValue(50.0);
    {
        HeldKeys keys(true, false);
        SendMessageA(spinner, SPM_STEPUP, 0, 0);
    }
    EXPECT_EQ(Value(), 51.0);
    EXPECT_EQ(GetWindowRecord<SpinnerRecord>(spinner)->savedValue, 50.0);
}

TEST_F(SpinnerTest, StepThatLeavesTheTextUnchangedDoesNotNotify) {
    ScaleParams();
    SetValue(10000.0);
    SendMessageA(spinner, SPM_STEPUP, 1, 0);
    EXPECT_EQ(Value(), 10000.0);
    EXPECT_EQ(Changes(), 0);
    SendMessageA(spinner, SPM_STEPDOWN, 1, 0);
    EXPECT_EQ(Changes(), 1);
}

TEST_F(SpinnerTest, NotificationCarriesIdAndWindow) {
    ScaleParams();
    SetValue(1.0);
    SendMessageA(spinner, SPM_STEPUP, 1, 0);
    ASSERT_EQ(parent.Count(WM_COMMAND), 1);
    const SentMessage& sent = parent.Messages().back();
    EXPECT_EQ(LOWORD(sent.wParam), kSpinnerId);
    EXPECT_EQ(HIWORD(sent.wParam), SPN_CHANGE);
    EXPECT_EQ(reinterpret_cast<HWND>(sent.lParam), spinner);
}

TEST_F(SpinnerTest, TypingBelowTheMinimumThenLeavingRewritesAndNotifies) {
    ScaleParams();
    SetValue(100.0);
    Retype("0");
    EXPECT_EQ(Text(), "0");
    EXPECT_EQ(Value(), 0.001);
    EXPECT_EQ(Changes(), 0);
    SetFocus(other);
    EXPECT_EQ(Text(), "0.001");
    EXPECT_EQ(Value(), 0.001);
    EXPECT_EQ(Changes(), 1);
}

TEST_F(SpinnerTest, TypingAboveTheMaximumIsLimited) {
    ScaleParams();
    SetValue(100.0);
    Retype("20000");
    EXPECT_EQ(Text(), "20000");
    EXPECT_EQ(Value(), 10000.0);
    SetFocus(other);
    EXPECT_EQ(Text(), "10000.0");
}

TEST_F(SpinnerTest, LeavingWithTheCanonicalTextDoesNotNotify) {
    ScaleParams();
    SetValue(12.5);
    SetFocus(edit);
    SetFocus(other);
    EXPECT_EQ(Text(), "12.5");
    EXPECT_EQ(Changes(), 0);
}

TEST_F(SpinnerTest, TextThatIsNoNumberBecomesTheMinimum) {
    ScaleParams();
    SetValue(5.0);
    SetFocus(edit);
    SetWindowTextA(edit, "-");
    EXPECT_EQ(Value(), 0.001);
    SetFocus(other);
    EXPECT_EQ(Text(), "0.001");
}

TEST_F(SpinnerTest, OnlyCharactersOfANumberGetIntoTheField) {
    SetParams(-100.0, 100.0, 1.0, 3, 0);
    Retype("a1b.\r\x1b\t5-");
    EXPECT_EQ(Text(), "1.5-");
    SendMessageA(edit, WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(Text(), "1.5");
    EXPECT_EQ(Value(), 1.5);
}

TEST_F(SpinnerTest, ArrowKeysInTheFieldStep) {
    SetParams(0.0, 100.0, 1.0, 0, 0);
    SetValue(10.0);
    EXPECT_EQ(SendMessageA(edit, WM_KEYDOWN, VK_UP, 0), 0);
    EXPECT_EQ(Value(), 11.0);
    SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Value(), 9.0);
    {
        HeldKeys keys(true, false);
        SendMessageA(edit, WM_KEYDOWN, VK_UP, 0);
    }
    EXPECT_EQ(Value(), 19.0);
}

TEST_F(SpinnerTest, ArrowKeysWithAltStepATenth) {
    ScaleParams();
    SetValue(1.0);
    {
        HeldKeys keys(false, true);
        SendMessageA(edit, WM_SYSKEYDOWN, VK_DOWN, 0);
    }
    EXPECT_DOUBLE_EQ(Value(), 0.99);
    EXPECT_EQ(Text(), "0.99");
}

TEST_F(SpinnerTest, WheelStepsWholeNotchesOnly) {
    SetParams(0.0, 100.0, 1.0, 0, 0);
    SetValue(50.0);
    SendMessageA(spinner, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_EQ(Value(), 52.0);
    SendMessageA(spinner, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    EXPECT_EQ(Value(), 52.0);
    SendMessageA(spinner, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(Value(), 51.0);
    SendMessageA(spinner, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-200)), 0);
    EXPECT_EQ(Value(), 50.0);
    EXPECT_EQ(Changes(), 3);
}

// The wheel goes to the focused window, which is the field.
TEST_F(SpinnerTest, WheelOverTheFocusedFieldStepsTheSpinner) {
    SetParams(0.0, 100.0, 1.0, 0, 0);
    SetValue(50.0);
    SetFocus(edit);
    SendMessageA(edit, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(Value(), 51.0);
}

TEST_F(SpinnerTest, ResetTakesTheResetValueAtLeastTheMinimum) {
    ScaleParams();
    SetValue(5.0);
    double reset = 100.0;
    SendMessageA(spinner, SPM_SETRESETVALUE, 0, reinterpret_cast<LPARAM>(&reset));
    EXPECT_EQ(Value(), 5.0);  // nothing shown yet
    SendMessageA(spinner, SPM_RESET, 0, 0);
    EXPECT_EQ(Value(), 100.0);
    EXPECT_EQ(Text(), "100.0");
    EXPECT_EQ(Changes(), 1);
    reset = -3.0;
    SendMessageA(spinner, SPM_SETRESETVALUE, 0, reinterpret_cast<LPARAM>(&reset));
    SendMessageA(spinner, SPM_RESET, 0, 0);
    EXPECT_EQ(Value(), 0.001);
}

TEST_F(SpinnerTest, ButtonDownRemembersTheValueForRestore) {
    ScaleParams();
    SetValue(7.0);
    SendMessageA(spinner, WM_LBUTTONDOWN, 0, 0);
    SetValue(9.0);
    SendMessageA(spinner, SPM_RESTORE, 0, 0);
    EXPECT_EQ(Value(), 7.0);
    EXPECT_EQ(Text(), "7.0");
}

TEST_F(SpinnerTest, OutOfRangeValueIsShownAsGiven) {
    ScaleParams();
    SetValue(20000.0);
    EXPECT_EQ(Text(), "20000.0");
}

TEST_F(SpinnerTest, GetValuePointsIntoTheSpinner) {
    const double* value =
        reinterpret_cast<const double*>(SendMessageA(spinner, SPM_GETVALUE, 0, 0));
    EXPECT_EQ(value, &GetWindowRecord<SpinnerRecord>(spinner)->value);
    SetParams(0.0, 100.0, 1.0, 0, 0);
    SendMessageA(spinner, SPM_STEPUP, 4, 0);
    EXPECT_EQ(*value, 4.0);
}

TEST_F(SpinnerTest, FocusGoesToTheField) {
    SetFocus(spinner);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_GE(parent.Count(WM_SETFOCUS), 1);
}

TEST_F(SpinnerTest, DisablingReachesEveryChild) {
    EnableWindow(spinner, FALSE);
    SpinnerRecord* record = GetWindowRecord<SpinnerRecord>(spinner);
    EXPECT_FALSE(IsWindowEnabled(record->edit));
    EXPECT_FALSE(IsWindowEnabled(record->upButton));
    EXPECT_FALSE(IsWindowEnabled(record->downButton));
    EnableWindow(spinner, TRUE);
    EXPECT_TRUE(IsWindowEnabled(record->edit));
    EXPECT_TRUE(IsWindowEnabled(record->upButton));
}

TEST_F(SpinnerTest, FieldIsSunkenInTheFieldColour) {
    ScaleParams();
    SetValue(1.0);
    PaintNow(spinner);
    RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    RECT window;
    GetWindowRect(edit, &window);
    const int w = window.right - window.left;
    const int h = window.bottom - window.top;
    EXPECT_EQ(WindowFramePixel(edit, 5, 0), ToolkitColour(kDarkEdgeColour));
    EXPECT_EQ(WindowFramePixel(edit, 0, 5), ToolkitColour(kDarkEdgeColour));
    EXPECT_EQ(WindowFramePixel(edit, 5, h - 1), ToolkitColour(kLightEdgeColour));
    EXPECT_EQ(WindowFramePixel(edit, w - 1, 5), ToolkitColour(kLightEdgeColour));
    EXPECT_EQ(WindowFramePixel(edit, 5, 1), RGB(0, 0, 0));
    EXPECT_EQ(WindowFramePixel(edit, 1, 5), RGB(0, 0, 0));
    EXPECT_EQ(WindowFramePixel(edit, 5, h - 2), ToolkitColour(kFaceColour));
    EXPECT_EQ(WindowFramePixel(edit, w - 2, 5), ToolkitColour(kFaceColour));
    // Inside: the field colour, with the text in the text colour.
    EXPECT_EQ(WindowFramePixel(edit, w - 4, h / 2), ToolkitColour(kFieldColour));
    RECT client;
    GetClientRect(edit, &client);
    EXPECT_GT(CountInWindowRect(edit, client, ToolkitColour(kTextColour)), 5);
}

TEST_F(SpinnerTest, BackgroundIsTheFaceColour) {
    // The strip between the field and the buttons belongs to the spinner.
    PaintNow(spinner);
    EXPECT_EQ(WindowPixel(spinner, kWidth - 13, kHeight / 2), ToolkitColour(kFaceColour));
}

}  // namespace

namespace {

// A modeless dialog with a push button and a spinner, both tab stops.
struct DialogTemplate {
    DLGTEMPLATE dialog;
    WORD menu, windowClass, title;
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

class SpinnerInDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        DialogTemplate layout = {};
        layout.dialog.style = WS_POPUP | WS_VISIBLE;
        layout.dialog.cx = 150;
        layout.dialog.cy = 60;
        dialog =
            CreateDialogIndirectParamA(ThisModule(), &layout.dialog, nullptr, PlainDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        button =
            CreateWindowExA(0, "BUTTON", "Import", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 5, 5, 60, 20,
                            dialog, reinterpret_cast<HMENU>(1025), ThisModule(), nullptr);
        spinner = CreateWindowExA(0, "ksSpinner", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 80, 5, 62,
                                  20, dialog, reinterpret_cast<HMENU>(1010), ThisModule(), nullptr);
        ASSERT_NE(spinner, nullptr);
        edit = FindWindowExA(spinner, nullptr, "Edit", nullptr);
        SetActiveWindow(dialog);
        SetFocus(button);
    }
    void TearDown() override { DestroyWindow(dialog); }

    HWND dialog = nullptr;
    HWND button = nullptr;
    HWND spinner = nullptr;
    HWND edit = nullptr;
};

TEST_F(SpinnerInDialogTest, TabbingIntoTheSpinnerFocusesItsField) {
    ASSERT_EQ(GetFocus(), button);
    SendMessageA(dialog, WM_NEXTDLGCTL, 0, FALSE);
    EXPECT_EQ(GetFocus(), edit);
}

TEST_F(SpinnerInDialogTest, LeavingTheFieldByTabCommitsTheText) {
    SpinnerParams params = {0.001, 10000.0, 0.1, 3, 0, 1};
    SendMessageA(spinner, SPM_SETPARAMS, 0, reinterpret_cast<LPARAM>(&params));
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, '7', 0);
    SendMessageA(dialog, WM_NEXTDLGCTL, 0, FALSE);
    EXPECT_EQ(WindowText(edit), "7.0");
}

}  // namespace
