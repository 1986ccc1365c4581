#include "hostapp/toolkitpanel_win.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>

#include "toolkit/class_names.h"
#include "toolkit/colours.h"
#include "toolkit/combobox.h"
#include "toolkit/draw.h"
#include "toolkit/fonts.h"
#include "toolkit/listbox.h"
#include "toolkit/menu.h"
#include "toolkit/progress.h"
#include "toolkit/spinner.h"
#include "toolkit/startup.h"
#include "toolkit/window_helpers.h"

namespace {

const char kPanelClass[] = "plyhostToolkitPanel";
const char kPanelTitle[] = "Toolkit";
const int kClientWidth = 600;
const int kClientHeight = 344;

const int kSpinnerId = 101;
const int kMenuButtonId = 102;
const int kResetButtonId = 103;
const int kComboId = 104;
const int kStatusId = 105;

// The sample menu's commands: its item k has command kFirstMenuCommand + k.
const int kFirstMenuCommand = 1;
const char* const kMenuItems[] = {"Open...", "Save as...", nullptr, "Close"};
const int kMenuItemCount = 4;

// The combo's items; a null is a separator line.
const char* const kAxisItems[] = {"Y up", "Z up", nullptr, "Keep the file's axes"};
const char* const kAxisChoices[] = {"Y up", "Z up", "Keep the file's axes"};

HWND openPanel = nullptr;
bool panelIsTheProgram = false;  // --toolkit: closing the panel ends the program

HWND AddControl(HWND panel, const char* className, const char* text, DWORD style, int x, int y,
                int w, int h, int id = 0, DWORD exStyle = 0) {
    HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w,
                                   h, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   WindowModule(panel), nullptr);
    if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetToolkitFont(0)), 0);
    return control;
}

void AddCheckBox(HWND panel, const char* label, bool checked, int x, int y) {
    HWND box = AddControl(panel, kCheckBoxClass, "", 0, x, y, 13, 13);
    SendMessageA(box, BM_SETCHECK, checked ? 1 : 0, 0);
    AddControl(panel, kStaticClass, label, 0, x + 18, y - 1, 130, 14);
}

void AddButtonsGroup(HWND panel) {
    HWND group = AddControl(panel, kGroupBoxClass, " Buttons ", 0, 8, 8, 190, 164);
    AddControl(panel, kStaticClass, "Scale:", 0, 18, 32, 44, 14);
    HWND spinner = AddControl(panel, kSpinnerClass, "", 0, 64, 29, 70, 20, kSpinnerId);
    SpinnerParams params = {0.001, 10000.0, 0.1, 3, 0, 1};
    double value = 1.0;
    SendMessageA(spinner, SPM_SETPARAMS, 0, reinterpret_cast<LPARAM>(&params));
    SendMessageA(spinner, SPM_SETRESETVALUE, 0, reinterpret_cast<LPARAM>(&value));
    SendMessageA(spinner, SPM_SETVALUE, 0, reinterpret_cast<LPARAM>(&value));
    AddCheckBox(panel, "Center Pivot", true, 18, 58);
    AddCheckBox(panel, "Flip Z and Y", false, 18, 78);
    AddControl(panel, kCheckBoxClass, "Lock", BS_PUSHLIKE, 18, 100, 70, 18);
    AddControl(panel, kButtonClass, "Menu...", 0, 18, 128, 80, 22, kMenuButtonId);
    AddControl(panel, kButtonClass, "Reset", 0, 106, 128, 80, 22, kResetButtonId);
    HWND progress = AddControl(panel, kProgressCtrlClass, "", 0, 18, 158, 168, 6);
    float fraction = 0.4f;
    SendMessageA(progress, PGM_SETFRACTION, 0, reinterpret_cast<LPARAM>(&fraction));
    // Created first, the group would lie on top and take every click meant for its controls.
    SetWindowPos(group, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void AddCombo(HWND panel) {
    AddControl(panel, kStaticClass, "Up axis:", 0, 8, 184, 50, 14);
    HWND combo = AddControl(panel, kComboBoxClass, "", 0, 62, 181, 136, 20, kComboId);
    for (const char* item : kAxisItems)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
}

void AddListBox(HWND panel) {
    HWND list = AddControl(panel, kListBoxClass, "", 0, 8, 210, 190, 126);
    for (int i = 1; i <= 30; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "scan_part_%02d.ply", i);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendDlgItemMessageA(list, kListBoxListId, LB_SETCURSEL, 2, 0);
}

HTREEITEM AddTreeItem(HWND tree, const char* text, HTREEITEM parent) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void AddTree(HWND panel) {
    HWND tree = AddControl(panel, kTreeCtrlClass, "", 0, 206, 8, 186, 164, 0, WS_EX_CLIENTEDGE);
    HTREEITEM scene = AddTreeItem(tree, "Scene", TVI_ROOT);
    HTREEITEM mesh = AddTreeItem(tree, "bunny_scan", scene);
    for (const char* channel : {"vertices", "faces", "normals", "vertex colours", "materials"})
        AddTreeItem(tree, channel, mesh);
    HTREEITEM torus = AddTreeItem(tree, "torus", scene);
    AddTreeItem(tree, "vertices", torus);
    AddTreeItem(tree, "faces", torus);
    HTREEITEM lights = AddTreeItem(tree, "Lights", TVI_ROOT);
    AddTreeItem(tree, "Key light", lights);
    for (HTREEITEM open : {scene, mesh, lights})
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(open));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(mesh));
}

void AddListColumn(HWND list, int index, const char* title, int width) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(title);
    column.cx = width;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

void SetListCell(HWND list, int row, int column, const char* text) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, column == 0 ? LVM_INSERTITEMA : LVM_SETITEMA, 0,
                 reinterpret_cast<LPARAM>(&item));
}

void AddListView(HWND panel) {
    HWND list = AddControl(panel, kListCtrlClass, "", 0, 206, 180, 386, 156, 0, WS_EX_CLIENTEDGE);
    AddListColumn(list, 0, "File", 150);
    AddListColumn(list, 1, "Vertices", 100);
    AddListColumn(list, 2, "Faces", 100);
    for (int row = 0; row < 50; ++row) {
        char text[32];
        std::snprintf(text, sizeof text, "scan_part_%02d.ply", row + 1);
        SetListCell(list, row, 0, text);
        std::snprintf(text, sizeof text, "%d", 1200 + 317 * row);
        SetListCell(list, row, 1, text);
        std::snprintf(text, sizeof text, "%d", 2 * (1200 + 317 * row) - 4);
        SetListCell(list, row, 2, text);
    }
    LVITEMA selected = {};
    selected.stateMask = LVIS_SELECTED;
    selected.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&selected));
}

void ShowStatus(HWND panel, const char* what, const char* value) {
    char text[128];
    std::snprintf(text, sizeof text, "%s: %s", what, value);
    SetDlgItemTextA(panel, kStatusId, text);
}

void OpenSampleMenu(HWND panel) {
    ksMenuData* entries[kMenuItemCount];
    for (int k = 0; k < kMenuItemCount; ++k)
        entries[k] = kMenuItems[k] ? new ksMenuData(kFirstMenuCommand + k, kMenuItems[k]) : nullptr;
    RECT button;
    GetWindowRect(GetDlgItem(panel, kMenuButtonId), &button);
    MenuDescription description = {};
    description.origin = POINT{button.left, button.bottom};
    description.placement = kMenuAtOrigin;
    description.title = "File";
    description.translucent = 1;
    description.opacityPercent = 90;
    description.entries = entries;
    description.entryCount = kMenuItemCount;
    OpenMenu(panel, description);  // takes over the entries even when it fails
}

void OnCommand(HWND panel, int id, int code) {
    if (id == kMenuButtonId && code == 0) {
        OpenSampleMenu(panel);
    } else if (id == kResetButtonId && code == 0) {
        SendDlgItemMessageA(panel, kSpinnerId, SPM_RESET, 0, 0);
        ShowStatus(panel, "Scale", "reset");
    } else if (id == kComboId && code == CBN_SELCHANGE) {
        LRESULT choice = SendDlgItemMessageA(panel, kComboId, CB_GETCURSEL, 0, 0);
        if (choice >= 0 && choice < 3) ShowStatus(panel, "Up axis", kAxisChoices[choice]);
    } else if (id >= kFirstMenuCommand && id < kFirstMenuCommand + kMenuItemCount &&
               kMenuItems[id - kFirstMenuCommand]) {
        ShowStatus(panel, "Menu", kMenuItems[id - kFirstMenuCommand]);
    }
}

LRESULT OnEraseBackground(HWND panel, HDC dc) {
    RECT client;
    GetClientRect(panel, &client);
    FillSolidRect(dc, client, ToolkitColour(kFaceColour));
    return 1;
}

LRESULT OnDestroy(HWND panel) {
    if (openPanel != panel) return 0;
    openPanel = nullptr;
    if (panelIsTheProgram) PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return OnEraseBackground(panel, reinterpret_cast<HDC>(wParam));
        case WM_COMMAND:
            OnCommand(panel, LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DESTROY:
            return OnDestroy(panel);
    }
    return DefWindowProcA(panel, message, wParam, lParam);
}

bool RegisterPanelClasses(HINSTANCE instance) {
    if (!RegisterToolkitClasses(instance)) return false;
    WNDCLASSA description = {};
    if (GetClassInfoA(instance, kPanelClass, &description)) return true;
    description.lpfnWndProc = PanelProc;
    description.hInstance = instance;
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.lpszClassName = kPanelClass;
    return RegisterClassA(&description) != 0;
}

HWND CreatePanel(HINSTANCE instance, HWND owner, int x, int y) {
    if (!RegisterPanelClasses(instance)) return nullptr;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND panel = CreateWindowExA(0, kPanelClass, kPanelTitle, style, x, y, frame.right - frame.left,
                                 frame.bottom - frame.top, owner, nullptr, instance, nullptr);
    if (!panel) return nullptr;
    AddButtonsGroup(panel);
    AddCombo(panel);
    AddListBox(panel);
    AddTree(panel);
    AddListView(panel);
    AddControl(panel, kStaticClass, "Choices made here show on this line.", 0, 400, 10, 192, 30,
               kStatusId);
    return panel;
}

// Lets every window paint what is pending.
void PumpMessages(DWORD forMs) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    } while (GetTickCount() - start < forMs);
}

// Copies a window's client area into dc at its place relative to origin (screen).
void CopyClient(HWND window, HDC target, POINT origin) {
    RECT client;
    GetClientRect(window, &client);
    POINT at = {0, 0};
    ClientToScreen(window, &at);
    HDC source = GetDC(window);
    BitBlt(target, at.x - origin.x, at.y - origin.y, client.right, client.bottom, source, 0, 0,
           SRCCOPY);
    ReleaseDC(window, source);
}

// Every visible top-level window of this thread except the panel: the drop-down.
struct PopupCollection {
    HWND panel;
    HDC target;
    POINT origin;
};

BOOL CALLBACK CopyPopup(HWND window, LPARAM lParam) {
    PopupCollection& c = *reinterpret_cast<PopupCollection*>(lParam);
    if (window != c.panel && IsWindowVisible(window)) CopyClient(window, c.target, c.origin);
    return TRUE;
}

bool TakePicture(HWND panel, Image& picture) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kClientWidth;
    info.bmiHeader.biHeight = -kClientHeight;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    POINT origin = {0, 0};
    ClientToScreen(panel, &origin);
    CopyClient(panel, dc, origin);
    PopupCollection popups = {panel, dc, origin};
    EnumThreadWindows(GetCurrentThreadId(), CopyPopup, reinterpret_cast<LPARAM>(&popups));
    GdiFlush();
    picture = Image(kClientWidth, kClientHeight);
    const uint8_t* bgra = static_cast<const uint8_t*>(bits);
    for (int y = 0; y < kClientHeight; ++y)
        for (int x = 0; x < kClientWidth; ++x) {
            const uint8_t* from = bgra + (size_t(y) * kClientWidth + x) * 4;
            uint8_t* to = picture.Pixel(x, y);
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return true;
}

}  // namespace

bool ShowToolkitPanel(HINSTANCE instance, HWND owner) {
    if (!openPanel) openPanel = CreatePanel(instance, owner, CW_USEDEFAULT, CW_USEDEFAULT);
    if (!openPanel) return false;
    ShowWindow(openPanel, SW_SHOWNORMAL);
    SetForegroundWindow(openPanel);
    return true;
}

int RunToolkitPanel(HINSTANCE instance) {
    if (!ShowToolkitPanel(instance, nullptr)) return 1;
    panelIsTheProgram = true;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    panelIsTheProgram = false;
    return 0;
}

bool CaptureToolkitPanel(HINSTANCE instance, Image& picture, std::string& reason) {
    HWND panel = CreatePanel(instance, nullptr, 0, 0);
    if (!panel) {
        reason = "the toolkit panel could not be created";
        return false;
    }
    ShowWindow(panel, SW_SHOWNORMAL);
    UpdateWindow(panel);
    SetForegroundWindow(panel);
    PumpMessages(200);
    // A click on the combo's field opens its drop-down, as a user's would.
    SendDlgItemMessageA(panel, kComboId, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PumpMessages(300);
    bool ok = TakePicture(panel, picture);
    if (!ok) reason = "no memory for the picture";
    DestroyWindow(panel);
    return ok;
}
