// ksArrowButton: the small arrow button of the toolkit's scroll bar, with the
// press, click and cancel notifications of ksButton. The creation text "UP"
// makes an up arrow, "THUMB" a plain raised thumb, anything else a down arrow.
#pragma once

#include <windows.h>

struct ArrowButtonRecord {
    int isThumb;
    int isUp;
    int hover;    // the cursor was inside at the last mouse move
    int pressed;  // the left button went down here and has not come up
};

LRESULT CALLBACK ArrowButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
