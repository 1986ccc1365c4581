#include "tests/frontend/progress_test_support_win.h"

#include "frontend/module.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/messagebox.h"
#include "toolkit/progress.h"

void PrepareFrontend() {
    PrepareToolkit();
    SetPluginModule(ThisModule());
}

namespace {

DialogRecorder* recorder;

}  // namespace

DialogRecorder::DialogRecorder() {
    recorder = this;
    sentHook = SetWindowsHookExA(WH_CALLWNDPROC, OnSent, nullptr, GetCurrentThreadId());
    postedHook = SetWindowsHookExA(WH_GETMESSAGE, OnPosted, nullptr, GetCurrentThreadId());
}

DialogRecorder::~DialogRecorder() {
    UnhookWindowsHookEx(sentHook);
    UnhookWindowsHookEx(postedHook);
    recorder = nullptr;
}

LRESULT CALLBACK DialogRecorder::OnSent(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && recorder) {
        if (sent->message == PGM_SETCOLOR)
            recorder->colours.push_back(static_cast<COLORREF>(sent->lParam));
        if (sent->message == PGM_SETFRACTION && sent->lParam) {
            recorder->fractions.push_back(*reinterpret_cast<const float*>(sent->lParam));
            if (recorder->marked) ++recorder->fractionsAfterMark;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK DialogRecorder::OnPosted(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* posted = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && recorder && posted->message == WM_TIMER &&
        GetDlgItem(posted->hwnd, kCancelImportId))
        recorder->timers.push_back(posted->wParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BoxSpy::BoxSpy() : thread(CreateThread(nullptr, 0, Run, this, 0, nullptr)) {}

BoxSpy::~BoxSpy() { Stop(); }

std::vector<SpiedBox> BoxSpy::Stop() {
    if (thread) {
        stopping = true;
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        thread = nullptr;
    }
    return seen;
}

DWORD WINAPI BoxSpy::Run(void* self) {
    BoxSpy& spy = *static_cast<BoxSpy*>(self);
    while (!spy.stopping) {
        // An options dialog, once there is one, is answered with "Import".
        HWND options = WaitForDialogWithChild(kOptionsImportId, 0);
        if (options) {
            SendMessageA(options, WM_COMMAND, MAKEWPARAM(kOptionsImportId, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(options, kOptionsImportId)));
            while (IsWindow(options) && IsWindowVisible(options) && !spy.stopping) Sleep(5);
        }
        HWND box = FindToolkitMessageBox();
        if (box && IsWindowVisible(box)) {
            SpiedBox entry;
            const MessageRecord* record =
                reinterpret_cast<const MessageRecord*>(GetWindowLongPtrA(box, GWLP_USERDATA));
            if (record) {
                entry.text = record->text;
                entry.style = record->style;
            }
            entry.owner = GetWindow(box, GW_OWNER);
            entry.ownerIsProgressDialog = entry.owner && GetDlgItem(entry.owner, kCancelImportId);
            entry.progressDialogOpen = WaitForDialogWithChild(kCancelImportId, 0) != nullptr;
            spy.seen.push_back(entry);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
            while (IsWindow(box) && !spy.stopping) Sleep(5);
        }
        Sleep(5);
    }
    return 0;
}

float BarFraction(HWND dialog) {
    const ProgressRecord* record =
        reinterpret_cast<const ProgressRecord*>(GetWindowLongA(GetDlgItem(dialog, kBarId), 0));
    return record ? record->fraction : -1.0f;
}

std::string ControlText(HWND dialog, int id) {
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool ControlVisible(HWND dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

void PressCancelImport(HWND dialog) {
    SendMessageA(GetDlgItem(dialog, kCancelImportId), BM_CLICK, 0, 0);
}

HWND WaitForProgressDialog() { return WaitForDialogWithChild(kCancelImportId); }
