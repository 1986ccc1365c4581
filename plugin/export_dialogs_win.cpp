// The export sequence's dialogs: the skinned frame, the options dialog, the
// progress dialog with the worker that writes, the about box, the message box.
#include <windows.h>

#include "exporter/dazazuexport.h"
#include "exporter/export_dialogs.h"
#include "frontend/about.h"
#include "frontend/export_options.h"
#include "frontend/module.h"
#include "frontend/progress.h"
#include "resources/export_ids.h"
#include "toolkit/messagebox.h"

namespace {

HWND OwnerOf(DazAzuExport& exporter) {
    return exporter.hostInterface ? exporter.hostInterface->GetMAXHWnd() : nullptr;
}

// The export's writing as the progress dialog's job.
class ExportJob : public ProgressJob {
  public:
    explicit ExportJob(DazAzuExport& e) : exporter(e) {}
    void Run(HWND window) override { exporter.RunWrite(window); }
    int RunWithoutWindow() override { return exporter.WriteFileHere(); }
    unsigned Total() override { return exporter.progressTotal; }
    const char* Name() override { return exporter.baseName; }
    bool ShowPrompts() override { return exporter.showPrompts != 0; }
    HWND Owner() override { return OwnerOf(exporter); }
    std::atomic<int>& CancelFlag() override { return exporter.cancelFlag; }
    int NoThreadMessage() override { return IDS_NO_EXPORT_THREAD; }

  private:
    DazAzuExport& exporter;
};

}  // namespace

void PrepareExportDialogs() { SetupPluginSkin(); }

// "Selected Only" is offered when the host asked for the selection.
int RunExportOptionsDialog(DazAzuExport& exporter) {
    return ShowExportOptionsDialog(OwnerOf(exporter), exporter.options,
                                   exporter.options.selectedOnly != 0);
}

int RunExportProgressDialog(DazAzuExport& exporter) {
    ExportJob job(exporter);
    return ShowProgressDialog(job);
}

void ShowExportAbout(HWND owner) {
    SetupPluginSkin();
    ShowAboutDialog(owner);
}

void ShowExportMessage(HWND owner, const char* text, unsigned style) {
    ToolkitMessageBox(owner, text, style);
}
