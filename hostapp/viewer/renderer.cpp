#include "hostapp/viewer/renderer.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <thread>

const uint8_t kViewportBackground[3] = {58, 62, 72};
const uint8_t kEdgeColour[3] = {0, 0, 0};

namespace {

const float kAmbient = 0.25f;
// A pixel whose centre lies within a pixel of a visible edge, measured
// across the edge's main direction as a line is drawn, shows the edge: one
// pixel a column (or row) on each side, so an outline has no gaps.
const float kEdgeReach = 1.0f;
// Fewer faces and points than this per core are drawn by one core alone.
const size_t kItemsPerThread = 50000;

const char* const kModeNames[kDisplayModeCount] = {"shaded", "edges", "wireframe", "points"};

uint8_t ToByte(float v) {
    v = std::min(1.0f, std::max(0.0f, v));
    return uint8_t(v * 255.0f + 0.5f);
}

float Edge(const ScreenPoint& a, const ScreenPoint& b, float x, float y) {
    return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
}

// True when e / area < 0, without dividing: a quotient of unlike signs is
// negative unless it underflows to zero, which the bound rules out.
bool NegativeQuotient(float e, float area) {
    return (e < 0) != (area < 0) && e != 0 && std::fabs(e) >= std::fabs(area) * 1e-30f;
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

// One thread's picture and depth buffer.
struct Target {
    int width, height;
    uint8_t* rgb;
    float* depth;

    uint8_t* Pixel(int x, int y) const { return rgb + (size_t(y) * width + x) * 3; }
    float& Depth(int x, int y) const { return depth[size_t(y) * width + x]; }
};

// What every face and point of one frame shares.
struct Frame {
    ViewProjection view;
    Vec3 toLight;
    DisplayMode mode;
    int pointSide;
    // A line must be this much nearer to cover another: an edge two faces
    // share, sampled a little apart by each, keeps the first face's colour.
    float lineDepthMargin;
};

// A light just above and left of the eye, so faces toward the viewer are bright.
Vec3 LightDirection(const Camera& c) {
    Vec3 up = c.Up();
    return Normalized({-c.forward.x * 1.0f - c.right.x * 0.35f + up.x * 0.55f,
                       -c.forward.y * 1.0f - c.right.y * 0.35f + up.y * 0.55f,
                       -c.forward.z * 1.0f - c.right.z * 0.35f + up.z * 0.55f});
}

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

// Two-sided Lambert: imported meshes come with either winding.
float FlatLight(const DrawMesh& m, size_t f, const Vec3& toLight) {
    const uint32_t* v = &m.corners[3 * f];
    const Vec3 &p0 = m.vertices[v[0]], &p1 = m.vertices[v[1]], &p2 = m.vertices[v[2]];
    Vec3 n = Normalized(Cross(Sub(p1, p0), Sub(p2, p0)));
    return kAmbient + (1.0f - kAmbient) * std::fabs(Dot(n, toLight));
}

// The face's colours or texture coordinates; unlit.
Shade FaceColours(const DrawMesh& m, size_t f) {
    const uint32_t* a = m.Attributes(f);
    const FaceStyle& style = m.styles[f];
    const Look& look = m.looks[style.look];
    Shade s;
    for (int k = 0; k < 3; ++k) {
        if (style.shading == kShadeTexture) {
            s.texture = look.texture;
            s.uv[k] = m.uvs[a[k]];
        } else {
            s.c[k] = style.shading == kShadeCornerColours ? m.colours[a[k]] : look.colour;
        }
    }
    return s;
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

// The colour a face shows unlit at corner k: a wireframe's line colour.
Rgb CornerColour(const Shade& shade, int k) {
    if (!shade.texture) return shade.c[k];
    const uint8_t* t = Texel(*shade.texture, shade.uv[k].u, shade.uv[k].v);
    return {t[0] / 255.0f, t[1] / 255.0f, t[2] / 255.0f};
}

Shade LitFace(const DrawMesh& m, size_t f, const Vec3& toLight) {
    Shade s = FaceColours(m, f);
    s.light = FlatLight(m, f, toLight);
    return s;
}

// The shade of a mesh face, worked out when first needed.
struct LazyFaceShade {
    const DrawMesh& mesh;
    size_t face;
    const Vec3& toLight;
    uint8_t edges;
    Shade operator()() const { return LitFace(mesh, face, toLight); }
};

// A ready shade: a piece of a face cut by the near plane.
struct FixedShade {
    const Shade& shade;
    uint8_t edges;
    Shade operator()() const { return shade; }
};

// Fills one triangle given on screen. shadeOf() is asked once, at the first
// pixel that shows, since most faces of a dense mesh show none; pixels are
// turned away before any division where they can be.
// Orthographic: depth and colours are screen-linear, which is exact there;
// perspective: depth is the eye distance and colours and texture
// coordinates are interpolated through 1 / depth.
template <bool kPerspective, typename ShadeOf>
void FillTriangle(const ScreenPoint s[3], const Frame& frame, const ShadeOf& shadeOf,
                  const Target& target) {
    float area = Edge(s[0], s[1], s[2].x, s[2].y);
    if (!std::isfinite(area) || !(std::fabs(area) > 1e-9f)) return;

    // Clamp the box in float first: far-away corners must not overflow an int.
    float fw = float(target.width), fh = float(target.height);
    float minX = std::max(0.0f, std::min({s[0].x, s[1].x, s[2].x}));
    float maxX = std::min(fw - 1, std::max({s[0].x, s[1].x, s[2].x}));
    float minY = std::max(0.0f, std::min({s[0].y, s[1].y, s[2].y}));
    float maxY = std::min(fh - 1, std::max({s[0].y, s[1].y, s[2].y}));
    if (minX > maxX || minY > maxY) return;

    const bool edges = frame.mode == DisplayMode::kEdges;
    bool shaded = false;
    Shade shade;
    for (int y = int(minY); y <= int(maxY); ++y) {
        for (int x = int(minX); x <= int(maxX); ++x) {
            float cx = x + 0.5f, cy = y + 0.5f;
            float e0 = Edge(s[1], s[2], cx, cy);
            if (NegativeQuotient(e0, area)) continue;
            float e1 = Edge(s[2], s[0], cx, cy);
            if (NegativeQuotient(e1, area)) continue;
            float w[3] = {e0 / area, e1 / area, 0};
            w[2] = 1.0f - w[0] - w[1];
            if (w[0] < 0 || w[1] < 0 || w[2] < 0) continue;
            float b[3] = {w[0], w[1], w[2]};
            float z;
            if (kPerspective) {
                for (int k = 0; k < 3; ++k) b[k] = w[k] / s[k].depth;
                z = 1.0f / (b[0] + b[1] + b[2]);
                for (int k = 0; k < 3; ++k) b[k] *= z;
            } else {
                z = w[0] * s[0].depth + w[1] * s[1].depth + w[2] * s[2].depth;
            }
            float& zSlot = target.Depth(x, y);
            if (!(z < zSlot)) continue;
            zSlot = z;
            if (!shaded) {
                shade = shadeOf();
                if (edges) SetEdgeReach(shade, s, area, shadeOf.edges);
                shaded = true;
            }
            uint8_t* px = target.Pixel(x, y);
            if (edges &&
                (w[0] < shade.reach[0] || w[1] < shade.reach[1] || w[2] < shade.reach[2])) {
                std::copy(kEdgeColour, kEdgeColour + 3, px);
                continue;
            }
            if (shade.texture) {
                const TexCoord* uv = shade.uv;
                const uint8_t* texel =
                    Texel(*shade.texture, b[0] * uv[0].u + b[1] * uv[1].u + b[2] * uv[2].u,
                          b[0] * uv[0].v + b[1] * uv[1].v + b[2] * uv[2].v);
                for (int i = 0; i < 3; ++i) px[i] = ToByte(texel[i] / 255.0f * shade.light);
                continue;
            }
            const Rgb* c = shade.c;
            px[0] = ToByte((b[0] * c[0].r + b[1] * c[1].r + b[2] * c[2].r) * shade.light);
            px[1] = ToByte((b[0] * c[0].g + b[1] * c[1].g + b[2] * c[2].g) * shade.light);
            px[2] = ToByte((b[0] * c[0].b + b[1] * c[1].b + b[2] * c[2].b) * shade.light);
        }
    }
}

// A corner of a face cut by the near plane: its place in view space, its
// weights of the face's three corners, and whether the polygon edge that
// arrives at it is a visible edge.
struct CutCorner {
    Vec3 view;
    float w[3];
    bool edgeIn;
};

CutCorner Between(const CutCorner& a, const CutCorner& b, float t) {
    CutCorner c;
    c.view = {a.view.x + (b.view.x - a.view.x) * t, a.view.y + (b.view.y - a.view.y) * t,
              a.view.z + (b.view.z - a.view.z) * t};
    for (int k = 0; k < 3; ++k) c.w[k] = a.w[k] + (b.w[k] - a.w[k]) * t;
    return c;
}

// The face's part in front of the near plane (a triangle or a quad); its
// edge along the plane is hidden. Returns the number of corners.
int CutAtNearPlane(const CutCorner in[3], uint8_t edges, float nearDepth, CutCorner out[4]) {
    int n = 0;
    for (int k = 0; k < 3; ++k) {
        const CutCorner &p = in[k], &q = in[(k + 1) % 3];
        bool pIn = p.view.z >= nearDepth, qIn = q.view.z >= nearDepth;
        bool visible = (edges >> k) & 1;
        if (pIn != qIn) {
            out[n] = Between(p, q, (nearDepth - p.view.z) / (q.view.z - p.view.z));
            out[n++].edgeIn = pIn && visible;
        }
        if (qIn) {
            out[n] = q;
            out[n++].edgeIn = visible;
        }
    }
    return n;
}

// A face that crosses the near plane: its front part, fanned into triangles
// whose colours and texture coordinates are the face's, blended.
void FillCutFace(const DrawMesh& m, size_t f, const Frame& frame, const Target& target) {
    const uint32_t* v = &m.corners[3 * f];
    CutCorner in[3];
    for (int k = 0; k < 3; ++k) {
        in[k].view = frame.view.ToView(m.vertices[v[k]]);
        for (int j = 0; j < 3; ++j) in[k].w[j] = j == k;
    }
    CutCorner out[4];
    int n = CutAtNearPlane(in, m.styles[f].edges, frame.view.NearDepth(), out);
    Shade face = LitFace(m, f, frame.toLight);
    for (int i = 1; i + 1 < n; ++i) {
        const CutCorner* corner[3] = {&out[0], &out[i], &out[i + 1]};
        ScreenPoint s[3];
        Shade piece = face;
        for (int j = 0; j < 3; ++j) {
            s[j] = frame.view.FromView(corner[j]->view);
            const float* w = corner[j]->w;
            const Rgb* c = face.c;
            const TexCoord* uv = face.uv;
            piece.c[j] = {w[0] * c[0].r + w[1] * c[1].r + w[2] * c[2].r,
                          w[0] * c[0].g + w[1] * c[1].g + w[2] * c[2].g,
                          w[0] * c[0].b + w[1] * c[1].b + w[2] * c[2].b};
            piece.uv[j] = {w[0] * uv[0].u + w[1] * uv[1].u + w[2] * uv[2].u,
                           w[0] * uv[0].v + w[1] * uv[1].v + w[2] * uv[2].v};
        }
        // The fan's inner diagonals are hidden.
        uint8_t edges = (i == 1 && out[1].edgeIn ? kEdge01 : 0) |
                        (out[i + 1].edgeIn ? kEdge12 : 0) |
                        (i + 2 == n && out[0].edgeIn ? kEdge20 : 0);
        FillTriangle<true>(s, frame, FixedShade{piece, edges}, target);
    }
}

void FillFace(const DrawMesh& m, const ScreenPoint* screen, size_t f, const Frame& frame,
              const Target& target) {
    const uint32_t* v = &m.corners[3 * f];
    const ScreenPoint s[3] = {screen[v[0]], screen[v[1]], screen[v[2]]};
    LazyFaceShade shade{m, f, frame.toLight, m.styles[f].edges};
    if (!frame.view.Perspective()) return FillTriangle<false>(s, frame, shade, target);
    float nearDepth = frame.view.NearDepth();
    int behind = (s[0].depth < nearDepth) + (s[1].depth < nearDepth) + (s[2].depth < nearDepth);
    if (behind == 0) return FillTriangle<true>(s, frame, shade, target);
    if (behind < 3) FillCutFace(m, f, frame, target);
}

// A line one pixel wide, depth-tested, its colour blended from end to end.
void DrawLine(const ScreenPoint& a, const ScreenPoint& b, const Rgb& ca, const Rgb& cb,
              const Frame& frame, const Target& target) {
    float t0 = 0, t1 = 1;
    const float d[2] = {b.x - a.x, b.y - a.y}, from[2] = {a.x, a.y};
    const float limit[2] = {float(target.width), float(target.height)};
    auto inside = [&limit](const ScreenPoint& p) {
        return p.x >= 0 && p.y >= 0 && p.x < limit[0] && p.y < limit[1];
    };
    // Cut to the picture (Liang-Barsky) unless it lies inside, as most do: a
    // zoomed-in line may run far outside.
    for (int axis = 0; axis < 2 && !(inside(a) && inside(b)); ++axis) {
        if (!std::isfinite(from[axis]) || !std::isfinite(d[axis])) return;
        float lo = -from[axis], hi = limit[axis] - from[axis];
        if (d[axis] == 0) {
            if (lo > 0 || hi < 0) return;
            continue;
        }
        float tLo = lo / d[axis], tHi = hi / d[axis];
        t0 = std::max(t0, std::min(tLo, tHi)), t1 = std::min(t1, std::max(tLo, tHi));
    }
    if (t0 > t1) return;
    const int steps = int(std::ceil(std::max(std::fabs(d[0]), std::fabs(d[1])) * (t1 - t0)));
    const float step = steps ? (t1 - t0) / steps : 0;
    for (int i = 0; i <= steps; ++i) {
        float t = t0 + step * i;
        int x = std::min(int(a.x + d[0] * t), target.width - 1);
        int y = std::min(int(a.y + d[1] * t), target.height - 1);
        if (x < 0 || y < 0) continue;
        float z = frame.view.Perspective() ? 1.0f / ((1 - t) / a.depth + t / b.depth)
                                           : a.depth + (b.depth - a.depth) * t;
        float& zSlot = target.Depth(x, y);
        if (!(z < zSlot - frame.lineDepthMargin)) continue;
        zSlot = z;
        uint8_t* px = target.Pixel(x, y);
        px[0] = ToByte(ca.r + (cb.r - ca.r) * t);
        px[1] = ToByte(ca.g + (cb.g - ca.g) * t);
        px[2] = ToByte(ca.b + (cb.b - ca.b) * t);
    }
}

// The visible edges of a face as lines in the colours of its corners; in
// perspective, cut at the near plane.
void DrawFaceLines(const DrawMesh& m, const ScreenPoint* screen, size_t f, const Frame& frame,
                   const Target& target) {
    uint8_t edges = m.styles[f].edges;
    if (!edges) return;
    const uint32_t* v = &m.corners[3 * f];
    Shade shade = FaceColours(m, f);
    float nearDepth = frame.view.NearDepth();
    for (int k = 0; k < 3; ++k) {
        if (!(edges & (1 << k))) continue;
        int j = (k + 1) % 3;
        ScreenPoint a = screen[v[k]], b = screen[v[j]];
        Rgb ca = CornerColour(shade, k), cb = CornerColour(shade, j);
        if (frame.view.Perspective() && !(a.depth >= nearDepth && b.depth >= nearDepth)) {
            if (!(a.depth >= nearDepth || b.depth >= nearDepth)) continue;
            Vec3 va = frame.view.ToView(m.vertices[v[k]]), vb = frame.view.ToView(m.vertices[v[j]]);
            float t = (nearDepth - va.z) / (vb.z - va.z);
            Vec3 cut = {va.x + (vb.x - va.x) * t, va.y + (vb.y - va.y) * t, nearDepth};
            Rgb cc = {ca.r + (cb.r - ca.r) * t, ca.g + (cb.g - ca.g) * t, ca.b + (cb.b - ca.b) * t};
            if (a.depth < nearDepth) {
                a = frame.view.FromView(cut), ca = cc;
            } else {
                b = frame.view.FromView(cut), cb = cc;
            }
        }
        DrawLine(a, b, ca, cb, frame, target);
    }
}

// Points have no normal to light them: they show their colour as it is.
void DrawPoint(const ScreenPoint& s, const uint8_t colour[3], const Frame& frame,
               const Target& target) {
    const int side = frame.pointSide;
    // Compared in float first: far-away points must not overflow an int.
    if (!(s.x > -side && s.x < target.width + side && s.y > -side && s.y < target.height + side))
        return;
    if (frame.view.Perspective() && !(s.depth >= frame.view.NearDepth())) return;
    int left = int(std::floor(s.x - side / 2.0f));
    int top = int(std::floor(s.y - side / 2.0f));
    for (int y = std::max(top, 0); y < std::min(top + side, target.height); ++y)
        for (int x = std::max(left, 0); x < std::min(left + side, target.width); ++x) {
            float& zSlot = target.Depth(x, y);
            if (!(s.depth < zSlot)) continue;
            zSlot = s.depth;
            std::copy(colour, colour + 3, target.Pixel(x, y));
        }
}

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
                DrawPoint(part.screen[i], &m.pointColours[3 * i], frame, target);
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

}  // namespace

const char* DisplayModeName(DisplayMode mode) { return kModeNames[int(mode)]; }

// The first face to use a vertex gives it its colour.
void SetPointColours(DrawMesh& m) {
    m.pointColours.assign(3 * m.vertices.size(), 0);
    auto set = [&m](size_t i, const Rgb& c) {
        m.pointColours[3 * i] = ToByte(c.r);
        m.pointColours[3 * i + 1] = ToByte(c.g);
        m.pointColours[3 * i + 2] = ToByte(c.b);
    };
    if (m.FaceCount() == 0) {
        bool perVertex = m.colours.size() == m.vertices.size();
        for (size_t i = 0; i < m.vertices.size(); ++i)
            set(i, perVertex ? m.colours[i] : m.looks.empty() ? Rgb{0, 0, 0} : m.looks[0].colour);
        return;
    }
    std::vector<bool> done(m.vertices.size(), false);
    for (size_t f = 0; f < m.FaceCount(); ++f) {
        Shade shade = FaceColours(m, f);
        for (int k = 0; k < 3; ++k) {
            uint32_t v = m.corners[3 * f + k];
            if (!done[v]) set(v, CornerColour(shade, k)), done[v] = true;
        }
    }
}

int PointSide(size_t count) { return count < 1000 ? 6 : count < 10000 ? 4 : 2; }

Camera FrameScene(const SceneDrawing& drawing, const Camera& camera, int width, int height) {
    std::vector<PointSet> sets;
    for (const DrawMesh& m : drawing.meshes) sets.push_back({m.vertices.data(), m.vertices.size()});
    return FitPoints(camera, sets, width, height);
}

Vec3 SceneCentre(const SceneDrawing& drawing) {
    const float inf = std::numeric_limits<float>::infinity();
    Vec3 lo = {inf, inf, inf}, hi = {-inf, -inf, -inf};
    for (const DrawMesh& m : drawing.meshes)
        for (const Vec3& p : m.vertices) {
            if (!IsFinite(p)) continue;
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
    if (!(lo.x <= hi.x)) return {0, 0, 0};
    return {lo.x / 2 + hi.x / 2, lo.y / 2 + hi.y / 2, lo.z / 2 + hi.z / 2};
}

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
            options.moving && i < drawing.reduced.size() && !drawing.reduced[i].vertices.empty();
        meshes.push_back(reduced ? &drawing.reduced[i] : &drawing.meshes[i]);
    }
    Frame frame{ViewProjection(camera, width, height), LightDirection(camera), options.mode, 0,
                camera.halfHeight * 0.01f};

    std::vector<std::vector<ScreenPoint>> screens(meshes.size());
    for (size_t i = 0; i < meshes.size(); ++i) {
        const std::vector<Vec3>& vertices = meshes[i]->vertices;
        std::vector<ScreenPoint>& screen = screens[i];
        screen.resize(vertices.size());
        ParallelFor(vertices.size(), ThreadsFor(vertices.size()), [&](size_t b, size_t e, int) {
            for (size_t j = b; j < e; ++j) screen[j] = frame.view.Project(vertices[j]);
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
            parts.push_back({meshes[i], screens[i].data(), true, meshes[i]->vertices.size()});
            points += meshes[i]->vertices.size();
        }
    for (const Part& part : parts) items += part.count;
    frame.pointSide = PointSide(points);

    const int threads = ThreadsFor(items);
    std::vector<Image> images(threads);
    std::vector<std::vector<float>> depths(threads);
    ParallelFor(items, threads, [&](size_t begin, size_t end, int t) {
        images[t] = Image(width, height);
        Fill(images[t], depths[t]);
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
    if (options.depth) options.depth->swap(depth);
    return std::move(images[0]);
}
