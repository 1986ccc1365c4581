#include "hostapp/renderer.h"

#include <algorithm>
#include <cmath>
#include <limits>

const uint8_t kViewportBackground[3] = {58, 62, 72};

namespace {

const float kFitMargin = 1.08f;
const float kAmbient = 0.25f;

Vec3 Sub(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 Normalized(const Vec3& v) {
    float len = std::sqrt(Dot(v, v));
    return len > 0 ? Vec3{v.x / len, v.y / len, v.z / len} : v;
}
bool IsFinite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The fixed three-quarter camera: it looks from front right above (Z is up,
// -Y is the front) toward the frame's centre.
struct Camera {
    Vec3 right, up, forward;
    Vec3 toLight;

    Camera() {
        forward = Normalized({-1.0f, 1.0f, -0.9f});
        right = Normalized(Cross(forward, {0, 0, 1}));
        up = Cross(right, forward);
        // A light just above and left of the eye, so faces toward the viewer are bright.
        Vec3 l = {-forward.x * 1.0f - right.x * 0.35f + up.x * 0.55f,
                  -forward.y * 1.0f - right.y * 0.35f + up.y * 0.55f,
                  -forward.z * 1.0f - right.z * 0.35f + up.z * 0.55f};
        toLight = Normalized(l);
    }
};

struct ScreenPoint {
    float x, y, depth;
};

struct Projection {
    Camera camera;
    Vec3 center;
    float scale;  // pixels per world unit
    float halfWidth, halfHeight;

    ScreenPoint Project(const Vec3& p) const {
        Vec3 d = Sub(p, center);
        return {halfWidth + Dot(d, camera.right) * scale, halfHeight - Dot(d, camera.up) * scale,
                Dot(d, camera.forward)};
    }
};

float Edge(const ScreenPoint& a, const ScreenPoint& b, float x, float y) {
    return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
}

uint8_t ToByte(float v) {
    v = std::min(1.0f, std::max(0.0f, v));
    return uint8_t(v * 255.0f + 0.5f);
}

// Two-sided Lambert: imported meshes come with either winding.
float FlatLight(const RenderTriangle& t, const Camera& camera) {
    Vec3 n = Normalized(Cross(Sub(t.p[1], t.p[0]), Sub(t.p[2], t.p[0])));
    return kAmbient + (1.0f - kAmbient) * std::fabs(Dot(n, camera.toLight));
}

// The texel nearest to (u, v), both wrapped; a non-finite coordinate reads as 0.
const uint8_t* Texel(const Image& texture, float u, float v) {
    auto wrapped = [](float t, int size) {
        if (!std::isfinite(t)) return 0;
        int i = int(std::floor((t - std::floor(t)) * float(size)));
        return std::min(std::max(i, 0), size - 1);
    };
    return texture.Pixel(wrapped(u, texture.width),
                         texture.height - 1 - wrapped(v, texture.height));
}

bool IsTextured(const RenderTriangle& t) {
    return t.texture && t.texture->width > 0 && t.texture->height > 0;
}

void DrawTriangle(const RenderTriangle& t, const Projection& proj, Image& image,
                  std::vector<float>& depth) {
    for (const Vec3& p : t.p)
        if (!IsFinite(p)) return;
    ScreenPoint s[3] = {proj.Project(t.p[0]), proj.Project(t.p[1]), proj.Project(t.p[2])};
    float area = Edge(s[0], s[1], s[2].x, s[2].y);
    if (!std::isfinite(area) || !(std::fabs(area) > 1e-9f)) return;

    // Clamp the box in float first: far-away corners must not overflow an int.
    float fw = float(image.width), fh = float(image.height);
    float minX = std::max(0.0f, std::min({s[0].x, s[1].x, s[2].x}));
    float maxX = std::min(fw - 1, std::max({s[0].x, s[1].x, s[2].x}));
    float minY = std::max(0.0f, std::min({s[0].y, s[1].y, s[2].y}));
    float maxY = std::min(fh - 1, std::max({s[0].y, s[1].y, s[2].y}));
    if (minX > maxX || minY > maxY) return;

    float light = FlatLight(t, proj.camera);
    bool textured = IsTextured(t);
    for (int y = int(minY); y <= int(maxY); ++y) {
        for (int x = int(minX); x <= int(maxX); ++x) {
            float cx = x + 0.5f, cy = y + 0.5f;
            float w0 = Edge(s[1], s[2], cx, cy) / area;
            float w1 = Edge(s[2], s[0], cx, cy) / area;
            float w2 = 1.0f - w0 - w1;
            if (w0 < 0 || w1 < 0 || w2 < 0) continue;
            float z = w0 * s[0].depth + w1 * s[1].depth + w2 * s[2].depth;
            float& zSlot = depth[size_t(y) * image.width + x];
            if (!(z < zSlot)) continue;
            zSlot = z;
            uint8_t* px = image.Pixel(x, y);
            if (textured) {
                // Orthographic: screen-linear coordinates are the true ones.
                const uint8_t* texel =
                    Texel(*t.texture, w0 * t.uv[0].u + w1 * t.uv[1].u + w2 * t.uv[2].u,
                          w0 * t.uv[0].v + w1 * t.uv[1].v + w2 * t.uv[2].v);
                for (int i = 0; i < 3; ++i) px[i] = ToByte(texel[i] / 255.0f * light);
                continue;
            }
            px[0] = ToByte((w0 * t.c[0].r + w1 * t.c[1].r + w2 * t.c[2].r) * light);
            px[1] = ToByte((w0 * t.c[0].g + w1 * t.c[1].g + w2 * t.c[2].g) * light);
            px[2] = ToByte((w0 * t.c[0].b + w1 * t.c[1].b + w2 * t.c[2].b) * light);
        }
    }
}

// Points have no normal to light them: they show their colour as it is.
void DrawPoint(const RenderPoint& point, const Projection& proj, int side, Image& image,
               std::vector<float>& depth) {
    if (!IsFinite(point.p)) return;
    ScreenPoint s = proj.Project(point.p);
    // Compared in float first: far-away points must not overflow an int.
    if (!(s.x > -side && s.x < image.width + side && s.y > -side &&
          s.y < image.height + side))
        return;
    const uint8_t colour[3] = {ToByte(point.c.r), ToByte(point.c.g), ToByte(point.c.b)};
    int left = int(std::floor(s.x - side / 2.0f));
    int top = int(std::floor(s.y - side / 2.0f));
    for (int y = std::max(top, 0); y < std::min(top + side, image.height); ++y)
        for (int x = std::max(left, 0); x < std::min(left + side, image.width); ++x) {
            float& zSlot = depth[size_t(y) * image.width + x];
            if (!(s.depth < zSlot)) continue;
            zSlot = s.depth;
            std::copy(colour, colour + 3, image.Pixel(x, y));
        }
}

}  // namespace

ViewFrame DefaultViewFrame() { return ViewFrame(); }

int PointSide(size_t count) { return count < 1000 ? 6 : count < 10000 ? 4 : 2; }

// Fits what the view shows of the scene, not its bounding box: a round
// object then fills the picture as a box-shaped one does.
ViewFrame FrameToExtents(const std::vector<RenderTriangle>& triangles, int width, int height,
                         const std::vector<RenderPoint>& points) {
    // In double: coordinates near the float range must not overflow to infinity.
    const double inf = std::numeric_limits<double>::infinity();
    double minX = inf, maxX = -inf, minY = inf, maxY = -inf, minD = inf, maxD = -inf;
    Camera camera;
    auto along = [](const Vec3& p, const Vec3& axis) {
        return double(p.x) * axis.x + double(p.y) * axis.y + double(p.z) * axis.z;
    };
    auto include = [&](const Vec3& p) {
        if (!IsFinite(p)) return;
        double x = along(p, camera.right), y = along(p, camera.up), d = along(p, camera.forward);
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
        minD = std::min(minD, d), maxD = std::max(maxD, d);
    };
    for (const RenderTriangle& t : triangles)
        for (const Vec3& p : t.p) include(p);
    for (const RenderPoint& point : points) include(point.p);
    if (!(minX <= maxX)) return DefaultViewFrame();

    // The camera axes are orthonormal: the centre is the sum of its three components.
    double cx = minX / 2 + maxX / 2, cy = minY / 2 + maxY / 2, cd = minD / 2 + maxD / 2;
    ViewFrame frame;
    frame.center = {float(cx * camera.right.x + cy * camera.up.x + cd * camera.forward.x),
                    float(cx * camera.right.y + cy * camera.up.y + cd * camera.forward.y),
                    float(cx * camera.right.z + cy * camera.up.z + cd * camera.forward.z)};
    double aspect = height > 0 ? double(width) / double(height) : 1.0;
    double half = std::max(maxY / 2 - minY / 2, (maxX / 2 - minX / 2) / aspect) * kFitMargin;
    // A single point (or a line seen end on) still gets a usable zoom.
    frame.halfHeight =
        half > 1e-6 ? float(std::min(half, double(std::numeric_limits<float>::max()))) : 1.0f;
    return frame;
}

Image RenderView(const std::vector<RenderTriangle>& triangles, const ViewFrame& frame, int width,
                 int height, const std::vector<RenderPoint>& points) {
    if (width <= 0 || height <= 0) return Image();
    Image image(width, height);
    for (size_t i = 0; i < image.rgb.size(); i += 3) {
        image.rgb[i] = kViewportBackground[0];
        image.rgb[i + 1] = kViewportBackground[1];
        image.rgb[i + 2] = kViewportBackground[2];
    }

    Projection proj;
    proj.center = frame.center;
    proj.halfWidth = width / 2.0f;
    proj.halfHeight = height / 2.0f;
    proj.scale = frame.halfHeight > 0 ? proj.halfHeight / frame.halfHeight : 1.0f;

    std::vector<float> depth(size_t(width) * height, std::numeric_limits<float>::infinity());
    for (const RenderTriangle& t : triangles) DrawTriangle(t, proj, image, depth);
    const int side = PointSide(points.size());
    for (const RenderPoint& point : points) DrawPoint(point, proj, side, image, depth);
    return image;
}
