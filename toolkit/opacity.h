// Translucent top-level windows through the system's layered windows.
#pragma once

#include <windows.h>

// Makes a top-level window translucent; percent above 100 counts as 100.
// True when applied; false when the system has no layered windows (the window
// is then left untouched) or the system call failed.
bool SetWindowOpacity(HWND window, int percent);

// Releases the USER32 module loaded for the lookup (library unload).
void ReleaseOpacityModule();
