// The host's viewport picture, drawn in software so that it looks the same
// under any display: z-buffered, lit flat or smooth (from the vertex
// normals a mesh carries), colours given per triangle corner or by a
// texture, visible edges or wireframe lines, and points as small unlit
// squares, seen through a Camera. Both cores draw, each its share of the
// faces into a picture of its own; the pictures merge by depth.
#pragma once

#include <cstdint>
#include <vector>

#include "hostapp/viewer/camera.h"
#include "hostapp/viewer/drawing.h"
#include "hostapp/viewer/viewmodes.h"

struct RenderOptions {
    DisplayMode mode = DisplayMode::kShaded;
    bool moving = false;                  // draw the reduced stand-ins where there are
    std::vector<float>* depth = nullptr;  // receives each pixel's depth (infinite: background)
    bool axisTriad = false;               // the world axes in the bottom-left corner
    const std::vector<Box>* selected = nullptr;  // boxes of the selection, drawn over the faces
};

// The background of an empty viewport; its channels differ, so no grey
// material can ever shade to exactly this colour.
extern const uint8_t kViewportBackground[3];
// The colour of visible edges drawn over the shaded faces.
extern const uint8_t kEdgeColour[3];
// The colour of the selected meshes' boxes.
extern const uint8_t kSelectionColour[3];

// The axis triad: X, Y and Z lines in these colours from a point this far
// in from the picture's bottom-left corner, each this long where it lies
// square to the view.
extern const uint8_t kAxisColours[3][3];
const int kAxisTriadInset = 48;
const float kAxisTriadLength = 40.0f;

// The size of the snapshot picture.
const int kSnapshotWidth = 800;
const int kSnapshotHeight = 600;

// Draws the meshes' faces in the given mode (every vertex as a point in
// points mode), then the point clouds, into a new picture of the given size.
// Faces with non-finite corners or no area are skipped; a face seen from
// behind (wound clockwise as it shows) is lit as one seen from the front,
// then darkened and tinted; in perspective, whatever lies behind the near
// plane is cut off. The selection's boxes show where no face lies in front
// of them; they and the axis triad, drawn last, leave the depth alone.
// Throws std::bad_alloc, on the calling thread, when memory runs short.
Image RenderView(const SceneDrawing& drawing, const Camera& camera, int width, int height,
                 const RenderOptions& options = {});
