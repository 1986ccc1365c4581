// ksInplaceEdit: the popup editor a check box renames itself with. It covers
// its owner, edits the owner's text and sends the result back to the owner
// as WM_COMMAND with wParam CKN_RENAMED and lParam the text (checkbox.h).
// Enter or a click outside commits; Escape sends the old text back.
#pragma once

#include <windows.h>

// Identifier of the edit field inside the popup.
const int kInplaceEditFieldId = 8888;

// Bit 0 of the 32-bit flags word the creation parameter points to: font 1
// when set, font 2 when clear.
const DWORD kInplaceEditSmallFont = 1;

struct InplaceEditRecord {
    int cancelled;   // Escape was pressed: the old text goes back
    HWND target;     // the window whose text is being edited (the owner)
    char text[256];  // the text sent back
    HWND field;      // the edit field child
    int committed;   // the result has been sent back; it is sent once only
};

LRESULT CALLBACK InplaceEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Opens an editor over the owner's window rectangle, editing its text.
HWND StartInplaceEdit(HWND owner, DWORD flags);
