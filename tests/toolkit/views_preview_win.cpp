// Puts a tree view and a list view on one face-coloured window for a while,
// so that a person can capture and look at them:
//   views_preview MS
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/fonts.h"

namespace {

LRESULT CALLBACK BoardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window, &client);
            FillSolidRect(reinterpret_cast<HDC>(wParam), client, ToolkitColour(kFaceColour));
            return 1;
        }
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(GetToolkitFont(0));
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND AddView(HWND board, const char* className, int x, int y, int w, int h) {
    return CreateWindowExA(WS_EX_CLIENTEDGE, className, "", WS_CHILD | WS_VISIBLE, x, y, w, h,
                           board, nullptr, ThisModule(), nullptr);
}

HTREEITEM AddItem(HWND tree, const char* text, HTREEITEM parent) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void FillTree(HWND tree) {
    SendMessageA(tree, WM_SETFONT, reinterpret_cast<WPARAM>(GetToolkitFont(0)), FALSE);
    HTREEITEM scene = AddItem(tree, "Scene", TVI_ROOT);
    HTREEITEM mesh = AddItem(tree, "bunny_scan", scene);
    AddItem(tree, "vertices", mesh);
    AddItem(tree, "faces", mesh);
    AddItem(tree, "materials", mesh);
    AddItem(tree, "camera", scene);
    AddItem(tree, "lights", TVI_ROOT);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(scene));
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(mesh));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(mesh));
}

void FillList(HWND list) {
    const char* titles[] = {"Element", "Count"};
    const int widths[] = {90, 60};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(titles[i]);
        column.cx = widths[i];
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    const char* names[] = {"vertex", "face", "material", "edge", "normal", "colour", "uv"};
    for (int i = 0; i < 7; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<char*>(names[i]);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        std::string count = std::to_string((i + 1) * 1234);
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(count.c_str());
        SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
}

}  // namespace

int main(int argc, char** argv) {
    const DWORD showFor = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 3000;
    PrepareToolkit();
    WNDCLASSA description = {};
    description.lpfnWndProc = BoardProc;
    description.hInstance = ThisModule();
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.lpszClassName = "ksViewsBoard";
    RegisterClassA(&description);
    HWND board = CreateWindowExA(0, "ksViewsBoard", "", WS_POPUP | WS_CLIPCHILDREN, 100, 100, 424,
                                 184, nullptr, nullptr, ThisModule(), nullptr);
    FillTree(AddView(board, "ksTreeCtrl", 8, 8, 180, 168));
    FillList(AddView(board, "ksListCtrl", 196, 8, 220, 120));
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
