// Doubles of the export core's dialog seam: the options dialog answers as
// a test says, the progress dialog runs the write on the calling thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

class DazAzuExport;

struct ExportDoubles {
    // The options dialog: 1 "Export", 0 "Cancel"; it may change the options.
    std::function<int(DazAzuExport&)> optionsDialog = [](DazAzuExport&) { return 1; };
    int optionsDialogRuns = 0;
    // Called at each progress point of the write, as the dialog's Cancel would be.
    std::function<void(DazAzuExport&)> onProgress;
    std::vector<std::string> messages;
};

ExportDoubles& ExportDoublesNow();
void ResetExportDoubles();
