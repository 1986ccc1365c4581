// ksStatic: a text label in the host's colours; SS_RIGHT and SS_CENTER align
// it, a line feed makes it several lines, and it is always vertically centred.
#pragma once

#include <windows.h>

LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
