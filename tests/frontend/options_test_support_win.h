// What the options dialog, about box and help tests share: an importer over
// a stand-in host, and a run of a modal dialog on the test's thread while a
// user thread acts on it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "hostsdk/standin.h"
#include "importer/dazazu.h"
#include "tests/frontend/dialog_driver_win.h"
#include "tests/toolkit/window_test_support_win.h"

// A folder of its own under the temporary folder, made if missing.
std::string TestFolder(const std::string& name);

// An importer as DoImport leaves it before the options dialog: the host's
// main window, prompts on, the base name, and the header's counts.
class ImporterFixture {
  public:
    ImporterFixture();
    ~ImporterFixture();

    TestParent mainWindow{320, 200};
    HostScene scene;
    HostCore core{scene};
    DazAzu* importer;
    DialogThreadHook hook;

    ImporterFixture(const ImporterFixture&) = delete;
    ImporterFixture& operator=(const ImporterFixture&) = delete;
};

// Runs the options dialog while user acts on it from its own thread. When
// user leaves the dialog open, "Cancel" is clicked for it and leftOpen says
// so. Answers the dialog's result.
int DriveOptionsDialog(DazAzu& importer, const std::function<void(HWND dialog)>& user,
                       bool* leftOpen = nullptr);

// The scale spinner's edit field, and the text it shows.
HWND ScaleField(HWND dialog);
std::string ScaleText(HWND dialog);
bool Checked(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
std::string ItemText(HWND dialog, int id);
