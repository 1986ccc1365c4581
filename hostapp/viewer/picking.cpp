#include "hostapp/viewer/picking.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

const double kInfinity = std::numeric_limits<double>::infinity();

// Points origin + t * dir with t from nearest on; t is the depth the
// renderer gives the point, so hits compare with what it draws.
struct Ray {
    double origin[3], dir[3];
    double nearest;
};

Ray RayThrough(const ViewProjection& view, int x, int y) {
    const float px = x + 0.5f, py = y + 0.5f;
    const Vec3 o = view.Unproject(px, py, 0), d = Sub(view.Unproject(px, py, 1), o);
    return {{o.x, o.y, o.z}, {d.x, d.y, d.z}, view.Perspective() ? view.NearDepth() : -kInfinity};
}

// Where the ray enters the box (its start, when that lies inside); false
// when it misses. A small margin keeps rounding from losing faces on the
// box's sides.
bool EntersBox(const Ray& ray, const Box& box, double& entry) {
    if (box.Empty()) return false;
    const double lo[3] = {box.lo.x, box.lo.y, box.lo.z}, hi[3] = {box.hi.x, box.hi.y, box.hi.z};
    const double margin = std::max({hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]}) * 1e-4;
    double from = ray.nearest, to = kInfinity;
    for (int k = 0; k < 3; ++k) {
        const double o = ray.origin[k], d = ray.dir[k];
        if (d == 0) {
            if (o < lo[k] - margin || o > hi[k] + margin) return false;
            continue;
        }
        double t1 = (lo[k] - margin - o) / d, t2 = (hi[k] + margin - o) / d;
        if (t1 > t2) std::swap(t1, t2);
        from = std::max(from, t1), to = std::min(to, t2);
        if (!(from <= to)) return false;
    }
    entry = from;
    return true;
}

void Difference(const Vec3& a, const Vec3& b, double out[3]) {
    out[0] = double(a.x) - b.x, out[1] = double(a.y) - b.y, out[2] = double(a.z) - b.z;
}

void CrossInto(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

double DotOf(const double a[3], const double b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// The ray's t at the triangle (Moller and Trumbore), or infinity. In double:
// the scene's drawing may reach far past where float products overflow.
double HitTriangle(const Ray& ray, const Vec3& a, const Vec3& b, const Vec3& c) {
    double e1[3], e2[3], p[3], q[3];
    Difference(b, a, e1);
    Difference(c, a, e2);
    CrossInto(ray.dir, e2, p);
    const double det = DotOf(e1, p);
    if (det == 0 || !std::isfinite(det)) return kInfinity;
    const double inverse = 1 / det;
    const double s[3] = {ray.origin[0] - a.x, ray.origin[1] - a.y, ray.origin[2] - a.z};
    const double u = DotOf(s, p) * inverse;
    if (u < 0 || u > 1) return kInfinity;
    CrossInto(s, e1, q);
    const double v = DotOf(ray.dir, q) * inverse;
    if (v < 0 || u + v > 1) return kInfinity;
    const double t = DotOf(e2, q) * inverse;
    return t >= ray.nearest ? t : kInfinity;
}

double NearestFace(const Ray& ray, const DrawMesh& m) {
    double best = kInfinity;
    for (size_t f = 0; f < m.FaceCount(); ++f) {
        const FaceCorners c = m.Corners(f);
        best =
            std::min(best, HitTriangle(ray, m.Vertex(c.v[0]), m.Vertex(c.v[1]), m.Vertex(c.v[2])));
    }
    return best;
}

// The depth of the nearest point drawn within the radius of the pixel's centre.
double NearestPoint(const ViewProjection& view, const DrawMesh& m, int x, int y) {
    const float px = x + 0.5f, py = y + 0.5f;
    double best = kInfinity;
    for (size_t i = 0; i < m.VertexCount(); ++i) {
        const ScreenPoint s = view.Project(m.Vertex(i));
        if (view.Perspective() && !(s.depth >= view.NearDepth())) continue;
        if (std::fabs(s.x - px) <= kPickPointRadius && std::fabs(s.y - py) <= kPickPointRadius)
            best = std::min(best, double(s.depth));
    }
    return best;
}

}  // namespace

void AddMeshBoxes(SceneDrawing& drawing) {
    drawing.boxes.assign(drawing.meshes.size(), Box());
    for (size_t i = 0; i < drawing.meshes.size(); ++i) {
        const DrawMesh& m = drawing.meshes[i];
        Box& box = drawing.boxes[i];
        for (size_t v = 0; v < m.VertexCount(); ++v) {
            const Vec3 p = m.Vertex(v);
            if (!IsFinite(p)) continue;
            if (box.Empty()) box.lo = box.hi = p;
            box.lo = {std::min(box.lo.x, p.x), std::min(box.lo.y, p.y), std::min(box.lo.z, p.z)};
            box.hi = {std::max(box.hi.x, p.x), std::max(box.hi.y, p.y), std::max(box.hi.z, p.z)};
        }
    }
}

Pick PickMesh(const SceneDrawing& drawing, const Camera& camera, int width, int height, int x,
              int y, size_t budget) {
    const ViewProjection view(camera, width, height);
    const Ray ray = RayThrough(view, x, y);
    // The meshes the ray may meet, by where it enters their boxes; clouds
    // are not culled by theirs, as their points hit from a few pixels off.
    std::vector<std::pair<double, size_t>> order;
    for (size_t i = 0; i < drawing.meshes.size(); ++i) {
        const DrawMesh& m = drawing.meshes[i];
        double entry = -kInfinity;
        if (m.FaceCount() == 0 || i >= drawing.boxes.size() ||
            EntersBox(ray, drawing.boxes[i], entry))
            order.push_back({entry, i});
    }
    std::sort(order.begin(), order.end());

    Pick pick;
    double best = kInfinity;
    size_t tested = 0;
    for (const auto& candidate : order) {
        if (candidate.first > best) break;
        const DrawMesh& m = drawing.meshes[candidate.second];
        const size_t items = m.FaceCount() > 0 ? m.FaceCount() : m.VertexCount();
        if (items > budget - tested) return {-1, true};
        tested += items;
        const double t = m.FaceCount() > 0 ? NearestFace(ray, m) : NearestPoint(view, m, x, y);
        if (t < best) best = t, pick.mesh = int(candidate.second);
    }
    return pick;
}
