// What the progress dialog tests share: a prepared importer, a record of the
// messages the dialog sends to its bar and of its timers, and a spy that
// answers toolkit message boxes while a dialog runs.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

class DazAzu;

// Toolkit, skin, string table and dialogs from this program's resources.
void PrepareFrontend();

// Records, on this thread, the colours and fractions sent to progress bars
// and the timers the progress dialog receives, while alive.
class DialogRecorder {
  public:
    DialogRecorder();
    ~DialogRecorder();

    std::vector<COLORREF> colours;
    std::vector<float> fractions;
    std::vector<UINT_PTR> timers;
    // Fractions that came after Mark() was called (from any thread).
    int fractionsAfterMark = 0;
    void Mark() { marked = true; }

    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

  private:
    static LRESULT CALLBACK OnSent(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK OnPosted(int code, WPARAM wParam, LPARAM lParam);
    HHOOK sentHook;
    HHOOK postedHook;
    std::atomic<bool> marked{false};
};

// A toolkit message box seen by the spy.
struct SpiedBox {
    std::string text;
    UINT style = 0;
    HWND owner = nullptr;
    bool ownerIsProgressDialog = false;
    bool progressDialogOpen = false;  // any progress dialog on screen when it showed
};

// Answers every toolkit message box with "OK" until stopped, recording each,
// and an options dialog, should one show, with "Import".
class BoxSpy {
  public:
    BoxSpy();
    ~BoxSpy();
    std::vector<SpiedBox> Stop();

    BoxSpy(const BoxSpy&) = delete;
    BoxSpy& operator=(const BoxSpy&) = delete;

  private:
    static DWORD WINAPI Run(void* self);
    std::atomic<bool> stopping{false};
    std::vector<SpiedBox> seen;
    HANDLE thread;
};

// The progress dialog's controls.
const int kCancelImportId = 1021;
const int kStepTextId = 1020;
const int kBarId = 1019;
const int kGroupId = 1017;
const int kDoneId = 1022;
const int kBaseNameId = 1023;
const int kOptionsImportId = 1025;

// The fraction the dialog's bar shows now (read from its record).
float BarFraction(HWND dialog);
std::string ControlText(HWND dialog, int id);
bool ControlVisible(HWND dialog, int id);
// Presses "Cancel Import" as a user would.
void PressCancelImport(HWND dialog);
// Waits for the progress dialog; null after the time-out.
HWND WaitForProgressDialog();
