// The ways the viewport shows a scene: its display modes and standard views,
// with the names the command line gives them.
#pragma once

enum class DisplayMode { kShaded, kEdges, kWireframe, kPoints };
const int kDisplayModeCount = 4;

// "shaded", "edges", "wireframe", "points".
const char* DisplayModeName(DisplayMode mode);

enum class StandardView { kFront, kBack, kLeft, kRight, kTop, kBottom, kThreeQuarter };
const int kStandardViewCount = 7;

// "front", "back", "left", "right", "top", "bottom", "three-quarter"; kept
// in camera.cpp beside the directions they name.
const char* StandardViewName(StandardView view);
