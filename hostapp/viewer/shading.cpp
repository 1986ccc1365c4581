#include "hostapp/viewer/shading.h"

#include <algorithm>
#include <cmath>

namespace {

const float kAmbient = 0.25f;
// A face seen from behind: darker, and bluish, so it is not taken for one
// merely turned from the light.
const Rgb kBackTint = {0.45f, 0.5f, 0.8f};
// The vector scaled so that its largest component is 1 (or -1): the cross
// product of two such and its squared length stay in float's range for
// faces of any size, where unscaled they overflow beyond about 4e9 units
// and vanish below about 1e-11.
Vec3 ScaledToUnitBox(const Vec3& v) {
    float m = std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)});
    return m > 0 && std::isfinite(m) ? Vec3{v.x / m, v.y / m, v.z / m} : v;
}

// Two-sided Lambert: imported meshes come with either winding.
float Lambert(const Vec3& unitNormal, const Vec3& toLight) {
    return kAmbient + (1.0f - kAmbient) * std::fabs(Dot(unitNormal, toLight));
}

float FlatLight(const DrawMesh& m, size_t f, const Vec3& toLight) {
    const FaceCorners c = m.Corners(f);
    const Vec3 p0 = m.Vertex(c.v[0]), p1 = m.Vertex(c.v[1]), p2 = m.Vertex(c.v[2]);
    return Lambert(Normalized(Cross(ScaledToUnitBox(Sub(p1, p0)), ScaledToUnitBox(Sub(p2, p0)))),
                   toLight);
}

const float kOctScale = 32767.0f;

float SignOf(float v) { return v < 0 ? -1.0f : 1.0f; }

int16_t OctCoordinate(float v) {
    return int16_t(std::lround(std::min(1.0f, std::max(-1.0f, v)) * kOctScale));
}

}  // namespace

Vec3 LightDirection(const Camera& c) {
    Vec3 up = c.Up();
    return Normalized({-c.forward.x * 1.0f - c.right.x * 0.35f + up.x * 0.55f,
                       -c.forward.y * 1.0f - c.right.y * 0.35f + up.y * 0.55f,
                       -c.forward.z * 1.0f - c.right.z * 0.35f + up.z * 0.55f});
}

Shade LitFace(const DrawMesh& m, size_t f, const Vec3& toLight) {
    Shade s = FaceColours(m, f);
    if (m.normals.empty()) {
        float light = FlatLight(m, f, toLight);
        for (Rgb& l : s.light) l = {light, light, light};
        return s;
    }
    const FaceCorners c = m.Corners(f);
    for (int k = 0; k < 3; ++k) {
        float light = Lambert(UnpackNormal(m.normals[c.v[k]]), toLight);
        s.light[k] = {light, light, light};
    }
    return s;
}

// The normal projected onto the octahedron |x| + |y| + |z| = 1, its lower
// half folded out over the corners of the upper one.
uint32_t PackNormal(const Vec3& n) {
    float sum = std::fabs(n.x) + std::fabs(n.y) + std::fabs(n.z);
    if (!(sum > 0) || !std::isfinite(sum)) return 0;
    float x = n.x / sum, y = n.y / sum;
    if (n.z < 0) {
        float fx = (1 - std::fabs(y)) * SignOf(x), fy = (1 - std::fabs(x)) * SignOf(y);
        x = fx, y = fy;
    }
    return uint32_t(uint16_t(OctCoordinate(x))) | uint32_t(uint16_t(OctCoordinate(y))) << 16;
}

Vec3 UnpackNormal(uint32_t packed) {
    float x = int16_t(packed & 0xFFFF) / kOctScale, y = int16_t(packed >> 16) / kOctScale;
    float z = 1 - std::fabs(x) - std::fabs(y);
    if (z < 0) {
        float fx = (1 - std::fabs(y)) * SignOf(x), fy = (1 - std::fabs(x)) * SignOf(y);
        x = fx, y = fy;
    }
    return Normalized({x, y, z});
}

void ShadeAsBackFace(Shade& shade) {
    for (Rgb& l : shade.light) l = {l.r * kBackTint.r, l.g * kBackTint.g, l.b * kBackTint.b};
}
