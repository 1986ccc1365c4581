#include <windows.h>

#include "plugin/platform.h"

uint64_t AvailablePhysicalMemory() {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return 0;
    return status.ullAvailPhys;
}

intptr_t SendToWindow(HWND window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    return SendMessageA(window, message, wParam, lParam);
}

void RedrawHostWindow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

const char* NextChar(const char* text) { return CharNextA(text); }
