#include "tests/support/export_doubles.h"

#include "exporter/dazazuexport.h"
#include "exporter/export_dialogs.h"
#include "importer/progress.h"
#include "tests/support/import_doubles.h"

namespace {
ExportDoubles doubles;
}

ExportDoubles& ExportDoublesNow() { return doubles; }

void ResetExportDoubles() { doubles = ExportDoubles(); }

void PrepareExportDialogs() {}

int RunExportOptionsDialog(DazAzuExport& exporter) {
    ++doubles.optionsDialogRuns;
    return doubles.optionsDialog(exporter);
}

int RunExportProgressDialog(DazAzuExport& exporter) {
    Doubles().onSend = nullptr;
    const size_t before = Doubles().sent.size();
    exporter.RunWrite(static_cast<HWND>(kProgressWindowDouble));
    bool finished = false;
    for (size_t k = before; k < Doubles().sent.size(); ++k) {
        const SentMessage& m = Doubles().sent[k];
        if (m.message == kProgressCount && doubles.onProgress) doubles.onProgress(exporter);
        finished = m.message == kProgressFinished;
    }
    return finished && !exporter.cancelFlag ? 1 : 0;
}

void ShowExportAbout(HWND owner) {}

void ShowExportMessage(HWND owner, const char* text, unsigned style) { doubles.messages.push_back(text); }
