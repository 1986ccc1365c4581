// Puts one of the plug-in's dialogs on screen for a while so that it can be
// captured and looked at:
//   dialog_preview progress MS   the progress dialog part way through a build
//   dialog_preview message MS    the toolkit message box with a build error
//   dialog_preview options MS    the options dialog for a file of positions only
//   dialog_preview options-all MS  the same for a file with normals, colours,
//                                texture coordinates and materials
//   dialog_preview about MS      the about box
//   dialog_preview help MS       the help file in the system's help viewer
//                                (bin/help/ksDazAzu.chm)
// The dialog stays MS milliseconds, then closes by itself.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "frontend/about.h"
#include "frontend/help.h"
#include "frontend/module.h"
#include "frontend/options.h"
#include "frontend/progress.h"
#include "importer/dazazu.h"
#include "importer/progress.h"
#include "ply/ply_schema.h"
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

// Closes the dialog that has a child with this id once the time is up.
struct CloseLater {
    int childId;
    int command;
};

DWORD WINAPI CloseDialogLater(void* what) {
    const CloseLater close = *static_cast<CloseLater*>(what);
    HWND dialog = WaitForDialogWithChild(close.childId);
    Sleep(showFor);
    if (dialog) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(close.command, BN_CLICKED), 0);
    return 0;
}

int PreviewOptions(bool everything) {
    DazAzu* importer = new DazAzu();
    std::strcpy(importer->baseName, everything ? "scan_with_colours" : "bunny");
    importer->showPrompts = 1;
    importer->vertexCount = everything ? 1234567 : 35947;
    importer->triangleCount = everything ? 2469134 : 69451;
    importer->materialCount = everything ? 12 : 0;
    importer->vertexFlags =
        kFlagPositions | (everything ? kFlagNormals | kFlagColours | kFlagTextureCoords : 0);
    importer->options.scale = everything ? 250.5f : 100.0f;
    importer->options.generateNormals = everything ? 0 : 1;
    static CloseLater close = {1025, IDCANCEL};
    CloseHandle(CreateThread(nullptr, 0, CloseDialogLater, &close, 0, nullptr));
    int result = ShowOptionsDialog(*importer);
    delete importer;
    return result;
}

DWORD mainThread;

BOOL CALLBACK PostOkToDialog(HWND window, LPARAM) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32770") == 0) PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

DWORD WINAPI CloseAboutLater(void*) {
    Sleep(showFor + 500);
    EnumThreadWindows(mainThread, PostOkToDialog, 0);
    return 0;
}

int PreviewAbout() {
    mainThread = GetCurrentThreadId();
    CloseHandle(CreateThread(nullptr, 0, CloseAboutLater, nullptr, 0, nullptr));
    return static_cast<int>(ShowAboutDialog(nullptr));
}

// The help viewer runs in this thread: keep its messages going for a while.
int PreviewHelp() {
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string path(exe);
    path = path.substr(0, path.find_last_of('\\')) + "\\help\\ksDazAzu.chm";
    HWND help = CallHtmlHelp(nullptr, path.c_str(), 2, 0);
    if (!help) return 1;
    SetWindowPos(help, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    const DWORD end = GetTickCount() + showFor;
    while (GetTickCount() < end) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
    DestroyWindow(help);
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
    if (std::strcmp(what, "options") == 0) return PreviewOptions(false);
    if (std::strcmp(what, "options-all") == 0) return PreviewOptions(true);
    if (std::strcmp(what, "about") == 0) return PreviewAbout();
    if (std::strcmp(what, "help") == 0) return PreviewHelp();
    DazAzu* importer = new DazAzu();
    std::strcpy(importer->baseName, "bunny_scan");
    importer->showPrompts = 1;
    SetImportBuild(BuildPartWay);
    int result = ShowProgressDialog(*importer);
    delete importer;
    return result == 1 ? 0 : 1;
}
