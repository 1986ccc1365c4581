#include "tests/frontend/dialog_driver_win.h"

#include <atomic>
#include <string>

#include "tests/toolkit/window_test_support_win.h"

namespace {

// Posted after the input; when the dialog thread takes it from its queue,
// everything posted before it has been handled.
const UINT kFlushMarker = WM_APP + 0x3F1;

DialogThreadHook* activeHook;
// Markers carry a number, so that a late one cannot end a later wait.
std::atomic<LONG> flushesPosted{0};
std::atomic<LONG> flushesSeen{0};

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

// A disabled control takes no mouse input: the click lands on the closest
// enabled ancestor, at the same place on screen.
HWND ReceiverOf(HWND window, int& x, int& y) {
    while (!IsWindowEnabled(window) && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
        HWND parent = GetParent(window);
        POINT p = {x, y};
        MapWindowPoints(window, parent, &p, 1);
        x = p.x;
        y = p.y;
        window = parent;
    }
    return window;
}

POINT Middle(HWND control) {
    RECT client;
    GetClientRect(control, &client);
    return {client.right / 2, client.bottom / 2};
}

}  // namespace

DialogThreadHook::DialogThreadHook() {
    activeHook = this;
    hook = SetWindowsHookExA(WH_GETMESSAGE, OnMessage, nullptr, GetCurrentThreadId());
}

DialogThreadHook::~DialogThreadHook() {
    UnhookWindowsHookEx(hook);
    activeHook = nullptr;
}

LRESULT CALLBACK DialogThreadHook::OnMessage(int code, WPARAM wParam, LPARAM lParam) {
    MSG* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && activeHook) {
        if (message->message == kFlushMarker) {
            message->message = WM_NULL;
            if (message->lParam)
                (*reinterpret_cast<const std::function<void()>*>(message->lParam))();
            const LONG seen = static_cast<LONG>(message->wParam);
            if (seen > flushesSeen) flushesSeen = seen;
        } else if (message->message == WM_NCLBUTTONDOWN && message->wParam == HTCAPTION) {
            ++activeHook->captionPresses;
            message->message = WM_NULL;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

namespace {

// Posts a marker (with work for the window's thread, or none) and waits
// until the thread has taken it. A dialog that has ended hides at once and
// its queue may never be read again: then there is nothing to wait for (a
// destroyed window's messages go with it).
void PostMarkerAndWait(HWND window, const std::function<void()>* work) {
    const LONG marker = ++flushesPosted;
    if (!PostMessageA(window, kFlushMarker, static_cast<WPARAM>(marker),
                      reinterpret_cast<LPARAM>(work)))
        return;  // the window is gone
    const DWORD start = GetTickCount();
    while (flushesSeen < marker) {
        if (!IsWindow(window) || !IsWindowVisible(window)) return;
        if (GetTickCount() - start > 10000) return;
        Sleep(1);
    }
}

}  // namespace

// Twice: what the handling of the input posted in turn (a dialog asking
// for a drag, say) is handled too.
void Flush(HWND window) {
    PostMarkerAndWait(window, nullptr);
    PostMarkerAndWait(window, nullptr);
}

void RunOnWindowThread(HWND window, const std::function<void()>& work) {
    PostMarkerAndWait(window, &work);
}

void ClickAt(HWND window, int x, int y) {
    HWND receiver = ReceiverOf(window, x, y);
    PostMessageA(receiver, WM_MOUSEMOVE, 0, Point(x, y));
    PostMessageA(receiver, WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
    PostMessageA(receiver, WM_LBUTTONUP, 0, Point(x, y));
    Flush(receiver);
}

void Click(HWND control) {
    const POINT middle = Middle(control);
    ClickAt(control, middle.x, middle.y);
}

void ClickItem(HWND dialog, int id) { Click(GetDlgItem(dialog, id)); }

void RightClick(HWND control) {
    const POINT middle = Middle(control);
    int x = middle.x, y = middle.y;
    HWND receiver = ReceiverOf(control, x, y);
    PostMessageA(receiver, WM_RBUTTONDOWN, MK_RBUTTON, Point(x, y));
    PostMessageA(receiver, WM_RBUTTONUP, 0, Point(x, y));
    Flush(receiver);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// The modal loop translates the key into its character itself where the
// dialog passes the key on, as it does for real keys.
void PressKey(HWND dialog, UINT key) {
    HWND focus = FocusOf(dialog);
    HWND target = focus ? focus : dialog;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, 0)) << 16;
    PostMessageA(target, WM_KEYDOWN, key, scan | 1);
    PostMessageA(target, WM_KEYUP, key, scan | 0xC0000001);
    Flush(dialog);
}

void TypeText(HWND dialog, const std::string& text) {
    HWND focus = FocusOf(dialog);
    HWND target = focus ? focus : dialog;
    for (unsigned char c : text) PostMessageA(target, WM_CHAR, c, 1);
    Flush(dialog);
}

void ReplaceText(HWND field, const std::string& text) {
    Click(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    if (text.empty()) {
        PostMessageA(field, WM_CHAR, VK_BACK, 1);
        Flush(field);
        return;
    }
    TypeText(field, text);
}

namespace {

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwned(HWND window, LPARAM search) {
    OwnedSearch* s = reinterpret_cast<OwnedSearch*>(search);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    if (ClassName(window) != "#32770" || GetWindow(window, GW_OWNER) != s->owner) return TRUE;
    s->found = window;
    return FALSE;
}

}  // namespace

HWND WaitForOwnedDialog(HWND owner, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        OwnedSearch search = {owner, nullptr};
        EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(5);
    }
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(5);
    }
    return true;
}
