#include <process.h>

#include "frontend/module.h"
#include "frontend/progress.h"
#include "hostsdk/colorman.h"
#include "importer/progress.h"
#include "importer/resstring.h"
#include "resources/resource_ids.h"
#include "toolkit/colours.h"
#include "toolkit/groupbox.h"
#include "toolkit/messagebox.h"
#include "toolkit/progress.h"
#include "toolkit/skin.h"

namespace {

// What the worker is handed: the job, then the dialog it reports to.
struct WorkerStart {
    ProgressJob* job;
    HWND dialog;
};

// One job runs at a time (the host waits in the modal dialog), so the
// dialog's state is library-wide.
WorkerStart workerStart;
float fadeFactor;
HANDLE workerThread;
bool buildReported;  // the build sent its finished or failed message
bool buildFinished;

ProgressJob& JobOf(HWND dialog) {
    return *reinterpret_cast<ProgressJob*>(
        static_cast<LONG_PTR>(GetWindowLongPtrA(dialog, GWLP_USERDATA)));
}

void SetBarFraction(HWND dialog, float fraction) {
    SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PGM_SETFRACTION, 0,
                        reinterpret_cast<LPARAM>(&fraction));
}

void SetBarColour(HWND dialog, COLORREF colour) {
    SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PGM_SETCOLOR, 0, static_cast<LPARAM>(colour));
}

// Waits for the worker's end while handling what other threads send to this
// thread: the worker may still be in a SendMessage to the dialog, or ending
// it, and must not be left waiting on us.
void WaitForWorker() {
    if (!workerThread) return;
    for (;;) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        DWORD woken = MsgWaitForMultipleObjects(1, &workerThread, FALSE, 50, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) break;
    }
    CloseHandle(workerThread);
    workerThread = nullptr;
}

INT_PTR OnInitDialog(HWND dialog, LPARAM job) {
    SetWindowLongPtrA(dialog, GWLP_USERDATA, static_cast<LONG_PTR>(job));
    CenterWindow(dialog, GetParent(dialog));
    ApplySkinRegion(dialog);
    SubclassGroupBox(GetDlgItem(dialog, IDC_PROGRESS_GROUP));
    SetBarColour(dialog, kImportBarColour);
    SetDlgItemTextA(dialog, IDC_BASE_NAME, JobOf(dialog).Name());
    SetTimer(dialog, kStartWorkerTimer, 100, nullptr);
    return TRUE;
}

void OnStartWorkerTimer(HWND dialog) {
    KillTimer(dialog, kStartWorkerTimer);
    ProgressJob& job = JobOf(dialog);
    job.CancelFlag() = 0;
    // Without a worker nothing would ever close the dialog: end it as a
    // cancelled job, so that the host's call abandons it quietly.
    if (!StartProgressWorker(dialog, job)) EndDialog(dialog, 0);
}

void OnFadeTimer(HWND dialog) {
    KillTimer(dialog, kFadeTimer);
    fadeFactor = fadeFactor - 0.1f;
    SetBarColour(dialog, BlendColour(kImportBarColour, fadeFactor));
    if (fadeFactor > 0.0f)
        SetTimer(dialog, kFadeTimer, 50, nullptr);
    else
        SetTimer(dialog, kCloseTimer, 100, nullptr);
}

// Timers wait, still running, until the dialog is on screen.
INT_PTR OnTimer(HWND dialog, UINT_PTR timer) {
    if (!IsWindowVisible(dialog)) return TRUE;
    switch (timer) {
        case kStartWorkerTimer:
            OnStartWorkerTimer(dialog);
            break;
        case kFadeTimer:
            OnFadeTimer(dialog);
            break;
        case kCloseTimer:
            KillTimer(dialog, kCloseTimer);
            EndDialog(dialog, 1);
            break;
    }
    return TRUE;
}

INT_PTR OnStepText(HWND dialog, WPARAM id) {
    const char* text = id ? LoadResString(static_cast<int>(id)) : nullptr;
    SetDlgItemTextA(dialog, IDC_STEP_TEXT, text ? text : "");
    return TRUE;
}

INT_PTR OnCount(HWND dialog, LPARAM done) {
    const unsigned int total = JobOf(dialog).Total();
    float fraction = 0.0f;
    if (total != 0)
        fraction = static_cast<float>(static_cast<double>(static_cast<unsigned int>(done)) / total);
    SetBarFraction(dialog, fraction);
    return TRUE;
}

INT_PTR OnFraction(HWND dialog, LPARAM fraction) {
    SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PGM_SETFRACTION, 0, fraction);
    return TRUE;
}

// With prompts the bar fades before the dialog closes; without, it closes now.
INT_PTR OnBuildFinished(HWND dialog) {
    buildReported = true;
    buildFinished = true;
    SetDlgItemTextA(dialog, IDC_STEP_TEXT, "");
    ShowWindow(GetDlgItem(dialog, IDC_CANCEL_IMPORT), SW_HIDE);
    if (JobOf(dialog).ShowPrompts()) {
        fadeFactor = 1.0f;
        SetTimer(dialog, kFadeTimer, 700, nullptr);
        return TRUE;
    }
    EndDialog(dialog, 1);
    return TRUE;
}

INT_PTR OnBuildFailed(HWND dialog) {
    buildReported = true;
    JobOf(dialog).CancelFlag() = 1;
    EndDialog(dialog, 0);
    return TRUE;
}

// "Cancel Import" only raises the flag: the worker stops at its next
// progress point and answers with the build-failed message. Escape and
// closing the window (command 2) do nothing.
INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDC_CANCEL_IMPORT:
            JobOf(dialog).CancelFlag() = 1;
            break;
        case IDC_DONE:
            EndDialog(dialog, 1);
            break;
    }
    return TRUE;
}

// The step text and the base name are standard statics: without this they
// would show the system's light field on the host's face colour.
INT_PTR OnStaticColour(HDC dc) { return ControlColourReply(dc, kFaceColour); }

INT_PTR OnPaint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    PaintSkin(dialog, dc);
    EndPaint(dialog, &paint);
    return FALSE;
}

// The worker must be gone before the dialog is: it may still be sending to
// it or ending it. Should the dialog go while the build still runs, the
// build is asked to stop rather than run on unseen.
INT_PTR OnDestroy(HWND dialog) {
    UnsubclassGroupBox(GetDlgItem(dialog, IDC_PROGRESS_GROUP));
    if (workerThread && !buildReported) JobOf(dialog).CancelFlag() = 1;
    WaitForWorker();
    return TRUE;
}

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, lParam);
        case WM_TIMER:
            return OnTimer(dialog, wParam);
        case kProgressStepText:
            return OnStepText(dialog, wParam);
        case kProgressCount:
            return OnCount(dialog, lParam);
        case kProgressFraction:
            return OnFraction(dialog, lParam);
        case kProgressFinished:
            return OnBuildFinished(dialog);
        case kProgressFailed:
            return OnBuildFailed(dialog);
        case WM_COMMAND:
            return OnCommand(dialog, wParam);
        case WM_CTLCOLORSTATIC:
            return OnStaticColour(reinterpret_cast<HDC>(wParam));
        case WM_PAINT:
            return OnPaint(dialog);
        case WM_LBUTTONDOWN:
            DragBySkin(dialog, lParam);
            return FALSE;
        case WM_DESTROY:
            return OnDestroy(dialog);
        default:
            return FALSE;
    }
}

BYTE BlendChannel(BYTE channel, BYTE face, float factor) {
    return static_cast<BYTE>(static_cast<int>(factor * static_cast<float>(channel - face) + face));
}

}  // namespace

COLORREF BlendColour(COLORREF colour, float factor) {
    const COLORREF face = ToolkitColour(kFaceColour);
    return RGB(BlendChannel(GetRValue(colour), GetRValue(face), factor),
               BlendChannel(GetGValue(colour), GetGValue(face), factor),
               BlendChannel(GetBValue(colour), GetBValue(face), factor));
}

bool StartProgressWorker(HWND dialog, ProgressJob& job) {
    workerStart.job = &job;
    workerStart.dialog = dialog;
    // The handle is kept (not closed by the thread's end) so the dialog can wait for it.
    uintptr_t thread = _beginthreadex(nullptr, 0, ProgressWorker, &workerStart, 0, nullptr);
    if (thread) {
        workerThread = reinterpret_cast<HANDLE>(thread);
        return true;
    }
    const char* text = LoadResString(job.NoThreadMessage());
    if (job.ShowPrompts()) ToolkitMessageBox(dialog, text, MB_ICONWARNING);
    return false;
}

// A cancel pressed after the job's last test still cancels it, as long as
// the dialog is open. Returning ends the thread through the runtime.
unsigned __stdcall ProgressWorker(void* startRecord) {
    const WorkerStart start = *static_cast<WorkerStart*>(startRecord);
    start.job->Run(start.dialog);
    if (start.job->CancelFlag()) EndDialog(start.dialog, 0);
    return 0;
}

int ShowProgressDialog(ProgressJob& job) {
    buildReported = false;
    buildFinished = false;
    INT_PTR result = DialogBoxParamA(PluginModule(), MAKEINTRESOURCEA(IDD_PROGRESS), job.Owner(),
                                     ProgressDialogProc, reinterpret_cast<LPARAM>(&job));
    // No window could be made for the progress (the system is out of them):
    // the job runs here without it, rather than not at all while the host's
    // call says it succeeded.
    if (result == -1) return job.RunWithoutWindow();
    // Normally already done on WM_DESTROY.
    WaitForWorker();
    // Only a build that reported its end counts as finished.
    return result == 1 && buildFinished ? 1 : 0;
}
