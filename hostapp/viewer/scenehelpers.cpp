#include "hostapp/viewer/scenehelpers.h"

#include <algorithm>
#include <limits>

#include "hostapp/viewer/shading.h"

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
        for (int k = 0; k < 3; ++k) {
            uint32_t v = m.corners[3 * f + k];
            if (!done[v]) set(v, CornerColour(m, f, k)), done[v] = true;
        }
    }
}

int PointSide(size_t count) { return count < 1000 ? 6 : count < 10000 ? 4 : 2; }

Camera FrameScene(const SceneDrawing& drawing, const Camera& camera, int width, int height) {
    std::vector<PointSet> sets;
    for (const DrawMesh& m : drawing.meshes) sets.push_back({m.vertices.data(), m.vertices.size()});
    return FitPoints(camera, sets, width, height);
}

// In double: the sides of a box near the float range must not overflow.
float SceneSize(const SceneDrawing& drawing) {
    const double inf = std::numeric_limits<double>::infinity();
    double lo[3] = {inf, inf, inf}, hi[3] = {-inf, -inf, -inf};
    for (const DrawMesh& m : drawing.meshes)
        for (const Vec3& p : m.vertices) {
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
