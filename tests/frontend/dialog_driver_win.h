// Plays the user in front of modal dialogs that run on another thread: the
// mouse and keyboard messages a real click, key press or typing sends,
// posted into the dialog thread's queue so that its modal loop (and the
// dialog manager in it) handles them as it would handle real input.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

// Lives on the thread that runs the dialogs. It lets the driver wait until
// its input has been handled, and it catches the caption presses by which a
// dialog asks the system to drag it (counting them, so that no move loop
// starts under a test).
class DialogThreadHook {
  public:
    DialogThreadHook();
    ~DialogThreadHook();
    // Caption presses (WM_NCLBUTTONDOWN with HTCAPTION) posted to dialogs.
    int CaptionPresses() const { return captionPresses; }

    DialogThreadHook(const DialogThreadHook&) = delete;
    DialogThreadHook& operator=(const DialogThreadHook&) = delete;

  private:
    static LRESULT CALLBACK OnMessage(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook;
    std::atomic<int> captionPresses{0};
};

// Returns once everything posted to window's thread before it has been
// handled, or once the window has gone or hidden (or after a guard of ten
// seconds).
void Flush(HWND window);

// Runs work on the window's thread, between two of its messages, and returns
// once it has run (or the window has gone). For what must happen there, such
// as painting a window and reading its pixels back.
void RunOnWindowThread(HWND window, const std::function<void()>& work);

// A left click at a client point of the window: move, press, release. A
// disabled control does not get it: as on screen, its parent does.
void ClickAt(HWND window, int x, int y);
// A left click in the middle of the control.
void Click(HWND control);
void ClickItem(HWND dialog, int id);
// A right click in the middle of the control.
void RightClick(HWND control);

// The window that has the keyboard focus in the window's thread.
HWND FocusOf(HWND window);
// A key pressed and released in the focused window of the dialog's thread.
void PressKey(HWND dialog, UINT key);
// Characters typed into the focused window of the dialog's thread.
void TypeText(HWND dialog, const std::string& text);
// Clicks into a text field, selects all of it and types text over it.
void ReplaceText(HWND field, const std::string& text);

// The dialog (#32770) of this process owned by owner, or null after the time-out.
HWND WaitForOwnedDialog(HWND owner, DWORD timeoutMs = 20000);
// Waits until the window is gone; false after the time-out.
bool WaitUntilGone(HWND window, DWORD timeoutMs = 20000);
