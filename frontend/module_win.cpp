#include "frontend/module.h"

#include "toolkit/skin.h"

namespace {
HINSTANCE pluginModule;
}

HINSTANCE PluginModule() { return pluginModule; }

void SetPluginModule(HINSTANCE module) { pluginModule = module; }

namespace {

// Caption tab (twice), rail end, top-right, bottom-left, bottom-right,
// resizable bottom-right, badge: the same ids in both libraries' scripts.
const int kSkinBitmaps[8] = {116, 116, 115, 117, 110, 111, 114, 112};
const int kSkinTabWidth = 102;

}  // namespace

void SetupPluginSkin() { SetupSkin(PluginModule(), kSkinBitmaps, kSkinTabWidth); }
