#include "hostapp/viewer/rasterise.h"

#include <algorithm>
#include <cmath>

#include "hostapp/viewer/renderer.h"
#include "hostapp/viewer/shading.h"

namespace {

// One edge of a face on screen as a test of pixel centres, positive inside
// the face. Two faces sharing an edge must split its pixels exactly: the
// value is worked out from the endpoints in one fixed order whichever face
// asks, so the two see exactly opposite values, and a centre exactly on the
// edge goes to the face on its top or left side (the face whose inside is
// on the negative side of the downward, or when level leftward, edge).
// A visible edge shows as a line one pixel wide: in each column (row, for
// a steep edge) the pixel whose centre lies within half a pixel of it,
// counted across its main direction; the range is half-open in the edge's
// fixed order, so the faces on either side agree on every pixel.
struct EdgeTest {
    float ax, ay, dx, dy;
    float inside;  // +1 or -1: the sign of the face's side
    bool ownsTies;
    float halfRun;  // half a pixel across, in test units; negative for a hidden edge

    float At(float x, float y) const { return inside * (dx * (y - ay) - dy * (x - ax)); }
    bool Takes(float e) const { return e > 0 || (e == 0 && ownsTies); }
    bool OnLine(float e) const {
        float t = inside * e;  // the value in the edge's fixed order
        return t >= -halfRun && t < halfRun;
    }
};

// The edge from p to q of a face whose doubled signed area is area.
EdgeTest MakeEdgeTest(const ScreenPoint& p, const ScreenPoint& q, float area, bool visible) {
    bool forward = q.y > p.y || (q.y == p.y && q.x < p.x);
    const ScreenPoint &a = forward ? p : q, &b = forward ? q : p;
    float dx = b.x - a.x, dy = b.y - a.y;
    float inside = (forward == (area > 0)) ? 1.0f : -1.0f;
    float halfRun = visible ? 0.5f * std::max(std::fabs(dx), std::fabs(dy)) : -1.0f;
    return {a.x, a.y, dx, dy, inside, inside < 0, halfRun};
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

// A face at least this many pixels across draws the lines of its visible
// edges beyond itself too, so an outline or a silhouette, where no face on
// the other side draws them, shows without gaps. Smaller ones leave it: on
// a mesh that dense every pixel lies on some edge's line anyway, and
// reaching out would visit several times the pixels.
const float kLineReachingFaceSpan = 2.0f;

// Half the edge colour over the face's: a dense mesh, all of whose pixels
// show edges, still shows its shading.
void BlendEdge(uint8_t* px) {
    for (int i = 0; i < 3; ++i) px[i] = uint8_t((px[i] + kEdgeColour[i] + 1) / 2);
}

// The face's colour at a pixel with perspective-correct weights b.
void Paint(const Shade& shade, const float b[3], uint8_t* px) {
    const Rgb* l = shade.light;
    const float light[3] = {b[0] * l[0].r + b[1] * l[1].r + b[2] * l[2].r,
                            b[0] * l[0].g + b[1] * l[1].g + b[2] * l[2].g,
                            b[0] * l[0].b + b[1] * l[1].b + b[2] * l[2].b};
    if (shade.texture) {
        const TexCoord* uv = shade.uv;
        const uint8_t* texel =
            Texel(*shade.texture, b[0] * uv[0].u + b[1] * uv[1].u + b[2] * uv[2].u,
                  b[0] * uv[0].v + b[1] * uv[1].v + b[2] * uv[2].v);
        for (int i = 0; i < 3; ++i) px[i] = ToByte(texel[i] / 255.0f * light[i]);
        return;
    }
    const Rgb* c = shade.c;
    px[0] = ToByte((b[0] * c[0].r + b[1] * c[1].r + b[2] * c[2].r) * light[0]);
    px[1] = ToByte((b[0] * c[0].g + b[1] * c[1].g + b[2] * c[2].g) * light[1]);
    px[2] = ToByte((b[0] * c[0].b + b[1] * c[1].b + b[2] * c[2].b) * light[2]);
}

// Fills one triangle given on screen, and with kEdges the lines of its
// visible edges. shadeOf() is asked once, at the first pixel that shows,
// since most faces of a dense mesh show none.
// Orthographic: depth and colours are screen-linear, which is exact there;
// perspective: depth is the eye distance and colours and texture
// coordinates are interpolated through 1 / depth.
template <bool kPerspective, bool kEdges, typename ShadeOf>
void FillTriangle(const ScreenPoint s[3], const Frame& frame, const ShadeOf& shadeOf,
                  const Target& target) {
    float area = (s[1].x - s[0].x) * (s[2].y - s[0].y) - (s[1].y - s[0].y) * (s[2].x - s[0].x);
    if (!std::isfinite(area) || !(std::fabs(area) > 1e-9f)) return;
    float lowX = std::min({s[0].x, s[1].x, s[2].x}), highX = std::max({s[0].x, s[1].x, s[2].x});
    float lowY = std::min({s[0].y, s[1].y, s[2].y}), highY = std::max({s[0].y, s[1].y, s[2].y});
    const float reach =
        kEdges && shadeOf.edges && std::max(highX - lowX, highY - lowY) >= kLineReachingFaceSpan
            ? 0.5f
            : 0.0f;
    // The pixels whose centres lie in the box, clamped in float first:
    // far-away corners must not overflow an int. Most faces of a dense mesh
    // hold no centre and end here.
    float fw = float(target.width), fh = float(target.height);
    float minX = std::max(0.0f, lowX - reach), maxX = std::min(fw, highX + reach);
    float minY = std::max(0.0f, lowY - reach), maxY = std::min(fh, highY + reach);
    if (!(minX <= maxX && minY <= maxY)) return;
    const int left = int(std::ceil(minX - 0.5f)), right = int(std::floor(maxX - 0.5f));
    const int top = int(std::ceil(minY - 0.5f)), bottom = int(std::floor(maxY - 0.5f));
    if (left > right || top > bottom) return;

    // Edge k lies opposite corner k.
    const uint8_t shown = shadeOf.edges;
    const EdgeTest edge[3] = {MakeEdgeTest(s[1], s[2], area, shown & kEdge12),
                              MakeEdgeTest(s[2], s[0], area, shown & kEdge20),
                              MakeEdgeTest(s[0], s[1], area, shown & kEdge01)};
    const float perArea = 1.0f / std::fabs(area);

    bool shaded = false;
    Shade shade;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            float cx = x + 0.5f, cy = y + 0.5f;
            float e0 = edge[0].At(cx, cy);
            if (!kEdges && !edge[0].Takes(e0)) continue;
            float e1 = edge[1].At(cx, cy);
            if (!kEdges && !edge[1].Takes(e1)) continue;
            float e2 = edge[2].At(cx, cy);
            if (!kEdges && !edge[2].Takes(e2)) continue;
            bool line = false;
            if (kEdges) {
                bool in = edge[0].Takes(e0) && edge[1].Takes(e1) && edge[2].Takes(e2);
                // Beyond one edge (and no other) only on that edge's line.
                line = (edge[0].OnLine(e0) && e1 >= 0 && e2 >= 0) ||
                       (edge[1].OnLine(e1) && e0 >= 0 && e2 >= 0) ||
                       (edge[2].OnLine(e2) && e0 >= 0 && e1 >= 0);
                if (!in && !(line && reach > 0)) continue;
            }
            float w[3] = {e0 * perArea, e1 * perArea, e2 * perArea};
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
                // Faces wind counter-clockwise seen from the front, which on
                // screen, y down, is a negative area.
                if (area > 0) ShadeAsBackFace(shade);
                shaded = true;
            }
            uint8_t* px = target.Pixel(x, y);
            Paint(shade, b, px);
            if (line) BlendEdge(px);
        }
    }
}

// Fills a triangle in the frame's mode.
template <bool kPerspective, typename ShadeOf>
void FillTriangleInMode(const ScreenPoint s[3], const Frame& frame, const ShadeOf& shadeOf,
                        const Target& target) {
    if (frame.mode == DisplayMode::kEdges)
        FillTriangle<kPerspective, true>(s, frame, shadeOf, target);
    else
        FillTriangle<kPerspective, false>(s, frame, shadeOf, target);
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
            // Cut from the corner in front, so that the face beside, which
            // runs along this edge the other way, cuts it at the same point.
            const CutCorner &front = pIn ? p : q, &behind = pIn ? q : p;
            out[n] =
                Between(front, behind, (nearDepth - front.view.z) / (behind.view.z - front.view.z));
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
    const FaceCorners c = m.Corners(f);
    CutCorner in[3];
    for (int k = 0; k < 3; ++k) {
        in[k].view = frame.view.ToView(m.Vertex(c.v[k]));
        for (int j = 0; j < 3; ++j) in[k].w[j] = j == k;
    }
    CutCorner out[4];
    int n = CutAtNearPlane(in, m.Style(f).edges, frame.view.NearDepth(), out);
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
            const Rgb* l = face.light;
            piece.light[j] = {w[0] * l[0].r + w[1] * l[1].r + w[2] * l[2].r,
                              w[0] * l[0].g + w[1] * l[1].g + w[2] * l[2].g,
                              w[0] * l[0].b + w[1] * l[1].b + w[2] * l[2].b};
        }
        // The fan's inner diagonals are hidden.
        uint8_t edges = (i == 1 && out[1].edgeIn ? kEdge01 : 0) |
                        (out[i + 1].edgeIn ? kEdge12 : 0) |
                        (i + 2 == n && out[0].edgeIn ? kEdge20 : 0);
        FillTriangleInMode<true>(s, frame, FixedShade{piece, edges}, target);
    }
}

}  // namespace

void FillFace(const DrawMesh& m, const ScreenPoint* screen, size_t f, const Frame& frame,
              const Target& target) {
    const FaceCorners c = m.Corners(f);
    const ScreenPoint s[3] = {screen[c.v[0]], screen[c.v[1]], screen[c.v[2]]};
    LazyFaceShade shade{m, f, frame.toLight, m.Style(f).edges};
    if (!frame.view.Perspective()) return FillTriangleInMode<false>(s, frame, shade, target);
    float nearDepth = frame.view.NearDepth();
    int behind = (s[0].depth < nearDepth) + (s[1].depth < nearDepth) + (s[2].depth < nearDepth);
    if (behind == 0) return FillTriangleInMode<true>(s, frame, shade, target);
    if (behind < 3) FillCutFace(m, f, frame, target);
}

namespace {

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
    // A cut end lies on the picture's border, so samples a whole pixel apart
    // from it fall on pixel boundaries and round either way, leaving gaps: a
    // cut line is sampled at the middle of each step instead.
    const bool cut = t0 > 0 || t1 < 1;
    const float first = cut ? 0.5f : 0.0f;
    for (int i = 0; i < steps + !cut; ++i) {
        float t = t0 + step * (i + first);
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

}  // namespace

void DrawFaceLines(const DrawMesh& m, const ScreenPoint* screen, size_t f, const Frame& frame,
                   const Target& target) {
    uint8_t edges = m.Style(f).edges;
    if (!edges) return;
    const FaceCorners corners = m.Corners(f);
    const uint32_t* v = corners.v;
    const Rgb colour[3] = {CornerColour(m, f, 0), CornerColour(m, f, 1), CornerColour(m, f, 2)};
    float nearDepth = frame.view.NearDepth();
    for (int k = 0; k < 3; ++k) {
        if (!(edges & (1 << k))) continue;
        int j = (k + 1) % 3;
        ScreenPoint a = screen[v[k]], b = screen[v[j]];
        Rgb ca = colour[k], cb = colour[j];
        if (frame.view.Perspective() && !(a.depth >= nearDepth && b.depth >= nearDepth)) {
            if (!(a.depth >= nearDepth || b.depth >= nearDepth)) continue;
            Vec3 va = frame.view.ToView(m.Vertex(v[k])), vb = frame.view.ToView(m.Vertex(v[j]));
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
