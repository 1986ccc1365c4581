#include "toolkit/arrow_button.h"
#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/press_tracking.h"
#include "toolkit/window_record.h"

namespace {

LRESULT OnCreate(HWND window, const CREATESTRUCTA& create) {
    ArrowButtonRecord* record = CreateWindowRecord<ArrowButtonRecord>(window);
    // Without a record the button could not track its state: refuse the creation.
    if (!record) return -1;
    const char* text = create.lpszName ? create.lpszName : "";
    record->isUp = lstrcmpiA(text, "UP") == 0;
    record->isThumb = lstrcmpiA(text, "THUMB") == 0;
    return 1;
}

// Five, three and one pixels; the tip points up or down. A pushed arrow sits
// one pixel lower.
void DrawArrow(HWND window, HDC dc, const ArrowButtonRecord& record, const RECT& client) {
    const bool enabled = IsWindowEnabled(window) != FALSE;
    HPEN pen = CreatePen(PS_SOLID, 1, ToolkitColour(enabled ? kTextColour : kDarkEdgeColour));
    HGDIOBJ previousPen = SelectObject(dc, pen);
    const int x0 = client.right / 2 - 2;
    int y0 = (client.bottom - 3) / 2;
    if (record.pressed && record.hover) y0 += 1;
    DrawRow(dc, x0, x0 + 4, record.isUp ? y0 + 2 : y0);
    DrawRow(dc, x0 + 1, x0 + 3, y0 + 1);
    DrawRow(dc, x0 + 2, x0 + 2, record.isUp ? y0 : y0 + 2);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
}

LRESULT OnPaint(HWND window, const ArrowButtonRecord& record) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillSolidRect(dc, client, ToolkitColour(kFaceColour));
    const COLORREF light = ToolkitColour(kLightEdgeColour);
    const COLORREF dark = ToolkitColour(kDarkEdgeColour);
    if (!record.isThumb && LooksPushed(window, record))
        Draw3dFrame(dc, client, dark, light);
    else
        Draw3dFrame(dc, client, light, dark);
    if (!record.isThumb) DrawArrow(window, dc, record, client);
    EndPaint(window, &paint);
    return 0;
}

// The scroll bar moves its thumb itself, so a thumb takes no capture.
LRESULT OnButtonDown(HWND window, ArrowButtonRecord& record) {
    if (!record.isThumb) SetCapture(window);
    BeginPress(window, record);
    return 0;
}

LRESULT OnButtonUp(HWND window, ArrowButtonRecord& record, LPARAM point) {
    if (!record.isThumb) ReleaseCapture();
    EndPress(window, record, point);
    return 0;
}

}  // namespace

LRESULT CALLBACK ArrowButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window, *reinterpret_cast<CREATESTRUCTA*>(lParam));
        case WM_DESTROY:
            DestroyWindowRecord(window);
            return 1;
        case WM_ENABLE:
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            return 0;
        case WM_ERASEBKGND:
            return 1;
    }
    ArrowButtonRecord* record = GetWindowRecord<ArrowButtonRecord>(window);
    if (!record) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            return OnPaint(window, *record);
        case BM_GETSTATE:
            return LooksPushed(window, *record) ? BST_PUSHED : 0;
        case WM_MOUSEMOVE:
            return TrackHover(window, *record, lParam);
        case WM_LBUTTONDOWN:
            return OnButtonDown(window, *record);
        case WM_LBUTTONUP:
            return OnButtonUp(window, *record, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
