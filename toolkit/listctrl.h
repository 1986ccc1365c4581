// ksListCtrl: a system list view in report view, in the host's colours, with
// a header painted by the toolkit that ignores the mouse. The list's vertical
// scroll bar lies outside the control; the user scrolls with the wheel or
// pans whole rows by dragging with the middle button.
#pragma once

#include <windows.h>

struct ListCtrlRecord {
    HWND list;
    int width, height;  // of the list child
    int panning;
    POINT panStart;  // screen point from which the next rows are counted
    int startTop;    // top row when the pan began
    int rowHeight;
};

LRESULT CALLBACK ListCtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
