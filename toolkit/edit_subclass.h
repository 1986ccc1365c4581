// The toolkit look for standard single-line edit fields: a two-ring sunken
// border, and Enter and Escape also passed to the parent (dialogs without a
// default button, and the in-place editor, act on them).
#pragma once

#include <windows.h>

// Subclasses a standard edit field and gives it margins of one pixel. All
// such fields share one slot for the system's procedure.
void SubclassEdit(HWND edit);
// Puts the system's procedure back; dialogs call it on WM_DESTROY.
void UnsubclassEdit(HWND edit);

// Paints the border of a field made with WS_EX_CLIENTEDGE: inner ring black
// at top and left and face colour at bottom and right, outer ring dark edge
// at top and left and light edge at bottom and right.
void PaintSunkenFieldBorder(HWND edit);
