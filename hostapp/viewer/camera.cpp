#include "hostapp/viewer/camera.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const float kPi = 3.14159265358979f;

Vec3 Add(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 Scaled(const Vec3& v, float s) { return {v.x * s, v.y * s, v.z * s}; }

struct ViewDirection {
    const char* name;
    Vec3 forward;  // before normalising
};

// Indexed by StandardView. The three-quarter view looks from front right above.
const ViewDirection kViews[kStandardViewCount] = {
    {"front", {0, 1, 0}},
    {"back", {0, -1, 0}},
    {"left", {1, 0, 0}},
    {"right", {-1, 0, 0}},
    {"top", {0, 0, -1}},
    {"bottom", {0, 0, 1}},
    {"three-quarter", {-1.0f, 1.0f, -0.9f}},
};

float TanHalfFieldOfView() { return std::tan(kFieldOfViewDegrees * kPi / 360.0f); }

// Zoom stays where floats still tell the scene's points apart and sizes
// stay finite, whatever the scene's scale.
float ClampedHalfHeight(float h, float sceneSize) {
    const float size = sceneSize > 0 && std::isfinite(sceneSize) ? sceneSize : Camera().halfHeight;
    const float lo = std::max(size / kZoomRange, std::numeric_limits<float>::min());
    const float hi = std::min(size * kZoomRange, std::numeric_limits<float>::max() / 16);
    return std::min(std::max(h, lo), hi);
}

}  // namespace

Vec3 Normalized(const Vec3& v) {
    float len = std::sqrt(Dot(v, v));
    return len > 0 ? Vec3{v.x / len, v.y / len, v.z / len} : v;
}

bool IsFinite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

const char* StandardViewName(StandardView view) { return kViews[int(view)].name; }

float Camera::EyeDistance() const { return halfHeight / TanHalfFieldOfView(); }

Camera DefaultCamera() { return LookFrom(Camera(), StandardView::kThreeQuarter); }

// Looking straight down or up there is no horizontal right to derive: +X
// is right then, so the top view shows +Y up and the bottom view -Y.
Camera LookFrom(const Camera& camera, StandardView view) {
    Camera c = camera;
    c.forward = Normalized(kViews[int(view)].forward);
    Vec3 right = Cross(c.forward, {0, 0, 1});
    c.right = Dot(right, right) > 0 ? Normalized(right) : Vec3{1, 0, 0};
    return c;
}

ViewProjection::ViewProjection(const Camera& c, int width, int height)
    : camera(c), up(c.Up()), halfWidth(width / 2.0f), halfHeight(height / 2.0f) {
    scale = camera.halfHeight > 0 ? halfHeight / camera.halfHeight : 1.0f;
    float eye = camera.EyeDistance();
    origin = camera.perspective ? Sub(camera.target, Scaled(camera.forward, eye)) : camera.target;
    focal = scale * eye;
    nearDepth = eye / 100;
}

Vec3 ViewProjection::Unproject(float x, float y, float depth) const {
    float perUnit = camera.perspective ? depth / focal : 1.0f / scale;
    Vec3 side = Scaled(camera.right, (x - halfWidth) * perUnit);
    Vec3 rise = Scaled(up, (halfHeight - y) * perUnit);
    return Add(Add(origin, Scaled(camera.forward, depth)), Add(side, rise));
}

// Heading and elevation are worked out afresh from the axes each time, so
// the same move turns by the same angle wherever it starts.
Camera Orbit(const Camera& camera, const Vec3& pivot, float dx, float dy) {
    Vec3 offset = Sub(camera.target, pivot);
    float along[3] = {Dot(offset, camera.right), Dot(offset, camera.Up()),
                      Dot(offset, camera.forward)};
    float heading = std::atan2(camera.right.y, camera.right.x) - dx * kOrbitRadiansPerPixel;
    float elevation = std::asin(std::min(1.0f, std::max(-1.0f, -camera.forward.z)));
    elevation = std::min(kPi / 2, std::max(-kPi / 2, elevation + dy * kOrbitRadiansPerPixel));

    Camera c = camera;
    c.right = {std::cos(heading), std::sin(heading), 0};
    c.forward = {-std::sin(heading) * std::cos(elevation), std::cos(heading) * std::cos(elevation),
                 -std::sin(elevation)};
    c.target = Add(pivot, Add(Add(Scaled(c.right, along[0]), Scaled(c.Up(), along[1])),
                              Scaled(c.forward, along[2])));
    return c;
}

Camera PanTo(const Camera& camera, const Vec3& grabbed, float x, float y, int width, int height) {
    ViewProjection view(camera, width, height);
    Vec3 shown = view.Unproject(x, y, view.Project(grabbed).depth);
    Camera c = camera;
    c.target = Add(camera.target, Sub(grabbed, shown));
    return c;
}

Camera ZoomAt(const Camera& camera, const Vec3& fixed, float factor, float sceneSize) {
    Camera c = camera;
    c.halfHeight = ClampedHalfHeight(camera.halfHeight / factor, sceneSize);
    // The target moves toward the fixed point as the picture scales about it.
    c.target = Add(fixed, Scaled(Sub(camera.target, fixed), c.halfHeight / camera.halfHeight));
    return c;
}

// In double: coordinates near the float range must not overflow to infinity.
Camera FitPoints(const Camera& camera, const std::vector<PointSet>& sets, int width, int height) {
    const Vec3 axes[3] = {camera.right, camera.Up(), camera.forward};
    auto along = [](const Vec3& p, const Vec3& axis) {
        return double(p.x) * axis.x + double(p.y) * axis.y + double(p.z) * axis.z;
    };
    auto forEachPoint = [&sets](auto visit) {
        for (const PointSet& set : sets)
            for (size_t i = 0; i < set.count; ++i) {
                const Vec3 p = set.place.Apply(set.xyz + 3 * i);
                if (IsFinite(p)) visit(p);
            }
    };
    const double inf = std::numeric_limits<double>::infinity();
    double lo[3] = {inf, inf, inf}, hi[3] = {-inf, -inf, -inf};
    forEachPoint([&](const Vec3& p) {
        for (int k = 0; k < 3; ++k) {
            double v = along(p, axes[k]);
            lo[k] = std::min(lo[k], v), hi[k] = std::max(hi[k], v);
        }
    });
    Camera c = camera;
    if (!(lo[0] <= hi[0])) {
        c.target = {0, 0, 0};
        c.halfHeight = Camera().halfHeight;
        return c;
    }

    // The axes are orthonormal: the centre is the sum of its three components.
    double mid[3];
    for (int k = 0; k < 3; ++k) mid[k] = lo[k] / 2 + hi[k] / 2;
    c.target = {float(mid[0] * axes[0].x + mid[1] * axes[1].x + mid[2] * axes[2].x),
                float(mid[0] * axes[0].y + mid[1] * axes[1].y + mid[2] * axes[2].y),
                float(mid[0] * axes[0].z + mid[1] * axes[1].z + mid[2] * axes[2].z)};
    double aspect = height > 0 ? double(width) / double(height) : 1.0;
    double half;
    if (!camera.perspective) {
        half = std::max(hi[1] / 2 - lo[1] / 2, (hi[0] / 2 - lo[0] / 2) / aspect) * kFitMargin;
    } else {
        // The eye distance each point needs to lie inside the margin; the
        // nearest point keeps well clear of the near plane.
        double tanY = TanHalfFieldOfView(), tanX = tanY * aspect;
        double eye = (mid[2] - lo[2]) * 1.1;
        forEachPoint([&](const Vec3& p) {
            double x = std::fabs(along(p, axes[0]) - mid[0]) * kFitMargin / tanX;
            double y = std::fabs(along(p, axes[1]) - mid[1]) * kFitMargin / tanY;
            eye = std::max(eye, std::max(x, y) - (along(p, axes[2]) - mid[2]));
        });
        half = eye * tanY;
    }
    // A single point (or a line seen end on) still gets a usable zoom; a
    // tiny model keeps its own.
    const double smallest = std::numeric_limits<float>::min() * 1e6;
    c.halfHeight =
        half > smallest ? float(std::min(half, double(std::numeric_limits<float>::max()))) : 1.0f;
    return c;
}
