// The real plug-in library, loaded once by path beside the test program.
#pragma once

#include <windows.h>

#include <string>

#include "hostsdk/max.h"

std::string PluginPath();
// Loaded on first use and kept for the whole run; null when it cannot be loaded.
HMODULE PluginLibrary();

typedef const char* (*LibDescriptionFn)();
typedef int (*LibNumberClassesFn)();
typedef ClassDesc* (*LibClassDescFn)(int);
typedef ULONG (*LibVersionFn)();
typedef ULONG (*CanAutoDeferFn)();
typedef int (*LibInitializeFn)();

template <typename Fn>
Fn PluginEntry(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

template <typename Fn>
Fn PluginEntry(const char* name) {
    return PluginEntry<Fn>(PluginLibrary(), name);
}
