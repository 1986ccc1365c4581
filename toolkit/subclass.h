// Subclassing of standard controls: one process-wide slot per kind of
// control holds the system class's procedure. All windows of a kind share it,
// which is sound because they all subclass the same system class.
#pragma once

#include <windows.h>

struct SubclassSlot {
    WNDPROC previous;
};

// Replaces the window's procedure and keeps the previous one in the slot.
void InstallSubclass(HWND window, WNDPROC procedure, SubclassSlot& slot);
// The same for a standard edit field, which also gets margins of one pixel.
void InstallEditSubclass(HWND window, WNDPROC procedure, SubclassSlot& slot);
// Puts the slot's procedure back; dialogs call it on WM_DESTROY.
void RestoreSubclass(HWND window, const SubclassSlot& slot);
// Hands a message the subclass does not consume to the kept procedure.
LRESULT CallSubclassed(const SubclassSlot& slot, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam);
