#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "toolkit/class_names.h"
#include "toolkit/colours.h"
#include "toolkit/combobox.h"
#include "toolkit/draw.h"
#include "toolkit/fonts.h"
#include "toolkit/menu.h"
#include "toolkit/press_tracking.h"
#include "toolkit/scrollbar.h"
#include "toolkit/subclass.h"
#include "toolkit/window_record.h"

namespace {

const char kSeparatorText[] = "<separator>";

SubclassSlot comboEditSlot;

bool IsSeparator(const char* text) { return strcmp(text, kSeparatorText) == 0; }

// The stored text of choice k (separators not counted), null when there is none.
const char* ChoiceText(const ComboBoxRecord& record, int choice) {
    if (choice < 0) return nullptr;
    for (int i = 0; i < record.itemCount; ++i) {
        if (IsSeparator(record.items[i])) continue;
        if (choice-- == 0) return record.items[i];
    }
    return nullptr;
}

void ShowSelection(const ComboBoxRecord& record) {
    const char* text = ChoiceText(record, record.selection);
    SetWindowTextA(record.edit, text ? text : "");
}

void FreeItems(ComboBoxRecord& record) {
    for (int i = 0; i < record.itemCount; ++i) free(record.items[i]);
    free(record.items);
    record.items = nullptr;
    record.itemCount = 0;
    record.itemCapacity = 0;
}

bool MakeRoomForItem(ComboBoxRecord& record) {
    if (record.itemCount < record.itemCapacity) return true;
    const int capacity = record.itemCapacity ? record.itemCapacity * 2 : 8;
    void* grown = realloc(record.items, capacity * sizeof(char*));
    if (!grown) return false;
    record.items = static_cast<char**>(grown);
    record.itemCapacity = capacity;
    return true;
}

// A text of exactly "<separator>" is a separator like a null text, so it is
// not counted as a choice either.
LRESULT OnAddString(ComboBoxRecord& record, const char* text) {
    if (!text) text = kSeparatorText;
    if (!MakeRoomForItem(record)) return CB_ERRSPACE;
    const size_t size = strlen(text) + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (!copy) return CB_ERRSPACE;
    memcpy(copy, text, size);
    record.items[record.itemCount++] = copy;
    if (!IsSeparator(copy)) ++record.lastIndex;
    return 1;
}

LRESULT OnResetContent(ComboBoxRecord& record) {
    FreeItems(record);
    record.lastIndex = -1;
    record.selection = -1;
    SetWindowTextA(record.edit, "");
    return 1;
}

// Compared unsigned, so a negative index is out of range while there are
// choices; with none, only -1 (no choice) is in range.
LRESULT OnSetCurSel(HWND window, ComboBoxRecord& record, WPARAM index) {
    const bool inRange = record.lastIndex >= 0
                             ? static_cast<UINT>(index) <= static_cast<UINT>(record.lastIndex)
                             : static_cast<int>(index) < 0;
    if (!inRange) return CB_ERR;
    record.selection = static_cast<int>(index) < 0 ? -1 : static_cast<int>(index);
    ShowSelection(record);
    NotifyParent(window, CBN_SELCHANGE);
    return record.selection;
}

// Up, Down and the wheel: steps choices, kept between the first and the last.
void StepSelection(HWND window, const ComboBoxRecord& record, int steps) {
    if (record.lastIndex < 0) return;
    const int next = std::max(0, std::min(record.selection + steps, record.lastIndex));
    if (next == record.selection) return;
    SendMessageA(window, CB_SETCURSEL, next, 0);
    SendMessageA(record.edit, EM_SETSEL, 0, -1);
}

// A command past the last choice means none: it is checked against the
// choices, not the stored items, which include the separators.
LRESULT OnChoice(HWND window, ComboBoxRecord& record, int choice) {
    if (choice == record.selection) return 0;
    record.selection = choice <= record.lastIndex ? choice : -1;
    ShowSelection(record);
    NotifyParent(window, CBN_SELCHANGE);
    return 0;
}

// Builds the drop-down entries; false (with nothing left over) when memory runs out.
bool BuildEntries(const ComboBoxRecord& record, ksMenuData** entries) {
    int choice = 0;
    for (int i = 0; i < record.itemCount; ++i) {
        entries[i] = nullptr;
        if (IsSeparator(record.items[i])) continue;
        entries[i] = new ksMenuData(kComboFirstCommand + choice++, record.items[i]);
        if (entries[i]) continue;
        for (int j = 0; j < i; ++j) delete entries[j];
        return false;
    }
    return true;
}

void OpenDropDown(HWND window, const ComboBoxRecord& record) {
    SetFocus(record.edit);
    ksMenuData** entries = static_cast<ksMenuData**>(
        calloc(record.itemCount ? record.itemCount : 1, sizeof(ksMenuData*)));
    if (!entries) return;
    if (BuildEntries(record, entries)) {
        MenuDescription description = {};
        description.font = ControlFont(window);
        description.placement = kMenuBelowOwner;
        description.opacityPercent = 100;
        description.entries = entries;
        description.entryCount = record.itemCount;
        OpenMenu(window, description);
    }
    free(entries);
}

LRESULT OnCommand(HWND window, ComboBoxRecord& record, WPARAM wParam) {
    const UINT id = LOWORD(wParam);
    if (id >= kComboFirstCommand) return OnChoice(window, record, id - kComboFirstCommand);
    if (id == kComboArrowId && HIWORD(wParam) == BN_CLICKED) {
        OpenDropDown(window, record);
        return 0;
    }
    return 1;
}

LRESULT CALLBACK ComboEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND combo = GetParent(edit);
    switch (message) {
        case WM_SETFOCUS: {
            const LRESULT result = CallSubclassed(comboEditSlot, edit, message, wParam, lParam);
            SendMessageA(edit, EM_SETSEL, 0, -1);
            HideCaret(edit);
            return result;
        }
        case WM_SETCURSOR:
            return 1;
        case WM_KEYDOWN: {
            const ComboBoxRecord* record = GetWindowRecord<ComboBoxRecord>(combo);
            if (record && (wParam == VK_UP || wParam == VK_DOWN))
                StepSelection(combo, *record, wParam == VK_UP ? -1 : 1);
            return 0;
        }
        case WM_LBUTTONDOWN:
            SendMessageA(combo, WM_LBUTTONDOWN, wParam, lParam);
            return 0;
        case WM_MOUSEWHEEL:
            // Some edit procedures keep a single-line field's wheel to themselves.
            return SendMessageA(combo, message, wParam, lParam);
        default:
            return CallSubclassed(comboEditSlot, edit, message, wParam, lParam);
    }
}

int TextHeight(HWND edit) {
    HDC dc = GetDC(edit);
    HGDIOBJ previousFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, "\xD6g", 2, &size);
    SelectObject(dc, previousFont);
    ReleaseDC(edit, dc);
    return size.cy;
}

// The field is centred on the text height, at least 2 from the top.
LRESULT OnSetFont(HWND window, const ComboBoxRecord& record, WPARAM font, LPARAM redraw) {
    SendMessageA(record.edit, WM_SETFONT, font, redraw);
    RECT client;
    GetClientRect(window, &client);
    const int height = TextHeight(record.edit);
    const int y = std::max(2, static_cast<int>((client.bottom - height + 3.5) / 2));
    MoveWindow(record.edit, 4, y, client.right - 19,
               std::min(height, static_cast<int>(client.bottom) - y - 2), TRUE);
    return 1;
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA& create) {
    ComboBoxRecord* record = CreateWindowRecord<ComboBoxRecord>(window);
    if (!record) return -1;
    record->selection = -1;
    record->lastIndex = -1;
    HINSTANCE module = create.hInstance;
    record->edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | ES_READONLY, 4, 2,
                                   create.cx - 19, create.cy - 4, window, nullptr, module, nullptr);
    CreateWindowExA(0, kArrowButtonClass, "", WS_CHILD | WS_VISIBLE, create.cx - 15, 2,
                    kScrollArrowSize, create.cy - 4, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboArrowId)), module, nullptr);
    if (!record->edit) return -1;
    InstallEditSubclass(record->edit, ComboEditProc, comboEditSlot);
    // Until the dialog gives it one, the field shows the drop-down's font.
    OnSetFont(window, *record, reinterpret_cast<WPARAM>(ControlFont(window)), FALSE);
    return 1;
}

LRESULT OnDestroy(HWND window) {
    ComboBoxRecord* record = GetWindowRecord<ComboBoxRecord>(window);
    if (record) {
        RestoreSubclass(record->edit, comboEditSlot);
        FreeItems(*record);
    }
    DestroyWindowRecord(window);
    return 1;
}

LRESULT OnEnable(HWND window, const ComboBoxRecord& record, BOOL enabled) {
    EnableWindow(GetDlgItem(window, kComboArrowId), enabled);
    EnableWindow(record.edit, enabled);
    return 0;
}

LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    Draw3dFrame(dc, client, ToolkitColour(kDarkEdgeColour), ToolkitColour(kLightEdgeColour));
    InflateRect(&client, -1, -1);
    Draw3dFrame(dc, client, RGB(0, 0, 0), ToolkitColour(kFaceColour));
    EndPaint(window, &paint);
    return 0;
}

LRESULT OnEraseBackground(HWND window, HDC dc) {
    RECT rect;
    GetClientRect(window, &rect);
    InflateRect(&rect, 2, 2);
    rect.right -= kScrollArrowSize;
    FillSolidRect(dc, rect, ToolkitColour(kFieldColour));
    return 1;
}

LRESULT OnWheel(HWND window, const ComboBoxRecord& record, WPARAM wParam) {
    StepSelection(window, record, -(GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA));
    return 0;
}

}  // namespace

LRESULT CALLBACK ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window, *reinterpret_cast<CREATESTRUCTA*>(lParam));
        case WM_DESTROY:
            return OnDestroy(window);
        case WM_PAINT:
            return OnPaint(window);
        case WM_ERASEBKGND:
            return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return ControlColourReply(reinterpret_cast<HDC>(wParam), kFieldColour);
    }
    ComboBoxRecord* record = GetWindowRecord<ComboBoxRecord>(window);
    if (!record) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_SETFOCUS:
            SetFocus(record->edit);
            return 0;
        case WM_ENABLE:
            return OnEnable(window, *record, static_cast<BOOL>(wParam));
        case WM_SETFONT:
            return OnSetFont(window, *record, wParam, lParam);
        case WM_COMMAND:
            return OnCommand(window, *record, wParam);
        case WM_LBUTTONDOWN:
            OpenDropDown(window, *record);
            return 0;
        case CB_ADDSTRING:
            return OnAddString(*record, reinterpret_cast<const char*>(lParam));
        case CB_RESETCONTENT:
            return OnResetContent(*record);
        case CB_SETCURSEL:
            return OnSetCurSel(window, *record, wParam);
        case CB_GETCURSEL:
            return record->selection;
        case WM_MOUSEWHEEL:
            return OnWheel(window, *record, wParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
