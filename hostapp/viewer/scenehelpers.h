// What the viewport works out about a whole scene besides drawing it: the
// colours and size its points show with, where it lies, how to frame it.
#pragma once

#include <cstddef>

#include "hostapp/viewer/camera.h"
#include "hostapp/viewer/drawing.h"

// Fills the mesh's pointColours: a point cloud's from its colours (one per
// vertex) or its first look; a vertex of a face from the unlit colour of
// the first face that uses it.
void SetPointColours(DrawMesh& mesh);

// The side of the square a point is drawn as, in pixels, for a cloud of
// count points: a dense scan stays sharp, a sparse cloud stays visible.
int PointSide(size_t count);

// The camera, turned as given, that shows the whole scene (FitPoints).
Camera FrameScene(const SceneDrawing& drawing, const Camera& camera, int width, int height);

// The longest side of the scene's bounding box (finite points only); 0
// when it is empty or a single point.
float SceneSize(const SceneDrawing& drawing);
