// Messages from the mesh build to the progress dialog.
#pragma once

const unsigned kAppMessage = 0x8000;                  // WM_APP
const unsigned kProgressStepText = kAppMessage + 11;  // wParam: string id, or 0 to clear
const unsigned kProgressCount = kAppMessage + 12;     // lParam: elements done
const unsigned kProgressFinished = kAppMessage + 13;
const unsigned kProgressFailed = kAppMessage + 15;
const unsigned kProgressFraction = kAppMessage + 16;  // lParam: pointer to a float 0..1
