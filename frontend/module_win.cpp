#include "frontend/module.h"

namespace {
HINSTANCE pluginModule;
}

HINSTANCE PluginModule() { return pluginModule; }

void SetPluginModule(HINSTANCE module) { pluginModule = module; }
