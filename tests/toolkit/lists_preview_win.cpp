// Puts the toolkit's list box and scroll bars on one face-coloured window
// for a while, so that a person can capture and look at them:
//   lists_preview MS
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/listbox.h"
#include "toolkit/scrollbar.h"

namespace {

LRESULT CALLBACK BoardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(window, &client);
        FillSolidRect(reinterpret_cast<HDC>(wParam), client, ToolkitColour(kFaceColour));
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND board;

HWND Add(const char* className, int x, int y, int w, int h) {
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, x, y, w, h, board, nullptr,
                           ThisModule(), nullptr);
}

void AddControls() {
    HWND list = Add("ksListBox", 8, 8, 160, 108);
    for (int i = 1; i <= 20; ++i) {
        char text[32];
        snprintf(text, sizeof text, "bunny_part_%02d.ply", i);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(GetDlgItem(list, kListBoxListId), LB_SETCURSEL, 2, 0);
    HWND scrolled = Add("ksListBox", 176, 8, 160, 108);
    for (int i = 1; i <= 20; ++i) {
        char text[32];
        snprintf(text, sizeof text, "Material #%d", i);
        SendMessageA(scrolled, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(scrolled, WM_MOUSEWHEEL, MAKEWPARAM(0, -6 * WHEEL_DELTA), 0);
    Add("ksScrollBar", 344, 8, kScrollArrowSize, 108);
    HWND bottom = Add("ksScrollBar", 364, 8, kScrollArrowSize, 108);
    SendMessageA(bottom, SBX_SETPOS, 10, 0);
    Add("ksListBox", 8, 124, 160, 52);
}

}  // namespace

int main(int argc, char** argv) {
    const DWORD showFor = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 3000;
    PrepareToolkit();
    WNDCLASSA description = {};
    description.lpfnWndProc = BoardProc;
    description.hInstance = ThisModule();
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.lpszClassName = "ksListsBoard";
    RegisterClassA(&description);
    board = CreateWindowExA(0, "ksListsBoard", "", WS_POPUP, 100, 100, 424, 184, nullptr, nullptr,
                            ThisModule(), nullptr);
    AddControls();
    ShowWindow(board, SW_SHOW);
    UpdateWindow(board);
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
