// The progress dialog and the import worker: the mesh build runs on a worker
// thread while this modal dialog shows its steps and offers "Cancel Import".
#pragma once

#include <windows.h>

class DazAzu;

// The bar's colour while an import runs; the closing fade starts from it.
const COLORREF kImportBarColour = 0x0067913E;

const UINT kStartWorkerTimer = 1039;  // 100 ms: start the worker once the dialog shows
const UINT kFadeTimer = 1040;         // 700 ms the first time, then 50 ms: one fade step
const UINT kCloseTimer = 1041;        // 100 ms: close after the fade

// Runs dialog 103 modally over the host's main window: 1 when the build
// finished, 0 when it failed, was cancelled or the worker could not start.
// Returns only after the worker thread has ended, so the importer may go.
int ShowProgressDialog(DazAzu& importer);

// Starts the worker for the dialog. When the thread cannot be started it
// says so (with prompts) in a message box over the dialog and answers false.
bool StartImportWorker(HWND dialog, DazAzu& importer);

// The worker thread's body; startRecord is the library's worker start record.
unsigned __stdcall ImportWorker(void* startRecord);

// The colour moved toward the host's face colour: factor 1 gives the
// colour, 0 the face colour; each channel truncated toward zero.
COLORREF BlendColour(COLORREF colour, float factor);

// What the worker runs: the importer's mesh build unless a test puts a
// stand-in here (null restores the mesh build).
typedef void (*ImportBuild)(DazAzu& importer, HWND progressWindow);
void SetImportBuild(ImportBuild build);
