#include "toolkit/button.h"
#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/fonts.h"
#include "toolkit/press_tracking.h"
#include "toolkit/window_record.h"

namespace {

const int kButtonTextLimit = 128;  // 127 characters and the terminating zero

LRESULT OnCreate(HWND window) {
    // Without a record the button could not track its state: refuse the creation.
    return CreateWindowRecord<ButtonRecord>(window) ? 1 : -1;
}

LRESULT OnEraseBackground(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    FillSolidRect(dc, client, ToolkitColour(kFaceColour));
    return 1;
}

// The face is filled by WM_ERASEBKGND; the text stays put when pushed.
LRESULT OnPaint(HWND window, const ButtonRecord& record) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT rect;
    GetClientRect(window, &rect);
    HGDIOBJ previousFont = SelectObject(dc, ControlFont(window));
    COLORREF light = ToolkitColour(kLightEdgeColour);
    COLORREF dark = ToolkitColour(kDarkEdgeColour);
    if (LooksPushed(window, record))
        Draw3dFrame(dc, rect, dark, light);
    else
        Draw3dFrame(dc, rect, light, dark);
    InflateRect(&rect, -1, -3);
    char text[kButtonTextLimit] = "";
    GetWindowTextA(window, text, sizeof text);
    DrawControlText(dc, text, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                    IsWindowEnabled(window) != FALSE);
    SelectObject(dc, previousFont);
    EndPaint(window, &paint);
    return 0;
}

LRESULT OnButtonDown(HWND window, ButtonRecord& record) {
    SetFocus(window);
    SetCapture(window);
    BeginPress(window, record);
    return 0;
}

LRESULT OnButtonUp(HWND window, ButtonRecord& record, LPARAM point) {
    ReleaseCapture();
    EndPress(window, record, point);
    return 0;
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ButtonRecord* record = GetWindowRecord<ButtonRecord>(window);
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_DESTROY:
            DestroyWindowRecord(window);
            return 1;
        case WM_ENABLE:
            RedrawNow(window);
            return 0;
        case WM_ERASEBKGND:
            return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
    }
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
