// ksButton: the toolkit's push button. It tells its parent of a press (code
// 2), a click (code 0) and a press released outside (code 3) by WM_COMMAND.
#pragma once

#include <windows.h>

struct ButtonRecord {
    int hover;    // the cursor was inside at the last mouse move
    int pressed;  // the left button went down here and has not come up
};

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
