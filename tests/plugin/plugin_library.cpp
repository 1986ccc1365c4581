#include "tests/plugin/plugin_library.h"

std::string PluginPath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    dir.erase(dir.find_last_of("\\/") + 1);
    return dir + "ks_dazazu.dli";
}

HMODULE PluginLibrary() {
    static HMODULE module = LoadLibraryA(PluginPath().c_str());
    return module;
}
