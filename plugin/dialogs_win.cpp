// The import sequence's dialogs: the skinned frame, the options dialog, the
// progress dialog with its worker, the about box, the toolkit message box.
#include <windows.h>

#include "frontend/about.h"
#include "frontend/module.h"
#include "frontend/options.h"
#include "frontend/progress.h"
#include "importer/dazazu.h"
#include "importer/dialogs.h"
#include "toolkit/messagebox.h"
#include "toolkit/skin.h"

void PrepareDialogs() { SetupPluginSkin(); }

int RunOptionsDialog(DazAzu& importer) { return ShowOptionsDialog(importer); }

int RunProgressDialog(DazAzu& importer) { return ShowProgressDialog(importer); }

// The host may ask for the about box before any import has set the skin up.
void ShowAboutBox(HWND owner) {
    PrepareDialogs();
    ShowAboutDialog(owner);
}

void ShowMessage(HWND owner, const char* text, unsigned style) {
    ToolkitMessageBox(owner, text, style);
}
