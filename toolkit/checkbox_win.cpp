#include <cstring>

#include "toolkit/checkbox.h"
#include "toolkit/press_tracking.h"
#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/fonts.h"
#include "toolkit/inplace_edit.h"
#include "toolkit/window_record.h"

namespace {

const int kBoxSize = 13;
const int kPushLikeTextLimit = 64;  // 63 characters and the terminating zero

DWORD Style(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

bool IsActive(const CheckBoxRecord& record) { return record.pressed || record.checked == 1; }

int FloorHalf(int n) { return n >= 0 ? n / 2 : -((-n + 1) / 2); }

void DrawTick(HDC dc, int left, int top) {
    for (int dy = 0; dy < 3; ++dy) {
        POINT tick[3] = {
            {left + 2, top + 4 + dy}, {left + 4, top + 6 + dy}, {left + 9, top + 1 + dy}};
        Polyline(dc, tick, 3);
    }
}

void DrawBox(HWND window, HDC dc, const CheckBoxRecord& record) {
    RECT client;
    GetClientRect(window, &client);
    RECT box = CheckBoxBoxRect(client, Style(window));
    const bool enabled = IsWindowEnabled(window) != FALSE;
    COLORREF fill = ToolkitColour(enabled ? kFieldColour : kFaceColour);
    if (record.pressed) fill = ToolkitColour(kThinFrameBottomColour);
    FillSolidRect(dc, box, fill);
    Draw3dFrame(dc, box, ToolkitColour(kDarkEdgeColour), ToolkitColour(kLightEdgeColour));
    InflateRect(&box, -1, -1);
    Draw3dFrame(dc, box, RGB(0, 0, 0), ToolkitColour(kFaceColour));
    if (record.checked != 1) return;
    HPEN pen = CreatePen(PS_SOLID, 1, ToolkitColour(enabled ? kTextColour : kDarkEdgeColour));
    HGDIOBJ previousPen = SelectObject(dc, pen);
    DrawTick(dc, box.left, box.top);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
}

// "2n" is written as two to the power n: a 2 with a raised n just right of
// the middle. Disabled, the dark pass lies one pixel up and left of the light one.
void DrawPowerOfTwo(HWND window, HDC dc, RECT rect, bool enabled) {
    RECT client;
    GetClientRect(window, &client);
    SIZE two = {0, 0};
    GetTextExtentPoint32A(dc, "2", 1, &two);
    HDC screen = GetDC(nullptr);
    const bool lowResolution = GetDeviceCaps(screen, LOGPIXELSX) < 120;
    ReleaseDC(nullptr, screen);
    InflateRect(&rect, -1, -1);
    OffsetRect(&rect, client.right / 2 - two.cx - (lowResolution ? 1 : 0), 0);
    RECT raised = rect;
    OffsetRect(&raised, two.cx, -3);
    const UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE;
    const int passes = enabled ? 1 : 2;
    for (int pass = 0; pass < passes; ++pass) {
        const int shift = pass == 0 ? 0 : -1;
        SetTextColor(dc, ToolkitColour(enabled ? kTextColour
                                               : (pass == 0 ? kLightEdgeColour : kDarkEdgeColour)));
        RECT a = rect, b = raised;
        OffsetRect(&a, shift, shift);
        OffsetRect(&b, shift, shift);
        DrawTextA(dc, "2", 1, &a, format);
        DrawTextA(dc, "n", 1, &b, format);
    }
}

void DrawPushLikeText(HWND window, HDC dc, const CheckBoxRecord& record) {
    char text[kPushLikeTextLimit] = "";
    GetWindowTextA(window, text, sizeof text);
    HGDIOBJ previousFont = SelectObject(dc, ControlFont(window));
    SetBkMode(dc, TRANSPARENT);
    RECT rect;
    GetClientRect(window, &rect);
    OffsetRect(&rect, 0, 2);
    if (IsActive(record)) OffsetRect(&rect, 1, 1);
    InflateRect(&rect, -3, 0);
    const bool enabled = IsWindowEnabled(window) != FALSE;
    if (strcmp(text, "2n") == 0) {
        DrawPowerOfTwo(window, dc, rect, enabled);
    } else {
        // BS_CENTER includes the BS_LEFT bit: only a plain BS_LEFT aligns left.
        const bool left = (Style(window) & BS_CENTER) == BS_LEFT;
        DrawControlText(dc, text, rect, (left ? DT_LEFT : DT_CENTER) | DT_VCENTER, enabled);
    }
    SelectObject(dc, previousFont);
}

void DrawPushLike(HWND window, HDC dc, const CheckBoxRecord& record) {
    RECT client;
    GetClientRect(window, &client);
    const bool active = IsActive(record);
    FillSolidRect(dc, client, ToolkitColour(active ? kHotFillColour : kFaceColour));
    const COLORREF light = ToolkitColour(kLightEdgeColour);
    const COLORREF dark = ToolkitColour(kDarkEdgeColour);
    if (active)
        Draw3dFrame(dc, client, dark, light);
    else
        Draw3dFrame(dc, client, light, dark);
    DrawPushLikeText(window, dc, record);
}

// A plain check box is only its box: its label is a control of its own.
LRESULT OnPaint(HWND window, const CheckBoxRecord& record) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (Style(window) & BS_PUSHLIKE)
        DrawPushLike(window, dc, record);
    else
        DrawBox(window, dc, record);
    EndPaint(window, &paint);
    return 0;
}

LRESULT OnSetCheck(HWND window, CheckBoxRecord& record, WPARAM state) {
    if (static_cast<int>(state) == record.checked) return 0;
    record.checked = static_cast<int>(state);
    RedrawNow(window);
    return 0;
}

LRESULT OnButtonDown(HWND window, CheckBoxRecord& record) {
    SetFocus(window);
    record.pressed = 1;
    SetCapture(window);
    RedrawNow(window);
    return 0;
}

// Only a release inside completes the click; the pressed look goes either way.
LRESULT OnButtonUp(HWND window, CheckBoxRecord& record, LPARAM point) {
    ReleaseCapture();
    const bool click = IsInsideClient(window, point);
    if (click) record.checked = record.checked == 1 ? 0 : 1;
    record.pressed = 0;
    RedrawNow(window);
    if (click) {
        SetFocus(window);
        NotifyParent(window, BN_CLICKED);
    }
    return 0;
}

LRESULT OnRightButtonUp(HWND window, WPARAM wParam) {
    HWND parent = GetParent(window);
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(parent, &cursor);
    SendMessageA(parent, WM_RBUTTONUP, wParam, MAKELPARAM(cursor.x, cursor.y));
    return 1;
}

LRESULT OnKeyDown(HWND window, WPARAM key) {
    if (key == VK_F2 && SendMessageA(GetParent(window), CKM_BEGINRENAME, 0, 0))
        StartInplaceEdit(window, kInplaceEditSmallFont);
    return 1;
}

LRESULT OnRenamed(HWND window, const char* text) {
    if (!text) text = "";
    SetWindowTextA(window, text);
    SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), CKN_RENAMED),
                 reinterpret_cast<LPARAM>(text));
    return 1;
}

}  // namespace

RECT CheckBoxBoxRect(const RECT& client, DWORD style) {
    RECT box;
    box.left = (style & BS_LEFTTEXT) ? client.right - kBoxSize : client.left;
    if (style & BS_TOP)
        box.top = client.top + 1;
    else if (style & BS_BOTTOM)
        box.top = client.bottom - 16;
    else
        box.top = FloorHalf(client.bottom - client.top - kBoxSize) - 1;
    if (box.top < client.top) box.top = client.top;
    box.right = box.left + kBoxSize;
    box.bottom = box.top + kBoxSize;
    return box;
}

LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // Without a record the box could keep no state: refuse the creation.
            return CreateWindowRecord<CheckBoxRecord>(window) ? 1 : -1;
        case WM_DESTROY:
            DestroyWindowRecord(window);
            return 1;
        case WM_ENABLE:
            RedrawNow(window);
            return 0;
        case WM_SETTEXT:
            DefWindowProcA(window, message, wParam, lParam);
            RedrawNow(window);
            return 1;
        case WM_ERASEBKGND:
            return 1;
        case WM_RBUTTONUP:
            return OnRightButtonUp(window, wParam);
        case WM_KEYDOWN:
            return OnKeyDown(window, wParam);
        case CKM_BEGINRENAME:
            StartInplaceEdit(window, kInplaceEditSmallFont);
            return 1;
        case WM_COMMAND:
            if (LOWORD(wParam) == CKN_RENAMED)
                return OnRenamed(window, reinterpret_cast<const char*>(lParam));
            return 1;
    }
    CheckBoxRecord* record = GetWindowRecord<CheckBoxRecord>(window);
    if (!record) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            return OnPaint(window, *record);
        case BM_GETCHECK:
            return record->checked;
        case BM_SETCHECK:
            return OnSetCheck(window, *record, wParam);
        case WM_LBUTTONDOWN:
            return OnButtonDown(window, *record);
        case WM_LBUTTONUP:
            return OnButtonUp(window, *record, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
