// The toolkit's message box: a modal skinned dialog with one icon, the text
// in lines and a single "OK" button, sized to its text. Built from a
// template in memory, so it needs no resources of the library.
#pragma once

#include <windows.h>

const int kMessageTextSize = 2048;  // 2047 characters and the terminating zero

// Handed to the dialog and kept in its user data while it is open; the text
// comes first, so that a watcher can read it from there.
struct MessageRecord {
    char text[kMessageTextSize];
    UINT style;
};

// The result while another toolkit message box is open.
const INT_PTR kMessageBoxBusy = 10;

// Shows the box modally: 1 when closed with "OK", 0 with Escape, 10 at once
// (nothing shown) while another toolkit message box is open. Of the style
// only the icon counts: MB_ICONQUESTION, MB_ICONWARNING, else information.
INT_PTR ToolkitMessageBox(HWND owner, const char* text, UINT style);

// The system icon the box shows for a style.
LPCSTR MessageBoxIcon(UINT style);

// Lay-out figures of the box, in pixels.
const int kMessageMinTextWidth = 70;
const int kMessageExtraWidth = 109;
const int kMessageExtraHeight = 107;
const int kMessageButtonWidth = 70;
const int kMessageButtonHeight = 20;
const int kMessageTextLeft = 70;
const int kMessageTextTop = 42;
