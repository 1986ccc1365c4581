#include <cstring>

#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/fonts.h"
#include "toolkit/static.h"

namespace {

const int kStaticTextLimit = 1024;  // 1023 characters and the terminating zero

UINT TextFormat(DWORD style, const char* text) {
    UINT format = DT_VCENTER;
    if (style & SS_RIGHT)
        format |= DT_RIGHT;
    else if (style & SS_CENTER)
        format |= DT_CENTER;
    if (!strchr(text, '\n')) format |= DT_SINGLELINE;
    return format;
}

void Redraw(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_INVALIDATE); }

// The label fills its whole area, so it needs no erasing of its own.
LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    char text[kStaticTextLimit] = "";
    GetWindowTextA(window, text, sizeof text);
    HGDIOBJ previousFont = SelectObject(dc, ControlFont(window));
    const UINT format = TextFormat(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), text);
    RECT rect;
    GetClientRect(window, &rect);
    FillSolidRect(dc, rect, ToolkitColour(kFaceColour));
    if (IsWindowEnabled(window)) {
        SetTextColor(dc, ToolkitColour(kTextColour));
        DrawTextA(dc, text, -1, &rect, format);
    } else {
        OffsetRect(&rect, 1, 1);
        SetTextColor(dc, ToolkitColour(kLightEdgeColour));
        DrawTextA(dc, text, -1, &rect, format);
        OffsetRect(&rect, -1, -1);
        SetTextColor(dc, ToolkitColour(kDarkEdgeColour));
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, text, -1, &rect, format);
    }
    SelectObject(dc, previousFont);
    EndPaint(window, &paint);
    return 0;
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT: {
            // The stored text's result is passed on, so SetWindowText reports success.
            LRESULT stored = DefWindowProcA(window, message, wParam, lParam);
            Redraw(window);
            return stored;
        }
        case WM_ENABLE:
            Redraw(window);
            return 0;
        case WM_PAINT:
            return OnPaint(window);
        case WM_ERASEBKGND:
            return 1;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
