#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/view_common.h"
#include "toolkit/window_helpers.h"

namespace {

const int kGrabSize = 32;
const int kGrabHotSpot = 10;

// The closed hand: '#' black, '.' white, ' ' transparent. The hot spot
// (10, 10) lies in the palm.
const char* const kGrabHand[kGrabSize] = {
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
    "       ## ## ##                 ", "      #..#..#..###              ",
    "      #..#..#..#..#             ", "     ##..#..#..#..#             ",
    "    #.#.........#.#             ", "    #..............#            ",
    "    #..............#            ", "     #.............#            ",
    "     #.............#            ", "      #...........#             ",
    "      #...........#             ", "       #.........#              ",
    "       #.........#              ", "       ###########              ",
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
};

}  // namespace

void DrawViewBorder(HWND window) {
    HDC dc = GetWindowDC(window);
    RECT frame;
    GetWindowRect(window, &frame);
    OffsetRect(&frame, -frame.left, -frame.top);
    Draw3dFrame(dc, frame, ToolkitColour(kThinFrameTopColour),
                ToolkitColour(kThinFrameBottomColour));
    InflateRect(&frame, -1, -1);
    Draw3dFrame(dc, frame, RGB(0, 0, 0), ToolkitColour(kFaceColour));
    ReleaseDC(window, dc);
}

HCURSOR CreateGrabCursor() {
    const int rowBytes = kGrabSize / 8;
    BYTE andMask[kGrabSize * rowBytes] = {};
    BYTE xorMask[kGrabSize * rowBytes] = {};
    for (int y = 0; y < kGrabSize; ++y) {
        for (int x = 0; x < kGrabSize; ++x) {
            const int byte = y * rowBytes + x / 8;
            const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
            const char pixel = kGrabHand[y][x];
            if (pixel == ' ') andMask[byte] |= bit;
            if (pixel == '.') xorMask[byte] |= bit;
        }
    }
    HCURSOR cursor = CreateCursor(GetModuleHandleA(nullptr), kGrabHotSpot, kGrabHotSpot, kGrabSize,
                                  kGrabSize, andMask, xorMask);
    return cursor ? cursor : LoadCursorA(nullptr, IDC_HAND);
}

void ReleaseGrabCursor(HCURSOR cursor) {
    // The system hand is shared and is not ours to destroy.
    if (cursor && cursor != LoadCursorA(nullptr, IDC_HAND)) DestroyCursor(cursor);
}

int WrapPanCursor(const POINT& screenPoint) {
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int wrappedY = screenPoint.y;
    if (screenPoint.y <= 0) wrappedY = screenHeight - 2;
    if (screenPoint.y >= screenHeight - 1) wrappedY = 1;
    if (wrappedY == screenPoint.y) return 0;
    SetCursorPos(screenPoint.x, wrappedY);
    return wrappedY - screenPoint.y;
}

LRESULT ForwardNotification(HWND view, NMHDR* header) {
    // The child keeps using its own header after this: give it back as it was.
    const NMHDR saved = *header;
    header->hwndFrom = view;
    header->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(view));
    LRESULT result =
        SendMessageA(GetParent(view), WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
    *header = saved;
    return result;
}

LPARAM MapMousePoint(HWND from, HWND to, LPARAM point) {
    POINT p = PointFromLParam(point);
    MapWindowPoints(from, to, &p, 1);
    return MAKELPARAM(p.x, p.y);
}
