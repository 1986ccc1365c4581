// ksSpinButton inside a spinner: a press steps at once and repeats on its
// timer, dragging steps one per 5 pixels and wraps the cursor at the screen
// edges, the right button restores or resets, and the painting.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/spinner.h"
#include "toolkit/window_record.h"

namespace {

class SpinButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        spinner = MakeControl("ksSpinner", "", 0, 20, 300, 62, 20, parent.Window(), 1010);
        ASSERT_NE(spinner, nullptr);
        record = GetWindowRecord<SpinnerRecord>(spinner);
        up = record->upButton;
        down = record->downButton;
        SpinnerParams params = {0.0, 1000.0, 1.0, 0, 0, 1};
        SendMessageA(spinner, SPM_SETPARAMS, 0, reinterpret_cast<LPARAM>(&params));
        SetValue(100.0);
        double reset = 10.0;
        SendMessageA(spinner, SPM_SETRESETVALUE, 0, reinterpret_cast<LPARAM>(&reset));
        PaintNow(parent.Window());
    }
    void TearDown() override {
        ReleaseCapture();
        DestroyWindow(spinner);
    }

    void SetValue(double value) {
        SendMessageA(spinner, SPM_SETVALUE, 0, reinterpret_cast<LPARAM>(&value));
    }
    double Value() const { return record->value; }
    SpinButtonRecord& Button(HWND button) { return *GetWindowRecord<SpinButtonRecord>(button); }
    void Send(HWND button, UINT message, int x, int y) {
        SendMessageA(button, message, 0, MAKELPARAM(x, y));
    }
    // Client y of a button for a screen row.
    int ClientYForScreen(HWND button, int screenY) {
        POINT origin = {0, 0};
        ClientToScreen(button, &origin);
        return screenY - origin.y;
    }

    RecordingParent parent{200, 400};
    HWND spinner = nullptr;
    SpinnerRecord* record = nullptr;
    HWND up = nullptr;
    HWND down = nullptr;
};

TEST_F(SpinButtonTest, PressStepsAtOnceAndCapturesTheMouse) {
    Send(up, WM_LBUTTONDOWN, 5, 4);
    EXPECT_EQ(Value(), 101.0);
    EXPECT_EQ(GetCapture(), up);
    EXPECT_EQ(Button(up).pressed, 1);
    EXPECT_EQ(record->savedValue, 100.0);
    Send(up, WM_LBUTTONUP, 5, 4);
    EXPECT_NE(GetCapture(), up);
    EXPECT_EQ(Button(up).pressed, 0);
    Send(down, WM_LBUTTONDOWN, 5, 4);
    Send(down, WM_LBUTTONUP, 5, 4);
    EXPECT_EQ(Value(), 100.0);
}

TEST_F(SpinButtonTest, RepeatTimerStepsOncePerTick) {
    Send(up, WM_LBUTTONDOWN, 5, 4);
    SendMessageA(up, WM_TIMER, kSpinRepeatTimer, 0);
    SendMessageA(up, WM_TIMER, kSpinRepeatTimer, 0);
    EXPECT_EQ(Value(), 103.0);
    EXPECT_EQ(SendMessageA(up, WM_TIMER, 77, 0), 1);  // not ours
    EXPECT_EQ(Value(), 103.0);
    Send(up, WM_LBUTTONUP, 5, 4);
}

TEST_F(SpinButtonTest, HeldButtonRepeatsByItself) {
    // Messages are pumped while the button is held: the real cursor must be
    // where the press is, or its moves would count as a drag.
    POINT press = {5, 4};
    ClientToScreen(down, &press);
    SetCursorPos(press.x, press.y);
    Send(down, WM_LBUTTONDOWN, 5, 4);
    EXPECT_EQ(Value(), 99.0);
    EXPECT_TRUE(PumpUntil([&] { return Value() <= 97.0; }));
    Send(down, WM_LBUTTONUP, 5, 4);
    const double stopped = Value();
    // After the release the timer is gone: nothing steps any more.
    EXPECT_FALSE(KillTimer(down, kSpinRepeatTimer));
    EXPECT_EQ(Value(), stopped);
}

TEST_F(SpinButtonTest, DraggingUpOnePixelAtATimeStepsEveryFivePixels) {
    Send(down, WM_LBUTTONDOWN, 5, 4);  // steps down once
    EXPECT_EQ(Value(), 99.0);
    for (int moved = 1; moved <= 10; ++moved) {
        Send(down, WM_MOUSEMOVE, 5, 4 - moved);
        EXPECT_EQ(Value(), 99.0 + moved / 5) << moved;
    }
    Send(down, WM_LBUTTONUP, 5, -6);
}

TEST_F(SpinButtonTest, OneLongMoveGivesWholeStepsAndDropsTheRest) {
    Send(up, WM_LBUTTONDOWN, 5, 4);
    EXPECT_EQ(Value(), 101.0);
    Send(up, WM_MOUSEMOVE, 5, 4 - 12);
    EXPECT_EQ(Value(), 103.0);
    // The 2 pixels left over are gone: 3 more do not make a step.
    Send(up, WM_MOUSEMOVE, 5, 4 - 15);
    EXPECT_EQ(Value(), 103.0);
    Send(up, WM_MOUSEMOVE, 5, 4 - 17);
    EXPECT_EQ(Value(), 104.0);
    Send(up, WM_LBUTTONUP, 5, 4);
}

TEST_F(SpinButtonTest, DraggingDownStepsDownWhicheverHalfWasPressed) {
    Send(up, WM_LBUTTONDOWN, 5, 4);
    Send(up, WM_MOUSEMOVE, 5, 4 + 10);
    EXPECT_EQ(Value(), 99.0);
    Send(up, WM_LBUTTONUP, 5, 4);
}

TEST_F(SpinButtonTest, DragStopsTheRepeatAndShowsBothHalvesPressed) {
    Send(up, WM_LBUTTONDOWN, 5, 4);
    Send(up, WM_MOUSEMOVE, 5, 3);
    EXPECT_EQ(Button(down).pressed, 1);
    Send(up, WM_MOUSEMOVE, 5, -1);
    EXPECT_FALSE(KillTimer(up, kSpinRepeatTimer));
    Send(up, WM_LBUTTONUP, 5, 4);
    EXPECT_EQ(Button(down).pressed, 0);
}

// No release comes when another window takes the mouse: the press ends
// there, or the repeat would run to the maximum and a plain move over the
// partner, still shown pressed, would drag.
TEST_F(SpinButtonTest, LosingTheCaptureEndsThePressAndTheDrag) {
    Send(up, WM_LBUTTONDOWN, 5, 4);
    SetCapture(parent.Window());
    EXPECT_FALSE(KillTimer(up, kSpinRepeatTimer));
    EXPECT_EQ(Button(up).pressed, 0);
    ReleaseCapture();

    Send(up, WM_LBUTTONDOWN, 5, 4);
    Send(up, WM_MOUSEMOVE, 5, 4 - 5);
    EXPECT_EQ(Value(), 103.0);
    SetCapture(parent.Window());
    EXPECT_EQ(Button(up).pressed, 0);
    EXPECT_EQ(Button(down).pressed, 0);
    Send(down, WM_MOUSEMOVE, 5, 4);
    Send(up, WM_MOUSEMOVE, 5, -40);
    EXPECT_EQ(Value(), 103.0);
}

TEST_F(SpinButtonTest, ControlMultipliesDraggedSteps) {
    Send(up, WM_LBUTTONDOWN, 5, 4);
    {
        HeldKeys keys(true, false);
        Send(up, WM_MOUSEMOVE, 5, 4 - 5);
    }
    EXPECT_EQ(Value(), 111.0);
    Send(up, WM_LBUTTONUP, 5, 4);
}

TEST_F(SpinButtonTest, MovesWithoutAPressDoNothing) {
    Send(up, WM_MOUSEMOVE, 5, 4);
    Send(up, WM_MOUSEMOVE, 5, -40);
    EXPECT_EQ(Value(), 100.0);
}

TEST_F(SpinButtonTest, CursorWrapsAtTheTopAndBottomOfTheScreen) {
    const int bottom = GetSystemMetrics(SM_CYSCREEN) - 1;
    EXPECT_EQ(Button(up).screenBottom, bottom);
    Send(up, WM_LBUTTONDOWN, 5, 4);
    Send(up, WM_MOUSEMOVE, 5, ClientYForScreen(up, 0));
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.y, bottom - 1);
    EXPECT_EQ(Button(up).lastY, bottom - 1);
    EXPECT_EQ(Value(), 101.0);  // the jump itself is no step

    Send(up, WM_MOUSEMOVE, 5, ClientYForScreen(up, bottom));
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.y, 1);
    EXPECT_EQ(Button(up).lastY, 1);
    // Going on downward from the top row steps down.
    Send(up, WM_MOUSEMOVE, 5, ClientYForScreen(up, 11));
    EXPECT_EQ(Value(), 99.0);
    Send(up, WM_LBUTTONUP, 5, 4);
}

TEST_F(SpinButtonTest, RightClickDuringAPressRestoresTheValue) {
    Send(up, WM_LBUTTONDOWN, 5, 4);
    Send(up, WM_MOUSEMOVE, 5, 4 - 20);
    EXPECT_EQ(Value(), 105.0);
    Send(up, WM_RBUTTONDOWN, 5, 4);
    EXPECT_EQ(Value(), 100.0);
    EXPECT_EQ(record->edit ? WindowText(record->edit) : "", "100");
    EXPECT_EQ(Button(up).pressed, 0);
    EXPECT_EQ(Button(down).pressed, 0);
    EXPECT_EQ(Button(up).rightCancel, 1);
    EXPECT_EQ(GetCapture(), up);
    Send(up, WM_RBUTTONUP, 5, 4);
    EXPECT_EQ(Button(up).rightCancel, 0);
    EXPECT_NE(GetCapture(), up);
    // The press is over: moving on does nothing.
    Send(up, WM_MOUSEMOVE, 5, -60);
    EXPECT_EQ(Value(), 100.0);
}

TEST_F(SpinButtonTest, RightClickAloneResets) {
    Send(down, WM_RBUTTONDOWN, 5, 4);
    Send(down, WM_RBUTTONUP, 5, 4);
    EXPECT_EQ(Value(), 10.0);
    EXPECT_EQ(WindowText(record->edit), "10");
}

TEST_F(SpinButtonTest, ParentHearsOfEveryChangedStep) {
    parent.Clear();
    Send(up, WM_LBUTTONDOWN, 5, 4);
    Send(up, WM_MOUSEMOVE, 5, -6);
    Send(up, WM_LBUTTONUP, 5, -6);
    EXPECT_EQ(parent.CommandCodes(), (std::vector<int>{SPN_CHANGE, SPN_CHANGE}));
}

// 12 by 9: light top and left, dark right and bottom, the corner pixels at
// the top right and bottom left dark; the arrow 5, 3 and 1 pixels wide.
TEST_F(SpinButtonTest, PaintsARaisedButtonWithItsArrow) {
    PaintNow(up);
    PaintNow(down);
    const COLORREF light = ToolkitColour(kLightEdgeColour);
    const COLORREF dark = ToolkitColour(kDarkEdgeColour);
    const COLORREF face = ToolkitColour(kFaceColour);
    const COLORREF text = ToolkitColour(kTextColour);
    EXPECT_EQ(CountInWindowRow(up, 0, 0, 10, light), 11);
    EXPECT_EQ(WindowPixel(up, 11, 0), dark);
    EXPECT_EQ(WindowPixel(up, 0, 4), light);
    EXPECT_EQ(WindowPixel(up, 11, 4), dark);
    EXPECT_EQ(CountInWindowRow(up, 8, 0, 11, dark), 12);
    EXPECT_EQ(WindowPixel(up, 1, 1), face);
    // Up arrow: tip on row 3.
    EXPECT_EQ(CountInWindowRow(up, 3, 1, 10, text), 1);
    EXPECT_EQ(WindowPixel(up, 5, 3), text);
    EXPECT_EQ(CountInWindowRow(up, 4, 1, 10, text), 3);
    EXPECT_EQ(CountInWindowRow(up, 5, 1, 10, text), 5);
    EXPECT_EQ(WindowPixel(up, 3, 5), text);
    EXPECT_EQ(WindowPixel(up, 7, 5), text);
    // Down arrow: tip on row 5.
    EXPECT_EQ(CountInWindowRow(down, 3, 1, 10, text), 5);
    EXPECT_EQ(CountInWindowRow(down, 4, 1, 10, text), 3);
    EXPECT_EQ(CountInWindowRow(down, 5, 1, 10, text), 1);
    EXPECT_EQ(WindowPixel(down, 5, 5), text);
}

TEST_F(SpinButtonTest, PressedSwapsTheEdges) {
    SendMessageA(up, BM_SETSTATE, 1, 0);
    PaintNow(up);
    EXPECT_EQ(WindowPixel(up, 4, 0), ToolkitColour(kDarkEdgeColour));
    EXPECT_EQ(WindowPixel(up, 4, 8), ToolkitColour(kLightEdgeColour));
    EXPECT_EQ(WindowPixel(up, 0, 8), ToolkitColour(kLightEdgeColour));
    SendMessageA(up, BM_SETSTATE, 0, 0);
}

TEST_F(SpinButtonTest, DisabledArrowIsDark) {
    EnableWindow(spinner, FALSE);
    PaintNow(up);
    EXPECT_EQ(WindowPixel(up, 5, 3), ToolkitColour(kDarkEdgeColour));
    EXPECT_EQ(CountInWindowRow(up, 5, 1, 10, ToolkitColour(kTextColour)), 0);
    EnableWindow(spinner, TRUE);
}

}  // namespace
