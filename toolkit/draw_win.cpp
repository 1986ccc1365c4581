#include "toolkit/colours.h"
#include "toolkit/draw.h"

void FillSolidRect(HDC dc, const RECT& rect, COLORREF colour) {
    // An opaque empty text run is the cheapest solid fill: no brush to make.
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void FillSolidRect(HDC dc, int left, int top, int width, int height, COLORREF colour) {
    RECT rect = {left, top, left + width, top + height};
    FillSolidRect(dc, rect, colour);
}

void Draw3dFrame(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    Draw3dFrame(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, topLeft,
                bottomRight);
}

void Draw3dFrame(HDC dc, int left, int top, int width, int height, COLORREF topLeft,
                 COLORREF bottomRight) {
    FillSolidRect(dc, left, top, width - 1, 1, topLeft);
    FillSolidRect(dc, left, top, 1, height - 1, topLeft);
    FillSolidRect(dc, left + width - 1, top, 1, height, bottomRight);
    FillSolidRect(dc, left, top + height - 1, width, 1, bottomRight);
}

void DrawControlText(HDC dc, const char* text, const RECT& rect, UINT format, bool enabled) {
    SetBkMode(dc, TRANSPARENT);
    RECT place = rect;
    if (enabled) {
        SetTextColor(dc, ToolkitColour(kTextColour));
        DrawTextA(dc, text, -1, &place, format);
        return;
    }
    RECT shadow = rect;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, ToolkitColour(kLightEdgeColour));
    DrawTextA(dc, text, -1, &shadow, format);
    SetTextColor(dc, ToolkitColour(kDarkEdgeColour));
    DrawTextA(dc, text, -1, &place, format);
}

void DrawRow(HDC dc, int left, int right, int y) {
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, right + 1, y);
}
