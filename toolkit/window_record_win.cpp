#include "toolkit/window_record.h"

void* CreateWindowRecord(HWND window, size_t size) {
    void* record = LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, size);
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(record));
    return record;
}

void* GetWindowRecord(HWND window) {
    return reinterpret_cast<void*>(static_cast<LONG_PTR>(GetWindowLongPtrA(window, 0)));
}

void DestroyWindowRecord(HWND window) {
    void* record = GetWindowRecord(window);
    if (!record) return;
    SetWindowLongPtrA(window, 0, 0);
    LocalFree(LocalHandle(record));
}
