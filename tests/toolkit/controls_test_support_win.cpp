#include "tests/toolkit/controls_test_support_win.h"

#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/checkbox.h"

namespace {

const char kRecordingParentClass[] = "ksTestRecordingParent";

}  // namespace

RecordingParent::RecordingParent(int width, int height) : window(nullptr), allowRename(false) {
    WNDCLASSA description = {};
    description.lpfnWndProc = Proc;
    description.hInstance = ThisModule();
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.lpszClassName = kRecordingParentClass;
    RegisterClassA(&description);
    window = CreateWindowExA(0, kRecordingParentClass, "", WS_POPUP, 40, 40, width, height, nullptr,
                             nullptr, ThisModule(), this);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

RecordingParent::~RecordingParent() { DestroyWindow(window); }

std::vector<int> RecordingParent::CommandCodes() const {
    std::vector<int> codes;
    for (const SentMessage& sent : messages)
        if (sent.message == WM_COMMAND) codes.push_back(HIWORD(sent.wParam));
    return codes;
}

int RecordingParent::Count(UINT message) const {
    int n = 0;
    for (const SentMessage& sent : messages) n += sent.message == message;
    return n;
}

LRESULT CALLBACK RecordingParent::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        CREATESTRUCTA* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    RecordingParent* self =
        reinterpret_cast<RecordingParent*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_COMMAND:
        case WM_CHAR:
        case WM_RBUTTONUP:
        case WM_SETFOCUS:
        case WM_VSCROLL:
        case CKM_BEGINRENAME: {
            if (!self) break;
            SentMessage sent = {message, wParam, lParam, ""};
            if (message == WM_COMMAND && HIWORD(wParam) == CKN_RENAMED && lParam)
                sent.text = reinterpret_cast<const char*>(lParam);
            self->messages.push_back(sent);
            if (message == CKM_BEGINRENAME) return self->allowRename ? 1 : 0;
            return 0;
        }
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

HeldKeys::HeldKeys(bool control, bool alt) {
    GetKeyboardState(saved);
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(state);
}

HeldKeys::~HeldKeys() { SetKeyboardState(saved); }

void PumpPending() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > limitMs) return false;
        PumpPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

HWND MakeControl(const char* className, const char* text, DWORD style, int x, int y, int width,
                 int height, HWND parent, int id) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(),
                           nullptr);
}

COLORREF WindowFramePixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

int CountInWindowRect(HWND window, const RECT& rect, COLORREF colour) {
    HDC dc = GetDC(window);
    int n = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) n += GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return n;
}
