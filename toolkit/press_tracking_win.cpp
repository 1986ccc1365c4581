#include "toolkit/press_tracking.h"
#include "toolkit/window_helpers.h"

bool IsInsideClient(HWND window, LPARAM point) {
    RECT client;
    GetClientRect(window, &client);
    const POINT p = PointFromLParam(point);
    return PtInRect(&client, p) != FALSE;
}

void NotifyParent(HWND window, WORD code) {
    SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), code),
                 reinterpret_cast<LPARAM>(window));
}

void RedrawNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
