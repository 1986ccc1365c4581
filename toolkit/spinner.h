// ksSpinner: a numeric entry field with two arrow buttons (ksSpinButton) at
// its right end. The value can be typed, stepped with the arrow keys, the
// wheel or the buttons, dragged on a button, reset with a right click and
// restored when a drag is cancelled. The parent hears of every change of the
// shown text by WM_COMMAND with SPN_CHANGE.
#pragma once

#include <windows.h>

// Messages a dialog sends to a spinner. All answer 1 except SPM_GETVALUE.
const UINT SPM_STEPUP = 0x401;         // wParam: step count n; steps up by n
const UINT SPM_STEPDOWN = 0x402;       // wParam: step count n; steps down by n
const UINT SPM_RESET = 0x403;          // value := reset value (at least the minimum)
const UINT SPM_RESTORE = 0x404;        // value := the value at the start of the last press
const UINT SPM_SETPARAMS = 0x415;      // lParam: const SpinnerParams*; shown without notification
const UINT SPM_SETRESETVALUE = 0x416;  // lParam: const double*; nothing is shown
const UINT SPM_SETVALUE = 0x417;       // lParam: const double*; not clamped; no notification
const UINT SPM_GETVALUE = 0x418;  // answers a const double* into the spinner, valid while it exists

// Messages between the spin buttons of one spinner.
const UINT SPBM_SETPARTNER = 0x40B;    // wParam: the other button of the pair
const UINT SPBM_SETDIRECTION = 0x40C;  // wParam: 0 up arrow (steps up), non-zero down arrow

// High word of the WM_COMMAND a spinner sends when its shown text changed
// (the same number as EN_CHANGE).
const WORD SPN_CHANGE = 0x300;

// The spin button's auto-repeat timer.
const UINT_PTR kSpinRepeatTimer = 1029;

// Parameter block of SPM_SETPARAMS, in this order.
struct SpinnerParams {
    double minimum;
    double maximum;
    double step;
    short precision;     // decimals shown
    unsigned int wrap;   // stepping past one end continues from the other
    unsigned int spare;  // kept, without further effect
};

struct SpinnerRecord {
    unsigned int notify;  // a change of the shown text is reported to the parent
    double minimum;
    double maximum;
    double step;
    short precision;
    unsigned int spare;
    unsigned int wrap;
    double value;
    double savedValue;  // value at the start of the current press
    double resetValue;  // value taken on a right click
    HWND edit;
    HWND upButton;
    HWND downButton;
    char format[20];  // printf format of the value, "%.3f" for 3 decimals
};

struct SpinButtonRecord {
    int direction;     // 0 up arrow, non-zero down arrow
    UINT stepMessage;  // SPM_STEPUP or SPM_STEPDOWN, sent to the parent per step
    int pressed;       // left button held here, or the partner shows it pressed
    int screenBottom;  // screen height minus 1, where the drag cursor wraps
    int lastX, lastY;  // screen position at which a drag last produced steps
    int rightCancel;   // a right click is cancelling a drag
    HWND partner;      // the other button of the pair
};

LRESULT CALLBACK SpinnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SpinButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The text a spinner shows for a value: printed with the format, then '0's
// taken off the end of a text with a '.' as long as one digit stays after
// the '.' (1.500 -> 1.5, 2.000 -> 2.0; 100 stays 100).
void FormatSpinnerText(double value, const char* format, char* text, int size);
