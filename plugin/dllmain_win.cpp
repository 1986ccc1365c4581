// The library's entry routine.
#include <windows.h>

#include "frontend/module.h"
#include "toolkit/unload.h"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetPluginModule(module);
        DisableThreadLibraryCalls(module);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Only on a real unload: at process exit the system reclaims fonts and
        // modules itself, and other threads may already be gone.
        ReleaseToolkit();
    }
    return TRUE;
}
