// Puts the export options dialog on screen for a while, with the exporter
// library's templates linked in, so that it can be captured and looked at:
//   export_dialog_preview export-options MS       the defaults, nothing selected
//   export_dialog_preview export-options-open MS  chosen options, a selection,
//                                                 the format's drop-down open
// The dialog stays MS milliseconds, then closes by itself.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "frontend/export_options.h"
#include "frontend/module.h"
#include "resources/export_ids.h"
#include "tests/toolkit/window_test_support_win.h"

namespace {

DWORD showFor = 3000;
bool openDropDown = false;

DWORD WINAPI CloseDialogLater(void*) {
    HWND dialog = WaitForDialogWithChild(IDC_EXPORT);
    if (dialog && openDropDown)
        PostMessageA(GetDlgItem(dialog, IDC_EXPORT_FORMAT), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    Sleep(showFor);
    if (dialog) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* what = argc > 1 ? argv[1] : "export-options";
    if (argc > 2) showFor = static_cast<DWORD>(std::atoi(argv[2]));
    PrepareToolkit();
    SetPluginModule(ThisModule());
    ExportOptions options;
    openDropDown = std::strcmp(what, "export-options-open") == 0;
    if (openDropDown) {
        options.format = kExportAscii;
        options.scale = 1234.56789f;
        options.vertexColors = 0;
        options.mapChannels = 0;
        options.selectedOnly = 1;
    }
    CloseHandle(CreateThread(nullptr, 0, CloseDialogLater, nullptr, 0, nullptr));
    return ShowExportOptionsDialog(nullptr, options, openDropDown);
}
