// ksProgressCtrl: a thin progress bar in the host's colours whose position
// is a fraction from 0 to 1 and whose bar colour can change at any time.
#pragma once

#include <windows.h>

// wParam 0, lParam the new bar colour; shows at the next paint. Answers 1.
const UINT PGM_SETCOLOR = 0x8033;
// wParam 0, lParam points to a float, read during the send and clamped to
// 0..1; the bar is drawn at once. Answers 1.
const UINT PGM_SETFRACTION = 0x8034;

const COLORREF kProgressInitialColour = RGB(0, 0, 128);

struct ProgressRecord {
    COLORREF barColour;
    float fraction;
};

LRESULT CALLBACK ProgressCtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
