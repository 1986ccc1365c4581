// Reduced stand-ins for meshes too large to turn smoothly, drawn while the
// camera moves.
#pragma once

#include <cstddef>

#include "hostapp/viewer/drawing.h"

// Meshes of more faces than this get a reduced stand-in for moving frames.
const size_t kReduceAboveFaces = 600000;

// Makes the reduced stand-ins for the meshes that need them (their point
// colours set): vertices merged on a grid, faces whose corners merge dropped.
void AddReducedMeshes(SceneDrawing& drawing);
