#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/spinner.h"
#include "toolkit/window_helpers.h"
#include "toolkit/window_record.h"

namespace {

const UINT kFirstRepeatDelay = 500;  // ms before a held button repeats
const UINT kRepeatInterval = 100;    // ms between repeats after that
const int kDragPixelsPerStep = 5;

void SendToSpinner(HWND window, UINT message, WPARAM wParam) {
    SendMessageA(GetParent(window), message, wParam, 0);
}

void SetPartnerState(const SpinButtonRecord& record, int pressed) {
    if (record.partner) SendMessageA(record.partner, BM_SETSTATE, pressed, 0);
}

POINT ScreenPoint(HWND window, LPARAM lParam) {
    POINT point = PointFromLParam(lParam);
    ClientToScreen(window, &point);
    return point;
}

LRESULT OnSetDirection(SpinButtonRecord& record, WPARAM direction) {
    record.direction = static_cast<int>(direction);
    record.screenBottom = GetSystemMetrics(SM_CYSCREEN) - 1;
    record.stepMessage = direction ? SPM_STEPDOWN : SPM_STEPUP;
    return 1;
}

LRESULT OnCreate(HWND window) {
    SpinButtonRecord* record = CreateWindowRecord<SpinButtonRecord>(window);
    // Without a record the button could not step: refuse the creation.
    if (!record) return -1;
    OnSetDirection(*record, 1);
    return 1;
}

// Steps once at once, then again after half a second and ten times a second.
LRESULT OnLeftButtonDown(HWND window, SpinButtonRecord& record, WPARAM wParam, LPARAM lParam) {
    SendMessageA(GetParent(window), WM_LBUTTONDOWN, wParam, lParam);
    POINT point = ScreenPoint(window, lParam);
    record.lastX = point.x;
    record.lastY = point.y;
    SetCapture(window);
    SendToSpinner(window, record.stepMessage, 1);
    SetTimer(window, kSpinRepeatTimer, kFirstRepeatDelay, nullptr);
    record.pressed = 1;
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

// Stops the repeat and takes the pressed look, and with it the drag, off
// both halves.
void EndPress(HWND window, SpinButtonRecord& record) {
    SetPartnerState(record, 0);
    KillTimer(window, kSpinRepeatTimer);
    record.pressed = 0;
    InvalidateRect(window, nullptr, FALSE);
}

LRESULT OnLeftButtonUp(HWND window, SpinButtonRecord& record) {
    EndPress(window, record);
    ReleaseCapture();
    return 0;
}

// A window that takes the mouse away ends the press as a release would:
// no release comes here any more, so the repeat and the drag would run on.
LRESULT OnCaptureChanged(HWND window, SpinButtonRecord& record, HWND newCapture) {
    if (newCapture != window) EndPress(window, record);
    return 0;
}

LRESULT OnTimer(HWND window, const SpinButtonRecord& record, WPARAM timer) {
    if (timer != kSpinRepeatTimer) return 1;
    KillTimer(window, kSpinRepeatTimer);
    SendToSpinner(window, record.stepMessage, 1);
    SetTimer(window, kSpinRepeatTimer, kRepeatInterval, nullptr);
    return 0;
}

// Dragging up steps up, down steps down, one step per 5 pixels whichever half
// was pressed. At the top or bottom of the screen the cursor jumps to the
// other end, so a drag can go on without end.
LRESULT OnMouseMove(HWND window, SpinButtonRecord& record, LPARAM lParam) {
    if (record.pressed != 1) return 0;
    SetPartnerState(record, 1);
    POINT point = ScreenPoint(window, lParam);
    if (point.y <= 0) {
        SetCursorPos(point.x, record.screenBottom - 1);
        record.lastY = record.screenBottom - 1;
        return 0;
    }
    if (point.y >= record.screenBottom) {
        SetCursorPos(point.x, 1);
        record.lastY = 1;
        return 0;
    }
    if (point.y == record.lastY) return 0;
    // Smaller movements add up: lastY stays until a whole step is reached.
    const int steps = (record.lastY - point.y) / kDragPixelsPerStep;
    if (steps == 0) return 0;
    KillTimer(window, kSpinRepeatTimer);
    if (steps > 0)
        SendToSpinner(window, SPM_STEPUP, steps);
    else
        SendToSpinner(window, SPM_STEPDOWN, -steps);
    record.lastX = point.x;
    record.lastY = point.y;
    return 0;
}

// A right click during a press cancels it and puts the value back; on its
// own it resets the value.
LRESULT OnRightButtonDown(HWND window, SpinButtonRecord& record) {
    SetPartnerState(record, 0);
    if (record.pressed != 1) {
        SendToSpinner(window, SPM_RESET, 0);
        return 0;
    }
    SendMessageA(window, WM_LBUTTONUP, 0, 0);
    SetCapture(window);
    SendToSpinner(window, SPM_RESTORE, 0);
    SetPartnerState(record, 0);
    record.rightCancel = 1;
    return 0;
}

LRESULT OnRightButtonUp(SpinButtonRecord& record) {
    ReleaseCapture();
    if (record.rightCancel) {
        ReleaseCapture();
        record.rightCancel = 0;
    }
    return 0;
}

HPEN SelectNewPen(HDC dc, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    SelectObject(dc, pen);
    return pen;
}

LRESULT OnPaint(HWND window, const SpinButtonRecord& record) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const int w = client.right;
    const int h = client.bottom;
    COLORREF light = ToolkitColour(kLightEdgeColour);
    COLORREF dark = ToolkitColour(kDarkEdgeColour);
    if (record.pressed == 1) {
        COLORREF swap = light;
        light = dark;
        dark = swap;
    }
    FillSolidRect(dc, client, ToolkitColour(kFaceColour));

    HGDIOBJ previousPen = GetCurrentObject(dc, OBJ_PEN);
    HPEN darkPen = SelectNewPen(dc, dark);
    MoveToEx(dc, w - 1, 0, nullptr);
    LineTo(dc, w - 1, h - 1);
    LineTo(dc, 0, h - 1);
    HPEN lightPen = SelectNewPen(dc, light);
    LineTo(dc, 0, 0);
    LineTo(dc, w - 1, 0);
    SetPixel(dc, 0, h - 1, dark);

    const bool enabled = IsWindowEnabled(window) != FALSE;
    HPEN arrowPen = SelectNewPen(dc, ToolkitColour(enabled ? kTextColour : kDarkEdgeColour));
    const bool down = record.direction != 0;
    DrawRow(dc, 3, 7, down ? 3 : 5);
    DrawRow(dc, 4, 6, 4);
    DrawRow(dc, 5, 5, down ? 5 : 3);

    SelectObject(dc, previousPen);
    DeleteObject(darkPen);
    DeleteObject(lightPen);
    DeleteObject(arrowPen);
    EndPaint(window, &paint);
    return 0;
}

}  // namespace

LRESULT CALLBACK SpinButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return OnCreate(window);
    if (message == WM_DESTROY) {
        DestroyWindowRecord(window);
        return 1;
    }
    SpinButtonRecord* record = GetWindowRecord<SpinButtonRecord>(window);
    if (!record) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_ENABLE:
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            return 0;
        case WM_PAINT:
            return OnPaint(window, *record);
        case WM_ERASEBKGND:
            return 1;
        case BM_SETSTATE:
            record->pressed = static_cast<int>(wParam);
            InvalidateRect(window, nullptr, FALSE);
            return 1;
        case SPBM_SETPARTNER:
            record->partner = reinterpret_cast<HWND>(wParam);
            return 1;
        case SPBM_SETDIRECTION:
            return OnSetDirection(*record, wParam);
        case WM_TIMER:
            return OnTimer(window, *record, wParam);
        case WM_MOUSEMOVE:
            return OnMouseMove(window, *record, lParam);
        case WM_LBUTTONDOWN:
            return OnLeftButtonDown(window, *record, wParam, lParam);
        case WM_LBUTTONUP:
            return OnLeftButtonUp(window, *record);
        case WM_CAPTURECHANGED:
            return OnCaptureChanged(window, *record, reinterpret_cast<HWND>(lParam));
        case WM_RBUTTONDOWN:
            return OnRightButtonDown(window, *record);
        case WM_RBUTTONUP:
            return OnRightButtonUp(*record);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
