// What the import sequence asks of the user interface. The Windows build
// answers with the plug-in's skinned dialogs (dialogs_win.cpp); native tests
// bring doubles.
#pragma once

#include "hostsdk/hostapi.h"

class DazAzu;

// Gives the skinned frame the library's bitmaps; once per import.
void PrepareDialogs();
// The options dialog: 1 when the user pressed "Import", 0 for "Cancel".
int RunOptionsDialog(DazAzu& importer);
// The progress dialog with the worker: 1 when the build finished, 0 when it
// failed or was cancelled. Returns only after the worker has ended.
int RunProgressDialog(DazAzu& importer);
// The about box, modal, owned by owner.
void ShowAboutBox(HWND owner);
// The toolkit's message box, modal, owned by owner.
void ShowMessage(HWND owner, const char* text, unsigned style);
