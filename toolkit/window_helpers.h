// Small look-ups every toolkit unit makes of a window or a mouse message.
#pragma once

#include <windows.h>

// The module a window was created by; its children are created by it too.
inline HINSTANCE WindowModule(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

// A mouse message's point; the coordinates are signed (left of or above the
// window when the mouse is captured).
inline POINT PointFromLParam(LPARAM point) {
    return POINT{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
}
