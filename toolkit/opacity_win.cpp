#include "toolkit/opacity.h"

namespace {

typedef BOOL(WINAPI* SetLayeredWindowAttributesFn)(HWND, COLORREF, BYTE, DWORD);

// Looked up at run time: older systems have no layered windows.
HMODULE user32Module;
SetLayeredWindowAttributesFn setLayeredWindowAttributes;
bool lookedUp;

SetLayeredWindowAttributesFn LayeredWindowEntry() {
    if (!lookedUp) {
        lookedUp = true;
        user32Module = LoadLibraryA("USER32.dll");
        if (user32Module) {
            FARPROC entry = GetProcAddress(user32Module, "SetLayeredWindowAttributes");
            setLayeredWindowAttributes =
                reinterpret_cast<SetLayeredWindowAttributesFn>(reinterpret_cast<void*>(entry));
        }
    }
    return setLayeredWindowAttributes;
}

}  // namespace

bool SetWindowOpacity(HWND window, int percent) {
    SetLayeredWindowAttributesFn entry = LayeredWindowEntry();
    if (!entry) return false;
    if (percent > 100) percent = 100;
    // A negative percentage would wrap round to a large alpha: treat it as fully transparent.
    if (percent < 0) percent = 0;
    LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    SetWindowLongA(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    BYTE alpha = static_cast<BYTE>(percent * 255 / 100);
    return entry(window, 0, alpha, LWA_ALPHA) != FALSE;
}

void ReleaseOpacityModule() {
    if (user32Module) FreeLibrary(user32Module);
    user32Module = nullptr;
    setLayeredWindowAttributes = nullptr;
    lookedUp = false;
}
