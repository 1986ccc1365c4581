#include "toolkit/subclass.h"

void InstallSubclass(HWND window, WNDPROC procedure, SubclassSlot& slot) {
    LONG_PTR previous =
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    slot.previous = reinterpret_cast<WNDPROC>(previous);
}

void InstallEditSubclass(HWND window, WNDPROC procedure, SubclassSlot& slot) {
    InstallSubclass(window, procedure, slot);
    SendMessageA(window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
}

void RestoreSubclass(HWND window, const SubclassSlot& slot) {
    if (!slot.previous) return;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(slot.previous));
}

LRESULT CallSubclassed(const SubclassSlot& slot, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam) {
    if (!slot.previous) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(slot.previous, window, message, wParam, lParam);
}
