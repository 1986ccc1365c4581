// What the tree and list views share: the border, the grab cursor, the
// cursor's wrap at the screen edges while panning, and handing a child's
// notification on to the parent in the view's name.
#pragma once

#include <windows.h>

// Draws the two-pixel border in the window's non-client area: an outer thin
// frame (colours 15 over 16) and an inner frame of black over the face colour.
// The views are meant to be created with a two-pixel edge (WS_EX_CLIENTEDGE).
void DrawViewBorder(HWND window);

// A 32 by 32 grab hand with its hot spot at (10, 10); the system hand when
// it cannot be built. Released with ReleaseGrabCursor.
HCURSOR CreateGrabCursor();
void ReleaseGrabCursor(HCURSOR cursor);

// Keeps a drag going past the top and bottom of the screen: a cursor at row 0
// or above jumps to the screen height - 2, one at the lowest row or below to
// row 1. Answers how far it moved the cursor vertically (0 when it stayed).
int WrapPanCursor(const POINT& screenPoint);

// Sends a child's notification to the view's parent as if the view sent it
// (its id and handle); answers what the parent answered.
LRESULT ForwardNotification(HWND view, NMHDR* header);

// The point of a mouse message of one window in another's client coordinates.
LPARAM MapMousePoint(HWND from, HWND to, LPARAM point);
