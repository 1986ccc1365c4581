// ksListBox: a standard list box beside a ksScrollBar, in the host's colours
// with a thin sunken frame. Rows are added with LB_ADDSTRING; the scroll bar,
// the wheel and the list's own keys scroll it, and the scroll bar follows
// the list's top row.
#pragma once

#include <windows.h>

// The identifier of the standard list box inside.
const int kListBoxListId = 77;

struct ListBoxRecord {
    HWND list;
    HWND scrollBar;
    int visibleRows;  // rows that fit
    int rowHeight;    // pixels
};

LRESULT CALLBACK ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
