// A stand-in for the HTML Help control (fake_hhctrl.dll): its HtmlHelpA, at
// ordinal 14 like the system's, records each call and answers a help window
// of its own, or none when told so.
#pragma once

#include <windows.h>

struct FakeHelpState {
    int calls;
    HWND owner;
    char path[1024];
    UINT command;
    DWORD_PTR data;
    int answerNone;  // set by a test: answer no window
    HWND window;     // the help window last answered
};

// Exported by name from fake_hhctrl.dll.
typedef FakeHelpState* (*FakeHelpStateFunction)();
