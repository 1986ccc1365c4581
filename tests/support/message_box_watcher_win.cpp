#include "tests/support/message_box_watcher_win.h"

#include <cstring>

namespace {

bool IsDialogOfThisProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return false;
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    return std::strcmp(className, "#32770") == 0;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM found) {
    if (IsDialogOfThisProcess(window))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// The message text is the static control that carries text (the icon's has none).
BOOL CALLBACK FindTextStatic(HWND child, LPARAM text) {
    char className[64] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0) return TRUE;
    char buffer[1024] = "";
    GetWindowTextA(child, buffer, sizeof buffer);
    if (buffer[0] == '\0') return TRUE;
    *reinterpret_cast<std::string*>(text) = buffer;
    return FALSE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher()
    : stopping(false), watcher(&MessageBoxWatcher::Watch, this) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stopping = true;
    watcher.join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() {
    std::lock_guard<std::mutex> hold(seenLock);
    return seen;
}

void MessageBoxWatcher::Watch() {
    while (!stopping) {
        std::vector<HWND> boxes;
        EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&boxes));
        for (HWND box : boxes) Answer(box);
        Sleep(10);
    }
}

void MessageBoxWatcher::Answer(HWND box) {
    SeenMessageBox entry;
    char caption[256] = "";
    GetWindowTextA(box, caption, sizeof caption);
    entry.caption = caption;
    EnumChildWindows(box, FindTextStatic, reinterpret_cast<LPARAM>(&entry.text));
    {
        // Recorded before it closes: the tested call may return the moment it does.
        std::lock_guard<std::mutex> hold(seenLock);
        seen.push_back(entry);
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    // Wait for it to go, so that one box is never recorded twice.
    while (IsWindow(box) && !stopping) Sleep(5);
}
