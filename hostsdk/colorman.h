// The host's interface colours and window helpers (Windows build only).
#pragma once

#include "hostsdk/hostapi.h"

class HOSTSDK_API IColorManager {
public:
    virtual ~IColorManager() {}
    virtual COLORREF GetColor(int id) = 0;
    virtual HBRUSH GetBrush(int id) = 0;  // owned by the host: never deleted by callers
};

HOSTSDK_API IColorManager* GetColorManager();
// Centres hWndChild over hWndParent (over the screen when parent is null).
HOSTSDK_API void CenterWindow(HWND hWndChild, HWND hWndParent);
