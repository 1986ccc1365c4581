// Shows a combo box with its drop-down open, or with "titled" a titled menu
// with a hot item, on a face-coloured window for a while, for a person to
// capture:
//   menu_preview MS [titled]
// A menu closes when it loses activation, so only one is open at a time.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/combobox.h"
#include "toolkit/draw.h"
#include "toolkit/fonts.h"
#include "toolkit/menu.h"

namespace {

LRESULT CALLBACK BoardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_ERASEBKGND) return DefWindowProcA(window, message, wParam, lParam);
    RECT client;
    GetClientRect(window, &client);
    FillSolidRect(reinterpret_cast<HDC>(wParam), client, ToolkitColour(kFaceColour));
    return 1;
}

HWND MakeBoard() {
    WNDCLASSA description = {};
    description.lpfnWndProc = BoardProc;
    description.hInstance = ThisModule();
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.lpszClassName = "ksMenuBoard";
    RegisterClassA(&description);
    HWND board = CreateWindowExA(0, "ksMenuBoard", "", WS_POPUP, 100, 100, 424, 184, nullptr,
                                 nullptr, ThisModule(), nullptr);
    ShowWindow(board, SW_SHOW);
    UpdateWindow(board);
    return board;
}

HWND AddCombo(HWND board, int x, int y) {
    HWND combo = CreateWindowExA(0, "ksComboBox", "", WS_CHILD | WS_VISIBLE, x, y, 140, 20, board,
                                 nullptr, ThisModule(), nullptr);
    const char* items[] = {"Y up", "Z up", nullptr, "Keep axes"};
    for (const char* item : items)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    return combo;
}

void OpenTitledMenu(HWND board) {
    ksMenuData* entries[] = {new ksMenuData(1, "Open..."), new ksMenuData(2, "Save as..."), nullptr,
                             new ksMenuData(3, "Close")};
    MenuDescription description = {};
    description.origin = POINT{280, 110};
    description.title = "File";
    description.opacityPercent = 100;
    description.entries = entries;
    description.entryCount = 4;
    HWND menu = OpenMenu(board, description);
    const RECT& save = entries[1]->itemRect;
    SendMessageA(menu, WM_MOUSEMOVE, 0, MAKELPARAM(10, (save.top + save.bottom) / 2));
}

}  // namespace

int main(int argc, char** argv) {
    const DWORD showFor = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 3000;
    PrepareToolkit();
    HWND board = MakeBoard();
    HWND combo = AddCombo(board, 10, 10);
    if (argc > 2 && std::strcmp(argv[2], "titled") == 0)
        OpenTitledMenu(board);
    else
        SendMessageA(combo, WM_LBUTTONDOWN, 0, 0);
    SetTimer(nullptr, 0, showFor, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        if (message.message == WM_TIMER && !message.hwnd) break;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
