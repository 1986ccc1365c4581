// The toolkit's drawing operations, shared by every control and the dialog frame.
#pragma once

#include <windows.h>

// Fills a rectangle with one colour. The device context keeps the colour as
// its background colour afterwards.
void FillSolidRect(HDC dc, const RECT& rect, COLORREF colour);
void FillSolidRect(HDC dc, int left, int top, int width, int height, COLORREF colour);

// A one-pixel frame just inside the rectangle: top and left lines in topLeft,
// right and bottom lines in bottomRight, which also owns the top-right and
// bottom-left corner pixels. Raised: light edge over dark edge; sunken: swapped.
void Draw3dFrame(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
void Draw3dFrame(HDC dc, int left, int top, int width, int height, COLORREF topLeft,
                 COLORREF bottomRight);

// Control text with DrawTextA and a transparent background: enabled in the
// text colour; disabled embossed (light edge one pixel right and down, then
// dark edge in place). The text colour and background mode are left changed.
void DrawControlText(HDC dc, const char* text, const RECT& rect, UINT format, bool enabled);

// One row of pixels in the selected pen, from left to right, both included.
void DrawRow(HDC dc, int left, int right, int y);
