// The host's viewport picture, drawn in software so that it looks the same
// under any display: an orthographic three-quarter view from front right
// above, z-buffered, lit flat shading, colours given per triangle corner or
// by a texture, and points as small unlit squares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Vec3 {
    float x, y, z;
};

// Colour channels from 0 to 1.
struct Rgb {
    float r, g, b;
};

// An RGB picture: rows from top to bottom, three bytes per pixel (red, green, blue).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgb(size_t(w) * size_t(h) * 3, 0) {}
    const uint8_t* Pixel(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
    uint8_t* Pixel(int x, int y) { return &rgb[(size_t(y) * width + x) * 3]; }
};

// A place in a texture: u runs to the right, v upward (v = 0 is the
// picture's bottom row); both wrap.
struct TexCoord {
    float u, v;
};

// One world-space triangle with a colour at each corner. With a texture it
// shows the texture's nearest texels at its corners' coordinates instead;
// the picture is owned elsewhere and must outlive the drawing.
struct RenderTriangle {
    Vec3 p[3];
    Rgb c[3];
    const Image* texture = nullptr;
    TexCoord uv[3] = {};
};

// One world-space point, drawn as a small square in its colour.
struct RenderPoint {
    Vec3 p;
    Rgb c;
};

// What the view shows: the world point at the picture's centre and the world
// distance from that centre to the picture's top edge.
struct ViewFrame {
    Vec3 center{0, 0, 0};
    float halfHeight = 100.0f;
};

// The background of an empty viewport; its channels differ, so no grey
// material can ever shade to exactly this colour.
extern const uint8_t kViewportBackground[3];

// The size of the snapshot picture.
const int kSnapshotWidth = 800;
const int kSnapshotHeight = 600;

// The frame of a fresh viewport: the origin, 100 units up to the top edge.
ViewFrame DefaultViewFrame();

// The side of the square a point is drawn as, in pixels, for a cloud of
// count points: a dense scan stays sharp, a sparse cloud stays visible.
int PointSide(size_t count);

// The frame that shows the whole bounding box of the triangles and points in
// a picture of the given size with a small margin; the default frame when
// there are none.
ViewFrame FrameToExtents(const std::vector<RenderTriangle>& triangles, int width, int height,
                         const std::vector<RenderPoint>& points = {});

// Draws the triangles, then the points, into a new picture of the given
// size. Triangles with non-finite corners or no area are skipped; both
// windings are lit alike.
Image RenderView(const std::vector<RenderTriangle>& triangles, const ViewFrame& frame, int width,
                 int height, const std::vector<RenderPoint>& points = {});
