// ksTreeCtrl: a system tree view in the host's colours, sized to its content
// and moved inside the control, so that the user pans it by dragging with
// the middle button instead of using scroll bars. The control answers the
// common tree messages on the child's behalf and passes on its expansion,
// selection and drag notifications in its own name.
#pragma once

#include <windows.h>

// Answers whether the content is larger than the view (something to pan).
const UINT TRM_ISPANNABLE = 0x8191;
// Sent by the tree child on a middle-button press; lParam: the point in the
// child's coordinates. Starts panning.
const UINT TRM_BEGINPAN = 0x8192;

struct TreeCtrlRecord {
    HWND tree;
    int width, height;     // of the tree child
    int offsetX, offsetY;  // the child's position in the view, 0 or less
    int rowsInView;
    int rowHeight;  // 8 until measured
    HCURSOR grabCursor;
    int panning;
    POINT panPoint;      // screen point of the last pan step
    int startX, startY;  // the offsets when the pan began
    SIZE content;        // extent of the shown items
    int pannable;        // the content is larger than the view on some axis
};

LRESULT CALLBACK TreeCtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
