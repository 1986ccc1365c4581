// ksCheckBox: a check box drawn as a 13 by 13 box with a tick, or, with
// BS_PUSHLIKE, as a push button that stays down while checked. A complete
// click toggles it and sends BN_CLICKED; F2 renames it through a
// ksInplaceEdit when the parent agrees.
#pragma once

#include <windows.h>

// Sent to the parent on F2 (wParam 0, lParam 0): a non-zero answer lets the
// rename start. Sent to the check box, it starts renaming at once. Answers 1.
const UINT CKM_BEGINRENAME = 0x785;

// The rename's result. The in-place editor sends the check box WM_COMMAND
// with wParam CKN_RENAMED and lParam the new text; the check box takes the
// text and tells its parent by WM_COMMAND with its id in the low word,
// CKN_RENAMED in the high word and the text (const char*, valid only during
// the send) as lParam. An empty or cancelled edit sends the old text back.
const WORD CKN_RENAMED = 0x786;

struct CheckBoxRecord {
    int checked;  // 1 checked, 0 not
    int pressed;  // the left button went down here and has not come up
};

LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Where the 13 by 13 box lies in a client rectangle for a style: at the right
// with BS_LEFTTEXT, else at the left; at the top with BS_TOP, the bottom with
// BS_BOTTOM, else vertically centred less one pixel; never above the top.
RECT CheckBoxBoxRect(const RECT& client, DWORD style);
