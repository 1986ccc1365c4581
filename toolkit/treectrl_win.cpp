#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/subclass.h"
#include "toolkit/treectrl.h"
#include "toolkit/view_common.h"
#include "toolkit/window_helpers.h"
#include "toolkit/window_record.h"

namespace {

// Child, visible, tab stop, buttons, lines, lines at root, selection always shown.
const DWORD kTreeChildStyle = 0x50010027;
// The child is this much wider than its content or the view.
const int kTreeSlack = 40;

SubclassSlot treeChildSlot;

// The rectangle of an item's text, or of its whole row, in the tree's
// coordinates; false while a collapsed branch hides the item.
bool ItemRect(HWND tree, HTREEITEM item, BOOL textOnly, RECT* rect) {
    if (!item) return false;
    // The message takes the item in the rectangle's first bytes.
    std::memcpy(rect, &item, sizeof(item));
    return SendMessageA(tree, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(rect)) != 0;
}

SIZE ClientSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

// Width to the largest right edge of a shown item, height its rows.
SIZE MeasureContent(HWND tree, int rowHeight) {
    SIZE extent = {0, 0};
    int rows = 0;
    const int scrolledBy = GetScrollPos(tree, SB_HORZ);
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    while (item) {
        RECT rect;
        if (ItemRect(tree, item, TRUE, &rect))
            extent.cx = std::max<LONG>(extent.cx, rect.right + scrolledBy);
        ++rows;
        item = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)));
    }
    extent.cy = rows * rowHeight;
    return extent;
}

// An offset that keeps the content's far edge at or beyond the view's.
int ClampOffset(int offset, int viewSize, int contentSize) {
    const int lowest = std::min(0, viewSize - contentSize);
    return std::max(lowest, std::min(0, offset));
}

// The part of a move along one axis that the content can follow.
int AxisMove(int move, int offset, int viewSize, int contentSize) {
    if (contentSize <= viewSize) return 0;
    return ClampOffset(offset + move, viewSize, contentSize) - offset;
}

// How far to move a span [low, high) so it shows in [0, size); its start
// wins when it cannot show whole.
int MoveToShow(int low, int high, int size) {
    if (low < 0) return -low;
    if (high > size) return std::max(size - high, -low);
    return 0;
}

void LayOut(HWND view, TreeCtrlRecord& record) {
    const SIZE viewSize = ClientSize(view);
    const int itemHeight = static_cast<int>(SendMessageA(record.tree, TVM_GETITEMHEIGHT, 0, 0));
    if (itemHeight > 0) record.rowHeight = itemHeight;
    record.rowsInView = viewSize.cy / record.rowHeight;
    record.content = MeasureContent(record.tree, record.rowHeight);
    record.pannable = record.content.cx > viewSize.cx || record.content.cy > viewSize.cy;
    record.width = std::max(record.content.cx, viewSize.cx) + kTreeSlack;
    record.height = std::max(record.content.cy, viewSize.cy);
    // Content that shrank must not stay where it leaves empty space.
    record.offsetX = ClampOffset(record.offsetX, viewSize.cx, record.content.cx);
    record.offsetY = ClampOffset(record.offsetY, viewSize.cy, record.content.cy);
    MoveWindow(record.tree, record.offsetX, record.offsetY, record.width, record.height, TRUE);
    // The child now shows all of its items: none may stay scrolled out of it.
    SendMessageA(record.tree, WM_VSCROLL, SB_TOP, 0);
    SendMessageA(record.tree, WM_HSCROLL, SB_LEFT, 0);
}

void PanBy(HWND view, TreeCtrlRecord& record, int dx, int dy) {
    const SIZE viewSize = ClientSize(view);
    dx = AxisMove(dx, record.offsetX, viewSize.cx, record.content.cx);
    dy = AxisMove(dy, record.offsetY, viewSize.cy, record.content.cy);
    if (dx == 0 && dy == 0) return;
    record.offsetX += dx;
    record.offsetY += dy;
    ScrollWindowEx(view, dx, dy, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

void BringIntoView(HWND view, TreeCtrlRecord& record, HTREEITEM item) {
    // The row's own bottom is one short of the next row's top on some systems.
    RECT text, row;
    if (!ItemRect(record.tree, item, TRUE, &text) || !ItemRect(record.tree, item, FALSE, &row))
        return;
    const SIZE viewSize = ClientSize(view);
    PanBy(view, record,
          MoveToShow(text.left + record.offsetX, text.right + record.offsetX, viewSize.cx),
          MoveToShow(row.top + record.offsetY, row.top + record.offsetY + record.rowHeight,
                     viewSize.cy));
}

LRESULT CALLBACK TreeChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND view = GetParent(window);
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window, &client);
            FillSolidRect(reinterpret_cast<HDC>(wParam), client, ToolkitColour(kFieldColour));
            return 1;
        }
        case WM_MOUSEWHEEL:
            return SendMessageA(view, message, wParam, lParam);
        case WM_LBUTTONDOWN:
            if (wParam & MK_CONTROL)
                return SendMessageA(view, message, wParam, MapMousePoint(window, view, lParam));
            break;
        case WM_MBUTTONDOWN:
            SendMessageA(view, TRM_BEGINPAN, 0, lParam);
            return 0;
    }
    return CallSubclassed(treeChildSlot, window, message, wParam, lParam);
}

LRESULT OnCreate(HWND view) {
    TreeCtrlRecord* record = CreateWindowRecord<TreeCtrlRecord>(view);
    // Without a record the control cannot work: refuse the creation.
    if (!record) return -1;
    record->rowsInView = 8;
    record->rowHeight = 8;
    // The host has normally loaded the common controls; a plug-in cannot count on it.
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    const SIZE viewSize = ClientSize(view);
    record->tree =
        CreateWindowExA(0, WC_TREEVIEWA, "", kTreeChildStyle, 0, 0, viewSize.cx + kTreeSlack,
                        viewSize.cy, view, nullptr, WindowModule(view), nullptr);
    if (!record->tree) return -1;
    InstallSubclass(record->tree, TreeChildProc, treeChildSlot);
    SendMessageA(record->tree, TVM_SETTEXTCOLOR, 0, ToolkitColour(kTextColour));
    SendMessageA(record->tree, TVM_SETBKCOLOR, 0, ToolkitColour(kFieldColour));
    record->grabCursor = CreateGrabCursor();
    LayOut(view, *record);
    return 0;
}

LRESULT OnDestroy(HWND view, TreeCtrlRecord& record) {
    if (record.panning) ReleaseCapture();
    ReleaseGrabCursor(record.grabCursor);
    DestroyWindowRecord(view);
    return 1;
}

LRESULT PassToTree(const TreeCtrlRecord& record, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(record.tree, message, wParam, lParam);
}

// Passed on, then laid out again: expansion by message sends no notification,
// and a new font changes the rows.
LRESULT PassToTreeAndLayOut(HWND view, TreeCtrlRecord& record, UINT message, WPARAM wParam,
                            LPARAM lParam) {
    LRESULT result = SendMessageA(record.tree, message, wParam, lParam);
    LayOut(view, record);
    return result;
}

LRESULT OnInsertItem(HWND view, TreeCtrlRecord& record, LPARAM insert) {
    LRESULT item = SendMessageA(record.tree, TVM_INSERTITEMA, 0, insert);
    // An item under a collapsed parent changes nothing on screen: its layout
    // waits for the expansion, so filling a closed branch stays cheap.
    RECT rect;
    if (ItemRect(record.tree, reinterpret_cast<HTREEITEM>(item), TRUE, &rect)) LayOut(view, record);
    return item;
}

// The system draws a selection that lacks the focus in its own light colours,
// which the host's light text cannot be read on: the hot colours instead.
LRESULT OnCustomDraw(NMTVCUSTOMDRAW* draw) {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && (draw->nmcd.uItemState & CDIS_SELECTED)) {
        draw->clrText = ToolkitColour(kHotTextColour);
        draw->clrTextBk = ToolkitColour(kHotFillColour);
    }
    return CDRF_DODEFAULT;
}

LRESULT OnNotify(HWND view, TreeCtrlRecord& record, NMHDR* header) {
    if (!header || header->hwndFrom != record.tree) return 0;
    switch (header->code) {
        case TVN_ITEMEXPANDEDA:
            LayOut(view, record);
            return 0;
        case TVN_SELCHANGEDA:
            BringIntoView(view, record, reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.hItem);
            return ForwardNotification(view, header);
        case TVN_ITEMEXPANDINGA:
        case TVN_BEGINDRAGA:
            return ForwardNotification(view, header);
        case NM_CUSTOMDRAW:
            return OnCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW*>(header));
        default:
            return 0;
    }
}

LRESULT OnWheel(HWND view, TreeCtrlRecord& record, WPARAM wParam) {
    if (record.pannable)
        PanBy(view, record, 0, GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * record.rowHeight);
    return 0;
}

LRESULT OnBeginPan(HWND view, TreeCtrlRecord& record, LPARAM childPoint) {
    record.startX = record.offsetX;
    record.startY = record.offsetY;
    POINT point = PointFromLParam(childPoint);
    point.x += record.offsetX;
    point.y += record.offsetY;
    ClientToScreen(view, &point);
    record.panPoint = point;
    SetCursor(record.grabCursor);
    record.panning = 1;
    SetCapture(view);
    return 0;
}

LRESULT OnMouseMove(HWND view, TreeCtrlRecord& record, LPARAM lParam) {
    if (!record.panning) return 0;
    POINT point = PointFromLParam(lParam);
    ClientToScreen(view, &point);
    PanBy(view, record, point.x - record.panPoint.x, point.y - record.panPoint.y);
    record.panPoint = point;
    record.panPoint.y += WrapPanCursor(point);
    return 0;
}

LRESULT OnEndPan(TreeCtrlRecord& record) {
    if (!record.panning) return 0;
    record.panning = 0;
    ReleaseCapture();
    return 0;
}

// The right button while panning takes the pan back.
LRESULT OnRightButtonDown(HWND view, TreeCtrlRecord& record, WPARAM wParam, LPARAM lParam) {
    if (!record.panning) return DefWindowProcA(view, WM_RBUTTONDOWN, wParam, lParam);
    OnEndPan(record);
    PanBy(view, record, record.startX - record.offsetX, record.startY - record.offsetY);
    return 0;
}

LRESULT OnLeftButtonDown(HWND view, WPARAM wParam, LPARAM lParam) {
    if (!(wParam & MK_CONTROL)) return DefWindowProcA(view, WM_LBUTTONDOWN, wParam, lParam);
    HWND parent = GetParent(view);
    return SendMessageA(parent, WM_LBUTTONDOWN, wParam, MapMousePoint(view, parent, lParam));
}

// Another window took the mouse: the pan is over without a release.
LRESULT OnCaptureChanged(HWND view, TreeCtrlRecord& record, HWND newCapture) {
    if (newCapture != view) record.panning = 0;
    return 0;
}

}  // namespace

LRESULT CALLBACK TreeCtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return OnCreate(window);
    TreeCtrlRecord* record = GetWindowRecord<TreeCtrlRecord>(window);
    if (!record) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_DESTROY:
            return OnDestroy(window, *record);
        case WM_SIZE:
            LayOut(window, *record);
            return 0;
        case WM_SETFOCUS:
            SetFocus(record->tree);
            return 0;
        case WM_GETFONT:
        case TVM_GETITEMRECT:
        case TVM_GETIMAGELIST:
        case TVM_SETIMAGELIST:
        case TVM_GETNEXTITEM:
        case TVM_SELECTITEM:
        case TVM_GETITEMA:
        case TVM_SETITEMA:
        case TVM_CREATEDRAGIMAGE:
        case TVM_ENSUREVISIBLE:
        case TVM_GETITEMHEIGHT:
            return PassToTree(*record, message, wParam, lParam);
        case WM_SETFONT:
        case TVM_EXPAND:
        case TVM_DELETEITEM:
            return PassToTreeAndLayOut(window, *record, message, wParam, lParam);
        case TVM_INSERTITEMA:
            return OnInsertItem(window, *record, lParam);
        case WM_NOTIFY:
            return OnNotify(window, *record, reinterpret_cast<NMHDR*>(lParam));
        case WM_NCPAINT:
            DrawViewBorder(window);
            return 0;
        case WM_MOUSEWHEEL:
            return OnWheel(window, *record, wParam);
        case TRM_ISPANNABLE:
            return record->pannable;
        case TRM_BEGINPAN:
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
        case WM_LBUTTONDOWN:
            return OnLeftButtonDown(window, wParam, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
