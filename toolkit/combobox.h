// ksComboBox: a drop-down selector. A read-only field shows the chosen item;
// the arrow button, a click or the field open the choices in a ksMenu below
// the control. Up and Down in the field and the wheel step through the
// choices. The parent hears of every change by WM_COMMAND with CBN_SELCHANGE.
// Items are added with CB_ADDSTRING; a null text or the text "<separator>"
// adds a separator line, which is never a choice.
#pragma once

#include <windows.h>

const int kComboArrowId = 9999;
// A choice k comes back from the drop-down as WM_COMMAND kComboFirstCommand + k.
const UINT kComboFirstCommand = 32000;

struct ComboBoxRecord {
    int selection;  // choice shown, -1 for none
    int lastIndex;  // index of the last choice, -1 when there is none
    HWND edit;
    char** items;  // texts in stored order, separators included
    int itemCount;
    int itemCapacity;
};

LRESULT CALLBACK ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
