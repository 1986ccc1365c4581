#include <windows.h>

#include "frontend/module.h"
#include "importer/resstring.h"
#include "plugin/exports.h"
#include "resources/resource_ids.h"
#include "toolkit/startup.h"

namespace {

// Set on the first LibInitialize: later calls answer 1 even after a failed first one.
bool initialised;

void ReportControlsFailed() {
    // The caption loads through the same buffer, so the text is copied first.
    const char* text = LoadResString(IDS_CONTROLS_FAILED);
    CStr message(text ? text : "");
    const char* caption = LoadResString(IDS_CONTROLS_FAILED_CAPTION);
    MessageBoxA(nullptr, message.data(), caption, MB_ICONEXCLAMATION);
}

}  // namespace

extern "C" {

const char* LibDescription() { return LoadResString(IDS_LIB_DESCRIPTION); }

int LibNumberClasses() { return 1; }

ClassDesc* LibClassDesc(int i) { return i == 0 ? TheClassDesc() : nullptr; }

ULONG LibVersion() { return VERSION_3DSMAX; }

ULONG CanAutoDefer() { return 1; }

int LibInitialize() {
    if (initialised) return 1;
    initialised = true;
    if (RegisterToolkitClasses(PluginModule())) return 1;
    ReportControlsFailed();
    return 0;
}

}  // extern "C"
