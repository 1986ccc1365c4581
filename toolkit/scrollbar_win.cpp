#include "toolkit/class_names.h"
#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/press_tracking.h"
#include "toolkit/scrollbar.h"
#include "toolkit/window_helpers.h"
#include "toolkit/window_record.h"

namespace {

const int kInitialMaximum = 10;
const int kInitialPage = 3;
const int kThumbHeight = 24;
const int kFarPosition = 0x20000;

HWND CreateArrow(HWND window, const char* text, int id, int y, int height) {
    return CreateWindowExA(
        0, kArrowButtonClass, text, WS_CHILD | WS_VISIBLE, 0, y, kScrollArrowSize, height, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), WindowModule(window), nullptr);
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA& create) {
    ScrollBarRecord* record = CreateWindowRecord<ScrollBarRecord>(window);
    // Without a record the bar could not keep its position: refuse the creation.
    if (!record) return -1;
    record->maximum = kInitialMaximum;
    record->page = kInitialPage;
    record->thumbHeight = kThumbHeight;
    CreateArrow(window, "UP", kScrollUpId, 0, kScrollArrowSize);
    CreateArrow(window, "DN", kScrollDownId, create.cy - kScrollArrowSize, kScrollArrowSize);
    CreateArrow(window, "THUMB", kScrollThumbId, kScrollArrowSize, record->thumbHeight);
    return 1;
}

int ClientHeight(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return client.bottom;
}

int Clamp(int value, int low, int high) {
    if (value > high) value = high;
    return value < low ? low : value;
}

RECT ThumbRect(HWND window) {
    RECT thumb;
    GetWindowRect(GetDlgItem(window, kScrollThumbId), &thumb);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&thumb), 2);
    return thumb;
}

POINT ScreenPoint(HWND window, LPARAM point) {
    POINT p = PointFromLParam(point);
    ClientToScreen(window, &p);
    return p;
}

void PostScroll(HWND window, WORD code, int position) {
    PostMessageA(GetParent(window), WM_VSCROLL, MAKEWPARAM(code, position),
                 reinterpret_cast<LPARAM>(window));
}

// The track is trackLength pixels for maximum steps. Both directions are
// worked out in whole numbers, so the ends of the track map exactly onto 0
// and maximum. Without a track (an empty range, or a bar too short for one)
// nothing is divided: a drag leaves the position alone and the thumb rests
// at the top.
bool HasTrack(int trackLength, int maximum) { return trackLength > 0 && maximum > 0; }

int OffsetOf(int position, int trackLength, int maximum) {
    if (!HasTrack(trackLength, maximum)) return 0;
    return static_cast<int>(static_cast<long long>(position) * trackLength / maximum);
}

WORD StepCode(const ScrollBarRecord& record) {
    if (record.delta <= 0) {
        if (record.paging) return SB_PAGEUP;
        return record.delta == -1 ? SB_LINEUP : SB_THUMBTRACK;
    }
    if (record.paging) return SB_PAGEDOWN;
    return record.delta == 1 ? SB_LINEDOWN : SB_THUMBTRACK;
}

// The thumb follows the cursor within the track; the parent hears only of
// changes of position. Answers the thumb's new top.
int DragThumb(HWND window, ScrollBarRecord& record, int height, int trackLength) {
    const int lowest = kScrollArrowSize;
    const int highest = height - record.thumbHeight - kScrollArrowSize;
    int top = ThumbRect(window).top + record.cursor.y - record.dragStart.y;
    top = highest < lowest ? lowest : Clamp(top, lowest, highest);
    record.dragStart = record.cursor;
    if (!HasTrack(trackLength, record.maximum)) return top;
    const int position =
        static_cast<int>(static_cast<long long>(top - lowest) * record.maximum / trackLength);
    if (position != record.position) {
        record.position = position;
        PostScroll(window, SB_THUMBTRACK, position);
    }
    return top;
}

// Applies the pending change; the parent hears of it whether the position
// changed or not. Answers the thumb's new top.
int StepThumb(HWND window, ScrollBarRecord& record, int trackLength) {
    record.position = Clamp(record.position + record.delta, 0, record.maximum);
    PostScroll(window, StepCode(record), record.position);
    return kScrollArrowSize + OffsetOf(record.position, trackLength, record.maximum);
}

void Update(HWND window, ScrollBarRecord& record) {
    const int height = ClientHeight(window);
    const int trackLength = height - record.thumbHeight - 2 * kScrollArrowSize;
    const int top = record.dragging ? DragThumb(window, record, height, trackLength)
                                    : StepThumb(window, record, trackLength);
    MoveWindow(GetDlgItem(window, kScrollThumbId), 0, top, kScrollArrowSize, record.thumbHeight,
               TRUE);
}

// A change the parent asks for applies once: the step of a held arrow stays
// pending as it was, and no difference is left behind for a later update
// (a new range, say) to apply a second time.
void UpdateBy(HWND window, ScrollBarRecord& record, int change) {
    const int pending = record.delta;
    record.delta = change;
    Update(window, record);
    record.delta = pending;
}

LRESULT OnSetRange(HWND window, ScrollBarRecord& record, WPARAM wParam) {
    record.maximum = LOWORD(wParam);
    record.page = HIWORD(wParam);
    record.position = Clamp(record.position, 0, record.maximum);
    UpdateBy(window, record, 0);
    return 1;
}

// Positions far outside any range (at most 65535) are brought nearer first,
// so the difference cannot overflow; they are reported just the same.
LRESULT OnSetPosition(HWND window, ScrollBarRecord& record, WPARAM wParam) {
    const int target = Clamp(static_cast<int>(wParam), -kFarPosition, kFarPosition);
    UpdateBy(window, record, target - record.position);
    return 1;
}

void StartRepeat(HWND window, UINT delayMs) {
    SetTimer(window, kScrollRepeatTimer, delayMs, nullptr);
}

void BeginDrag(HWND window, ScrollBarRecord& record) {
    GetCursorPos(&record.cursor);
    record.dragStart = record.cursor;
    record.dragging = 1;
    SetCapture(window);
}

LRESULT OnCommand(HWND window, ScrollBarRecord& record, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (id == kScrollThumbId) {
        if (code == BN_HILITE) BeginDrag(window, record);
        return 0;
    }
    if (id != kScrollUpId && id != kScrollDownId) return 0;
    if (code == BN_HILITE) {
        record.delta = id == kScrollUpId ? -1 : 1;
        Update(window, record);
        StartRepeat(window, kScrollRepeatDelayMs);
    } else if (code == BN_CLICKED || code == BN_UNHILITE) {
        // A release off the arrow ends the repeat just as a click does.
        record.delta = 0;
        KillTimer(window, kScrollRepeatTimer);
    }
    return 0;
}

bool ArrowHeld(HWND window, int id) {
    return SendMessageA(GetDlgItem(window, id), BM_GETSTATE, 0, 0) == BST_PUSHED;
}

LRESULT OnTimer(HWND window, ScrollBarRecord& record) {
    KillTimer(window, kScrollRepeatTimer);
    if (!record.paging && !ArrowHeld(window, kScrollUpId) && !ArrowHeld(window, kScrollDownId)) {
        record.delta = 0;
        return 0;
    }
    Update(window, record);
    StartRepeat(window, kScrollRepeatMs);
    return 0;
}

LRESULT OnMouseMove(HWND window, ScrollBarRecord& record, LPARAM point) {
    if (!record.dragging) return 0;
    record.cursor = ScreenPoint(window, point);
    Update(window, record);
    return 0;
}

// A click on the track pages once toward the click.
LRESULT OnTrackDown(HWND window, ScrollBarRecord& record, LPARAM point) {
    record.cursor = ScreenPoint(window, point);
    record.paging = 1;
    const int y = PointFromLParam(point).y;
    record.delta = y < ThumbRect(window).top ? -record.page : record.page;
    // The release must come back here wherever it happens, or paging would
    // stay set and later arrow steps would be reported as pages.
    SetCapture(window);
    Update(window, record);
    return 0;
}

LRESULT OnButtonUp(HWND window, ScrollBarRecord& record) {
    KillTimer(window, kScrollRepeatTimer);
    if (GetCapture() == window) ReleaseCapture();
    record.delta = 0;
    record.dragging = 0;
    record.paging = 0;
    Update(window, record);
    return 0;
}

LRESULT OnSize(HWND window, LPARAM size) {
    MoveWindow(GetDlgItem(window, kScrollDownId), 0, HIWORD(size) - kScrollArrowSize,
               kScrollArrowSize, kScrollArrowSize, TRUE);
    return 0;
}

LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const int trackHeight = client.bottom - 2 * kScrollArrowSize;
    if (trackHeight > 0)
        FillSolidRect(dc, 0, kScrollArrowSize, client.right, trackHeight,
                      ToolkitColour(kLightEdgeColour));
    EndPaint(window, &paint);
    return 0;
}

}  // namespace

LRESULT CALLBACK ScrollBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window, *reinterpret_cast<CREATESTRUCTA*>(lParam));
        case WM_DESTROY:
            DestroyWindowRecord(window);
            return 1;
        case WM_MOVE:
        case WM_ENABLE:
            RedrawNow(window);
            return 0;
        case WM_SIZE:
            return OnSize(window, lParam);
        case WM_PAINT:
            return OnPaint(window);
        case WM_ERASEBKGND:
            return 1;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            return 0;
    }
    ScrollBarRecord* record = GetWindowRecord<ScrollBarRecord>(window);
    if (!record) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_COMMAND:
            return OnCommand(window, *record, wParam);
        case WM_TIMER:
            if (wParam != kScrollRepeatTimer) break;
            return OnTimer(window, *record);
        case WM_MOUSEMOVE:
            return OnMouseMove(window, *record, lParam);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return OnTrackDown(window, *record, lParam);
        case WM_LBUTTONUP:
            return OnButtonUp(window, *record);
        case SBX_SETRANGE:
            return OnSetRange(window, *record, wParam);
        case SBX_SETPOS:
            return OnSetPosition(window, *record, wParam);
        case SBX_GETPOS:
            return record->position;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
