#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/edit_subclass.h"
#include "toolkit/subclass.h"

namespace {

SubclassSlot editSlot;

LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCPAINT:
            PaintSunkenFieldBorder(window);
            return 0;
        case WM_CHAR:
            // Dialogs without a default button and the in-place editor act
            // on Enter and Escape themselves; the field still sees them.
            if (wParam == VK_ESCAPE || wParam == VK_RETURN)
                SendMessageA(GetParent(window), message, wParam, lParam);
            return CallSubclassed(editSlot, window, message, wParam, lParam);
        default:
            return CallSubclassed(editSlot, window, message, wParam, lParam);
    }
}

}  // namespace

// The border lies outside the client area, so it is drawn through a window
// device context, in window coordinates.
void PaintSunkenFieldBorder(HWND edit) {
    RECT outer;
    GetWindowRect(edit, &outer);
    OffsetRect(&outer, -outer.left, -outer.top);
    HDC dc = GetWindowDC(edit);
    RECT inner = outer;
    InflateRect(&inner, -1, -1);
    Draw3dFrame(dc, inner, RGB(0, 0, 0), ToolkitColour(kFaceColour));
    Draw3dFrame(dc, outer, ToolkitColour(kDarkEdgeColour), ToolkitColour(kLightEdgeColour));
    ReleaseDC(edit, dc);
}

void SubclassEdit(HWND edit) {
    // A second install would keep our own procedure as the "previous" one and loop.
    if (GetWindowLongPtrA(edit, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(EditSubclassProc))
        return;
    InstallEditSubclass(edit, EditSubclassProc, editSlot);
}

void UnsubclassEdit(HWND edit) { RestoreSubclass(edit, editSlot); }
