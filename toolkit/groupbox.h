// The group frame of the toolkit: an etched line with a centred title, for
// standard group boxes (through a subclass) and for ksGroupBox.
#pragma once

#include <windows.h>

// Gives a standard group box (a "Button" with BS_GROUPBOX) the toolkit's
// look; all group boxes share one slot for the system's procedure.
void SubclassGroupBox(HWND groupBox);
// Puts the system's procedure back; dialogs call it on WM_DESTROY.
void UnsubclassGroupBox(HWND groupBox);

// Paints the frame and the title into a paint device context of the window.
// The inside is not painted: the parent's background shows through.
void PaintGroupFrame(HWND window, HDC dc);

// ksGroupBox: the same frame as a window class of its own; it keeps no record.
LRESULT CALLBACK GroupBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The title colour for a face colour: each channel moved on by 100, 90 and
// 75, modulo 255, so it stands out on light and dark faces alike.
COLORREF GroupTitleColour(COLORREF face);
