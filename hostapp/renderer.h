// The host's viewport picture, drawn in software so that it looks the same
// under any display: an orthographic three-quarter view from front right
// above, z-buffered, lit flat shading, colours given per triangle corner.
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

// One world-space triangle with a colour at each corner.
struct RenderTriangle {
    Vec3 p[3];
    Rgb c[3];
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

// The frame that shows the whole bounding box of the triangles in a picture
// of the given size with a small margin; the default frame when there are none.
ViewFrame FrameToExtents(const std::vector<RenderTriangle>& triangles, int width, int height);

// Draws the triangles into a new picture of the given size. Triangles with
// non-finite corners or no area are skipped; both windings are lit alike.
Image RenderView(const std::vector<RenderTriangle>& triangles, const ViewFrame& frame, int width,
                 int height);
