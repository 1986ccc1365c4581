// The export options dialog: the file's format, the channels written and the
// geometry's flip, scale and selection, chosen before the export goes on.
#pragma once

#include <windows.h>

#include "exporter/exportoptions.h"

// Runs dialog 104 modally over owner. 1 for "Export", after the choices have
// been written into options; 0 for "Cancel" or Escape, which leave options
// as they were. Without offerSelectedOnly (nothing is selected) the
// "Selected Only" box is disabled and unchecked, and "Export" writes 0.
int ShowExportOptionsDialog(HWND owner, ExportOptions& options, bool offerSelectedOnly);

// What the dialog gives the scale spinner: the inverse of the import's range
// and then some, so any import scale can be undone; steps of a tenth of the
// default, and five decimals to show the smallest value.
const double kExportScaleMinimum = 0.00001;
const double kExportScaleMaximum = 10000.0;
const double kExportScaleStep = 0.001;
const short kExportScalePrecision = 5;
const double kExportScaleReset = 0.01;
