// Reduced stand-ins for large meshes and point clouds, by vertex
// clustering: vertices merge on a grid of cubes, each cluster at the mean
// of its vertices with its first vertex's point colour; a face survives
// when its corners fall into three different cubes, and keeps its own look,
// colours or texture coordinates and edge flags. The cube's side is chosen
// for about kReducedFaces faces or kReducedPoints points: the shape and
// colours while the scan turns, at a tenth of the cost.
#include "hostapp/viewer/reducedmesh.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <unordered_map>
#include <unordered_set>

namespace {

const size_t kReducedFaces = 300000;
const size_t kReducedPoints = 300000;
// The grid is sized on a sample of this many vertices, where each
// occupied cube holds at least kPerCube of them on average: enough to see
// every cube a scan's surface passes through.
const size_t kSampleSize = 65536;
const double kPerCube = 8;
const uint32_t kNoCluster = 0xFFFFFFFF;
// Cubes are counted from the scan's middle, up to 2^20 each way, so that
// the 21 bits an axis has hold the scan whatever lies far from it: far
// outliers fall into the border cubes, away from the scan's own.
const double kHalfCubes = 1 << 20;

struct CubeGrid {
    Vec3 centre;
    double side;
};

// The cube of a point: 21 bits per axis.
uint64_t CubeOf(const Vec3& p, const CubeGrid& grid) {
    auto axis = [&grid](float v, float from) {
        double i = std::floor((double(v) - from) / grid.side);
        return uint64_t(std::min(std::max(i, -kHalfCubes), kHalfCubes - 1) + kHalfCubes);
    };
    const Vec3& c = grid.centre;
    return axis(p.x, c.x) | axis(p.y, c.y) << 21 | axis(p.z, c.z) << 42;
}

// Evenly strided finite vertices, about kSampleSize of them.
std::vector<Vec3> Sample(const DrawMesh& m) {
    std::vector<Vec3> sample;
    const size_t step = std::max<size_t>(1, m.VertexCount() / kSampleSize);
    for (size_t i = 0; i < m.VertexCount(); i += step) {
        const Vec3 p = m.Vertex(i);
        if (IsFinite(p)) sample.push_back(p);
    }
    return sample;
}

// The sample's median on each axis, and its widest spread between the 1st
// and 99th percentiles: a few far outliers move neither.
void RobustMiddle(const std::vector<Vec3>& sample, Vec3& centre, double& extent) {
    std::vector<float> values(sample.size());
    auto at = [&values](double fraction) {
        auto nth = values.begin() + ptrdiff_t(fraction * double(values.size() - 1));
        std::nth_element(values.begin(), nth, values.end());
        return *nth;
    };
    float* middle[3] = {&centre.x, &centre.y, &centre.z};
    extent = 0;
    for (int k = 0; k < 3; ++k) {
        for (size_t i = 0; i < sample.size(); ++i)
            values[i] = k == 0 ? sample[i].x : k == 1 ? sample[i].y : sample[i].z;
        *middle[k] = at(0.5);
        extent = std::max(extent, double(at(0.99)) - at(0.01));
    }
}

size_t CubesOccupied(const std::vector<Vec3>& sample, const CubeGrid& grid) {
    std::unordered_set<uint64_t> cubes;
    for (const Vec3& p : sample) cubes.insert(CubeOf(p, grid));
    return cubes.size();
}

// A grid that leaves about `wanted` cubes occupied; side 0 when the sample
// has no spread. Halving the side while the sample still fills its cubes
// well (kPerCube points each) shows how the count of occupied cubes grows
// as they shrink, which is carried on down to the count wanted: with the
// square of the scale for a surface, up to the cube for a solid. Never
// less: at coarse sides a scan's relief makes it look thinner than a
// surface, and too many cubes would cost more than too few.
CubeGrid GridFor(const DrawMesh& m, size_t wanted) {
    const std::vector<Vec3> sample = Sample(m);
    CubeGrid grid = {{0, 0, 0}, 0};
    double extent = 0;
    if (sample.empty()) return grid;
    RobustMiddle(sample, grid.centre, extent);
    if (!(extent > 0) || !std::isfinite(extent)) return grid;
    grid.side = extent / 8;
    double coarse = double(CubesOccupied(sample, grid));
    grid.side /= 2;
    double fine = double(CubesOccupied(sample, grid));
    while (fine < double(wanted) && grid.side > extent / kHalfCubes) {
        CubeGrid finer = {grid.centre, grid.side / 2};
        const double count = double(CubesOccupied(sample, finer));
        if (count * kPerCube > double(sample.size())) break;
        grid = finer, coarse = fine, fine = count;
    }
    const double dimension = std::min(std::max(std::log2(fine / coarse), 2.0), 3.0);
    grid.side *= std::pow(fine / double(wanted), 1 / dimension);
    // The scan's middle must stay clear of the border cubes.
    grid.side = std::max(grid.side, 4 * extent / kHalfCubes);
    return grid;
}

DrawMesh Reduced(const DrawMesh& m) {
    DrawMesh r;
    const bool cloud = m.FaceCount() == 0;
    // A surface has about twice as many faces as vertices.
    const size_t wanted = cloud ? kReducedPoints : kReducedFaces / 2;
    const CubeGrid grid = GridFor(m, wanted);
    if (!(grid.side > 0)) return r;

    std::vector<uint32_t> cluster(m.VertexCount(), kNoCluster);
    std::unordered_map<uint64_t, uint32_t> cubes;
    cubes.reserve(wanted);
    std::vector<double> sums;  // x, y, z per cluster
    std::vector<uint32_t> members;
    for (size_t i = 0; i < m.VertexCount(); ++i) {
        const Vec3 p = m.Vertex(i);
        if (!IsFinite(p)) continue;
        auto cube = cubes.emplace(CubeOf(p, grid), uint32_t(members.size()));
        uint32_t c = cube.first->second;
        if (cube.second) {
            sums.insert(sums.end(), {0.0, 0.0, 0.0});
            members.push_back(0);
            const uint8_t* colour = m.PointColour(i);
            r.pointColours.insert(r.pointColours.end(), colour, colour + 3);
            // The first vertex's normal: a turning scan stays smooth.
            if (!m.normals.empty()) r.normals.push_back(m.normals[i]);
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
        const FaceCorners v = m.Corners(f);
        uint32_t a = cluster[v.v[0]], b = cluster[v.v[1]], c = cluster[v.v[2]];
        if (a == kNoCluster || b == kNoCluster || c == kNoCluster || a == b || b == c || a == c)
            continue;
        r.corners.insert(r.corners.end(), {a, b, c});
        r.styles.push_back(m.Style(f));
        const FaceCorners attributes = m.Attributes(f);
        r.attributeCorners.insert(r.attributeCorners.end(), attributes.v, attributes.v + 3);
    }
    // A cloud's points show their point colours alone.
    if (!cloud) r.colours = m.colours, r.uvs = m.uvs;
    r.looks = m.looks;
    return r;
}

bool NeedsReducing(const DrawMesh& m) {
    const size_t items = m.FaceCount() > 0 ? m.FaceCount() : m.VertexCount();
    return items > kReduceAboveFaces;
}

}  // namespace

// A stand-in that does not fit in memory is left out: the mesh itself is
// drawn, only slower.
void AddReducedMeshes(SceneDrawing& drawing) {
    drawing.reduced.clear();
    if (std::none_of(drawing.meshes.begin(), drawing.meshes.end(), NeedsReducing)) return;
    drawing.reduced.resize(drawing.meshes.size());
    for (size_t i = 0; i < drawing.reduced.size(); ++i) {
        if (!NeedsReducing(drawing.meshes[i])) continue;
        try {
            drawing.reduced[i] = Reduced(drawing.meshes[i]);
        } catch (const std::bad_alloc&) {
            drawing.reduced[i] = DrawMesh();
        }
    }
}
