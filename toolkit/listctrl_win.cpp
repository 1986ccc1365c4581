#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>

#include <algorithm>

#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/fonts.h"
#include "toolkit/listctrl.h"
#include "toolkit/subclass.h"
#include "toolkit/view_common.h"
#include "toolkit/window_helpers.h"
#include "toolkit/window_record.h"

namespace {

// The list is this much wider than the view, so its vertical scroll bar lies outside.
const int kListSlack = 40;
// The wheel does nothing over the first rows of the view: the header's.
const int kHeaderHeight = 17;
// Until there is a row to measure.
const int kDefaultRowHeight = 16;
const int kTextInsetLeft = 6;
const int kTextInsetRight = 3;

SubclassSlot listChildSlot;
SubclassSlot headerSlot;

int MeasureRowHeight(ListCtrlRecord& record) {
    RECT row = {LVIR_BOUNDS, 0, 0, 0};
    if (SendMessageA(record.list, LVM_GETITEMCOUNT, 0, 0) > 0 &&
        SendMessageA(record.list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)) &&
        row.bottom > row.top)
        record.rowHeight = row.bottom - row.top;
    return record.rowHeight;
}

int TopRow(const ListCtrlRecord& record) {
    return static_cast<int>(SendMessageA(record.list, LVM_GETTOPINDEX, 0, 0));
}

bool ScrollRows(const ListCtrlRecord& record, int rows) {
    return SendMessageA(record.list, LVM_SCROLL, 0, rows * record.rowHeight) != 0;
}

void PaintHeaderColumn(HDC dc, HWND header, int index, bool buttons) {
    RECT rect;
    if (!SendMessageA(header, HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect))) return;
    FillSolidRect(dc, rect, ToolkitColour(kFaceColour));
    // The header takes no clicks, so a column is never shown pressed.
    Draw3dFrame(dc, rect, ToolkitColour(buttons ? kThinFrameBottomColour : kFaceColour),
                ToolkitColour(kThinFrameTopColour));
    char text[260] = "";
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(header, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    RECT textRect = {rect.left + kTextInsetLeft, rect.top, rect.right - kTextInsetRight,
                     rect.bottom};
    DrawTextA(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

LRESULT OnHeaderPaint(HWND header) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(header, &paint);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(header, WM_GETFONT, 0, 0));
    HGDIOBJ previousFont = SelectObject(dc, font ? font : GetToolkitFont(0));
    SetTextColor(dc, ToolkitColour(kTextColour));
    SetBkMode(dc, TRANSPARENT);
    const bool buttons = (GetWindowLongA(header, GWL_STYLE) & HDS_BUTTONS) != 0;
    const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    RECT client;
    GetClientRect(header, &client);
    LONG right = 0;
    for (int i = 0; i < count; ++i) {
        PaintHeaderColumn(dc, header, i, buttons);
        RECT rect;
        if (SendMessageA(header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect)))
            right = std::max(right, rect.right);
    }
    // Beyond the last column: plain face, no column frame.
    if (right < client.right)
        FillSolidRect(dc, right, 0, client.right - right, client.bottom,
                      ToolkitColour(kFaceColour));
    SelectObject(dc, previousFont);
    EndPaint(header, &paint);
    return 0;
}

// The header swallows clicks: no sorting notifications, no resizing by mouse.
LRESULT CALLBACK HeaderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            return OnHeaderPaint(window);
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return 0;
        case WM_SETCURSOR:
            // No sizing cursor over the dividers, since they cannot be dragged.
            return DefWindowProcA(window, message, wParam, lParam);
        default:
            return CallSubclassed(headerSlot, window, message, wParam, lParam);
    }
}

// The list would take the wheel and ignore the middle button itself; both
// belong to the view, which scrolls and pans.
LRESULT CALLBACK ListChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND view = GetParent(window);
    switch (message) {
        case WM_MOUSEWHEEL:
            return SendMessageA(view, message, wParam, lParam);
        case WM_MBUTTONDOWN:
            return SendMessageA(view, message, wParam, MapMousePoint(window, view, lParam));
        default:
            return CallSubclassed(listChildSlot, window, message, wParam, lParam);
    }
}

LRESULT OnCreate(HWND view) {
    ListCtrlRecord* record = CreateWindowRecord<ListCtrlRecord>(view);
    // Without a record the control cannot work: refuse the creation.
    if (!record) return -1;
    record->rowHeight = kDefaultRowHeight;
    // The host has normally loaded the common controls; a plug-in cannot count on it.
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    RECT client;
    GetClientRect(view, &client);
    record->width = client.right + kListSlack;
    record->height = client.bottom;
    // Only the list's own style bits: border and state belong to the view.
    const DWORD style =
        LOWORD(GetWindowLongA(view, GWL_STYLE)) | WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT;
    record->list = CreateWindowExA(0, WC_LISTVIEWA, "", style, 0, 0, record->width, record->height,
                                   view, nullptr, WindowModule(view), nullptr);
    if (!record->list) return -1;
    SendMessageA(record->list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    SendMessageA(record->list, LVM_SETBKCOLOR, 0, ToolkitColour(kFieldColour));
    SendMessageA(record->list, LVM_SETTEXTBKCOLOR, 0, ToolkitColour(kFieldColour));
    SendMessageA(record->list, LVM_SETTEXTCOLOR, 0, ToolkitColour(kTextColour));
    // A parent without a font of its own gets the toolkit's, not the system font.
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(GetParent(view), WM_GETFONT, 0, 0));
    SendMessageA(record->list, WM_SETFONT,
                 reinterpret_cast<WPARAM>(font ? font : GetToolkitFont(0)), FALSE);
    HWND header = reinterpret_cast<HWND>(SendMessageA(record->list, LVM_GETHEADER, 0, 0));
    if (header) InstallSubclass(header, HeaderProc, headerSlot);
    InstallSubclass(record->list, ListChildProc, listChildSlot);
    return 0;
}

LRESULT OnDestroy(HWND view, const ListCtrlRecord& record) {
    if (record.panning) ReleaseCapture();
    DestroyWindowRecord(view);
    return 1;
}

LRESULT OnSize(ListCtrlRecord& record, LPARAM size) {
    record.width = LOWORD(size) + kListSlack;
    record.height = HIWORD(size);
    MoveWindow(record.list, 0, 0, record.width, record.height, TRUE);
    return 0;
}

LRESULT OnEraseBackground(HWND view, HDC dc) {
    RECT client;
    GetClientRect(view, &client);
    FillSolidRect(dc, client, ToolkitColour(kFieldColour));
    return 1;
}

LRESULT OnNotify(HWND view, const ListCtrlRecord& record, NMHDR* header) {
    if (!header || header->hwndFrom != record.list || header->code != LVN_ITEMCHANGED) return 0;
    return ForwardNotification(view, header);
}

LRESULT OnBeginPan(HWND view, ListCtrlRecord& record, LPARAM lParam) {
    POINT point = PointFromLParam(lParam);
    ClientToScreen(view, &point);
    record.panStart = point;
    record.startTop = TopRow(record);
    MeasureRowHeight(record);
    record.panning = 1;
    SetCapture(view);
    return 0;
}

// Whole rows follow the cursor; what is left of a row waits for the next move.
LRESULT OnMouseMove(HWND view, ListCtrlRecord& record, LPARAM lParam) {
    if (!record.panning) return 0;
    POINT point = PointFromLParam(lParam);
    ClientToScreen(view, &point);
    const int rows = (point.y - record.panStart.y) / record.rowHeight;
    if (rows != 0 && ScrollRows(record, -rows)) record.panStart = point;
    record.panStart.y += WrapPanCursor(point);
    return 0;
}

LRESULT OnEndPan(ListCtrlRecord& record) {
    if (!record.panning) return 0;
    record.panning = 0;
    ReleaseCapture();
    return 0;
}

// The right button while panning takes the pan back.
LRESULT OnRightButtonDown(HWND view, ListCtrlRecord& record, WPARAM wParam, LPARAM lParam) {
    if (!record.panning) return DefWindowProcA(view, WM_RBUTTONDOWN, wParam, lParam);
    OnEndPan(record);
    ScrollRows(record, record.startTop - TopRow(record));
    return 0;
}

// Another window took the mouse: the pan is over without a release.
LRESULT OnCaptureChanged(HWND view, ListCtrlRecord& record, HWND newCapture) {
    if (newCapture != view) record.panning = 0;
    return 0;
}

LRESULT OnWheel(HWND view, ListCtrlRecord& record, WPARAM wParam, LPARAM lParam) {
    POINT point = PointFromLParam(lParam);
    ScreenToClient(view, &point);
    if (point.y < kHeaderHeight) return 0;
    MeasureRowHeight(record);
    const int rows = GET_WHEEL_DELTA_WPARAM(wParam) / -WHEEL_DELTA;
    if (rows != 0) ScrollRows(record, rows);
    return 0;
}

}  // namespace

LRESULT CALLBACK ListCtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return OnCreate(window);
    ListCtrlRecord* record = GetWindowRecord<ListCtrlRecord>(window);
    if (!record) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_DESTROY:
            return OnDestroy(window, *record);
        case WM_SIZE:
            return OnSize(*record, lParam);
        case WM_SETFOCUS:
            SetFocus(record->list);
            return 0;
        case WM_ERASEBKGND:
            return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
        case WM_NCPAINT:
            DrawViewBorder(window);
            return 0;
        case WM_NOTIFY:
            return OnNotify(window, *record, reinterpret_cast<NMHDR*>(lParam));
        case LVM_SETBKCOLOR:
        case LVM_GETITEMCOUNT:
        case LVM_SETITEMA:
        case LVM_INSERTITEMA:
        case LVM_GETITEMRECT:
        case LVM_SCROLL:
        case LVM_INSERTCOLUMNA:
        case LVM_GETHEADER:
        case LVM_SETTEXTCOLOR:
        case LVM_SETTEXTBKCOLOR:
        case LVM_GETTOPINDEX:
        case LVM_SETITEMSTATE:
        case LVM_GETITEMSTATE:
        case LVM_GETITEMTEXTA:
        case LVM_SETEXTENDEDLISTVIEWSTYLE:
            return SendMessageA(record->list, message, wParam, lParam);
        case WM_MBUTTONDOWN:
            return OnBeginPan(window, *record, lParam);
        case WM_MOUSEMOVE:
            return OnMouseMove(window, *record, lParam);
        case WM_MBUTTONUP:
        case WM_CANCELMODE:
            return OnEndPan(*record);
        case WM_CAPTURECHANGED:
            return OnCaptureChanged(window, *record, reinterpret_cast<HWND>(lParam));
        case WM_RBUTTONDOWN:
            return OnRightButtonDown(window, *record, wParam, lParam);
        case WM_MOUSEWHEEL:
            return OnWheel(window, *record, wParam, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
