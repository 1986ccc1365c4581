// The progress dialog and its worker: a job (the import's mesh build, the
// export's writing) runs on a worker thread while this modal dialog shows
// its steps and offers to cancel it.
#pragma once

#include <windows.h>

#include <atomic>

class DazAzu;

// What the dialog runs and shows.
class ProgressJob {
  public:
    virtual ~ProgressJob() {}
    // The worker's body: reports to the dialog and ends with its finished
    // or failed message.
    virtual void Run(HWND progressWindow) = 0;
    // The same on the calling thread, without a dialog: 1 when it finished.
    virtual int RunWithoutWindow() = 0;
    virtual unsigned Total() = 0;  // what the count messages count toward
    virtual const char* Name() = 0;  // shown under the bar
    virtual bool ShowPrompts() = 0;
    virtual HWND Owner() = 0;
    // Raised on the interface thread, read by the worker at its progress points.
    virtual std::atomic<int>& CancelFlag() = 0;
    virtual int NoThreadMessage() = 0;  // string id: the worker cannot start
};

// The bar's colour while an import runs; the closing fade starts from it.
const COLORREF kImportBarColour = 0x0067913E;

const UINT kStartWorkerTimer = 1039;  // 100 ms: start the worker once the dialog shows
const UINT kFadeTimer = 1040;         // 700 ms the first time, then 50 ms: one fade step
const UINT kCloseTimer = 1041;        // 100 ms: close after the fade

// Runs dialog 103 modally over the job's owner: 1 when the job finished, 0
// when it failed, was cancelled or the worker could not start. Returns only
// after the worker thread has ended, so the job may go.
int ShowProgressDialog(ProgressJob& job);
// The same for the import's mesh build.
int ShowProgressDialog(DazAzu& importer);

// Starts the worker for the dialog. When the thread cannot be started it
// says so (with prompts) in a message box over the dialog and answers false.
bool StartProgressWorker(HWND dialog, ProgressJob& job);

// The worker thread's body; startRecord is the library's worker start record.
unsigned __stdcall ProgressWorker(void* startRecord);

// The colour moved toward the host's face colour: factor 1 gives the
// colour, 0 the face colour; each channel truncated toward zero.
COLORREF BlendColour(COLORREF colour, float factor);

// What the worker runs: the importer's mesh build unless a test puts a
// stand-in here (null restores the mesh build).
typedef void (*ImportBuild)(DazAzu& importer, HWND progressWindow);
void SetImportBuild(ImportBuild build);
