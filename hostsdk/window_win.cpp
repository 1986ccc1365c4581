// Window helpers of the host.
#include <windows.h>

#include "hostsdk/colorman.h"

namespace {

// The work area of the monitor nearest the window, or of the primary one.
RECT WorkAreaFor(HWND hWnd) {
    RECT area;
    MONITORINFO info;
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromWindow(hWnd, MONITOR_DEFAULTTOPRIMARY);
    if (monitor && GetMonitorInfoA(monitor, &info)) return info.rcWork;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return area;
}

// Moves a start coordinate so that [start, start+size) stays inside [lo, hi)
// where it fits; a window larger than the area keeps its top or left edge at lo.
int KeepInside(int start, int size, int lo, int hi) {
    if (start + size > hi) start = hi - size;
    if (start < lo) start = lo;
    return start;
}

}  // namespace

// The child is centred over the parent's window rectangle (over the work
// area when there is no parent or the parent is minimised) and then kept
// on the work area, so a dialog never opens off-screen.
void CenterWindow(HWND hWndChild, HWND hWndParent) {
    if (!hWndChild || !IsWindow(hWndChild)) return;
    RECT child;
    if (!GetWindowRect(hWndChild, &child)) return;
    RECT area = WorkAreaFor(hWndParent ? hWndParent : hWndChild);
    RECT over = area;
    if (hWndParent && IsWindow(hWndParent) && !IsIconic(hWndParent))
        GetWindowRect(hWndParent, &over);
    int width = child.right - child.left;
    int height = child.bottom - child.top;
    int x = over.left + ((over.right - over.left) - width) / 2;
    int y = over.top + ((over.bottom - over.top) - height) / 2;
    x = KeepInside(x, width, area.left, area.right);
    y = KeepInside(y, height, area.top, area.bottom);
    // A child window is placed in its parent's client coordinates.
    if (GetWindowLongA(hWndChild, GWL_STYLE) & WS_CHILD) {
        POINT p = {x, y};
        ScreenToClient(GetParent(hWndChild), &p);
        x = p.x;
        y = p.y;
    }
    SetWindowPos(hWndChild, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
