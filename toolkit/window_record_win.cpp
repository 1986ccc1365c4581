#include "toolkit/window_record.h"

void* CreateWindowRecord(HWND window, size_t size) {
    void* record = LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, size);
    SetWindowLongA(window, 0, static_cast<LONG>(reinterpret_cast<LONG_PTR>(record)));
    return record;
}

void* GetWindowRecord(HWND window) {
    return reinterpret_cast<void*>(static_cast<LONG_PTR>(GetWindowLongA(window, 0)));
}

void DestroyWindowRecord(HWND window) {
    void* record = GetWindowRecord(window);
    if (!record) return;
    SetWindowLongA(window, 0, 0);
    LocalFree(LocalHandle(record));
}
