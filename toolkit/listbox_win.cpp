#include "toolkit/class_names.h"
#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/fonts.h"
#include "toolkit/listbox.h"
#include "toolkit/scrollbar.h"
#include "toolkit/subclass.h"
#include "toolkit/window_helpers.h"
#include "toolkit/window_record.h"

namespace {

const DWORD kListStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | LBS_DISABLENOSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
const int kMargin = 2;

SubclassSlot listSlot;

// The list keeps the wheel to itself; the list box scrolls both children
// by it, so it is passed up.
LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEWHEEL) return SendMessageA(GetParent(window), message, wParam, lParam);
    return CallSubclassed(listSlot, window, message, wParam, lParam);
}

int TopIndex(const ListBoxRecord& record) {
    return static_cast<int>(SendMessageA(record.list, LB_GETTOPINDEX, 0, 0));
}

int RowCount(const ListBoxRecord& record) {
    return static_cast<int>(SendMessageA(record.list, LB_GETCOUNT, 0, 0));
}

void SetScrollRange(const ListBoxRecord& record, int maximum) {
    SendMessageA(record.scrollBar, SBX_SETRANGE, MAKEWPARAM(maximum, record.visibleRows), 0);
}

void FollowTopIndex(const ListBoxRecord& record) {
    SendMessageA(record.scrollBar, SBX_SETPOS, TopIndex(record), 0);
}

// The list leaves two pixels at the left, top and bottom for the frames;
// the scroll bar stands beside it, one pixel in from the right edge.
void Layout(ListBoxRecord& record, int width, int height) {
    MoveWindow(record.list, kMargin, kMargin, width - 16, height - 2 * kMargin, TRUE);
    MoveWindow(record.scrollBar, width - 14, kMargin, kScrollArrowSize, height - 2 * kMargin, TRUE);
    record.visibleRows = record.rowHeight > 0 ? (height - 2 * kMargin) / record.rowHeight : 0;
}

void Relayout(HWND window, ListBoxRecord& record) {
    RECT client;
    GetClientRect(window, &client);
    Layout(record, client.right, client.bottom);
    const int hidden = RowCount(record) - record.visibleRows;
    SetScrollRange(record, hidden > 0 ? hidden : 0);
    FollowTopIndex(record);
}

void MeasureRows(ListBoxRecord& record) {
    record.rowHeight = static_cast<int>(SendMessageA(record.list, LB_GETITEMHEIGHT, 0, 0));
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA& create) {
    ListBoxRecord* record = CreateWindowRecord<ListBoxRecord>(window);
    // Without a record the children could not be reached: refuse the creation.
    if (!record) return -1;
    record->list = CreateWindowExA(0, "ListBox", "", kListStyle, 0, 0, 0, 0, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListBoxListId)),
                                   WindowModule(window), nullptr);
    record->scrollBar =
        CreateWindowExA(0, kScrollBarClass, "", WS_CHILD | WS_VISIBLE, 0, 0, kScrollArrowSize,
                        create.cy, window, nullptr, WindowModule(window), nullptr);
    if (!record->list || !record->scrollBar) return -1;
    SendMessageA(record->list, WM_SETFONT, reinterpret_cast<WPARAM>(GetToolkitFont(0)), FALSE);
    MeasureRows(*record);
    Layout(*record, create.cx, create.cy);
    SetScrollRange(*record, 0);
    InstallSubclass(record->list, ListProc, listSlot);
    return 1;
}

LRESULT OnDestroy(HWND window) {
    ListBoxRecord* record = GetWindowRecord<ListBoxRecord>(window);
    if (record) RestoreSubclass(record->list, listSlot);
    DestroyWindowRecord(window);
    return 1;
}

// The window has no border of its own: the two frames are its outermost
// pixels, around the children. The inner frame reaches the right edge, as
// the scroll bar leaves only one pixel there.
void PaintFrames(HWND window) {
    RECT outer;
    GetWindowRect(window, &outer);
    OffsetRect(&outer, -outer.left, -outer.top);
    HDC dc = GetWindowDC(window);
    Draw3dFrame(dc, outer, ToolkitColour(kThinFrameTopColour),
                ToolkitColour(kThinFrameBottomColour));
    RECT inner = outer;
    InflateRect(&inner, -1, -1);
    inner.right += 1;
    Draw3dFrame(dc, inner, RGB(0, 0, 0), ToolkitColour(kFaceColour));
    ReleaseDC(window, dc);
}

// The frames lie inside the client area, so a client repaint draws them
// again too; nothing else of the client shows between the children.
LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    PaintFrames(window);
    return 0;
}

LRESULT OnFont(HWND window, ListBoxRecord& record, WPARAM font, LPARAM redraw) {
    SendMessageA(record.list, WM_SETFONT, font, redraw);
    // The row height follows the font, and with it the rows that fit.
    MeasureRows(record);
    Relayout(window, record);
    return 1;
}

LRESULT OnCommand(const ListBoxRecord& record, WPARAM wParam) {
    if (LOWORD(wParam) == kListBoxListId && HIWORD(wParam) == LBN_SELCHANGE) FollowTopIndex(record);
    return 1;
}

LRESULT OnScroll(const ListBoxRecord& record, WPARAM wParam, LPARAM from) {
    if (reinterpret_cast<HWND>(from) == record.scrollBar)
        SendMessageA(record.list, LB_SETTOPINDEX, HIWORD(wParam), 0);
    return 0;
}

LRESULT OnAddString(const ListBoxRecord& record, LPARAM text) {
    SendMessageA(record.list, LB_ADDSTRING, 0, text);
    const int hidden = RowCount(record) - record.visibleRows;
    if (hidden >= 0) SetScrollRange(record, hidden);
    return 1;
}

LRESULT OnWheel(const ListBoxRecord& record, WPARAM wParam) {
    int top = TopIndex(record) - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    if (top < 0) top = 0;
    SendMessageA(record.list, LB_SETTOPINDEX, top, 0);
    FollowTopIndex(record);
    return 1;
}

}  // namespace

LRESULT CALLBACK ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window, *reinterpret_cast<CREATESTRUCTA*>(lParam));
        case WM_DESTROY:
            return OnDestroy(window);
        case WM_NCPAINT:
            PaintFrames(window);
            return 0;
        case WM_PAINT:
            return OnPaint(window);
        case WM_ERASEBKGND:
            return 1;
        case WM_CTLCOLORLISTBOX:
            return ControlColourReply(reinterpret_cast<HDC>(wParam), kFieldColour);
    }
    ListBoxRecord* record = GetWindowRecord<ListBoxRecord>(window);
    if (!record) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_SIZE:
            Relayout(window, *record);
            return 1;
        case WM_SETFOCUS:
            SetFocus(record->list);
            return 1;
        case WM_SETFONT:
            return OnFont(window, *record, wParam, lParam);
        case WM_COMMAND:
            return OnCommand(*record, wParam);
        case WM_VSCROLL:
            return OnScroll(*record, wParam, lParam);
        case LB_ADDSTRING:
            return OnAddString(*record, lParam);
        case WM_MOUSEWHEEL:
            return OnWheel(*record, wParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
