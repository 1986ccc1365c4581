// The options dialog: shows what the PLY header announced and lets the user
// choose the nine import options and the new object's name before the
// import goes on.
#pragma once

#include <windows.h>

class DazAzu;

// Runs dialog 102 modally over the host's main window. 1 for "Import", after
// the choices have been written into the importer's options and base name;
// 0 for "Cancel", which leaves the importer as it was.
int ShowOptionsDialog(DazAzu& importer);

// n in decimal with a full stop between groups of three digits counted from
// the right (1234567 gives "1.234.567"). The text lies in one static buffer
// that the next call overwrites.
const char* FormatCount(unsigned int n);

// What the dialog gives the scale spinner.
const double kScaleMinimum = 0.001;
const double kScaleMaximum = 10000.0;
const double kScaleStep = 0.1;
const short kScalePrecision = 3;
const double kScaleReset = 100.0;
