#include <algorithm>
#include <cstdlib>

#include "toolkit/class_names.h"
#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/fonts.h"
#include "toolkit/menu.h"
#include "toolkit/opacity.h"
#include "toolkit/window_helpers.h"
#include "toolkit/window_record.h"

ksMenuData::ksMenuData(UINT command, const char* text) : command(command), itemRect() {
    lstrcpynA(label, text ? text : "", kMenuLabelSize);
}

namespace {

const int kSeparatorHeight = 1;
const COLORREF kBlack = RGB(0, 0, 0);

void DeleteEntries(ksMenuData* const* entries, int count) {
    for (int i = 0; i < count; ++i) delete entries[i];
}

RECT OwnerRect(const MenuRecord& record) {
    RECT rect = {};
    GetWindowRect(record.owner, &rect);
    return rect;
}

bool HasTitle(const MenuRecord& record) { return record.title[0] != '\0'; }

int MenuWidth(const MenuRecord& record) { return record.textWidth + 2 * record.margin; }

int FirstRowTop(const MenuRecord& record) {
    return HasTitle(record) ? record.rowHeight + record.separatorHeight + 1 : 1;
}

SIZE TextSize(HDC dc, const char* text) {
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    return size;
}

// The owner is the window given at creation, which for a pop-up may be a
// child (a combo box) where GetParent would answer its top-level window.
bool CopyDescription(HWND owner, MenuRecord& record, const MenuDescription& description) {
    const int count = description.entryCount > 0 ? description.entryCount : 0;
    record.items = static_cast<ksMenuData**>(calloc(count ? count : 1, sizeof(ksMenuData*)));
    if (!record.items) return false;
    for (int i = 0; i < count; ++i) record.items[i] = description.entries[i];
    record.itemCount = count;
    record.hot = -1;
    record.placement = description.placement;
    record.margin = record.placement == kMenuBelowOwner ? 4 : 8;
    record.separatorHeight = kSeparatorHeight;
    record.font = description.font ? description.font : GetToolkitFont(0);
    lstrcpynA(record.title, description.title ? description.title : "", kMenuLabelSize);
    record.translucent = description.translucent;
    record.opacity = description.opacityPercent;
    record.owner = owner;
    POINT origin = description.origin;
    const RECT ownerRect = OwnerRect(record);
    if (record.placement == kMenuBelowOwner) origin = POINT{ownerRect.left, ownerRect.bottom - 1};
    if (record.placement == kMenuAtCursor) GetCursorPos(&origin);
    record.x = origin.x;
    record.y = origin.y;
    return true;
}

void MeasureTexts(HWND window, MenuRecord& record) {
    HDC dc = GetDC(window);
    HGDIOBJ previousFont = SelectObject(dc, record.font);
    record.rowHeight = TextSize(dc, "\xD6g").cy + 2;
    int width = 0;
    if (record.placement == kMenuBelowOwner) {
        const RECT owner = OwnerRect(record);
        width = owner.right - owner.left - 2 * record.margin - 1;
    }
    if (HasTitle(record))
        width = std::max(width, static_cast<int>(TextSize(dc, record.title).cx) + 1);
    for (int i = 0; i < record.itemCount; ++i) {
        if (record.items[i])
            width = std::max(width, static_cast<int>(TextSize(dc, record.items[i]->label).cx) + 1);
    }
    record.textWidth = width;
    SelectObject(dc, previousFont);
    ReleaseDC(window, dc);
}

void PlaceItems(MenuRecord& record) {
    int top = FirstRowTop(record);
    for (int i = 0; i < record.itemCount; ++i) {
        ksMenuData* item = record.items[i];
        if (!item) {
            top += record.separatorHeight;
            continue;
        }
        item->itemRect = RECT{1, top, MenuWidth(record) - 1, top + record.rowHeight};
        top += record.rowHeight;
    }
    record.totalHeight = top - 1;
}

// Near the bottom a list below its owner opens above it instead, its last
// row meeting the owner's top as its first row meets the owner's bottom.
void KeepOnScreen(MenuRecord& record) {
    if (record.x + MenuWidth(record) > GetSystemMetrics(SM_CXSCREEN)) record.x -= MenuWidth(record);
    if (record.y + record.totalHeight + 2 <= GetSystemMetrics(SM_CYSCREEN)) return;
    record.y -= record.totalHeight + 2;
    if (record.placement == kMenuBelowOwner) {
        const RECT owner = OwnerRect(record);
        record.y -= owner.bottom - owner.top - 2;
    }
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA& create) {
    const MenuDescription* description = static_cast<const MenuDescription*>(create.lpCreateParams);
    if (!description) return -1;
    MenuRecord* record = CreateWindowRecord<MenuRecord>(window);
    if (!record || !CopyDescription(create.hwndParent, *record, *description)) {
        DeleteEntries(description->entries, description->entryCount);
        return -1;
    }
    MeasureTexts(window, *record);
    PlaceItems(*record);
    KeepOnScreen(*record);
    if (record->translucent) SetWindowOpacity(window, record->opacity);
    SetWindowPos(window, nullptr, record->x, record->y, MenuWidth(*record), record->totalHeight + 2,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
    SetCapture(window);
    return 1;
}

LRESULT OnDestroy(HWND window) {
    if (GetCapture() == window) ReleaseCapture();
    MenuRecord* record = GetWindowRecord<MenuRecord>(window);
    if (record) {
        DeleteEntries(record->items, record->itemCount);
        free(record->items);
    }
    DestroyWindowRecord(window);
    return 1;
}

// A drop-down list sits on the field colour; other menus on the face
// colour darkened by 10 (each component wraps at 256).
COLORREF BackgroundColour(const MenuRecord& record) {
    if (record.placement == kMenuBelowOwner) return ToolkitColour(kFieldColour);
    const COLORREF face = ToolkitColour(kFaceColour);
    return RGB((GetRValue(face) - 10) & 0xFF, (GetGValue(face) - 10) & 0xFF,
               (GetBValue(face) - 10) & 0xFF);
}

// The title's underline and the separators run from frame to frame.
void DrawStrip(HDC dc, const MenuRecord& record, int top) {
    FillSolidRect(dc, 1, top, MenuWidth(record) - 2, 1, ToolkitColour(kDarkEdgeColour));
}

void DrawItem(HDC dc, const MenuRecord& record, int index) {
    const ksMenuData& item = *record.items[index];
    const bool hot = index == record.hot;
    if (hot) FillSolidRect(dc, item.itemRect, ToolkitColour(kHotFillColour));
    SetTextColor(dc, ToolkitColour(hot ? kHotTextColour : kTextColour));
    TextOutA(dc, record.margin, item.itemRect.top + 1, item.label, lstrlenA(item.label));
}

LRESULT OnPaint(HWND window, const MenuRecord& record) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillSolidRect(dc, client, BackgroundColour(record));
    Draw3dFrame(dc, client, kBlack, kBlack);
    HGDIOBJ previousFont = SelectObject(dc, record.font);
    SetBkMode(dc, TRANSPARENT);
    if (HasTitle(record)) {
        SetTextColor(dc, ToolkitColour(kTextColour));
        TextOutA(dc, record.margin, 2, record.title, lstrlenA(record.title));
        DrawStrip(dc, record, 1 + record.rowHeight);
    }
    int top = FirstRowTop(record);
    for (int i = 0; i < record.itemCount; ++i) {
        if (!record.items[i]) {
            DrawStrip(dc, record, top);
            top += record.separatorHeight;
            continue;
        }
        DrawItem(dc, record, i);
        top = record.items[i]->itemRect.bottom;
    }
    SelectObject(dc, previousFont);
    EndPaint(window, &paint);
    return 0;
}

bool InsideLessOnePixel(HWND window, POINT point) {
    RECT client;
    GetClientRect(window, &client);
    InflateRect(&client, -1, -1);
    return PtInRect(&client, point) != FALSE;
}

// The item under a point of the client area, -1 for none (separators never).
int ItemAt(HWND window, const MenuRecord& record, LPARAM lParam) {
    const POINT point = PointFromLParam(lParam);
    if (!InsideLessOnePixel(window, point)) return -1;
    for (int i = 0; i < record.itemCount; ++i) {
        if (record.items[i] && PtInRect(&record.items[i]->itemRect, point)) return i;
    }
    return -1;
}

void InvalidateItem(HWND window, const MenuRecord& record, int index) {
    if (index >= 0) InvalidateRect(window, &record.items[index]->itemRect, FALSE);
}

LRESULT OnMouseMove(HWND window, MenuRecord& record, LPARAM point) {
    const int hot = ItemAt(window, record, point);
    if (hot == record.hot) return 1;
    InvalidateItem(window, record, record.hot);
    InvalidateItem(window, record, hot);
    record.hot = hot;
    return 1;
}

LRESULT OnButtonDown(HWND window, LPARAM point) {
    RECT client;
    GetClientRect(window, &client);
    if (!PtInRect(&client, PointFromLParam(point))) PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT OnButtonUp(HWND window, const MenuRecord& record, LPARAM point) {
    const int chosen = ItemAt(window, record, point);
    if (chosen < 0) return 0;
    SendMessageA(record.owner, WM_COMMAND, record.items[chosen]->command, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
}

// Without the focus the menu would never see Escape or Enter.
LRESULT OnActivate(HWND window, WPARAM state) {
    if (LOWORD(state) != WA_INACTIVE) {
        SetFocus(window);
        return 1;
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT OnChar(HWND window, WPARAM key) {
    if (key == VK_ESCAPE || key == VK_RETURN) PostMessageA(window, WM_CLOSE, 0, 0);
    return 1;
}

// Closed while it holds the focus (a choice, Escape, a click outside), the
// menu hands the focus back to its owner: a combo's field then takes keys
// and the wheel again. Closed by losing activation, it leaves the focus be.
LRESULT OnClose(HWND window, const MenuRecord& record) {
    const HWND owner = record.owner;
    const bool focused = GetFocus() == window;
    DestroyWindow(window);
    if (focused && IsWindow(owner)) SetFocus(owner);
    return 0;
}

}  // namespace

LRESULT CALLBACK MenuProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window, *reinterpret_cast<CREATESTRUCTA*>(lParam));
        case WM_DESTROY:
            return OnDestroy(window);
        case WM_ACTIVATE:
            return OnActivate(window, wParam);
        case WM_CHAR:
            return OnChar(window, wParam);
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            return OnButtonDown(window, lParam);
    }
    MenuRecord* record = GetWindowRecord<MenuRecord>(window);
    if (!record) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            return OnPaint(window, *record);
        case WM_MOUSEMOVE:
            return OnMouseMove(window, *record, lParam);
        case WM_LBUTTONUP:
            return OnButtonUp(window, *record, lParam);
        case WM_CLOSE:
            return OnClose(window, *record);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND OpenMenu(HWND owner, const MenuDescription& description) {
    return CreateWindowExA(0, kMenuClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 1, 1, owner, nullptr,
                           WindowModule(owner), const_cast<MenuDescription*>(&description));
}
