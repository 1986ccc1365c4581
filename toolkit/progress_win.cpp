#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/progress.h"
#include "toolkit/window_record.h"

namespace {

RECT InnerRect(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return RECT{2, 2, client.right - 3, client.bottom - 2};
}

// Length of the bar in pixels: the inner width times the fraction, truncated.
int BarLength(const RECT& inner, float fraction) {
    return static_cast<int>((inner.right - inner.left) * fraction);
}

// The inner rectangle, face-filled, then its left share in the bar colour.
// The pixels between the frame and the inner rectangle stay as they are.
void DrawBar(HWND window, HDC dc, const ProgressRecord& record) {
    RECT inner = InnerRect(window);
    FillSolidRect(dc, inner, ToolkitColour(kFaceColour));
    inner.right = inner.left + BarLength(inner, record.fraction);
    FillSolidRect(dc, inner, record.barColour);
}

LRESULT OnCreate(HWND window) {
    ProgressRecord* record = CreateWindowRecord<ProgressRecord>(window);
    // Without a record the control cannot work: refuse the creation.
    if (!record) return -1;
    record->barColour = kProgressInitialColour;
    record->fraction = 0.0f;
    return 1;
}

LRESULT OnSetColour(HWND window, COLORREF colour) {
    ProgressRecord* record = GetWindowRecord<ProgressRecord>(window);
    if (record) record->barColour = colour;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    return 1;
}

LRESULT OnSetFraction(HWND window, const float* fraction) {
    ProgressRecord* record = GetWindowRecord<ProgressRecord>(window);
    if (!record || !fraction) return 1;
    float value = *fraction;
    if (value > 1.0f) value = 1.0f;
    // Written so that a NaN, which fails every comparison, becomes 0 too.
    if (!(value >= 0.0f)) value = 0.0f;
    const RECT inner = InnerRect(window);
    const bool moved = BarLength(inner, value) != BarLength(inner, record->fraction);
    record->fraction = value;
    // A fraction that leaves the bar's length as it is changes no pixel: a
    // large import sends thousands, and each draw is costly on some displays.
    if (!moved) return 1;
    // Drawn now rather than invalidated: a busy import may not repaint for a while.
    HDC dc = GetDC(window);
    DrawBar(window, dc, *record);
    ReleaseDC(window, dc);
    return 1;
}

// The rightmost column of the client area is left to the parent.
LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    RECT frame = {0, 0, client.right - 1, client.bottom};
    Draw3dFrame(dc, frame, ToolkitColour(kThinFrameTopColour),
                ToolkitColour(kThinFrameBottomColour));
    ProgressRecord* record = GetWindowRecord<ProgressRecord>(window);
    if (record) DrawBar(window, dc, *record);
    EndPaint(window, &paint);
    return 0;
}

}  // namespace

LRESULT CALLBACK ProgressCtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case PGM_SETCOLOR:
            return OnSetColour(window, static_cast<COLORREF>(lParam));
        case PGM_SETFRACTION:
            return OnSetFraction(window, reinterpret_cast<const float*>(lParam));
        case WM_CREATE:
            return OnCreate(window);
        case WM_DESTROY:
            DestroyWindowRecord(window);
            return 1;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            return OnPaint(window);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
