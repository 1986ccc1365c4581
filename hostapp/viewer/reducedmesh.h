// Reduced stand-ins for meshes and point clouds too large to turn smoothly,
// drawn while the camera moves.
#pragma once

#include <cstddef>

#include "hostapp/viewer/drawing.h"

// Meshes of more faces, and clouds of more points, than this get a reduced
// stand-in for moving frames.
const size_t kReduceAboveFaces = 600000;

// Makes the reduced stand-ins for the meshes that need them (their point
// colours set): vertices merged on a grid, faces whose corners merge dropped.
// Far outliers do not coarsen the grid the rest of the scan is merged on.
void AddReducedMeshes(SceneDrawing& drawing);
