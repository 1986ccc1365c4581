// How a face's pixels take their colour inside the renderer: the light, the
// face's corner colours or texture, and how near a pixel must come to a
// visible edge to show it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "hostapp/viewer/camera.h"
#include "hostapp/viewer/drawing.h"

// A colour channel from 0 to 1 as a byte; out-of-range values are clamped.
uint8_t ToByte(float v);

// The texel nearest to (u, v), both wrapped; a non-finite coordinate reads as 0.
const uint8_t* Texel(const Image& texture, float u, float v);

// A light just above and left of the eye, so faces toward the viewer are bright.
Vec3 LightDirection(const Camera& c);

// What a face's pixels show: corner colours or texture coordinates, the
// light, and how near (in screen barycentric units) a pixel must come to
// the edge opposite each corner to show that edge (negative: never).
struct Shade {
    Rgb c[3] = {};
    TexCoord uv[3] = {};
    const Image* texture = nullptr;
    float light = 1.0f;
    float reach[3] = {-1, -1, -1};
};

// The face's colours or texture coordinates; unlit.
Shade FaceColours(const DrawMesh& m, size_t f);

// The reach of each visible edge of a face seen at s, whose doubled signed
// area is area.
void SetEdgeReach(Shade& shade, const ScreenPoint s[3], float area, uint8_t edges);

// The colour a face shows unlit at corner k: a wireframe's line colour.
Rgb CornerColour(const Shade& shade, int k);

// The face's colours, lit from toLight.
Shade LitFace(const DrawMesh& m, size_t f, const Vec3& toLight);
