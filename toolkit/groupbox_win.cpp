#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/fonts.h"
#include "toolkit/groupbox.h"
#include "toolkit/subclass.h"

namespace {

const int kGroupTextLimit = 63;  // 62 characters and the terminating zero

SubclassSlot groupBoxSlot;

LRESULT CALLBACK ForwardToGroupBoxSlot(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallSubclassed(groupBoxSlot, window, message, wParam, lParam);
}

typedef LRESULT(CALLBACK* Forward)(HWND, UINT, WPARAM, LPARAM);

// What the group-box class and the subclass share; forward takes the rest.
LRESULT GroupBoxMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Forward forward) {
    switch (message) {
        case WM_SETTEXT: {
            // The stored text's result is passed on, so SetWindowText reports success.
            LRESULT stored = forward(window, message, wParam, lParam);
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            return stored;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            PaintGroupFrame(window, dc);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        default:
            return forward(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK GroupBoxSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GroupBoxMessage(window, message, wParam, lParam, ForwardToGroupBoxSlot);
}

SIZE MeasureText(HDC dc, const char* text) {
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    return size;
}

}  // namespace

COLORREF GroupTitleColour(COLORREF face) {
    return RGB((GetRValue(face) + 100) % 255, (GetGValue(face) + 90) % 255,
               (GetBValue(face) + 75) % 255);
}

void PaintGroupFrame(HWND window, HDC dc) {
    const COLORREF face = ToolkitColour(kFaceColour);
    const COLORREF light = ToolkitColour(kLightEdgeColour);
    const COLORREF dark = ToolkitColour(kDarkEdgeColour);
    HGDIOBJ previousFont = SelectObject(dc, ControlFont(window));
    char text[kGroupTextLimit] = "";
    GetWindowTextA(window, text, sizeof text);
    SIZE textSize = MeasureText(dc, text);
    // An empty title measures no height; the strip is still cleared, so a
    // title taken away does not stay on screen.
    if (text[0] == '\0') textSize.cy = MeasureText(dc, "X").cy;

    RECT client;
    GetClientRect(window, &client);
    FillSolidRect(dc, client.left + 5, 0, client.right - 5 - (client.left + 5), textSize.cy, face);

    RECT title;
    title.left = client.right / 2 - textSize.cx / 2;
    title.right = title.left + textSize.cx;
    title.top = 0;
    title.bottom = textSize.cy;

    // Etched: a dark ring with a light ring one pixel right and down of it.
    RECT frame = client;
    frame.top += MeasureText(dc, "X").cy / 2;
    Draw3dFrame(dc, frame, face, face);
    frame.right -= 1;
    frame.bottom -= 1;
    Draw3dFrame(dc, frame, dark, dark);
    OffsetRect(&frame, 1, 1);
    Draw3dFrame(dc, frame, light, light);

    // The title's opaque background interrupts the frame line.
    SetBkColor(dc, face);
    SetBkMode(dc, OPAQUE);
    if (text[0] != '\0') {
        SetTextColor(dc, GroupTitleColour(face));
        DrawTextA(dc, text, -1, &title, DT_LEFT | DT_TOP | DT_SINGLELINE);
    }
    SelectObject(dc, previousFont);
}

LRESULT CALLBACK GroupBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GroupBoxMessage(window, message, wParam, lParam, DefWindowProcA);
}

void SubclassGroupBox(HWND groupBox) {
    // A second install would keep our own procedure as the "previous" one and loop.
    if (GetWindowLongPtrA(groupBox, GWLP_WNDPROC) ==
        reinterpret_cast<LONG_PTR>(GroupBoxSubclassProc))
        return;
    InstallSubclass(groupBox, GroupBoxSubclassProc, groupBoxSlot);
}

void UnsubclassGroupBox(HWND groupBox) { RestoreSubclass(groupBox, groupBoxSlot); }
