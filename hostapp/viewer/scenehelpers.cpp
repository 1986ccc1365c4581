#include "hostapp/viewer/scenehelpers.h"

#include <algorithm>
#include <limits>

#include "hostapp/viewer/shading.h"

// The first face to use a vertex gives it its colour. Where every point
// shows the same colour (a mesh of one plain look, a cloud without
// colours), it is kept once.
void SetPointColours(DrawMesh& m) {
    const size_t count = m.VertexCount();
    const bool cloud = m.FaceCount() == 0;
    const bool perVertex = cloud && m.colours.size() == count;
    const bool plain = m.styles.empty() && m.common.shading == kShadeLookColour;
    if (!perVertex && (cloud || plain)) {
        const Rgb c = m.looks.empty() ? Rgb{0, 0, 0} : m.looks[cloud ? 0 : m.common.look].colour;
        m.commonPoint[0] = ToByte(c.r), m.commonPoint[1] = ToByte(c.g), m.commonPoint[2] = ToByte(c.b);
        m.pointColours.clear();
        return;
    }
    m.pointColours.assign(3 * count, 0);
    auto set = [&m](size_t i, const Rgb& c) {
        m.pointColours[3 * i] = ToByte(c.r);
        m.pointColours[3 * i + 1] = ToByte(c.g);
        m.pointColours[3 * i + 2] = ToByte(c.b);
    };
    if (cloud) {
        for (size_t i = 0; i < count; ++i) set(i, m.colours[i]);
        return;
    }
    std::vector<bool> done(count, false);
    for (size_t f = 0; f < m.FaceCount(); ++f) {
        const FaceCorners c = m.Corners(f);
        for (int k = 0; k < 3; ++k)
            if (!done[c.v[k]]) set(c.v[k], CornerColour(m, f, k)), done[c.v[k]] = true;
    }
}

int PointSide(size_t count) { return count < 1000 ? 6 : count < 10000 ? 4 : 2; }

Camera FrameScene(const SceneDrawing& drawing, const Camera& camera, int width, int height) {
    std::vector<PointSet> sets;
    for (const DrawMesh& m : drawing.meshes) {
        if (m.sceneVertices)
            sets.push_back({m.sceneVertices, m.sceneVertexCount, m.place});
        else if (!m.vertices.empty())
            sets.push_back({&m.vertices[0].x, m.vertices.size(), Placement()});
    }
    return FitPoints(camera, sets, width, height);
}

// In double: the sides of a box near the float range must not overflow.
float SceneSize(const SceneDrawing& drawing) {
    const double inf = std::numeric_limits<double>::infinity();
    double lo[3] = {inf, inf, inf}, hi[3] = {-inf, -inf, -inf};
    for (const DrawMesh& m : drawing.meshes)
        for (size_t i = 0; i < m.VertexCount(); ++i) {
            const Vec3 p = m.Vertex(i);
            if (!IsFinite(p)) continue;
            const double v[3] = {p.x, p.y, p.z};
            for (int k = 0; k < 3; ++k)
                lo[k] = std::min(lo[k], v[k]), hi[k] = std::max(hi[k], v[k]);
        }
    double size = 0;
    for (int k = 0; k < 3; ++k)
        if (lo[k] <= hi[k]) size = std::max(size, hi[k] - lo[k]);
    return float(std::min(size, double(std::numeric_limits<float>::max())));
}
