#include "tests/hostapp/fakedialogs_win.h"

#include <cstdlib>
#include <cstring>

namespace {

// An empty in-memory dialog template: header, then no menu, default class, no title.
struct EmptyTemplate {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};

INT_PTR RunDialog(HWND owner, DLGPROC proc, LPARAM param) {
    static EmptyTemplate tpl;  // static storage keeps the DWORD alignment the call needs
    std::memset(&tpl, 0, sizeof tpl);
    tpl.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    tpl.header.cx = 200;
    tpl.header.cy = 170;
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &tpl.header, owner, proc, param);
}

HWND AddControl(HWND dialog, const char* cls, const char* text, DWORD style, int id, int x, int y,
                int w, int h, HWND parent = nullptr) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                           parent ? parent : dialog, reinterpret_cast<HMENU>(INT_PTR(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

struct CheckSlot {
    int id;
    const char* text;
    bool FakeOptions::*field;
};

const CheckSlot kChecks[] = {
    {1016, "Replace Scene", &FakeOptions::replaceScene},
    {1009, "Flip ZY-Axis", &FakeOptions::flipZY},
    {1012, "Center Pivot", &FakeOptions::centerPivot},
    {1005, "Generate Normals", &FakeOptions::generateNormals},
    {1001, "Vertex Normals", &FakeOptions::vertexNormals},
    {1002, "Vertex Colors", &FakeOptions::vertexColors},
    {1003, "Texture Coordinates", &FakeOptions::textureCoords},
    {1004, "Materials", &FakeOptions::materials},
};

HWND ScaleField(HWND dialog) { return GetWindow(GetDlgItem(dialog, 1010), GW_CHILD); }

void InitOptions(HWND dialog, FakeOptions& o) {
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&o));
    int y = 4;
    for (const CheckSlot& c : kChecks) {
        HWND box =
            AddControl(dialog, "BUTTON", c.text, BS_AUTOCHECKBOX | WS_TABSTOP, c.id, 8, y, 150, 18);
        SendMessageA(box, BM_SETCHECK, (o.*c.field) ? BST_CHECKED : BST_UNCHECKED, 0);
        y += 20;
    }
    EnableWindow(GetDlgItem(dialog, 1001), o.normalsAvailable);
    AddControl(dialog, "EDIT", o.name.c_str(), WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 1018, 8, y,
               150, 20);
    HWND scale = AddControl(dialog, "STATIC", "", 0, 1010, 8, y + 24, 150, 22);
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", o.scale);
    AddControl(dialog, "EDIT", text, WS_BORDER | WS_TABSTOP, 0, 0, 0, 120, 20, scale);
    AddControl(dialog, "BUTTON", "Import", WS_TABSTOP, 1025, 8, y + 50, 70, 22);
    AddControl(dialog, "BUTTON", "Cancel", WS_TABSTOP, IDCANCEL, 90, y + 50, 70, 22);
}

void TakeOptions(HWND dialog, FakeOptions& o) {
    for (const CheckSlot& c : kChecks)
        o.*c.field = SendDlgItemMessageA(dialog, c.id, BM_GETCHECK, 0, 0) == BST_CHECKED;
    char text[256];
    GetDlgItemTextA(dialog, 1018, text, 64);  // the real dialog keeps 63 characters
    o.name = text;
    GetWindowTextA(ScaleField(dialog), text, sizeof text);
    o.scale = std::atof(text);
}

INT_PTR CALLBACK OptionsProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    FakeOptions* o = reinterpret_cast<FakeOptions*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    switch (msg) {
        case WM_INITDIALOG:
            InitOptions(dialog, *reinterpret_cast<FakeOptions*>(lp));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == 1025 && HIWORD(wp) == BN_CLICKED) {
                o->focusAtImport = GetDlgCtrlID(GetFocus());
                TakeOptions(dialog, *o);
                EndDialog(dialog, 1);
            } else if (LOWORD(wp) == IDCANCEL) {
                EndDialog(dialog, 0);
            }
            return TRUE;
    }
    return FALSE;
}

struct MessageRecord {
    char text[2048];
    DWORD style;
};

INT_PTR CALLBACK MessageProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(dialog, GWLP_USERDATA, lp);
            AddControl(dialog, "BUTTON", "OK", 0, 1, 60, 60, 70, 20);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == 1 && HIWORD(wp) == BN_CLICKED) EndDialog(dialog, 1);
            if (LOWORD(wp) == IDCANCEL) EndDialog(dialog, 0);
            return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR RunFakeOptionsDialog(HWND owner, FakeOptions& options) {
    return RunDialog(owner, OptionsProc, reinterpret_cast<LPARAM>(&options));
}

INT_PTR RunFakeMessageBox(HWND owner, const char* text) {
    MessageRecord record = {};
    std::strncpy(record.text, text, sizeof record.text - 1);
    return RunDialog(owner, MessageProc, reinterpret_cast<LPARAM>(&record));
}
