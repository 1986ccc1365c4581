// How a pixel is filled: faces, edge lines and points rasterised into one
// core's picture and depth buffer, z-tested, and cut at the picture's edges
// and, in perspective, at the near plane.
#pragma once

#include <cstddef>
#include <cstdint>

#include "hostapp/viewer/camera.h"
#include "hostapp/viewer/drawing.h"
#include "hostapp/viewer/viewmodes.h"

// One thread's picture and depth buffer.
struct Target {
    int width, height;
    uint8_t* rgb;
    float* depth;

    uint8_t* Pixel(int x, int y) const { return rgb + (size_t(y) * width + x) * 3; }
    float& Depth(int x, int y) const { return depth[size_t(y) * width + x]; }
};

// What every face and point of one frame shares.
struct Frame {
    ViewProjection view;
    Vec3 toLight;
    DisplayMode mode;
    int pointSide;
    // A line must be this much nearer to cover another: an edge two faces
    // share, sampled a little apart by each, keeps the first face's colour.
    float lineDepthMargin;
};

// Fills face f of the mesh, whose vertices show at screen[], in the frame's
// mode (shaded, or shaded with its visible edges).
void FillFace(const DrawMesh& m, const ScreenPoint* screen, size_t f, const Frame& frame,
              const Target& target);

// The visible edges of a face as lines in the colours of its corners; in
// perspective, cut at the near plane.
void DrawFaceLines(const DrawMesh& m, const ScreenPoint* screen, size_t f, const Frame& frame,
                   const Target& target);

// A point as a square of frame.pointSide pixels in its colour, unlit:
// points have no normal to light them.
void DrawPoint(const ScreenPoint& s, const uint8_t colour[3], const Frame& frame,
               const Target& target);
