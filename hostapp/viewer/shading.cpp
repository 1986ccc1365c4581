#include "hostapp/viewer/shading.h"

#include <algorithm>
#include <cmath>

namespace {

const float kAmbient = 0.25f;
// A pixel whose centre lies within a pixel of a visible edge, measured
// across the edge's main direction as a line is drawn, shows the edge: one
// pixel a column (or row) on each side, so an outline has no gaps. A hair
// more: an outline through pixel centres leaves them to no face, and the
// next ones in lie a pixel away.
const float kEdgeReach = 1.01f;

// The vector scaled so that its largest component is 1 (or -1): the cross
// product of two such and its squared length stay in float's range for
// faces of any size, where unscaled they overflow beyond about 4e9 units
// and vanish below about 1e-11.
Vec3 ScaledToUnitBox(const Vec3& v) {
    float m = std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)});
    return m > 0 && std::isfinite(m) ? Vec3{v.x / m, v.y / m, v.z / m} : v;
}

// Two-sided Lambert: imported meshes come with either winding.
float FlatLight(const DrawMesh& m, size_t f, const Vec3& toLight) {
    const uint32_t* v = &m.corners[3 * f];
    const Vec3 &p0 = m.vertices[v[0]], &p1 = m.vertices[v[1]], &p2 = m.vertices[v[2]];
    Vec3 n = Normalized(Cross(ScaledToUnitBox(Sub(p1, p0)), ScaledToUnitBox(Sub(p2, p0))));
    return kAmbient + (1.0f - kAmbient) * std::fabs(Dot(n, toLight));
}

}  // namespace

Vec3 LightDirection(const Camera& c) {
    Vec3 up = c.Up();
    return Normalized({-c.forward.x * 1.0f - c.right.x * 0.35f + up.x * 0.55f,
                       -c.forward.y * 1.0f - c.right.y * 0.35f + up.y * 0.55f,
                       -c.forward.z * 1.0f - c.right.z * 0.35f + up.z * 0.55f});
}

// Edge k of a face runs from corner k to corner k + 1; its reach belongs
// to the corner opposite, k + 2.
void SetEdgeReach(Shade& shade, const ScreenPoint s[3], float area, uint8_t edges) {
    for (int k = 0; k < 3; ++k) {
        const ScreenPoint &a = s[k], &b = s[(k + 1) % 3];
        float run = std::max(std::fabs(b.x - a.x), std::fabs(b.y - a.y));
        shade.reach[(k + 2) % 3] = edges & (1 << k) ? kEdgeReach * run / std::fabs(area) : -1;
    }
}

Shade LitFace(const DrawMesh& m, size_t f, const Vec3& toLight) {
    Shade s = FaceColours(m, f);
    s.light = FlatLight(m, f, toLight);
    return s;
}
