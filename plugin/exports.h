// The library's six exported entry points, by their plain names.
#pragma once

#include "hostsdk/max.h"

// The library's one class descriptor: each library built from this folder
// (the importer, the exporter) defines its own.
ClassDesc* TheClassDesc();

extern "C" {
const char* LibDescription();
int LibNumberClasses();
ClassDesc* LibClassDesc(int i);
ULONG LibVersion();
ULONG CanAutoDefer();
int LibInitialize();
}
