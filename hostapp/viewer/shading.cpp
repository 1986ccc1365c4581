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

Shade LitFace(const DrawMesh& m, size_t f, const Vec3& toLight) {
    Shade s = FaceColours(m, f);
    float light = FlatLight(m, f, toLight);
    for (Rgb& l : s.light) l = {light, light, light};
    return s;
}

void ShadeAsBackFace(Shade& shade) {
    for (Rgb& l : shade.light) l = {l.r * kBackTint.r, l.g * kBackTint.g, l.b * kBackTint.b};
}
