// Helpers for the tree and list view tests: a parent that records the
// notifications and Ctrl-clicks its views pass on, and posted mouse input.
#pragma once

#include <windows.h>

#include <vector>

struct PassedNotification {
    WPARAM wParam;
    UINT_PTR idFrom;
    HWND hwndFrom;
    UINT code;
};

// A visible top-level window filled with the sentinel colour, with the
// toolkit's font 0, that records WM_NOTIFY and WM_LBUTTONDOWN.
class NotifyParent {
  public:
    NotifyParent(int width, int height);
    ~NotifyParent();
    HWND Window() const { return window; }
    const std::vector<PassedNotification>& Notifications() const { return notifications; }
    int CountOf(UINT code) const;
    const std::vector<POINT>& LeftClicks() const { return leftClicks; }
    void Clear();

    NotifyParent(const NotifyParent&) = delete;
    NotifyParent& operator=(const NotifyParent&) = delete;

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window;
    std::vector<PassedNotification> notifications;
    std::vector<POINT> leftClicks;
};

// A toolkit view with a two-pixel edge, a client area of the given size.
HWND MakeView(const char* className, DWORD style, int clientWidth, int clientHeight, HWND parent,
              int id);

// Moves the real cursor to a client point of a window, as a hand on the mouse
// would, and dispatches messages until the move has been delivered (at once
// when the cursor is there already). False when no move arrived.
bool MoveCursorTo(HWND window, int x, int y);
// Dispatches messages until a mouse move at the screen point has been delivered.
bool WaitForMoveAt(POINT screen);

// Posts a mouse message with a client point of the window and dispatches it.
void PostMouse(HWND window, UINT message, WPARAM keys, int x, int y);
// Posts a wheel turn over a client point of the window (sent as a screen point).
void PostWheel(HWND window, int delta, int x, int y);
// A window's top-left corner in its parent's client coordinates.
POINT PositionInParent(HWND window);
