#include "hostapp/viewer/renderer.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <thread>

#include "hostapp/viewer/rasterise.h"
#include "hostapp/viewer/scenehelpers.h"
#include "hostapp/viewer/shading.h"

const uint8_t kViewportBackground[3] = {58, 62, 72};
const uint8_t kEdgeColour[3] = {0, 0, 0};
const uint8_t kSelectionColour[3] = {255, 255, 255};
const uint8_t kAxisColours[3][3] = {{235, 70, 70}, {80, 210, 80}, {90, 140, 255}};

namespace {

// Fewer faces and points than this per core are drawn by one core alone.
const size_t kItemsPerThread = 50000;

// One run of a frame's work: the faces of a mesh, or its vertices as points.
struct Part {
    const DrawMesh* mesh;
    const ScreenPoint* screen;
    bool points;
    size_t count;
};

// Draws items [begin, end) of the frame's parts, taken one after another.
void DrawItems(const std::vector<Part>& parts, size_t begin, size_t end, const Frame& frame,
               const Target& target) {
    size_t first = 0;
    for (const Part& part : parts) {
        size_t from = std::max(begin, first), to = std::min(end, first + part.count);
        const DrawMesh& m = *part.mesh;
        for (size_t i = from - first; i + first < to; ++i) {
            if (part.points)
                DrawPoint(part.screen[i], m.PointColour(i), frame, target);
            else if (frame.mode == DisplayMode::kWireframe)
                DrawFaceLines(m, part.screen, i, frame, target);
            else
                FillFace(m, part.screen, i, frame, target);
        }
        first += part.count;
    }
}

int ThreadsFor(size_t items) {
    size_t cores = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
    return int(std::max<size_t>(1, std::min(cores, items / kItemsPerThread)));
}

// Runs work(begin, end, thread) over [0, count) split into even runs, the
// first on the calling thread. A thread that cannot be started runs its
// share here instead.
void ParallelFor(size_t count, int threads, const std::function<void(size_t, size_t, int)>& work) {
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) {
        size_t begin = count * t / threads, end = count * (t + 1) / threads;
        try {
            pool.emplace_back(work, begin, end, t);
        } catch (...) {
            work(begin, end, t);
        }
    }
    work(0, count / threads, 0);
    for (std::thread& thread : pool) thread.join();
}

void Fill(Image& image, std::vector<float>& depth) {
    for (size_t i = 0; i < image.rgb.size(); i += 3)
        std::copy(kViewportBackground, kViewportBackground + 3, &image.rgb[i]);
    depth.assign(size_t(image.width) * image.height, std::numeric_limits<float>::infinity());
}

// A line of one colour, one pixel a step along its main direction, cut
// to the picture.
void DrawPlainLine(Image& image, float x0, float y0, float x1, float y1, const uint8_t colour[3]) {
    const int steps = int(std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))));
    for (int i = 0; i <= steps; ++i) {
        float t = steps ? float(i) / steps : 0.0f;
        int x = int(std::floor(x0 + (x1 - x0) * t)), y = int(std::floor(y0 + (y1 - y0) * t));
        if (x >= 0 && y >= 0 && x < image.width && y < image.height)
            std::copy(colour, colour + 3, image.Pixel(x, y));
    }
}

// The part of the line from a to b inside the picture, with a pixel to
// spare, as fractions of its length (Liang and Barsky), so that a far
// corner never costs a step a pixel of its length; false when none is.
bool CutToPicture(const ScreenPoint& a, const ScreenPoint& b, int width, int height, float& from,
                  float& to) {
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y))
        return false;
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float p[4] = {-dx, dx, -dy, dy};
    const float q[4] = {a.x + 1, width + 1 - a.x, a.y + 1, height + 1 - a.y};
    from = 0, to = 1;
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
            continue;
        }
        const float r = q[k] / p[k];
        if (p[k] < 0)
            from = std::max(from, r);
        else
            to = std::min(to, r);
    }
    return from <= to;
}

// A box edge between two points in view space, drawn where nothing lies
// clearly in front of it; in perspective, the part behind the near plane
// is cut off first. The depth buffer is left as it is.
void DrawBoxEdge(Image& image, const std::vector<float>& depth, const Frame& frame, Vec3 u,
                 Vec3 v) {
    const ViewProjection& view = frame.view;
    if (view.Perspective()) {
        const float nearDepth = view.NearDepth();
        if (u.z < nearDepth && v.z < nearDepth) return;
        if (u.z < nearDepth) std::swap(u, v);
        if (v.z < nearDepth) {
            const float t = (nearDepth - u.z) / (v.z - u.z);
            v = {u.x + (v.x - u.x) * t, u.y + (v.y - u.y) * t, nearDepth};
        }
    }
    const ScreenPoint a = view.FromView(u), b = view.FromView(v);
    float from, to;
    if (!CutToPicture(a, b, image.width, image.height, from, to)) return;
    const float dx = b.x - a.x, dy = b.y - a.y;
    const int steps = int(std::ceil(std::max(std::fabs(dx), std::fabs(dy)) * (to - from)));
    for (int i = 0; i <= steps; ++i) {
        const float t = steps ? from + (to - from) * i / steps : from;
        const int x = int(std::floor(a.x + dx * t)), y = int(std::floor(a.y + dy * t));
        if (x < 0 || y < 0 || x >= image.width || y >= image.height) continue;
        const float z = view.Perspective() ? 1.0f / ((1 - t) / a.depth + t / b.depth)
                                           : a.depth + (b.depth - a.depth) * t;
        if (z > depth[size_t(y) * image.width + x] + frame.lineDepthMargin) continue;
        std::copy(kSelectionColour, kSelectionColour + 3, image.Pixel(x, y));
    }
}

// The twelve edges of each box: corners whose numbers differ in one bit.
void DrawBoxes(Image& image, const std::vector<float>& depth, const Frame& frame,
               const std::vector<Box>& boxes) {
    for (const Box& box : boxes) {
        if (box.Empty()) continue;
        Vec3 corners[8];
        for (int i = 0; i < 8; ++i)
            corners[i] =
                frame.view.ToView({i & 1 ? box.hi.x : box.lo.x, i & 2 ? box.hi.y : box.lo.y,
                                   i & 4 ? box.hi.z : box.lo.z});
        for (int i = 0; i < 8; ++i)
            for (int bit = 1; bit < 8; bit <<= 1)
                if (!(i & bit)) DrawBoxEdge(image, depth, frame, corners[i], corners[i | bit]);
    }
}

// The world axes as the camera turns them, from one point near the
// bottom-left corner; the axis pointing farthest away goes first, so the
// nearer ones cross over it.
void DrawAxisTriad(Image& image, const Camera& camera) {
    const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const Vec3 up = camera.Up();
    int order[3] = {0, 1, 2};
    std::sort(order, order + 3, [&](int a, int b) {
        return Dot(axes[a], camera.forward) > Dot(axes[b], camera.forward);
    });
    const float x = kAxisTriadInset + 0.5f, y = image.height - kAxisTriadInset - 0.5f;
    for (int i : order)
        DrawPlainLine(image, x, y, x + Dot(axes[i], camera.right) * kAxisTriadLength,
                      y - Dot(axes[i], up) * kAxisTriadLength, kAxisColours[i]);
}

}  // namespace

// Each core draws its share of the faces and points into a picture and
// depth buffer of its own; the first core's are the result. Merging keeps
// a later share's pixel only where it is strictly nearer, which is what one
// core drawing everything in order would have kept (lines aside, within
// their depth margin).
Image RenderView(const SceneDrawing& drawing, const Camera& camera, int width, int height,
                 const RenderOptions& options) {
    if (width <= 0 || height <= 0) return Image();
    std::vector<const DrawMesh*> meshes;
    for (size_t i = 0; i < drawing.meshes.size(); ++i) {
        bool reduced =
            options.moving && i < drawing.reduced.size() && drawing.reduced[i].VertexCount() > 0;
        meshes.push_back(reduced ? &drawing.reduced[i] : &drawing.meshes[i]);
    }
    Frame frame{ViewProjection(camera, width, height), LightDirection(camera), options.mode, 0,
                camera.halfHeight * 0.01f};

    std::vector<std::vector<ScreenPoint>> screens(meshes.size());
    for (size_t i = 0; i < meshes.size(); ++i) {
        const DrawMesh& m = *meshes[i];
        std::vector<ScreenPoint>& screen = screens[i];
        screen.resize(m.VertexCount());
        ParallelFor(screen.size(), ThreadsFor(screen.size()), [&](size_t b, size_t e, int) {
            for (size_t j = b; j < e; ++j) screen[j] = frame.view.Project(m.Vertex(j));
        });
    }
    // Faces first, then points, as they always were drawn.
    std::vector<Part> parts;
    bool pointsOnly = options.mode == DisplayMode::kPoints;
    for (size_t i = 0; i < meshes.size(); ++i)
        if (!pointsOnly && meshes[i]->FaceCount() > 0)
            parts.push_back({meshes[i], screens[i].data(), false, meshes[i]->FaceCount()});
    size_t points = 0, items = 0;
    for (size_t i = 0; i < meshes.size(); ++i)
        if (pointsOnly || meshes[i]->FaceCount() == 0) {
            parts.push_back({meshes[i], screens[i].data(), true, meshes[i]->VertexCount()});
            points += meshes[i]->VertexCount();
        }
    for (const Part& part : parts) items += part.count;
    frame.pointSide = PointSide(points);

    // Every buffer is made here, before a thread starts: running short of
    // memory is the caller's to handle, never the end of a thread.
    const int threads = ThreadsFor(items);
    std::vector<Image> images;
    std::vector<std::vector<float>> depths(threads);
    for (int t = 0; t < threads; ++t) {
        images.emplace_back(width, height);
        Fill(images[t], depths[t]);
    }
    ParallelFor(items, threads, [&](size_t begin, size_t end, int t) {
        DrawItems(parts, begin, end, frame,
                  Target{width, height, images[t].rgb.data(), depths[t].data()});
    });
    std::vector<float>& depth = depths[0];
    for (int t = 1; t < threads; ++t)
        for (size_t i = 0; i < depth.size(); ++i)
            if (depths[t][i] < depth[i]) {
                depth[i] = depths[t][i];
                std::copy_n(&images[t].rgb[3 * i], 3, &images[0].rgb[3 * i]);
            }
    if (options.selected) DrawBoxes(images[0], depth, frame, *options.selected);
    if (options.depth) options.depth->swap(depth);
    if (options.axisTriad) DrawAxisTriad(images[0], camera);
    return std::move(images[0]);
}
