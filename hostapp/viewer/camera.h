// The viewport's camera: where it looks from, what it looks at, how far it
// sees, and the moves a user makes with it (orbit, pan, zoom, framing, the
// standard views). World Z is up and -Y is the front, as in the host.
#pragma once

#include <cstddef>
#include <vector>

#include "hostapp/viewer/viewmodes.h"

struct Vec3 {
    float x, y, z;
};

static_assert(sizeof(Vec3) == 3 * sizeof(float), "a Vec3 is three floats");

// Where a mesh's own coordinates lie in the drawing: x, y and z are where
// its unit axes go, offset where its origin goes.
struct Placement {
    Vec3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1}, offset{0, 0, 0};

    Vec3 Apply(const float* p) const {
        return {p[0] * x.x + p[1] * y.x + p[2] * z.x + offset.x,
                p[0] * x.y + p[1] * y.y + p[2] * z.y + offset.y,
                p[0] * x.z + p[1] * y.z + p[2] * z.z + offset.z};
    }
};

inline Vec3 Sub(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 Normalized(const Vec3& v);
bool IsFinite(const Vec3& v);

// The vertical field of view of the perspective camera.
const float kFieldOfViewDegrees = 45.0f;

// forward and right are unit vectors, right horizontal; the picture's up is
// Cross(right, forward), so world Z never tips over on screen. halfHeight is
// the world distance from the picture's centre to its top edge in the plane
// through target facing the camera; the perspective eye stands back from
// target just so far that this plane looks the same in both projections.
struct Camera {
    Vec3 target{0, 0, 0};
    Vec3 forward{0, 1, 0};
    Vec3 right{1, 0, 0};
    float halfHeight = 100.0f;
    bool perspective = false;

    Vec3 Up() const { return Cross(right, forward); }
    // The perspective eye's distance from target.
    float EyeDistance() const;
};

// A fresh viewport's camera: orthographic, three-quarter from front right
// above, looking at the origin with 100 units up to the top edge.
Camera DefaultCamera();

// The camera turned to look from a standard direction; target, zoom and
// projection stay.
Camera LookFrom(const Camera& camera, StandardView view);

// A world point on screen: pixel position and depth (orthographic: along the
// view from the target's plane; perspective: from the eye).
struct ScreenPoint {
    float x, y, depth;
};

// The camera's mapping of world points to a picture of a given size.
class ViewProjection {
  public:
    ViewProjection(const Camera& camera, int width, int height);

    const Camera& GetCamera() const { return camera; }
    bool Perspective() const { return camera.perspective; }
    // Pixels per world unit in the target's plane.
    float Scale() const { return scale; }
    // Perspective: nothing nearer to the eye than this is drawn.
    float NearDepth() const { return nearDepth; }

    // Perspective: a point with depth below NearDepth() projects to garbage.
    ScreenPoint Project(const Vec3& p) const { return FromView(ToView(p)); }
    // A world point in view space: along right, up and forward from the
    // target (orthographic) or the eye (perspective).
    Vec3 ToView(const Vec3& p) const {
        Vec3 d = Sub(p, origin);
        return {Dot(d, camera.right), Dot(d, up), Dot(d, camera.forward)};
    }
    ScreenPoint FromView(const Vec3& v) const {
        if (!camera.perspective) return {halfWidth + v.x * scale, halfHeight - v.y * scale, v.z};
        return {halfWidth + v.x * focal / v.z, halfHeight - v.y * focal / v.z, v.z};
    }
    // The world point shown at pixel (x, y) at the given depth.
    Vec3 Unproject(float x, float y, float depth) const;
    // The depth of the target's plane.
    float TargetDepth() const { return camera.perspective ? camera.EyeDistance() : 0.0f; }

  private:
    Camera camera;
    Vec3 up;
    Vec3 origin;  // the target, or the perspective eye
    float halfWidth, halfHeight;
    float scale;
    float focal;  // perspective: pixels per unit of x / depth
    float nearDepth;
};

// Orbits the camera around pivot by a mouse move of (dx, dy) pixels: across
// turns it about world Z, down tilts it to look more from above, a fixed
// angle per pixel either way; the tilt stops at straight down and straight
// up. The pivot keeps its place on screen.
Camera Orbit(const Camera& camera, const Vec3& pivot, float dx, float dy);
// The angle an orbit turns per pixel of mouse move.
const float kOrbitRadiansPerPixel = 0.01f;

// Moves the camera sideways so that the world point grabbed shows at pixel (x, y).
Camera PanTo(const Camera& camera, const Vec3& grabbed, float x, float y, int width, int height);

// Zooms in by factor (below 1: out) toward the world point fixed, which
// keeps its place on screen. The zoom stays within a range relative to the
// size of the scene (its box's longest side; 0 for none), so a model of
// 1e-9 units zooms as one of 1e30 does.
Camera ZoomAt(const Camera& camera, const Vec3& fixed, float factor, float sceneSize);
// How far from the scene's own size a zoom may go, either way.
const float kZoomRange = 1e6f;

// The camera, turned as given, that shows every point of the sets with a
// small margin in a picture of the given size: orthographic, the extents of
// the points as seen (a round object fills the picture as a box does);
// perspective, from the extents' centre far enough that every point lies in
// the picture. Non-finite points are left out; without any the camera's
// target and zoom are the default ones.
struct PointSet {
    const float* xyz;  // three floats a point
    size_t count;
    Placement place;
};
Camera FitPoints(const Camera& camera, const std::vector<PointSet>& sets, int width, int height);

// The fraction of the picture's half size that framing leaves around the points.
const float kFitMargin = 1.08f;
