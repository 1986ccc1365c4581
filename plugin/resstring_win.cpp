#include <windows.h>

#include "frontend/module.h"
#include "importer/resstring.h"

namespace {
// Shared by every caller; the worker thread loads through it only while the
// interface thread waits in the progress dialog.
char stringBuffer[256];
}  // namespace

const char* LoadResString(int id) {
    HINSTANCE module = PluginModule();
    if (!module) return nullptr;
    int length = LoadStringA(module, static_cast<UINT>(id), stringBuffer, sizeof stringBuffer);
    return length > 0 ? stringBuffer : nullptr;
}
