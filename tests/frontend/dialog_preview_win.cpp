// Puts one of the plug-in's dialogs on screen for a while so that it can be
// captured and looked at:
//   dialog_preview progress MS   the progress dialog part way through a build
//   dialog_preview message MS    the toolkit message box with a build error
// The dialog stays MS milliseconds, then closes by itself.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "frontend/progress.h"
#include "plugin/dazazu.h"
#include "plugin/module.h"
#include "scene/progress.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/messagebox.h"

namespace {

DWORD showFor = 3000;

void BuildPartWay(DazAzu& importer, HWND dialog) {
    importer.progressTotal = 1000;
    SendMessageA(dialog, kProgressStepText, 25, 0);
    SendMessageA(dialog, kProgressCount, 0, 420);
    Sleep(showFor);
    SendMessageA(dialog, kProgressFinished, 0, 0);
}

DWORD WINAPI CloseBoxLater(void*) {
    Sleep(showFor);
    HWND box = FindToolkitMessageBox();
    if (box) PostMessageA(box, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* what = argc > 1 ? argv[1] : "progress";
    if (argc > 2) showFor = static_cast<DWORD>(std::atoi(argv[2]));
    PrepareToolkit();
    SetPluginModule(ThisModule());
    if (std::strcmp(what, "message") == 0) {
        CloseHandle(CreateThread(nullptr, 0, CloseBoxLater, nullptr, 0, nullptr));
        ToolkitMessageBox(nullptr, "not enough memory to create 2500000 vertices", MB_ICONWARNING);
        return 0;
    }
    DazAzu* importer = new DazAzu();
    std::strcpy(importer->baseName, "bunny_scan");
    importer->showPrompts = 1;
    SetImportBuild(BuildPartWay);
    int result = ShowProgressDialog(*importer);
    delete importer;
    return result == 1 ? 0 : 1;
}
