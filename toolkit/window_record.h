// The per-window record of a toolkit control: one pointer in the window's
// extra bytes, allocated zero-filled on WM_CREATE and freed on WM_DESTROY.
#pragma once

#include <windows.h>

#include <cstddef>

// Allocates a zero-filled record of the given size and stores it in the
// window. Null when no memory can be had (the slot then stays empty).
void* CreateWindowRecord(HWND window, size_t size);
// The window's record, or null when it has none.
void* GetWindowRecord(HWND window);
// Frees the window's record and empties the slot; harmless when there is none.
void DestroyWindowRecord(HWND window);

template <typename Record>
Record* CreateWindowRecord(HWND window) {
    return static_cast<Record*>(CreateWindowRecord(window, sizeof(Record)));
}

template <typename Record>
Record* GetWindowRecord(HWND window) {
    return static_cast<Record*>(GetWindowRecord(window));
}
