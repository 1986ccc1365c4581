#include "tests/toolkit/view_test_support_win.h"

#include <windowsx.h>

#include "tests/toolkit/controls_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/fonts.h"

namespace {

const char kNotifyParentClass[] = "ksTestNotifyParent";

// Screen points of the mouse moves this thread has taken from its queue
// since the last MoveCursorTo.
std::vector<POINT> moves;
HHOOK moveHook = nullptr;

LRESULT CALLBACK NoteMoves(int code, WPARAM removal, LPARAM message) {
    const MSG* taken = reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE && taken->message == WM_MOUSEMOVE)
        moves.push_back(taken->pt);
    return CallNextHookEx(moveHook, code, removal, message);
}

void HookMoves() {
    if (!moveHook)
        moveHook = SetWindowsHookExA(WH_GETMESSAGE, NoteMoves, nullptr, GetCurrentThreadId());
}

}  // namespace

NotifyParent::NotifyParent(int width, int height) : window(nullptr) {
    WNDCLASSA description = {};
    description.lpfnWndProc = Proc;
    description.hInstance = ThisModule();
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.lpszClassName = kNotifyParentClass;
    RegisterClassA(&description);
    window = CreateWindowExA(0, kNotifyParentClass, "", WS_POPUP | WS_CLIPCHILDREN, 40, 40, width,
                             height, nullptr, nullptr, ThisModule(), this);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

NotifyParent::~NotifyParent() { DestroyWindow(window); }

int NotifyParent::CountOf(UINT code) const {
    int n = 0;
    for (const PassedNotification& passed : notifications) n += passed.code == code;
    return n;
}

void NotifyParent::Clear() {
    notifications.clear();
    leftClicks.clear();
}

LRESULT CALLBACK NotifyParent::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        CREATESTRUCTA* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    NotifyParent* self = reinterpret_cast<NotifyParent*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_NOTIFY: {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            if (self)
                self->notifications.push_back(
                    {wParam, header->idFrom, header->hwndFrom, header->code});
            return 0;
        }
        case WM_LBUTTONDOWN:
            if (self) self->leftClicks.push_back({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(GetToolkitFont(0));
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window, &client);
            HBRUSH brush = CreateSolidBrush(kSentinel);
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
            DeleteObject(brush);
            return 1;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeView(const char* className, DWORD style, int clientWidth, int clientHeight, HWND parent,
              int id) {
    return CreateWindowExA(WS_EX_CLIENTEDGE, className, "", WS_CHILD | WS_VISIBLE | style, 10, 10,
                           clientWidth + 4, clientHeight + 4, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(),
                           nullptr);
}

bool WaitForMoveAt(POINT screen) {
    HookMoves();
    return PumpUntil([&] {
        for (const POINT& move : moves)
            if (move.x == screen.x && move.y == screen.y) return true;
        return false;
    });
}

bool MoveCursorTo(HWND window, int x, int y) {
    POINT screen = {x, y};
    ClientToScreen(window, &screen);
    POINT now;
    GetCursorPos(&now);
    if (now.x == screen.x && now.y == screen.y) return true;
    HookMoves();
    moves.clear();
    SetCursorPos(screen.x, screen.y);
    return WaitForMoveAt(screen);
}

void PostMouse(HWND window, UINT message, WPARAM keys, int x, int y) {
    PostMessageA(window, message, keys, MAKELPARAM(x, y));
    PumpPending();
}

void PostWheel(HWND window, int delta, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    PostMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(point.x, point.y));
    PumpPending();
}

POINT PositionInParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    POINT corner = {rect.left, rect.top};
    ScreenToClient(GetParent(window), &corner);
    return corner;
}
