// The import sequence's dialogs: the skinned frame, the progress dialog with
// its worker, the toolkit message box.
#include <windows.h>

#include "frontend/progress.h"
#include "plugin/dazazu.h"
#include "plugin/dialogs.h"
#include "plugin/module.h"
#include "toolkit/messagebox.h"
#include "toolkit/skin.h"

namespace {

// Caption tab (twice), rail end, top-right, bottom-left, bottom-right,
// resizable bottom-right, badge.
const int kSkinBitmaps[8] = {116, 116, 115, 117, 110, 111, 114, 112};
const int kSkinTabWidth = 102;

}  // namespace

void PrepareDialogs() { SetupSkin(PluginModule(), kSkinBitmaps, kSkinTabWidth); }

// Until the options dialog exists the saved options are used as they are.
int RunOptionsDialog(DazAzu& importer) { return 1; }

int RunProgressDialog(DazAzu& importer) { return ShowProgressDialog(importer); }

void ShowAboutBox(HWND owner) {}

void ShowMessage(HWND owner, const char* text, unsigned style) {
    ToolkitMessageBox(owner, text, style);
}
