// ksScrollBar: a vertical scroll bar made of an up arrow, a down arrow and a
// thumb (ksArrowButton children) over a track. Arrows step by one and repeat
// while held, a click on the track pages, the thumb can be dragged. Every
// update is posted to the parent as WM_VSCROLL: the scroll code in the low
// word of wParam, the position in the high word, the scroll bar in lParam.
#pragma once

#include <windows.h>

// Messages a parent sends to a scroll bar. All answer 1 except SBX_GETPOS.
const UINT SBX_SETRANGE = 0x41F;  // wParam: highest position (low word), page (high word)
const UINT SBX_SETPOS = 0x420;    // wParam: the new position, kept within the range
const UINT SBX_GETPOS = 0x421;    // answers the position

// The children's identifiers.
const int kScrollUpId = 2000;
const int kScrollDownId = 2001;
const int kScrollThumbId = 1002;

// The arrows' auto-repeat timer: first after kScrollRepeatDelayMs, then
// every kScrollRepeatMs.
const UINT_PTR kScrollRepeatTimer = 1123;
const UINT kScrollRepeatDelayMs = 300;
const UINT kScrollRepeatMs = 50;

// The arrows' size, square, at either end of the track.
const int kScrollArrowSize = 13;

struct ScrollBarRecord {
    int delta;     // the pending change of position
    int dragging;  // a thumb drag is under way
    int paging;    // a click on the track is being served
    int maximum;   // highest position
    int page;
    int position;
    POINT cursor;     // screen position of the cursor at the last event
    POINT dragStart;  // screen position of the cursor at the last drag update
    int thumbHeight;
};

LRESULT CALLBACK ScrollBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
