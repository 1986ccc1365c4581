// What the export sequence asks of the user interface. The exporter library
// answers with its skinned dialogs; native tests bring doubles.
#pragma once

#include "hostsdk/hostapi.h"

class DazAzuExport;

void PrepareExportDialogs();
// The options dialog: 1 when the user pressed "Export", 0 for "Cancel".
int RunExportOptionsDialog(DazAzuExport& exporter);
// The progress dialog with the worker that writes the records: 1 when all
// were written, 0 when the write failed or was cancelled. Returns only after
// the worker has ended.
int RunExportProgressDialog(DazAzuExport& exporter);
void ShowExportAbout(HWND owner);
void ShowExportMessage(HWND owner, const char* text, unsigned style);
