// How a face's pixels take their colour inside the renderer: the light and
// the face's corner colours or texture.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "hostapp/viewer/camera.h"
#include "hostapp/viewer/drawing.h"

// A colour channel from 0 to 1 as a byte; out-of-range values are clamped.
// Inline, as this and Texel run for every pixel.
inline uint8_t ToByte(float v) {
    v = std::min(1.0f, std::max(0.0f, v));
    return uint8_t(v * 255.0f + 0.5f);
}

// The texel nearest to (u, v), both wrapped; a non-finite coordinate reads as 0.
inline const uint8_t* Texel(const Image& texture, float u, float v) {
    auto wrapped = [](float t, int size) {
        if (!std::isfinite(t)) return 0;
        int i = int(std::floor((t - std::floor(t)) * float(size)));
        return std::min(std::max(i, 0), size - 1);
    };
    return texture.Pixel(wrapped(u, texture.width),
                         texture.height - 1 - wrapped(v, texture.height));
}

// A light just above and left of the eye, so faces toward the viewer are bright.
Vec3 LightDirection(const Camera& c);

// What a face's pixels show: corner colours or texture coordinates and the
// light at each corner, by channel (a face seen from behind is tinted).
struct Shade {
    Rgb c[3] = {};
    TexCoord uv[3] = {};
    const Image* texture = nullptr;
    Rgb light[3];  // set by LitFace
};

// The face's colours or texture coordinates; unlit.
inline Shade FaceColours(const DrawMesh& m, size_t f) {
    const FaceCorners a = m.Attributes(f);
    const FaceStyle style = m.Style(f);
    const Look& look = m.looks[style.look];
    Shade s;
    for (int k = 0; k < 3; ++k) {
        if (style.shading == kShadeTexture) {
            s.texture = look.texture;
            s.uv[k] = m.uvs[a.v[k]];
        } else {
            s.c[k] = style.shading == kShadeCornerColours ? m.colours[a.v[k]] : look.colour;
        }
    }
    return s;
}

// The colour face f shows unlit at corner k: a wireframe's line colour.
// Inline and on its own, as this runs for every corner a wireframe draws.
inline Rgb CornerColour(const DrawMesh& m, size_t f, int k) {
    const FaceStyle style = m.Style(f);
    const Look& look = m.looks[style.look];
    if (style.shading == kShadeLookColour) return look.colour;
    const uint32_t a = m.Attributes(f).v[k];
    if (style.shading == kShadeCornerColours) return m.colours[a];
    const uint8_t* t = Texel(*look.texture, m.uvs[a].u, m.uvs[a].v);
    return {t[0] / 255.0f, t[1] / 255.0f, t[2] / 255.0f};
}

// A unit normal in 32 bits (two 16-bit octahedral coordinates), so that
// smooth shading costs a mesh 4 bytes a vertex; about 0.01 degrees off.
// A zero or non-finite normal packs as +Z.
uint32_t PackNormal(const Vec3& n);
Vec3 UnpackNormal(uint32_t packed);

// The face's colours, lit from toLight: from its vertices' normals, the
// light interpolated across it, where the mesh has them, else flat.
Shade LitFace(const DrawMesh& m, size_t f, const Vec3& toLight);

// Darkens and tints the shade of a face seen from behind, so that a face
// wound the wrong way shows.
void ShadeAsBackFace(Shade& shade);
