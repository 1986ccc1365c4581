// The library's six exported entry points, by their plain names.
#pragma once

#include "hostsdk/max.h"

extern "C" {
const char* LibDescription();
int LibNumberClasses();
ClassDesc* LibClassDesc(int i);
ULONG LibVersion();
ULONG CanAutoDefer();
int LibInitialize();
}
