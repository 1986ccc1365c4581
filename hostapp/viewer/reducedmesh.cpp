// Reduced stand-ins for large meshes, by vertex clustering: vertices merge
// on a grid of cubes a few mean edge lengths wide, each cluster at the mean
// of its vertices; a face survives when its corners fall into three
// different cubes, and keeps its own look, colours or texture coordinates
// and edge flags. About kReducedFaces faces are left of a dense scan: its
// shape and colours while it turns, at a tenth of the cost.
#include "hostapp/viewer/reducedmesh.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace {

const size_t kReducedFaces = 300000;
const uint32_t kNoCluster = 0xFFFFFFFF;

// A sample of the faces tells the mean well enough.
double MeanEdgeLength(const DrawMesh& m) {
    const size_t step = std::max<size_t>(1, m.FaceCount() / 10000);
    double sum = 0;
    size_t count = 0;
    for (size_t f = 0; f < m.FaceCount(); f += step)
        for (int k = 0; k < 3; ++k) {
            Vec3 d =
                Sub(m.vertices[m.corners[3 * f + (k + 1) % 3]], m.vertices[m.corners[3 * f + k]]);
            double length = std::sqrt(double(Dot(d, d)));
            if (std::isfinite(length)) sum += length, ++count;
        }
    return count ? sum / double(count) : 0;
}

// The cube of a point: 21 bits per axis, far outliers clamped to the last.
uint64_t CubeOf(const Vec3& p, const Vec3& lo, double side) {
    auto axis = [side](float v, float from) {
        double i = std::floor((double(v) - from) / side);
        return uint64_t(std::min(std::max(i, 0.0), double((1 << 21) - 1)));
    };
    return axis(p.x, lo.x) | axis(p.y, lo.y) << 21 | axis(p.z, lo.z) << 42;
}

DrawMesh Reduced(const DrawMesh& m) {
    DrawMesh r;
    const double side = MeanEdgeLength(m) * std::sqrt(double(m.FaceCount()) / kReducedFaces);
    if (!(side > 0) || !std::isfinite(side)) return r;
    const float inf = std::numeric_limits<float>::infinity();
    Vec3 lo = {inf, inf, inf};
    for (const Vec3& p : m.vertices)
        if (IsFinite(p)) lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};

    std::vector<uint32_t> cluster(m.vertices.size(), kNoCluster);
    std::unordered_map<uint64_t, uint32_t> cubes;
    cubes.reserve(kReducedFaces);
    std::vector<double> sums;  // x, y, z per cluster
    std::vector<uint32_t> members;
    for (size_t i = 0; i < m.vertices.size(); ++i) {
        const Vec3& p = m.vertices[i];
        if (!IsFinite(p)) continue;
        auto cube = cubes.emplace(CubeOf(p, lo, side), uint32_t(members.size()));
        uint32_t c = cube.first->second;
        if (cube.second) {
            sums.insert(sums.end(), {0.0, 0.0, 0.0});
            members.push_back(0);
            const uint8_t* colour = m.pointColours.data() + 3 * i;
            r.pointColours.insert(r.pointColours.end(), colour, colour + 3);
        }
        sums[3 * c] += p.x, sums[3 * c + 1] += p.y, sums[3 * c + 2] += p.z;
        ++members[c];
        cluster[i] = c;
    }
    r.vertices.reserve(members.size());
    for (size_t c = 0; c < members.size(); ++c)
        r.vertices.push_back({float(sums[3 * c] / members[c]), float(sums[3 * c + 1] / members[c]),
                              float(sums[3 * c + 2] / members[c])});

    for (size_t f = 0; f < m.FaceCount(); ++f) {
        const uint32_t* v = &m.corners[3 * f];
        uint32_t a = cluster[v[0]], b = cluster[v[1]], c = cluster[v[2]];
        if (a == kNoCluster || b == kNoCluster || c == kNoCluster || a == b || b == c || a == c)
            continue;
        r.corners.insert(r.corners.end(), {a, b, c});
        r.styles.push_back(m.styles[f]);
        const uint32_t* attributes = m.Attributes(f);
        r.attributeCorners.insert(r.attributeCorners.end(), attributes, attributes + 3);
    }
    r.colours = m.colours;
    r.uvs = m.uvs;
    r.looks = m.looks;
    return r;
}

}  // namespace

void AddReducedMeshes(SceneDrawing& drawing) {
    drawing.reduced.clear();
    for (const DrawMesh& m : drawing.meshes) {
        if (m.FaceCount() <= kReduceAboveFaces) continue;
        drawing.reduced.resize(drawing.meshes.size());
        break;
    }
    for (size_t i = 0; i < drawing.reduced.size(); ++i)
        if (drawing.meshes[i].FaceCount() > kReduceAboveFaces)
            drawing.reduced[i] = Reduced(drawing.meshes[i]);
}
