// The library's own module handle: known from process attach until unload.
#pragma once

#include "hostsdk/hostapi.h"

// Null until the library's entry routine has run.
HINSTANCE PluginModule();
void SetPluginModule(HINSTANCE module);

// Gives the skinned frame the library's bitmaps; once per import or export.
void SetupPluginSkin();
