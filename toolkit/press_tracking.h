// What the toolkit's push-like controls share: where a press falls, how the
// parent hears of it, and the hover and press state of a record with the
// fields int hover and int pressed.
#pragma once

#include <windows.h>

// Whether a mouse message's point lies in the window's client area.
bool IsInsideClient(HWND window, LPARAM point);
// WM_COMMAND to the parent with the control's id and the notification code.
void NotifyParent(HWND window, WORD code);
// Repaints the control now, background included.
void RedrawNow(HWND window);

template <class Record>
bool LooksPushed(HWND window, const Record& record) {
    return IsWindowEnabled(window) && record.pressed && record.hover;
}

template <class Record>
LRESULT TrackHover(HWND window, Record& record, LPARAM point) {
    int hover = IsInsideClient(window, point) ? 1 : 0;
    if (hover != record.hover) {
        record.hover = hover;
        RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
    }
    return 0;
}

template <class Record>
void BeginPress(HWND window, Record& record) {
    NotifyParent(window, BN_HILITE);
    record.pressed = 1;
    InvalidateRect(window, nullptr, FALSE);
}

// A release inside after a press here is a click. The parent may destroy
// the control on a click, so the record is done with before it hears.
template <class Record>
void EndPress(HWND window, Record& record, LPARAM point) {
    bool click = IsInsideClient(window, point) && record.pressed;
    record.pressed = 0;
    InvalidateRect(window, nullptr, FALSE);
    NotifyParent(window, click ? BN_CLICKED : BN_UNHILITE);
}
