#include "tests/frontend/fake_htmlhelp_win.h"

#include <cstring>

namespace {

FakeHelpState state;
const char kWindowClass[] = "ksFakeHelpWindow";

HWND MakeHelpWindow() {
    WNDCLASSA description = {};
    description.lpfnWndProc = DefWindowProcA;
    description.hInstance = GetModuleHandleA("fake_hhctrl.dll");
    description.lpszClassName = kWindowClass;
    RegisterClassA(&description);
    HWND window = CreateWindowExA(0, kWindowClass, "fake help", WS_POPUP | WS_VISIBLE, 300, 200,
                                  200, 150, nullptr, nullptr, description.hInstance, nullptr);
    return window;
}

}  // namespace

extern "C" FakeHelpState* FakeHelpStateOf() { return &state; }

extern "C" HWND WINAPI HtmlHelpA(HWND owner, LPCSTR path, UINT command, DWORD_PTR data) {
    ++state.calls;
    state.owner = owner;
    lstrcpynA(state.path, path ? path : "", sizeof state.path);
    state.command = command;
    state.data = data;
    state.window = state.answerNone ? nullptr : MakeHelpWindow();
    return state.window;
}
