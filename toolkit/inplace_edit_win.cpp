#include <cstring>

#include "toolkit/checkbox.h"
#include "toolkit/class_names.h"
#include "toolkit/colours.h"
#include "toolkit/edit_subclass.h"
#include "toolkit/fonts.h"
#include "toolkit/inplace_edit.h"
#include "toolkit/window_helpers.h"
#include "toolkit/window_record.h"

namespace {

// The field takes Enter and Escape to its parent (the edit subclass), gets
// the focus and has its whole text selected, ready to be typed over.
void CreateField(HWND window, InplaceEditRecord& record, const CREATESTRUCTA& create) {
    DWORD flags = create.lpCreateParams ? *static_cast<const DWORD*>(create.lpCreateParams) : 0;
    record.field = CreateWindowExA(
        WS_EX_CLIENTEDGE, "Edit", record.text, WS_CHILD | WS_VISIBLE, 0, 0, create.cx, create.cy,
        window, reinterpret_cast<HMENU>(kInplaceEditFieldId), WindowModule(window), nullptr);
    HFONT font = GetToolkitFont((flags & kInplaceEditSmallFont) ? 1 : 2);
    SendMessageA(record.field, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SubclassEdit(record.field);
    SetFocus(record.field);
    SendMessageA(record.field, EM_SETSEL, 0, -1);
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA& create) {
    InplaceEditRecord* record = CreateWindowRecord<InplaceEditRecord>(window);
    // Without a record there is nowhere to keep the text: refuse the creation.
    if (!record) return -1;
    record->target = create.hwndParent;
    GetWindowTextA(record->target, record->text, sizeof record->text);
    CreateField(window, *record, create);
    // Under capture a click anywhere outside reaches us and ends the edit.
    SetCapture(window);
    return 1;
}

// Sends the result to the target once per edit, whichever way the edit
// ends: an empty or cancelled entry sends the old text back.
void Commit(HWND window, InplaceEditRecord& record) {
    if (record.committed) return;
    record.committed = 1;
    if (!record.cancelled) {
        char entry[sizeof record.text] = "";
        GetWindowTextA(record.field, entry, sizeof entry);
        if (entry[0] != '\0') strcpy(record.text, entry);
    }
    SendMessageA(record.target, WM_COMMAND, CKN_RENAMED, reinterpret_cast<LPARAM>(record.text));
    PostMessageA(window, WM_CLOSE, 0, 0);
}

LRESULT OnDestroy(HWND window, InplaceEditRecord* record) {
    if (record) {
        // Closing normally deactivates the popup first, which commits; this
        // covers a popup that is destroyed without ever losing activation.
        Commit(window, *record);
        UnsubclassEdit(record->field);
    }
    DestroyWindowRecord(window);
    return 1;
}

LRESULT OnActivate(HWND window, InplaceEditRecord& record, WPARAM state) {
    if (LOWORD(state) != WA_INACTIVE) return 1;
    Commit(window, record);
    return 0;
}

LRESULT OnChar(HWND window, InplaceEditRecord& record, WPARAM character) {
    if (character == VK_RETURN) PostMessageA(window, WM_CLOSE, 0, 0);
    if (character == VK_ESCAPE) {
        record.cancelled = 1;
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return 1;
}

LRESULT OnControlColour(HDC dc) { return ControlColourReply(dc, kFieldColour); }

LRESULT OnButtonDown(HWND window, LPARAM point) {
    RECT client;
    GetClientRect(window, &client);
    POINT p = PointFromLParam(point);
    if (!PtInRect(&client, p)) PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
}

}  // namespace

HWND StartInplaceEdit(HWND owner, DWORD flags) {
    RECT rect;
    GetWindowRect(owner, &rect);
    return CreateWindowExA(0, kInplaceEditClass, "", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, owner, nullptr,
                           WindowModule(owner), &flags);
}

LRESULT CALLBACK InplaceEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return OnCreate(window, *reinterpret_cast<CREATESTRUCTA*>(lParam));
    InplaceEditRecord* record = GetWindowRecord<InplaceEditRecord>(window);
    if (message == WM_DESTROY) return OnDestroy(window, record);
    if (!record) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_ACTIVATE:
            return OnActivate(window, *record, wParam);
        case WM_CHAR:
            return OnChar(window, *record, wParam);
        case WM_CTLCOLOREDIT:
            return OnControlColour(reinterpret_cast<HDC>(wParam));
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            return OnButtonDown(window, lParam);
        case WM_ERASEBKGND:
            return 1;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
