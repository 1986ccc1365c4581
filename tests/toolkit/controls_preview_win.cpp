// Puts every control of the toolkit's simple families on one face-coloured
// window for a while, so that a person can capture and look at them:
//   controls_preview MS [rename]
// With "rename", the in-place editor is open over the last push-like box.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/checkbox.h"
#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/edit_subclass.h"
#include "toolkit/fonts.h"
#include "toolkit/groupbox.h"
#include "toolkit/spinner.h"

namespace {

LRESULT CALLBACK BoardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window, &client);
            FillSolidRect(reinterpret_cast<HDC>(wParam), client, ToolkitColour(kFaceColour));
            return 1;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            SetTextColor(reinterpret_cast<HDC>(wParam), ToolkitColour(kTextColour));
            SetBkColor(reinterpret_cast<HDC>(wParam), ToolkitColour(kFieldColour));
            return reinterpret_cast<LRESULT>(ToolkitBrush(kFieldColour));
        case CKM_BEGINRENAME:
            return 1;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND board;

HWND Add(const char* className, const char* text, DWORD style, int x, int y, int w, int h,
         int id = 0) {
    HWND control =
        CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, board,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetToolkitFont(0)), FALSE);
    return control;
}

HWND AddSpinner(int x, int y, double value, short precision, bool enabled) {
    HWND spinner = Add("ksSpinner", "", 0, x, y, 62, 20, 1010);
    SpinnerParams params = {0.001, 10000.0, 0.1, precision, 0, 1};
    SendMessageA(spinner, SPM_SETPARAMS, 0, reinterpret_cast<LPARAM>(&params));
    SendMessageA(spinner, SPM_SETVALUE, 0, reinterpret_cast<LPARAM>(&value));
    EnableWindow(spinner, enabled);
    return spinner;
}

void AddControls() {
    Add("ksGroupBox", " Spinner ", 0, 8, 8, 200, 100);
    Add("ksStatic", "Scale:", 0, 18, 32, 40, 14);
    AddSpinner(62, 29, 250.5, 3, true);
    Add("ksStatic", "Off:", 0, 18, 56, 40, 14);
    AddSpinner(62, 53, 100.0, 3, false);
    Add("ksStatic", "Angle:", 0, 18, 80, 40, 14);
    AddSpinner(62, 77, 45.0, 0, true);
    Add("ksArrowButton", "UP", 0, 150, 30, 16, 16);
    Add("ksArrowButton", "DN", 0, 150, 48, 16, 16);
    Add("ksArrowButton", "THUMB", 0, 170, 30, 16, 34);

    Add("ksGroupBox", " Check boxes ", 0, 216, 8, 200, 100);
    HWND on = Add("ksCheckBox", "", 0, 226, 30, 13, 13);
    SendMessageA(on, BM_SETCHECK, 1, 0);
    Add("ksStatic", "Checked", 0, 244, 29, 60, 14);
    Add("ksCheckBox", "", 0, 226, 50, 13, 13);
    Add("ksStatic", "Unchecked", 0, 244, 49, 60, 14);
    HWND off = Add("ksCheckBox", "", 0, 226, 70, 13, 13);
    SendMessageA(off, BM_SETCHECK, 1, 0);
    EnableWindow(off, FALSE);
    HWND offText = Add("ksStatic", "Disabled", 0, 244, 69, 60, 14);
    EnableWindow(offText, FALSE);
    Add("ksCheckBox", "Flip", BS_PUSHLIKE, 320, 28, 80, 18, 2001);
    HWND two = Add("ksCheckBox", "2n", BS_PUSHLIKE, 320, 50, 36, 18, 2002);
    SendMessageA(two, BM_SETCHECK, 1, 0);
    HWND dis = Add("ksCheckBox", "Locked", BS_PUSHLIKE, 320, 72, 80, 18, 2003);
    EnableWindow(dis, FALSE);

    HWND group = Add("BUTTON", " Standard ", BS_GROUPBOX, 8, 116, 408, 60);
    SubclassGroupBox(group);
    Add("ksStatic", "Name:", 0, 18, 142, 40, 14);
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "bunny_scan",
                                WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 62, 139, 90, 20, board,
                                nullptr, ThisModule(), nullptr);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetToolkitFont(0)), FALSE);
    SubclassEdit(edit);
    Add("ksStatic", "Right", SS_RIGHT, 160, 136, 100, 14);
    Add("ksStatic", "Centred\non two lines", SS_CENTER, 270, 134, 130, 30);
}

}  // namespace

int main(int argc, char** argv) {
    const DWORD showFor = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 3000;
    const bool rename = argc > 2 && std::strcmp(argv[2], "rename") == 0;
    PrepareToolkit();
    WNDCLASSA description = {};
    description.lpfnWndProc = BoardProc;
    description.hInstance = ThisModule();
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.lpszClassName = "ksControlsBoard";
    RegisterClassA(&description);
    board = CreateWindowExA(0, "ksControlsBoard", "", WS_POPUP, 100, 100, 424, 184, nullptr,
                            nullptr, ThisModule(), nullptr);
    AddControls();
    ShowWindow(board, SW_SHOW);
    UpdateWindow(board);
    if (rename) SendMessageA(GetDlgItem(board, 2001), CKM_BEGINRENAME, 0, 0);
    SetTimer(nullptr, 0, showFor, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        if (message.message == WM_TIMER && message.hwnd == nullptr) break;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DestroyWindow(board);
    return 0;
}
