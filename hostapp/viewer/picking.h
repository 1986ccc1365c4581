// Which mesh of the drawing a click in the viewport is on: the ray through
// the pixel against the meshes' faces (and the points of clouds), with each
// mesh's box tested first; the boxes also show the selection.
#pragma once

#include <cstddef>

#include "hostapp/viewer/camera.h"
#include "hostapp/viewer/drawing.h"

// Fills drawing.boxes, one box a mesh: one pass over every vertex.
void AddMeshBoxes(SceneDrawing& drawing);

struct Pick {
    int mesh = -1;           // index into drawing.meshes; -1: nothing
    bool abandoned = false;  // the budget ran out first: nothing is known
};

// A point of a cloud counts as clicked this many pixels from its centre.
const float kPickPointRadius = 3.0f;
// The most faces and points one click tests: about a fifth of a second.
const size_t kPickBudget = 20000000;

// The mesh that the ray through the centre of pixel (x, y) of a picture of
// the given size meets first: faces of the meshes whose boxes it meets,
// nearest box first, until the next box lies behind the nearest hit, and
// the points of clouds within kPickPointRadius pixels. Faces count from
// both sides; in perspective nothing nearer than the near plane is hit,
// as nothing there is drawn. Meshes without a box (drawing.boxes empty)
// are all tested. Gives up, picking nothing, before testing more than
// budget faces and points.
Pick PickMesh(const SceneDrawing& drawing, const Camera& camera, int width, int height, int x,
              int y, size_t budget = kPickBudget);
