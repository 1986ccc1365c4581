// Helpers for the control tests: a parent that records every message its
// children send it, held modifier keys, and a bounded message pump.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct SentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string text;  // for a rename notification, the text lParam pointed to
};

// A visible top-level window filled with the sentinel colour that records
// WM_COMMAND, WM_CHAR, WM_RBUTTONUP, WM_SETFOCUS, WM_VSCROLL and
// CKM_BEGINRENAME, and answers CKM_BEGINRENAME as told.
class RecordingParent {
  public:
    RecordingParent(int width, int height);
    ~RecordingParent();
    HWND Window() const { return window; }
    const std::vector<SentMessage>& Messages() const { return messages; }
    // The high words of the WM_COMMAND messages, in order.
    std::vector<int> CommandCodes() const;
    int Count(UINT message) const;
    void Clear() { messages.clear(); }
    void AllowRename(bool allow) { allowRename = allow; }

    RecordingParent(const RecordingParent&) = delete;
    RecordingParent& operator=(const RecordingParent&) = delete;

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window;
    std::vector<SentMessage> messages;
    bool allowRename;
};

// Holds Ctrl and/or Alt in this thread's key state while it lives.
class HeldKeys {
  public:
    HeldKeys(bool control, bool alt);
    ~HeldKeys();

    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

  private:
    BYTE saved[256];
};

// Dispatches this thread's messages until done() holds; false when it still
// does not after a generous bound (the test then fails instead of hanging).
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 5000);
// Dispatches the messages waiting now.
void PumpPending();

// A child control of a class made on the toolkit's parent windows.
HWND MakeControl(const char* className, const char* text, DWORD style, int x, int y, int width,
                 int height, HWND parent, int id);

// Colour of a pixel of the whole window (frame included) from the screen.
COLORREF WindowFramePixel(HWND window, int x, int y);
// How many pixels of a client rectangle of a window have a colour.
int CountInWindowRect(HWND window, const RECT& rect, COLORREF colour);
