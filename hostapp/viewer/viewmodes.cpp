#include "hostapp/viewer/viewmodes.h"

namespace {

const char* const kModeNames[kDisplayModeCount] = {"shaded", "edges", "wireframe", "points"};

}  // namespace

const char* DisplayModeName(DisplayMode mode) { return kModeNames[int(mode)]; }
