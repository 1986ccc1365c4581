// Help > Toolkit...: a window with every toolkit control and sample content,
// for a person to try them, and its picture for --toolkit-snapshot.
// The host registers the toolkit's classes under its own module: the same
// code the plug-in carries, without reaching into the plug-in.
#pragma once

#include <windows.h>

#include <string>

#include "hostapp/viewer/drawing.h"

// Opens the panel owned by owner, or brings the open one to the front.
// False when the toolkit's classes or the window could not be created.
bool ShowToolkitPanel(HINSTANCE instance, HWND owner);

// --toolkit: opens the panel as the program's only window and handles its
// messages until it is closed. The exit status: 0, or 1 when it could not open.
int RunToolkitPanel(HINSTANCE instance);

// Shows the panel with the combo box's drop-down open and takes its picture:
// the panel's client area with the drop-down drawn over it.
bool CaptureToolkitPanel(HINSTANCE instance, Image& picture, std::string& reason);
