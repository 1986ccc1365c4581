#include "tests/frontend/options_test_support_win.h"

#include <cstring>

#include "frontend/help.h"
#include "frontend/options.h"
#include "tests/frontend/progress_test_support_win.h"

std::string TestFolder(const std::string& name) {
    char dir[MAX_PATH] = "";
    GetTempPathA(sizeof dir, dir);
    std::string path = std::string(dir) + name + "_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

ImporterFixture::ImporterFixture() : importer(new DazAzu()) {
    PrepareFrontend();
    SetHtmlHelpLookup(kSystemHtmlHelp);
    core.SetMainWindow(mainWindow.Window());
    core.SetDir(APP_PLUGCFG_DIR, TestFolder("ks_options_cfg").c_str());
    // No help file here: "Help" answers "Help not found".
    core.SetDir(APP_HELP_DIR, TestFolder("ks_options_help").c_str());
    importer->hostInterface = &core;
    importer->importInterface = &scene;
    importer->showPrompts = 1;
    std::strcpy(importer->baseName, "bunny");
    importer->vertexCount = 35947;
    importer->triangleCount = 69451;
    importer->materialCount = 0;
    importer->vertexFlags = 0x01;
}

ImporterFixture::~ImporterFixture() { delete importer; }

int DriveOptionsDialog(DazAzu& importer, const std::function<void(HWND dialog)>& user,
                       bool* leftOpen) {
    bool open = false;
    Watcher watcher([&] {
        HWND dialog = WaitForDialogWithChild(kOptionsImportId);
        if (!dialog) return;
        Flush(dialog);  // the opening steps are done
        user(dialog);
        if (IsWindow(dialog) && IsWindowVisible(dialog)) {
            open = true;
            ClickItem(dialog, IDCANCEL);
        }
    });
    const int result = ShowOptionsDialog(importer);
    watcher.Join();
    if (leftOpen) *leftOpen = open;
    return result;
}

HWND ScaleField(HWND dialog) {
    return FindWindowExA(GetDlgItem(dialog, 1010), nullptr, "Edit", nullptr);
}

std::string ScaleText(HWND dialog) { return WindowText(ScaleField(dialog)); }

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
