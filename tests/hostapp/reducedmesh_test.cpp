#include "hostapp/viewer/reducedmesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "hostapp/viewer/scenehelpers.h"

namespace {

// A gently waving square grid of n x n vertices one unit apart, two faces
// a cell unless it is a point cloud.
SceneDrawing Grid(int n, bool faces = true) {
    SceneDrawing d;
    d.meshes.emplace_back();
    DrawMesh& m = d.meshes.back();
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            m.vertices.push_back(
                {float(i), float(j), 10 * std::sin(i * 0.05f) * std::cos(j * 0.03f)});
    m.looks.push_back({{0.5f, 0.5f, 0.5f}, nullptr});
    for (int j = 0; faces && j + 1 < n; ++j)
        for (int i = 0; i + 1 < n; ++i) {
            const uint32_t a = j * n + i, b = a + 1, c = a + n, e = c + 1;
            m.corners.insert(m.corners.end(), {a, b, e, a, e, c});
            m.styles.push_back({0, kShadeLookColour, kEdge01 | kEdge12});
            m.styles.push_back({0, kShadeLookColour, kEdge12 | kEdge20});
        }
    SetPointColours(m);
    return d;
}

// One stray triangle a billion units off, as a scanner's spurious return:
// hundreds of millions of the scan's cubes away.
SceneDrawing WithOutlier(SceneDrawing d) {
    DrawMesh& m = d.meshes[0];
    const uint32_t first = uint32_t(m.vertices.size());
    const float nan = std::nanf("");
    for (Vec3 p : {Vec3{-1e9f, 0, 0}, Vec3{-1e9f + 1000, 0, 0}, Vec3{-1e9f, 1000, 0}, Vec3{nan, 0, 0}})
        m.vertices.push_back(p);
    // And a face with a corner that lies nowhere.
    m.corners.insert(m.corners.end(), {first, first + 1, first + 2, first + 3, 0, 1});
    m.styles.push_back({0, kShadeLookColour, 0});
    m.styles.push_back({0, kShadeLookColour, 0});
    SetPointColours(m);
    return d;
}

// The lowest and highest coordinate on each axis, of points within 1000
// units of the origin (the scan, not its outlier).
void Bounds(const std::vector<Vec3>& points, float lo[3], float hi[3]) {
    std::fill(lo, lo + 3, 1e30f), std::fill(hi, hi + 3, -1e30f);
    for (const Vec3& p : points)
        for (int k = 0; k < 3 && p.x > -1000; ++k) {
            const float v = k == 0 ? p.x : k == 1 ? p.y : p.z;
            lo[k] = std::min(lo[k], v), hi[k] = std::max(hi[k], v);
        }
}

// Clusters sit at the mean of their vertices: within a cube's width of the edge.
void ExpectSameExtent(const DrawMesh& full, const DrawMesh& reduced) {
    float lo[3], hi[3], reducedLo[3], reducedHi[3];
    Bounds(full.vertices, lo, hi);
    Bounds(reduced.vertices, reducedLo, reducedHi);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(reducedLo[k], lo[k], 2) << "axis " << k;
        EXPECT_NEAR(reducedHi[k], hi[k], 2) << "axis " << k;
    }
}

// A far outlier must not coarsen the grid the scan merges on.
TEST(ReducedMeshTest, ALargeMeshKeepsItsExtentWithFewerWholeFaces) {
    size_t plainVertices = 0;
    for (bool outlier : {false, true}) {
        SCOPED_TRACE(outlier ? "with an outlier" : "plain");
        SceneDrawing d = outlier ? WithOutlier(Grid(560)) : Grid(560);
        DrawMesh& full = d.meshes[0];
        ASSERT_GT(full.FaceCount(), kReduceAboveFaces);
        if (!outlier) full.normals.assign(full.vertices.size(), 42u);  // one code for all
        AddReducedMeshes(d);
        ASSERT_EQ(d.reduced.size(), 1u);
        const DrawMesh& reduced = d.reduced[0];
        EXPECT_NEAR(double(reduced.FaceCount()), 300000, 90000);  // the stand-in's aim
        EXPECT_EQ(reduced.pointColours.size(), 3 * reduced.vertices.size());
        EXPECT_EQ(reduced.normals,
                  std::vector<uint32_t>(outlier ? 0 : reduced.vertices.size(), 42u));
        if (!outlier) plainVertices = reduced.vertices.size();
        EXPECT_NEAR(double(reduced.vertices.size()), double(plainVertices), 0.02 * plainVertices);
        ExpectSameExtent(full, reduced);
        for (size_t f = 0; f < reduced.FaceCount(); ++f) {
            const uint32_t* v = &reduced.corners[3 * f];
            ASSERT_TRUE(v[0] < reduced.vertices.size() && v[1] < reduced.vertices.size() &&
                        v[2] < reduced.vertices.size());
            const Vec3 &p = reduced.vertices[v[0]], &q = reduced.vertices[v[1]],
                       &r = reduced.vertices[v[2]];
            const Vec3 n = Cross(Sub(q, p), Sub(r, p));
            ASSERT_GT(Dot(n, n), 0) << "face " << f;
        }
    }
}

TEST(ReducedMeshTest, ALargePointCloudKeepsItsExtentWithFewerPoints) {
    SceneDrawing d = Grid(1200, false);
    const DrawMesh& full = d.meshes[0];
    AddReducedMeshes(d);
    ASSERT_EQ(d.reduced.size(), 1u);
    const DrawMesh& reduced = d.reduced[0];
    EXPECT_EQ(reduced.FaceCount(), 0u);
    EXPECT_GT(reduced.vertices.size(), 0u);
    EXPECT_LT(reduced.vertices.size(), full.vertices.size() / 4);
    EXPECT_EQ(reduced.pointColours.size(), 3 * reduced.vertices.size());
    ExpectSameExtent(full, reduced);
}

// Only meshes of more than kReduceAboveFaces faces get a stand-in; beside
// one that does, the others stand for themselves (no vertices).
TEST(ReducedMeshTest, OnlyMeshesAboveTheLimitAreReduced) {
    SceneDrawing d = Grid(560);
    DrawMesh atLimit = d.meshes[0];
    atLimit.corners.resize(3 * kReduceAboveFaces), atLimit.styles.resize(kReduceAboveFaces);
    d.meshes.push_back(atLimit);
    AddReducedMeshes(d);
    ASSERT_EQ(d.reduced.size(), 2u);
    EXPECT_FALSE(d.reduced[0].vertices.empty());
    EXPECT_TRUE(d.reduced[1].vertices.empty());
    d.meshes.erase(d.meshes.begin());
    AddReducedMeshes(d);
    EXPECT_TRUE(d.reduced.empty());
}

}  // namespace
