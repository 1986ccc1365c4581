#include "frontend/about.h"
#include "frontend/module.h"
#include "hostsdk/colorman.h"
#include "resources/resource_ids.h"
#include "toolkit/skin.h"
#include "toolkit/window_helpers.h"

namespace {

INT_PTR OnInitDialog(HWND dialog) {
    SetWindowPos(dialog, nullptr, 0, 0, kAboutWidth, kAboutHeight, SWP_NOZORDER | SWP_NOREDRAW);
    ApplySkinRegion(dialog);
    CenterWindow(dialog, GetParent(dialog));
    return TRUE;
}

// The picture is loaded for each paint and everything made for it is given
// back before the paint ends.
void PaintPicture(HDC dc) {
    HBITMAP picture = LoadBitmapA(PluginModule(), MAKEINTRESOURCEA(IDB_ABOUT_PICTURE));
    if (!picture) return;
    BITMAP size = {};
    GetObjectA(picture, sizeof size, &size);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(dc, kAboutPictureX, kAboutPictureY, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
}

INT_PTR OnPaint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    PaintSkin(dialog, dc);
    PaintPicture(dc);
    EndPaint(dialog, &paint);
    return FALSE;
}

INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDOK:
            EndDialog(dialog, 1);
            break;
        case IDCANCEL:
            EndDialog(dialog, 0);
            break;
    }
    return TRUE;
}

// The frame drags the box; the picture, the rest of it, closes it.
INT_PTR OnLeftButtonDown(HWND dialog, LPARAM point) {
    const POINT at = PointFromLParam(point);
    if (IsSkinDragPoint(dialog, at.x, at.y))
        PostMessageA(dialog, WM_NCLBUTTONDOWN, HTCAPTION, point);
    else
        EndDialog(dialog, 0);
    return FALSE;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog);
        case WM_PAINT:
            return OnPaint(dialog);
        case WM_COMMAND:
            return OnCommand(dialog, wParam);
        case WM_CLOSE:
            EndDialog(dialog, 1);
            return TRUE;
        case WM_LBUTTONDOWN:
            return OnLeftButtonDown(dialog, lParam);
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR ShowAboutDialog(HWND owner) {
    return DialogBoxParamA(PluginModule(), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
}
