// The host mesh: sizing under memory pressure, map channels, isolated-vertex
// removal, normals and the bounding box.
#include "hostsdk/mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

class HostMesh : public ::testing::Test {
  protected:
    void TearDown() override { HostSetAllocationLimit(0); }

    // Four vertices, one of them (index 1) used by no face.
    void MakeQuadWithIsolatedVertex() {
        ASSERT_TRUE(mesh.setNumVerts(5));
        mesh.setVert(0, Point3(0, 0, 0));
        mesh.setVert(1, Point3(9, 9, 9));  // isolated
        mesh.setVert(2, Point3(1, 0, 0));
        mesh.setVert(3, Point3(1, 1, 0));
        mesh.setVert(4, Point3(0, 1, 0));
        ASSERT_TRUE(mesh.setNumFaces(2));
        mesh.faces[0].setVerts(0, 2, 3);
        mesh.faces[1].setVerts(0, 3, 4);
    }

    Mesh mesh;
};

TEST(HostFace, IsTwentyBytesWithMaterialIdAboveEdgeBits) {
    EXPECT_EQ(sizeof(Face), 20u);
    Face f;
    f.setVerts(1, 2, 3);
    f.setSmGroup(1);
    f.setEdgeVisFlags(1, 1, 0);
    f.setMatID(7);
    EXPECT_EQ(f.flags, (7u << 16) | EDGE_A | EDGE_B);
    f.setEdgeVisFlags(0, 1, 1);
    EXPECT_EQ(f.getMatID(), 7);
    EXPECT_EQ(f.getEdgeVis(0), 0);
    EXPECT_EQ(f.getEdgeVis(1), 1);
    EXPECT_EQ(f.getEdgeVis(2), 1);
    f.setMatID(0xFFFF);
    EXPECT_EQ(f.getMatID(), 0xFFFF);
    EXPECT_EQ(f.flags & EDGE_ALL, EDGE_B | EDGE_C);
    EXPECT_EQ(f.getVert(2), 3u);
    EXPECT_EQ(f.getSmGroup(), 1u);
}

TEST_F(HostMesh, SizingGivesArraysOfThatSizeZeroed) {
    ASSERT_TRUE(mesh.setNumVerts(3));
    ASSERT_TRUE(mesh.setNumFaces(2));
    ASSERT_TRUE(mesh.setNumTVerts(3));
    ASSERT_TRUE(mesh.setNumTVFaces(2));
    ASSERT_TRUE(mesh.setNumVertCol(3));
    ASSERT_TRUE(mesh.setNumVCFaces(2));
    EXPECT_EQ(mesh.getNumVerts(), 3);
    EXPECT_EQ(mesh.getNumFaces(), 2);
    EXPECT_EQ(mesh.getNumTVerts(), 3);
    EXPECT_EQ(mesh.numTVFaces, 2);
    EXPECT_EQ(mesh.getNumVertCol(), 3);
    EXPECT_EQ(mesh.numVCFaces, 2);
    EXPECT_EQ(mesh.getVert(2), Point3());
    EXPECT_EQ(mesh.faces[1].flags, 0u);
    EXPECT_EQ(mesh.tvFace[1].getTVert(2), 0u);
    ASSERT_TRUE(mesh.setNumVerts(0));
    EXPECT_EQ(mesh.getNumVerts(), 0);
    EXPECT_EQ(mesh.verts, nullptr);
}

TEST_F(HostMesh, NegativeCountsAreRefused) {
    EXPECT_FALSE(mesh.setNumVerts(-1));
    EXPECT_FALSE(mesh.setNumFaces(-5));
    EXPECT_EQ(mesh.getNumVerts(), 0);
}

TEST_F(HostMesh, KeepCopiesTheEntriesThatFit) {
    ASSERT_TRUE(mesh.setNumVerts(2));
    mesh.setVert(0, Point3(1, 2, 3));
    mesh.setVert(1, Point3(4, 5, 6));
    ASSERT_TRUE(mesh.setNumVerts(3, TRUE));
    EXPECT_EQ(mesh.getVert(1), Point3(4, 5, 6));
    EXPECT_EQ(mesh.getVert(2), Point3());
    ASSERT_TRUE(mesh.setNumVerts(1, TRUE));
    EXPECT_EQ(mesh.getVert(0), Point3(1, 2, 3));
    ASSERT_TRUE(mesh.setNumVerts(1, FALSE));
    EXPECT_EQ(mesh.getVert(0), Point3());
}

// Each sizing call, when the host heap is exhausted, answers false and
// leaves its array and count as they were.
TEST_F(HostMesh, SizingFailsUnderTheAllocationLimitLeavingTheMeshAlone) {
    ASSERT_TRUE(mesh.setNumVerts(4));
    mesh.setVert(3, Point3(7, 8, 9));
    ASSERT_TRUE(mesh.setNumFaces(2));
    mesh.faces[1].setVerts(1, 2, 3);
    ASSERT_TRUE(mesh.setNumTVerts(4));
    ASSERT_TRUE(mesh.setNumTVFaces(2));
    ASSERT_TRUE(mesh.setNumVertCol(4));
    ASSERT_TRUE(mesh.setNumVCFaces(2));
    Point3* verts = mesh.verts;
    Face* faces = mesh.faces;

    HostSetAllocationLimit(HostHeapBytesInUse() + 1000);
    EXPECT_FALSE(mesh.setNumVerts(1000));
    EXPECT_FALSE(mesh.setNumFaces(1000, TRUE));
    EXPECT_FALSE(mesh.setNumTVerts(1000));
    EXPECT_FALSE(mesh.setNumTVFaces(1000));
    EXPECT_FALSE(mesh.setNumVertCol(1000));
    EXPECT_FALSE(mesh.setNumVCFaces(1000));
    EXPECT_TRUE(mesh.setNumVerts(10, TRUE));  // 120 bytes still fit

    EXPECT_EQ(mesh.getNumFaces(), 2);
    EXPECT_EQ(mesh.faces, faces);
    EXPECT_EQ(mesh.faces[1].getVert(2), 3u);
    EXPECT_EQ(mesh.getNumTVerts(), 4);
    EXPECT_EQ(mesh.numTVFaces, 2);
    EXPECT_EQ(mesh.getNumVertCol(), 4);
    EXPECT_EQ(mesh.numVCFaces, 2);
    EXPECT_NE(mesh.verts, verts);
    EXPECT_EQ(mesh.getVert(3), Point3(7, 8, 9));
}

TEST_F(HostMesh, AlphaChannelSizingFailsCleanlyAndChannelsOutsideTheRangeDoNotExist) {
    size_t heapAtStart = HostHeapBytesInUse();
    {
        Mesh m;
        EXPECT_FALSE(m.mapSupport(MAP_ALPHA));
        m.setMapSupport(MAP_ALPHA);
        EXPECT_TRUE(m.mapSupport(MAP_ALPHA));
        ASSERT_TRUE(m.setNumMapVerts(MAP_ALPHA, 2));
        ASSERT_TRUE(m.setNumMapFaces(MAP_ALPHA, 1));
        UVVert* verts = m.mapVerts(MAP_ALPHA);
        TVFace* faces = m.mapFaces(MAP_ALPHA);
        verts[1] = UVVert(0.5f, 0.5f, 0.5f);
        faces[0].setTVerts(1, 0, 1);

        HostSetAllocationLimit(HostHeapBytesInUse() + 1000);
        EXPECT_FALSE(m.setNumMapVerts(MAP_ALPHA, 1000, TRUE));
        EXPECT_FALSE(m.setNumMapFaces(MAP_ALPHA, 1000, TRUE));
        EXPECT_FALSE(m.setNumMapVerts(MAP_ALPHA, 0x7FFFFFFF));
        EXPECT_FALSE(m.setNumMapFaces(MAP_ALPHA, -1));
        EXPECT_EQ(m.getNumMapVerts(MAP_ALPHA), 2);
        EXPECT_EQ(m.getNumMapFaces(MAP_ALPHA), 1);
        EXPECT_EQ(m.mapVerts(MAP_ALPHA), verts);
        EXPECT_EQ(m.mapFaces(MAP_ALPHA), faces);
        EXPECT_EQ(verts[1], UVVert(0.5f, 0.5f, 0.5f));
        EXPECT_EQ(faces[0].getTVert(0), 1u);
        HostSetAllocationLimit(0);

        for (int other : {-3, -1, MAX_MESHMAPS}) {
            m.setMapSupport(other);
            EXPECT_FALSE(m.mapSupport(other));
            EXPECT_FALSE(m.setNumMapVerts(other, 2));
            EXPECT_FALSE(m.setNumMapFaces(other, 1));
            EXPECT_EQ(m.getNumMapVerts(other), 0);
            EXPECT_EQ(m.mapVerts(other), nullptr);
            EXPECT_EQ(m.mapFaces(other), nullptr);
        }
        ASSERT_TRUE(m.setNumMapVerts(MAP_ALPHA, 3, TRUE));
        EXPECT_EQ(m.mapVerts(MAP_ALPHA)[1], UVVert(0.5f, 0.5f, 0.5f));
    }
    EXPECT_EQ(HostHeapBytesInUse(), heapAtStart);  // released with the mesh

    mesh.setMapSupport(MAP_ALPHA);
    ASSERT_TRUE(mesh.setNumMapVerts(MAP_ALPHA, 2));
    mesh.setMapSupport(MAP_ALPHA, FALSE);  // drops the arrays
    EXPECT_EQ(mesh.getNumMapVerts(MAP_ALPHA), 0);
    EXPECT_EQ(mesh.mapVerts(MAP_ALPHA), nullptr);
    EXPECT_EQ(HostHeapBytesInUse(), heapAtStart);
}

// Every channel through the same steps: 0 and 1 are the colour and texture
// fields, MAP_ALPHA sizes unsupported too, 2 and up grow the channel count.
TEST_F(HostMesh, MapChannelsSizeKeepAndDropTheirArrays) {
    struct Case {
        int mp;
        int mapsOnceSupported;
        bool sizesUnsupported;
        UVVert* Mesh::*field;  // the public array channels 0 and 1 share
    };
    const Case cases[] = {{0, 2, true, &Mesh::vertCol},  {1, 2, true, &Mesh::tVerts},
                          {MAP_ALPHA, 2, true, nullptr}, {2, 3, false, nullptr},
                          {98, 99, false, nullptr},      {99, 100, false, nullptr}};
    const size_t heapAtStart = HostHeapBytesInUse();
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "channel " << c.mp);
        {
            Mesh m;
            EXPECT_FALSE(m.mapSupport(c.mp));
            m.setMapSupport(c.mp);
            EXPECT_TRUE(m.mapSupport(c.mp));
            EXPECT_EQ(m.getNumMaps(), c.mapsOnceSupported);
            ASSERT_TRUE(m.setNumMapVerts(c.mp, 3) && m.setNumMapFaces(c.mp, 2));
            m.mapVerts(c.mp)[2] = UVVert(0.5f, 0.25f, 1);
            ASSERT_TRUE(m.setNumMapVerts(c.mp, 4, TRUE));
            EXPECT_EQ(m.getNumMapVerts(c.mp), 4);
            EXPECT_EQ(m.getNumMapFaces(c.mp), 2);
            EXPECT_EQ(m.mapVerts(c.mp)[2], UVVert(0.5f, 0.25f, 1));
            if (c.field) {
                EXPECT_EQ(m.*c.field, m.mapVerts(c.mp));
            }
            m.setMapSupport(c.mp, FALSE);
            EXPECT_FALSE(m.mapSupport(c.mp));
            EXPECT_EQ(m.getNumMapVerts(c.mp) + m.getNumMapFaces(c.mp), 0);
            EXPECT_EQ(m.mapVerts(c.mp), nullptr);
            EXPECT_EQ(m.mapFaces(c.mp), nullptr);
            EXPECT_EQ(m.setNumMapVerts(c.mp, 2) != FALSE, c.sizesUnsupported);
        }
        EXPECT_EQ(HostHeapBytesInUse(), heapAtStart);
    }

    mesh.setMapSupport(5);
    for (int mp : {-3, -1, 4, 6, MAX_MESHMAPS}) {  // none, unsupported, past the count
        SCOPED_TRACE(::testing::Message() << "channel " << mp);
        if (mp < 0 || mp >= MAX_MESHMAPS) mesh.setMapSupport(mp);
        EXPECT_FALSE(mesh.mapSupport(mp));
        EXPECT_FALSE(mesh.setNumMapVerts(mp, 2));
        EXPECT_FALSE(mesh.setNumMapFaces(mp, 1));
        EXPECT_EQ(mesh.mapVerts(mp), nullptr);
    }
    mesh.setMapSupport(3);
    ASSERT_TRUE(mesh.setNumMapVerts(3, 1));
    HostSetAllocationLimit(HostHeapBytesInUse() + 16);
    mesh.setMapSupport(50);  // no memory for the larger table
    EXPECT_FALSE(mesh.mapSupport(50));
    EXPECT_EQ(mesh.getNumMaps(), 6);
    HostSetAllocationLimit(0);
    EXPECT_FALSE(mesh.setNumMaps(MAX_MESHMAPS + 1));
    ASSERT_TRUE(mesh.setNumMaps(5, TRUE));  // channel 5 goes, 3 stays
    EXPECT_FALSE(mesh.mapSupport(5));
    EXPECT_EQ(mesh.getNumMapVerts(3), 1);
    ASSERT_TRUE(mesh.setNumMaps(1));  // never below the colour and texture channels
    EXPECT_EQ(mesh.getNumMaps(), 2);
    EXPECT_EQ(HostHeapBytesInUse(), heapAtStart);
}

TEST_F(HostMesh, HugeSizesAreRefused) {
    HostSetAllocationLimit(HostHeapBytesInUse() + (1 << 20));
    EXPECT_FALSE(mesh.setNumFaces(0x7FFFFFFF));
    EXPECT_FALSE(mesh.setNumVerts(0x7FFFFFFF));
    EXPECT_EQ(mesh.getNumFaces(), 0);
    EXPECT_EQ(mesh.getNumVerts(), 0);
}

// In a 32-bit process the byte count itself would wrap around.
TEST_F(HostMesh, SizesBeyondTheAddressSpaceAreRefused) {
    if (sizeof(size_t) > 4) GTEST_SKIP() << "the byte count cannot wrap in a 64-bit process";
    EXPECT_FALSE(mesh.setNumFaces(0x7FFFFFFF));
    EXPECT_FALSE(mesh.setNumVerts(0x7FFFFFFF));
    EXPECT_FALSE(mesh.setNumTVFaces(0x40000000));
    EXPECT_EQ(mesh.getNumFaces(), 0);
    EXPECT_EQ(mesh.getNumVerts(), 0);
}

TEST_F(HostMesh, ExplicitNormalsAreKeptApartFromBuiltOnes) {
    ASSERT_TRUE(mesh.setNumVerts(3));
    EXPECT_FALSE(mesh.hasExplicitNormals());
    mesh.setNormal(1, Point3(0, 0, 2));  // neither scaled nor normalised
    mesh.setNormal(5, Point3(1, 0, 0));  // outside the mesh: dropped
    mesh.setNormal(-1, Point3(1, 0, 0));
    EXPECT_TRUE(mesh.hasExplicitNormals());
    EXPECT_EQ(mesh.getExplicitNormal(0), Point3());
    EXPECT_EQ(mesh.getExplicitNormal(1), Point3(0, 0, 2));
    EXPECT_EQ(mesh.getExplicitNormal(7), Point3());
    ASSERT_TRUE(mesh.setNumFaces(1));
    mesh.faces[0].setVerts(0, 1, 2);
    mesh.setVert(1, Point3(1, 0, 0));
    mesh.setVert(2, Point3(0, 1, 0));
    mesh.buildNormals();
    EXPECT_EQ(mesh.getExplicitNormal(1), Point3(0, 0, 2));
    ASSERT_TRUE(mesh.setNumVerts(4, TRUE));
    EXPECT_EQ(mesh.getExplicitNormal(1), Point3(0, 0, 2));
    ASSERT_TRUE(mesh.setNumVerts(4, FALSE));
    EXPECT_FALSE(mesh.hasExplicitNormals());
}

TEST_F(HostMesh, DeleteIsoVertsRemovesUnusedVerticesAndRemapsFacesAndNormals) {
    MakeQuadWithIsolatedVertex();
    for (int i = 0; i < 5; ++i) mesh.setNormal(i, Point3(float(i), 0, 1));
    mesh.faces[1].setMatID(3);
    mesh.faces[1].setEdgeVisFlags(0, 1, 1);
    mesh.DeleteIsoVerts();

    ASSERT_EQ(mesh.getNumVerts(), 4);
    EXPECT_EQ(mesh.getVert(0), Point3(0, 0, 0));
    EXPECT_EQ(mesh.getVert(1), Point3(1, 0, 0));
    EXPECT_EQ(mesh.getVert(2), Point3(1, 1, 0));
    EXPECT_EQ(mesh.getVert(3), Point3(0, 1, 0));
    EXPECT_EQ(mesh.faces[0].v[0], 0u);
    EXPECT_EQ(mesh.faces[0].v[1], 1u);
    EXPECT_EQ(mesh.faces[0].v[2], 2u);
    EXPECT_EQ(mesh.faces[1].v[0], 0u);
    EXPECT_EQ(mesh.faces[1].v[1], 2u);
    EXPECT_EQ(mesh.faces[1].v[2], 3u);
    EXPECT_EQ(mesh.faces[1].getMatID(), 3);  // flags untouched
    EXPECT_EQ(mesh.faces[1].getEdgeVis(0), 0);
    EXPECT_EQ(mesh.getExplicitNormal(0), Point3(0, 0, 1));
    EXPECT_EQ(mesh.getExplicitNormal(1), Point3(2, 0, 1));
    EXPECT_EQ(mesh.getExplicitNormal(3), Point3(4, 0, 1));
}

TEST_F(HostMesh, DeleteIsoVertsKeepsAMeshWithoutIsolatedVertices) {
    MakeQuadWithIsolatedVertex();
    mesh.faces[0].setVerts(0, 1, 2);
    mesh.DeleteIsoVerts();
    EXPECT_EQ(mesh.getNumVerts(), 5);
    EXPECT_EQ(mesh.getVert(1), Point3(9, 9, 9));
}

// Without faces every vertex is isolated: the call empties the mesh, which
// is why a point cloud must not be passed to it.
TEST_F(HostMesh, DeleteIsoVertsOnAMeshWithoutFacesRemovesEveryVertex) {
    ASSERT_TRUE(mesh.setNumVerts(3));
    mesh.setNormal(0, Point3(0, 0, 1));
    mesh.DeleteIsoVerts();
    EXPECT_EQ(mesh.getNumVerts(), 0);
    EXPECT_FALSE(mesh.hasExplicitNormals());
}

TEST_F(HostMesh, FaceIndicesPastTheEndStayPastTheEnd) {
    MakeQuadWithIsolatedVertex();
    mesh.faces[1].setVerts(0, 3, 7);  // 7 names no vertex; 4 is now isolated too
    mesh.DeleteIsoVerts();
    ASSERT_EQ(mesh.getNumVerts(), 3);
    EXPECT_EQ(mesh.faces[1].v[1], 2u);
    EXPECT_GE(mesh.faces[1].v[2], 3u);
    mesh.buildNormals();  // must not read outside the vertices
    EXPECT_EQ(mesh.getFaceNormals()[1], Point3());
}

// The faces name vertices by bits, 32 to a word, and whole words are checked
// at once: isolated vertices in any one word alone, in a word of their own,
// or in every word, are all removed, and each face keeps its vertices.
TEST_F(HostMesh, DeleteIsoVertsFindsIsolatedVerticesInEveryWordOfMarks) {
    struct Case {
        int count;
        std::vector<int> isolated;
    };
    std::vector<int> wholeWord;
    for (int i = 32; i < 64; ++i) wholeWord.push_back(i);
    const Case cases[] = {{70, {5}},
                          {70, {40}},
                          {70, {66}},
                          {64, {63}},
                          {70, wholeWord},
                          {70, {0, 31, 33, 63, 64, 69}},
                          {100, {31, 32, 64, 99}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.count << " vertices, first isolated " << c.isolated[0]);
        Mesh m;
        ASSERT_TRUE(m.setNumVerts(c.count));
        std::vector<int> named;
        for (int i = 0; i < c.count; ++i) {
            m.setVert(i, Point3(float(i), 0, 0));
            if (std::find(c.isolated.begin(), c.isolated.end(), i) == c.isolated.end())
                named.push_back(i);
        }
        // Consecutive named vertices, the last face wrapping round to the first.
        const int n = int(named.size());
        const int faces = (n + 2) / 3;
        ASSERT_TRUE(m.setNumFaces(faces));
        for (int f = 0; f < faces; ++f)
            m.faces[f].setVerts(named[(3 * f + 2) % n], named[3 * f], named[(3 * f + 1) % n]);
        m.DeleteIsoVerts();

        ASSERT_EQ(m.getNumVerts(), n);
        for (int i = 0; i < n; ++i) EXPECT_EQ(m.getVert(i).x, float(named[i])) << i;
        for (int f = 0; f < faces; ++f) {
            EXPECT_EQ(m.faces[f].v[0], DWORD((3 * f + 2) % n)) << f;
            EXPECT_EQ(m.faces[f].v[1], DWORD(3 * f)) << f;
            EXPECT_EQ(m.faces[f].v[2], DWORD((3 * f + 1) % n)) << f;
        }
    }
}

TEST_F(HostMesh, DeleteIsoMapVertsCompactsTextureColourAndAlphaChannels) {
    MakeQuadWithIsolatedVertex();
    ASSERT_TRUE(mesh.setNumTVerts(5));
    ASSERT_TRUE(mesh.setNumTVFaces(2));
    ASSERT_TRUE(mesh.setNumVertCol(5));
    ASSERT_TRUE(mesh.setNumVCFaces(2));
    for (int i = 0; i < 5; ++i) {
        mesh.setTVert(i, UVVert(0.1f * i, 0.5f, 0));
        mesh.vertCol[i] = VertColor(0, 0.2f * i, 0);
    }
    mesh.tvFace[0].setTVerts(0, 2, 3);
    mesh.tvFace[1].setTVerts(0, 3, 4);
    mesh.vcFace[0].setTVerts(4, 3, 2);  // vertex 0 and 1 unused in colour
    mesh.vcFace[1].setTVerts(4, 2, 3);
    mesh.setMapSupport(MAP_ALPHA);
    ASSERT_TRUE(mesh.setNumMapVerts(MAP_ALPHA, 5));
    ASSERT_TRUE(mesh.setNumMapFaces(MAP_ALPHA, 2));
    for (int i = 0; i < 5; ++i) mesh.mapVerts(MAP_ALPHA)[i] = UVVert(0.1f * i, 0.1f * i, 0.1f * i);
    mesh.mapFaces(MAP_ALPHA)[0].setTVerts(0, 2, 3);
    mesh.mapFaces(MAP_ALPHA)[1].setTVerts(0, 3, 3);
    mesh.DeleteIsoVerts();
    EXPECT_EQ(mesh.getNumTVerts(), 5);  // geometry removal leaves map channels alone
    mesh.DeleteIsoMapVerts();

    ASSERT_EQ(mesh.getNumTVerts(), 4);
    EXPECT_EQ(mesh.tVerts[1], UVVert(0.2f, 0.5f, 0));
    EXPECT_EQ(mesh.tvFace[0].getTVert(1), 1u);
    EXPECT_EQ(mesh.tvFace[1].getTVert(2), 3u);
    ASSERT_EQ(mesh.getNumVertCol(), 3);
    EXPECT_EQ(mesh.vertCol[0], VertColor(0, 0.4f, 0));
    EXPECT_EQ(mesh.vertCol[2], VertColor(0, 0.8f, 0));
    EXPECT_EQ(mesh.vcFace[0].getTVert(0), 2u);
    EXPECT_EQ(mesh.vcFace[0].getTVert(2), 0u);
    EXPECT_EQ(mesh.vcFace[1].getTVert(2), 1u);
    ASSERT_EQ(mesh.getNumMapVerts(MAP_ALPHA), 3);
    EXPECT_EQ(mesh.mapVerts(MAP_ALPHA)[2], UVVert(0.3f, 0.3f, 0.3f));
    EXPECT_EQ(mesh.mapFaces(MAP_ALPHA)[1].getTVert(1), 2u);
}

// Channel 2 uses map vertices 1, 3 and 5 of six; channel 3 has no map faces.
TEST_F(HostMesh, DeleteIsoMapVertsCompactsFurtherChannelsThatDeleteIsoVertsLeaves) {
    MakeQuadWithIsolatedVertex();
    mesh.setMapSupport(2);
    ASSERT_TRUE(mesh.setNumMapVerts(2, 6) && mesh.setNumMapFaces(2, 2));
    for (int i = 0; i < 6; ++i) mesh.mapVerts(2)[i] = UVVert(float(i), 0, 0);
    mesh.mapFaces(2)[0].setTVerts(5, 1, 3);
    mesh.mapFaces(2)[1].setTVerts(5, 3, 3);
    mesh.setMapSupport(3);
    ASSERT_TRUE(mesh.setNumMapVerts(3, 2));
    mesh.DeleteIsoVerts();
    EXPECT_EQ(mesh.getNumMapVerts(2), 6);
    mesh.DeleteIsoMapVerts();

    ASSERT_EQ(mesh.getNumMapVerts(2), 3);
    EXPECT_EQ(mesh.mapVerts(2)[2], UVVert(5, 0, 0));
    const DWORD expected[2][3] = {{2, 0, 1}, {2, 1, 1}};
    ASSERT_EQ(mesh.getNumMapFaces(2), mesh.getNumFaces());
    for (int f = 0; f < 2; ++f)
        for (int k = 0; k < 3; ++k) EXPECT_EQ(mesh.mapFaces(2)[f].getTVert(k), expected[f][k]);
    EXPECT_EQ(mesh.getNumMapVerts(3), 0);
}

TEST_F(HostMesh, BuildNormalsGivesFaceNormalsAndSmoothedVertexNormals) {
    // Two triangles folded at a right angle along the edge (0,0,0)-(1,0,0).
    ASSERT_TRUE(mesh.setNumVerts(4));
    mesh.setVert(0, Point3(0, 0, 0));
    mesh.setVert(1, Point3(1, 0, 0));
    mesh.setVert(2, Point3(0, 1, 0));
    mesh.setVert(3, Point3(0, 0, 1));
    ASSERT_TRUE(mesh.setNumFaces(2));
    mesh.faces[0].setVerts(0, 1, 2);  // normal +z
    mesh.faces[1].setVerts(0, 3, 1);  // normal +y
    mesh.faces[0].setSmGroup(1);
    mesh.faces[1].setSmGroup(1);
    mesh.buildNormals();
    ASSERT_NE(mesh.getFaceNormals(), nullptr);
    ASSERT_NE(mesh.getVertexNormals(), nullptr);
    EXPECT_EQ(mesh.getFaceNormals()[0], Point3(0, 0, 1));
    EXPECT_EQ(mesh.getFaceNormals()[1], Point3(0, 1, 0));
    const float h = 0.70710678f;
    Point3 shared = mesh.getVertexNormals()[0];
    EXPECT_NEAR(shared.x, 0, 1e-6);
    EXPECT_NEAR(shared.y, h, 1e-6);
    EXPECT_NEAR(shared.z, h, 1e-6);
    EXPECT_EQ(mesh.getVertexNormals()[2], Point3(0, 0, 1));
    EXPECT_EQ(mesh.getVertexNormals()[3], Point3(0, 1, 0));
    EXPECT_FALSE(mesh.hasExplicitNormals());
    ASSERT_TRUE(mesh.setNumFaces(2, TRUE));  // resizing drops the built normals
    EXPECT_EQ(mesh.getFaceNormals(), nullptr);
}

TEST_F(HostMesh, EdgeListIsInvalidated) {
    MakeQuadWithIsolatedVertex();
    mesh.InvalidateEdgeList();
    EXPECT_FALSE(mesh.isEdgeListValid());
}

TEST_F(HostMesh, BoundingBoxCoversEveryVertex) {
    EXPECT_TRUE(mesh.getBoundingBox().IsEmpty());
    ASSERT_TRUE(mesh.setNumVerts(3));
    mesh.setVert(0, Point3(0, 4, 0));
    mesh.setVert(1, Point3(2, 0, -1));
    mesh.setVert(2, Point3(1, 1, 6));
    mesh.buildBoundingBox();
    Box3 box = mesh.getBoundingBox();
    EXPECT_EQ(box.pmin, Point3(0, 0, -1));
    EXPECT_EQ(box.pmax, Point3(2, 4, 6));
    EXPECT_EQ(box.Center(), Point3(1, 2, 2.5f));

    // Centring as the importer does: vertices move, the box follows on rebuild.
    Point3 centre = box.Center();
    for (int i = 0; i < mesh.getNumVerts(); ++i) mesh.getVert(i) -= centre;
    mesh.buildBoundingBox();
    EXPECT_EQ(mesh.getBoundingBox().pmin, Point3(-1, -2, -3.5f));
    EXPECT_EQ(mesh.getBoundingBox().pmax, Point3(1, 2, 3.5f));
}

// Moving the vertices moves the box with them, bit for bit the box a
// rebuild gives, also for zeros of either sign, subnormals and huge values.
TEST_F(HostMesh, SubtractingFromTheVerticesMovesTheBoxExactly) {
    const float awkward[] = {-0.0f, 0.0f,     1e-45f, -1e-45f,     0.1f,
                             3e38f, -3.4e38f, 1.0e7f, 16777217.0f, -5.5f};
    const int count = int(sizeof awkward / sizeof awkward[0]);
    ASSERT_TRUE(mesh.setNumVerts(count));
    for (int i = 0; i < count; ++i)
        mesh.setVert(i, Point3(awkward[i], awkward[(i + 3) % count] * 0.3f, -awkward[i] / 7));
    for (const Point3& offset :
         {Point3(0, 0, 0), Point3(-0.0f, 1e-45f, 0.1f), Point3(2.5e38f, -7.0f, 16777216.0f)}) {
        mesh.buildBoundingBox();
        mesh.subtractFromVerts(offset);
        const Box3 moved = mesh.getBoundingBox();
        mesh.buildBoundingBox();
        const Box3 rebuilt = mesh.getBoundingBox();
        EXPECT_EQ(std::memcmp(&moved, &rebuilt, sizeof(Box3)), 0);
    }
}

TEST_F(HostMesh, BoundingBoxThroughATransform) {
    ASSERT_TRUE(mesh.setNumVerts(2));
    mesh.setVert(0, Point3(-1, -2, -3));
    mesh.setVert(1, Point3(1, 2, 3));
    mesh.buildBoundingBox();
    Matrix3 tm;
    tm.SetTransRow(Point3(1, 2, 3));
    tm.ClearIdentFlag(POS_IDENT);
    Box3 box = mesh.getBoundingBox(&tm);
    EXPECT_EQ(box.pmin, Point3(0, 0, 0));
    EXPECT_EQ(box.pmax, Point3(2, 4, 6));
}

TEST(HostGeometry, MatrixIdentityAndFlags) {
    Matrix3 tm;
    EXPECT_EQ(tm.GetIdentFlags(), MAT_IDENT);
    tm.SetTransRow(Point3(5, 6, 7));
    tm.ClearIdentFlag(POS_IDENT);
    EXPECT_EQ(tm.GetIdentFlags(), ROT_IDENT | SCL_IDENT);
    EXPECT_EQ(tm.PointTransform(Point3(1, 1, 1)), Point3(6, 7, 8));
    tm.IdentityMatrix();
    EXPECT_EQ(tm.GetTrans(), Point3());
    EXPECT_EQ(tm.GetRow(1), Point3(0, 1, 0));
    EXPECT_EQ(tm.GetIdentFlags(), MAT_IDENT);
}

TEST(HostGeometry, PointOperations) {
    Point3 p(1, 2, 3);
    p -= Point3(1, 1, 1);
    EXPECT_EQ(p, Point3(0, 1, 2));
    EXPECT_EQ(CrossProd(Point3(1, 0, 0), Point3(0, 1, 0)), Point3(0, 0, 1));
    EXPECT_FLOAT_EQ(Length(Point3(3, 4, 0)), 5.0f);
    EXPECT_EQ(Normalize(Point3(0, 0, 5)), Point3(0, 0, 1));
    EXPECT_EQ(Normalize(Point3()), Point3());
}

}  // namespace
