#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/importer/import_fixture.h"

namespace {

const char* kXYZ = "property float x\nproperty float y\nproperty float z\n";

std::string VertexBlock(int n, const std::string& extra = "") {
    return "element vertex " + std::to_string(n) + "\n" + kXYZ + extra;
}

std::string FaceBlock(int n, const std::string& extra = "") {
    return "element face " + std::to_string(n) + "\nproperty list uchar int vertex_indices\n" +
           extra;
}

// n vertices on a circle, one polygon over all of them.
std::string PolygonPly(int n) {
    std::string data;
    for (int i = 0; i < n; ++i) data += std::to_string(i) + " " + std::to_string(i % 3) + " 0\n";
    data += std::to_string(n);
    for (int i = 0; i < n; ++i) data += " " + std::to_string(i);
    data += "\n";
    return AsciiPly(VertexBlock(n) + FaceBlock(1), data);
}

void ExpectFace(const Face& f, int a, int b, int c, int e0, int e1, int e2) {
    EXPECT_EQ(f.v[0], DWORD(a));
    EXPECT_EQ(f.v[1], DWORD(b));
    EXPECT_EQ(f.v[2], DWORD(c));
    EXPECT_EQ(f.getEdgeVis(0), e0);
    EXPECT_EQ(f.getEdgeVis(1), e1);
    EXPECT_EQ(f.getEdgeVis(2), e2);
    EXPECT_EQ(f.smGroup, 1u);
}

using MeshBuildTest = ImportTest;

TEST_F(MeshBuildTest, FlipAndScaleMovePositionsAndNormals) {
    importer->options.centerPivot = 0;
    std::string ply = AsciiPly(
        VertexBlock(3, "property float nx\nproperty float ny\nproperty float nz\n") + FaceBlock(1),
        "1 2 3 0 1 0\n0 0 0 0 0 1\n1 0 0 0.5 0.25 2\n3 0 1 2\n");
    ASSERT_EQ(Build(ply), 1);
    Mesh& m = BuiltMesh();
    EXPECT_EQ(m.verts[0], Point3(100, -300, 200));
    ASSERT_TRUE(m.hasExplicitNormals());
    // Normals turn as positions do, and are not scaled.
    EXPECT_EQ(m.getExplicitNormal(0), Point3(0, 0, 1));
    EXPECT_EQ(m.getExplicitNormal(1), Point3(0, -1, 0));
    EXPECT_EQ(m.getExplicitNormal(2), Point3(0.5f, -2, 0.25f));
}

TEST_F(MeshBuildTest, WithoutFlipThePositionIsOnlyScaled) {
    importer->options.flipZY = 0;
    importer->options.scale = 2;
    importer->options.centerPivot = 0;
    ASSERT_EQ(Build(AsciiPly(VertexBlock(3) + FaceBlock(1), "1 2 3\n0 0 0\n1 0 0\n3 0 1 2\n")), 1);
    EXPECT_EQ(BuiltMesh().verts[0], Point3(2, 4, 6));
    EXPECT_FALSE(BuiltMesh().hasExplicitNormals());
}

TEST_F(MeshBuildTest, MissingCoordinatesReadAsTenZeroZero) {
    importer->options.flipZY = 0;
    importer->options.scale = 1;
    importer->options.centerPivot = 0;
    std::string ply = AsciiPly("element vertex 1\nproperty float y\n", "5\n");
    ASSERT_EQ(Build(ply), 1);
    EXPECT_EQ(BuiltMesh().verts[0], Point3(10, 5, 0));
}

TEST_F(MeshBuildTest, TriangleQuadAndPentagonFanWithHiddenInnerEdges) {
    std::string ply = AsciiPly(VertexBlock(5) + FaceBlock(3),
                               "0 0 0\n1 0 0\n1 1 0\n0 1 0\n0 2 0\n"
                               "3 0 1 2\n4 0 1 2 3\n5 0 1 2 3 4\n");
    ASSERT_EQ(Build(ply), 1);
    Mesh& m = BuiltMesh();
    ASSERT_EQ(m.numFaces, 6);
    ExpectFace(m.faces[0], 0, 1, 2, 1, 1, 1);
    ExpectFace(m.faces[1], 0, 1, 2, 1, 1, 0);
    ExpectFace(m.faces[2], 0, 2, 3, 0, 1, 1);
    ExpectFace(m.faces[3], 0, 1, 2, 1, 1, 0);
    ExpectFace(m.faces[4], 0, 2, 3, 0, 1, 0);
    ExpectFace(m.faces[5], 0, 3, 4, 0, 1, 1);
}

TEST_F(MeshBuildTest, PolygonOfFortyCornersUsesEveryCorner) {
    ASSERT_EQ(Build(PolygonPly(40)), 1);
    Mesh& m = BuiltMesh();
    ASSERT_EQ(m.numFaces, 38);
    EXPECT_EQ(m.numVerts, 40);  // no corner left isolated
    ExpectFace(m.faces[37], 0, 38, 39, 0, 1, 1);
    ExpectFace(m.faces[30], 0, 31, 32, 0, 1, 0);
}

TEST_F(MeshBuildTest, MaterialIndexGivesEachTriangleItsId) {
    std::string ply = AsciiPly(VertexBlock(4) + FaceBlock(2, "property int material_index\n"),
                               "0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3 7\n3 0 2 3 65538\n");
    ASSERT_EQ(Build(ply), 1);
    Mesh& m = BuiltMesh();
    EXPECT_EQ(m.faces[0].getMatID(), 7);
    EXPECT_EQ(m.faces[1].getMatID(), 7);
    EXPECT_EQ(m.faces[2].getMatID(), 2);  // cut to the low 16 bits
}

TEST_F(MeshBuildTest, MaterialIndexIgnoredWithMaterialsOff) {
    importer->options.materials = 0;
    std::string ply = AsciiPly(VertexBlock(3) + FaceBlock(1, "property int material_index\n"),
                               "0 0 0\n1 0 0\n1 1 0\n3 0 1 2 7\n");
    ASSERT_EQ(Build(ply), 1);
    EXPECT_EQ(BuiltMesh().faces[0].getMatID(), 0);
}

TEST_F(MeshBuildTest, VertexColoursWithoutMaterialsGiveIdOne) {
    std::string ply =
        AsciiPly(VertexBlock(3, "property uchar red\nproperty uchar green\nproperty uchar blue\n") +
                     FaceBlock(1),
                 "0 0 0 255 0 0\n1 0 0 0 255 0\n1 1 0 0 0 51\n3 0 1 2\n");
    ASSERT_EQ(Build(ply), 1);
    Mesh& m = BuiltMesh();
    EXPECT_EQ(m.faces[0].getMatID(), 1);
    ASSERT_EQ(m.numCVerts, 3);
    EXPECT_EQ(m.vertCol[2], Point3(0, 0, 0.2f));
    EXPECT_EQ(m.vcFace[0].t[2], 2u);
}

TEST_F(MeshBuildTest, SingleMaterialWithoutIndexGivesIdZero) {
    std::string ply =
        AsciiPly(VertexBlock(3) + "element material 1\nproperty float opacity\n" + FaceBlock(1),
                 "0 0 0\n1 0 0\n1 1 0\n0.5\n3 0 1 2\n");
    ASSERT_EQ(Build(ply), 1);
    EXPECT_EQ(BuiltMesh().faces[0].getMatID(), 0);
    ASSERT_EQ(importer->materialRecords.size(), 1u);
    EXPECT_STREQ(importer->materialRecords[0].name, "mesh_0");
    EXPECT_FLOAT_EQ(importer->materialRecords[0].opacity, 0.5f);
}

std::string MaterialsPly(int materials) {
    std::string data = "0 0 0\n1 0 0\n1 1 0\n";
    for (int k = 0; k < materials; ++k) data += "0.5\n";
    return AsciiPly(VertexBlock(3) + "element material " + std::to_string(materials) +
                        "\nproperty float opacity\n" + FaceBlock(1),
                    data + "3 0 1 2\n");
}

TEST_F(MeshBuildTest, LongBaseNamesGiveWayToTheRecordNumber) {
    const std::string ply = MaterialsPly(11);
    // 62 characters: cut by bytes, "%s_%d" would give every record one name.
    std::snprintf(importer->baseName, sizeof importer->baseName, "%s",
                  std::string(62, 'a').c_str());
    ASSERT_EQ(Build(ply), 1);
    EXPECT_EQ(std::string(importer->materialRecords[0].name), std::string(61, 'a') + "_0");
    EXPECT_EQ(std::string(importer->materialRecords[10].name), std::string(60, 'a') + "_10");

    // A two-byte character that does not fit goes whole, never its lead byte alone.
    TearDown();
    SetUp();
    Doubles().doubleByteCodePage = true;
    std::snprintf(importer->baseName, sizeof importer->baseName, "%s\x82\xA0",
                  std::string(60, 'a').c_str());
    ASSERT_EQ(Build(ply), 1);
    EXPECT_EQ(std::string(importer->materialRecords[0].name), std::string(60, 'a') + "_0");
}

TEST_F(MeshBuildTest, MaterialsBeyondMemoryFailWithTheirMessage) {
    // The whole element is checked before any record is read; placed after
    // the faces, its records are only promised by the header.
    Doubles().availableMemory = 150000000;  // the face check passes
    EXPECT_EQ(Build(AsciiPly(VertexBlock(3) + FaceBlock(1) +
                                 "element material 20000000\nproperty float opacity\n",
                             "0 0 0\n1 0 0\n1 1 0\n3 0 1 2\n")),
              0);
    EXPECT_STREQ(importer->errorText.data(), "not enough memory to create 20000000 materials");

    // The records come from the host heap; one it refuses is the same message.
    TearDown();
    SetUp();
    Prepare(MaterialsPly(1000));
    HostSetAllocationLimit(HostHeapBytesInUse() + 4096);
    EXPECT_EQ(importer->BuildMesh(), 0);
    EXPECT_STREQ(importer->errorText.data(), "not enough memory to create 1000 materials");
}

TEST_F(MeshBuildTest, TextureChannelFollowsTheOption) {
    std::string ply =
        AsciiPly(VertexBlock(3, "property float u\nproperty float v\n") + FaceBlock(1),
                 "0 0 0 0.25 0.75\n1 0 0 1 0\n1 1 0 1 1\n3 0 1 2\n");
    ASSERT_EQ(Build(ply), 1);
    EXPECT_EQ(BuiltMesh().numTVerts, 3);
    EXPECT_EQ(BuiltMesh().tVerts[0], Point3(0.25f, 0.75f, 0));
    EXPECT_EQ(BuiltMesh().tvFace[0].t[1], 1u);

    TearDown();
    SetUp();
    importer->options.textureCoords = 0;
    ASSERT_EQ(Build(ply), 1);
    EXPECT_EQ(BuiltMesh().numTVerts, 0);
    EXPECT_EQ(BuiltMesh().numTVFaces, 0);
}

TEST_F(MeshBuildTest, IsolatedVerticesAreRemoved) {
    std::string ply =
        AsciiPly(VertexBlock(4) + FaceBlock(1), "0 0 0\n9 9 9\n1 0 0\n1 1 0\n3 0 2 3\n");
    ASSERT_EQ(Build(ply), 1);
    EXPECT_EQ(BuiltMesh().numVerts, 3);
    ExpectFace(BuiltMesh().faces[0], 0, 1, 2, 1, 1, 1);
}

TEST_F(MeshBuildTest, PointCloudKeepsAllVerticesInTwoSteps) {
    importer->options.generateNormals = 1;
    ASSERT_EQ(Build(AsciiPly(VertexBlock(2), "0 0 0\n2 4 6\n")), 1);
    EXPECT_EQ(BuiltMesh().numVerts, 2);
    EXPECT_EQ(BuiltMesh().numFaces, 0);
    std::vector<std::string> expected = {"text 25",    "count 2",      "fraction 0",
                                         "text 29",    "fraction 0.5", "text 30",
                                         "fraction 1", "text 0",       "fraction 1"};
    EXPECT_EQ(SentTrace(), expected);
}

TEST_F(MeshBuildTest, FinishingStepsReportTextsAndFractions) {
    importer->options.generateNormals = 1;
    ASSERT_EQ(Build(AsciiPly(VertexBlock(3) + FaceBlock(1), "0 0 0\n1 0 0\n1 1 0\n3 0 1 2\n")), 1);
    std::vector<std::string> expected = {
        "text 25", "count 4", "fraction 0",   "text 26", "fraction 0.2", "text 27", "fraction 0.4",
        "text 28", "text 29", "fraction 0.6", "text 30", "fraction 1",   "text 0",  "fraction 1"};
    EXPECT_EQ(SentTrace(), expected);
    EXPECT_FALSE(BuiltMesh().isEdgeListValid());
    EXPECT_NE(BuiltMesh().getFaceNormals(), nullptr);
}

TEST_F(MeshBuildTest, CentredPivotMovesTheBoxToTheOrigin) {
    importer->options.flipZY = 0;
    importer->options.scale = 1;
    ASSERT_EQ(Build(AsciiPly(VertexBlock(3) + FaceBlock(1), "0 0 0\n2 4 0\n2 4 6\n3 0 1 2\n")), 1);
    EXPECT_EQ(importer->importedMesh->pivot, Point3(1, 2, 3));
    Box3 box = BuiltMesh().getBoundingBox();
    EXPECT_EQ(box.pmin, Point3(-1, -2, -3));
    EXPECT_EQ(box.pmax, Point3(1, 2, 3));
}

TEST_F(MeshBuildTest, ProgressIsReportedEveryTwoThousandElementsAndCancelStops) {
    std::string data;
    for (int i = 0; i < 5000; ++i) data += "0 0 0\n";
    Doubles().onSend = [](DazAzu& im, const SentMessage& m) {
        if (m.message == kProgressCount) im.cancelFlag = 1;
    };
    EXPECT_EQ(Build(AsciiPly(VertexBlock(5000), data)), 0);
    EXPECT_TRUE(importer->errorText.isNull());
    std::vector<std::string> expected = {"text 25", "count 2000"};
    EXPECT_EQ(SentTrace(), expected);
}

TEST_F(MeshBuildTest, ReadFailuresPassTheReaderTextThrough) {
    EXPECT_EQ(Build(AsciiPly(VertexBlock(3), "0 0 0\n1 0\n")), 0);
    EXPECT_STREQ(importer->errorText.data(), "number of properties (3) != number of read data (2)");
}

TEST_F(MeshBuildTest, FaceMemoryCheckKeepsAReserve) {
    Doubles().availableMemory = 150000000;
    Prepare(AsciiPly(VertexBlock(3) + FaceBlock(1), "0 0 0\n1 0 0\n1 1 0\n3 0 1 2\n"));
    importer->triangleCount = 2500001;
    EXPECT_EQ(importer->BuildMesh(), 0);
    EXPECT_STREQ(importer->errorText.data(), "not enough memory to create 2500001 faces");

    TearDown();
    SetUp();
    Doubles().availableMemory = 150000000;
    Prepare(AsciiPly(VertexBlock(3) + FaceBlock(1), "0 0 0\n1 0 0\n1 1 0\n3 0 1 2\n"));
    importer->triangleCount = 2500000;
    EXPECT_EQ(importer->BuildMesh(), 1) << importer->errorText.data();
    EXPECT_EQ(BuiltMesh().numFaces, 1);  // trimmed to the triangles the file had
}

TEST_F(MeshBuildTest, EachChannelHasItsMemoryMessage) {
    std::string ply =
        AsciiPly(VertexBlock(3,
                             "property float u\nproperty float v\nproperty uchar red\n"
                             "property uchar green\nproperty uchar blue\n") +
                     FaceBlock(1),
                 "0 0 0 0 0 1 2 3\n1 0 0 0 0 1 2 3\n1 1 0 0 0 1 2 3\n3 0 1 2\n");
    Doubles().availableMemory = 35;  // 12 x 3 vertices do not fit
    EXPECT_EQ(Build(ply), 0);
    EXPECT_STREQ(importer->errorText.data(), "not enough memory to create 3 vertices");

    // Four vertices and a quad: the vertex channels name 4, the face ones 2.
    ply = AsciiPly(VertexBlock(4,
                               "property float u\nproperty float v\nproperty uchar red\n"
                               "property uchar green\nproperty uchar blue\n") +
                       FaceBlock(1),
                   "0 0 0 0 0 1 2 3\n1 0 0 0 0 1 2 3\n1 1 0 0 0 1 2 3\n0 1 0 0 0 1 2 3\n"
                   "4 0 1 2 3\n");
    const char* expected[] = {"not enough memory to create 4 vertices",
                              "not enough memory to create 4 texture-vertices",
                              "not enough memory to create 2 texture-faces",
                              "not enough memory to create 4 color-vertices",
                              "not enough memory to create 2 color-faces",
                              "not enough memory to create 2 faces"};
    for (int check = 0; check < 6; ++check) {
        TearDown();
        SetUp();
        Doubles().memoryChecksLeft = check;  // the memory runs out at this check
        EXPECT_EQ(Build(ply), 0);
        EXPECT_STREQ(importer->errorText.data(), expected[check]);
    }
}

// Counts of the face phase include the fan's triangles: 1000 vertices, then
// pentagons of three triangles each. A cancel there stops at once.
TEST_F(MeshBuildTest, FacePhaseCountsFanTrianglesAndCancelStopsThere) {
    std::string data;
    for (int i = 0; i < 1000; ++i) data += "0 0 " + std::to_string(i) + "\n";
    for (int f = 0; f < 1200; ++f) data += "5 0 1 2 3 4\n";
    const std::string ply = AsciiPly(VertexBlock(1000) + FaceBlock(1200), data);
    auto counts = [] {
        std::vector<long> sent;
        for (const SentMessage& m : Doubles().sent)
            if (m.message == kProgressCount) sent.push_back(long(m.lParam));
        return sent;
    };
    ASSERT_EQ(Build(ply), 1);
    // The counter passes 2000 before face 334 (1000 + 3 x 334) and again
    // before face 1001; the last count is N + F.
    EXPECT_EQ(counts(), (std::vector<long>{1334, 2001, 4600}));

    TearDown();
    SetUp();
    Doubles().onSend = [](DazAzu& im, const SentMessage& m) {
        if (m.message == kProgressCount && m.lParam > 1000) im.cancelFlag = 1;
    };
    EXPECT_EQ(Build(ply), 0);
    EXPECT_TRUE(importer->errorText.isNull());
    EXPECT_EQ(counts(), std::vector<long>{1334});
    EXPECT_EQ(Doubles().sent.back().message, kProgressCount);  // no finishing step ran
}

// One coordinate out of range, as read or after the scale, spoils nothing
// else: the box and the pivot are those of the finite vertices.
TEST_F(MeshBuildTest, VerticesOutOfRangeGoToTheCentreOfTheFiniteOnes) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    ASSERT_EQ(
        Build(BinaryPointCloud({{0, 0, 0}, {inf, 0, 0}, {2, 4, 6}, {0, 5e36f, 0}, {nan, 1, 1}})),
        1);
    Mesh& m = BuiltMesh();
    ASSERT_EQ(m.numVerts, 5);
    EXPECT_EQ(importer->nonFiniteVertices, 3u);
    EXPECT_EQ(importer->importedMesh->pivot, Point3(100, -300, 200));
    EXPECT_EQ(m.verts[0], Point3(-100, 300, -200));
    EXPECT_EQ(m.verts[2], Point3(100, -300, 200));
    for (int i : {1, 3, 4}) EXPECT_EQ(m.verts[i], Point3(0, 0, 0)) << i;
    EXPECT_EQ(m.getBoundingBox().pmin, Point3(-100, -300, -200));
    EXPECT_EQ(m.getBoundingBox().pmax, Point3(100, 300, 200));
}

TEST_F(MeshBuildTest, FacesNamingMissingVerticesAreSkipped) {
    std::string ply = AsciiPly(VertexBlock(3) + FaceBlock(3),
                               "0 0 0\n1 0 0\n1 1 0\n3 0 1 2\n3 0 1 3\n3 -1 1 2\n");
    ASSERT_EQ(Build(ply), 1);
    EXPECT_EQ(BuiltMesh().numFaces, 1);
    EXPECT_EQ(importer->skippedFaces, 2u);
}

TEST_F(MeshBuildTest, MoreTrianglesThanCountedIsAnError) {
    Prepare(AsciiPly(VertexBlock(4) + FaceBlock(1), "0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n"));
    importer->triangleCount = 1;
    EXPECT_EQ(importer->BuildMesh(), 0);
    EXPECT_STREQ(importer->errorText.data(), "the face data does not match the header");
}

TEST_F(MeshBuildTest, FacesOfFewerThanThreeCornersYieldNothing) {
    std::string ply =
        AsciiPly(VertexBlock(3) + FaceBlock(2), "0 0 0\n1 0 0\n1 1 0\n2 0 1\n3 0 1 2\n");
    ASSERT_EQ(Build(ply), 1);
    EXPECT_EQ(BuiltMesh().numFaces, 1);
    ExpectFace(BuiltMesh().faces[0], 0, 1, 2, 1, 1, 1);
}

// -1 restarts, the winding alternates, a repeated index drops a triangle
// but still turns the next, and a missing vertex skips one as for faces.
TEST_F(MeshBuildTest, TriangleStripsGiveTrianglesWithEveryEdgeVisible) {
    std::string ply =
        AsciiPly(VertexBlock(8) + "element tristrips 1\nproperty list int int vertex_indices\n",
                 "0 0 0\n1 0 0\n0 1 0\n1 1 0\n2 0 0\n3 0 0\n2 1 0\n3 1 0\n"
                 "14 0 1 2 3 -1 4 5 5 6 7 -1 1 2 9\n");
    ASSERT_EQ(Build(ply), 1) << importer->errorText.data();
    EXPECT_EQ(importer->triangleCount, 4u);
    Mesh& m = BuiltMesh();
    ASSERT_EQ(m.numFaces, 3);
    ExpectFace(m.faces[0], 0, 1, 2, 1, 1, 1);
    ExpectFace(m.faces[1], 2, 1, 3, 1, 1, 1);
    ExpectFace(m.faces[2], 4, 5, 6, 1, 1, 1);  // vertices 5 6 7 after the isolated 4 went
    EXPECT_EQ(importer->skippedFaces, 1u);
}

// A range scan's grid, rows up and columns to the right, faces the scanner
// on +z; a cell naming a missing vertex drops its triangles as for faces.
TEST_F(MeshBuildTest, RangeGridGivesTrianglesFacingTheScanner) {
    std::string ply = AsciiPly("obj_info num_cols 3\nobj_info num_rows 2\n" + VertexBlock(5) +
                                   "element range_grid 6\nproperty list uchar int vertex_indices\n",
                               "0 0 0\n1 0 0\n0 1 0\n1 1 0\n2 0 0\n1 0\n1 1\n1 4\n1 2\n1 3\n1 9\n");
    importer->options.flipZY = 0;
    ASSERT_EQ(Build(ply), 1) << importer->errorText.data();
    EXPECT_EQ(importer->triangleCount, 4u);
    Mesh& m = BuiltMesh();
    ASSERT_EQ(m.numFaces, 3);
    EXPECT_EQ(importer->skippedFaces, 1u);
    for (int j = 0; j < 3; ++j) {
        const Point3* v = m.verts;
        const DWORD* k = m.faces[j].v;
        const Point3 normal = CrossProd(v[k[1]] - v[k[0]], v[k[2]] - v[k[0]]);
        EXPECT_GT(normal.z, 0.0f) << j;
        EXPECT_EQ(m.faces[j].flags & EDGE_ALL, DWORD(EDGE_ALL));
    }
}

void ExpectNear(const Point3& seen, const Point3& expected) {
    EXPECT_NEAR(seen.x, expected.x, 1e-6);
    EXPECT_NEAR(seen.y, expected.y, 1e-6);
    EXPECT_NEAR(seen.z, expected.z, 1e-6);
}

// Triangle j's map face names its own three entries, which hold expected.
void ExpectCorners(const Point3* entries, const TVFace* faces, int j,
                   std::vector<Point3> expected) {
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE("triangle " + std::to_string(j) + " corner " + std::to_string(k));
        const DWORD entry = faces[j].t[k];
        EXPECT_EQ(entry, DWORD(3 * j + k));
        ExpectNear(entries[entry], expected[size_t(k)]);
    }
}

// Vertex 2 has other coordinates in every face it belongs to: the seams stay.
// A quad's coordinates are fanned with its corners; a list that does not fit
// its face gives (0, 0) and is counted.
TEST_F(MeshBuildTest, TexCoordListsGiveEveryCornerItsOwnCoordinates) {
    std::string ply =
        AsciiPly(VertexBlock(5) + FaceBlock(3, "property list uchar float texcoord\n"),
                 "0 0 0\n1 0 0\n1 1 0\n0 1 0\n2 1 0\n"
                 "4 0 1 2 3 8 0 0 0.5 0 0.5 0.5 0 0.5\n3 1 4 2 6 0.75 0.125 1 1 0.75 1\n"
                 "3 0 2 4 4 1 1 1 1\n");
    ASSERT_EQ(Build(ply), 1) << importer->errorText.data();
    Mesh& m = BuiltMesh();
    ASSERT_EQ(m.numFaces, 4);
    ASSERT_EQ(m.numTVerts, 12);
    ASSERT_EQ(m.numTVFaces, 4);
    ExpectCorners(m.tVerts, m.tvFace, 0, {{0, 0, 0}, {.5f, 0, 0}, {.5f, .5f, 0}});
    ExpectCorners(m.tVerts, m.tvFace, 1, {{0, 0, 0}, {.5f, .5f, 0}, {0, .5f, 0}});
    ExpectCorners(m.tVerts, m.tvFace, 2, {{.75f, .125f, 0}, {1, 1, 0}, {.75f, 1, 0}});
    ExpectCorners(m.tVerts, m.tvFace, 3, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}});
    EXPECT_EQ(importer->skippedTexCoords, 1u);

    TearDown();
    SetUp();
    importer->options.textureCoords = 0;
    ASSERT_EQ(Build(ply), 1);
    EXPECT_EQ(BuiltMesh().numTVerts, 0);
    EXPECT_EQ(importer->skippedTexCoords, 0u);
}

const char* kFaceRgba =
    "property uchar red\nproperty uchar green\nproperty uchar blue\nproperty uchar alpha\n";

// Each corner of a face takes the face's colour and alpha; a quad's two
// triangles both do.
TEST_F(MeshBuildTest, FaceColoursAndAlphaGoToEveryCornerOfTheirFace) {
    std::string ply = AsciiPly(VertexBlock(5) + FaceBlock(2, kFaceRgba),
                               "0 0 0\n1 0 0\n1 1 0\n0 1 0\n2 1 0\n"
                               "4 0 1 2 3 255 0 0 255\n3 1 4 2 0 51 255 102\n");
    ASSERT_EQ(Build(ply), 1) << importer->errorText.data();
    Mesh& m = BuiltMesh();
    ASSERT_EQ(m.numCVerts, 9);
    const Point3 red(1, 0, 0), teal(0, .2f, 1), opaque(1, 1, 1), clear(.4f, .4f, .4f);
    ExpectCorners(m.vertCol, m.vcFace, 1, {red, red, red});
    ExpectCorners(m.vertCol, m.vcFace, 2, {teal, teal, teal});
    ASSERT_TRUE(m.mapSupport(MAP_ALPHA));
    ASSERT_EQ(m.getNumMapVerts(MAP_ALPHA), 9);
    ExpectCorners(m.mapVerts(MAP_ALPHA), m.mapFaces(MAP_ALPHA), 0, {opaque, opaque, opaque});
    ExpectCorners(m.mapVerts(MAP_ALPHA), m.mapFaces(MAP_ALPHA), 2, {clear, clear, clear});
    EXPECT_EQ(m.faces[2].getMatID(), 1);  // the colour material's, as with vertex colours
}

// The vertices' colours win over the faces'.
TEST_F(MeshBuildTest, VertexColoursWinOverFaceColours) {
    std::string ply =
        AsciiPly(VertexBlock(3, "property uchar red\nproperty uchar green\nproperty uchar blue\n") +
                     FaceBlock(1, kFaceRgba),
                 "0 0 0 255 0 0\n1 0 0 0 255 0\n1 1 0 0 0 255\n3 0 1 2 9 9 9 128\n");
    ASSERT_EQ(Build(ply), 1);
    Mesh& m = BuiltMesh();
    ASSERT_EQ(m.numCVerts, 3);
    EXPECT_EQ(m.vertCol[1], Point3(0, 1, 0));
    ASSERT_EQ(m.getNumMapVerts(MAP_ALPHA), 3);  // the face's alpha, per corner
    ExpectNear(m.mapVerts(MAP_ALPHA)[0], Point3(1, 1, 1) * (128 / 255.0f));
}

// Vertices all of one colour give way to faces whose colours vary; the
// alpha is chosen the same way on its own.
TEST_F(MeshBuildTest, UniformVertexColoursGiveWayToFaceColoursThatVary) {
    const std::string header =
        VertexBlock(4,
                    "property uchar red\nproperty uchar green\nproperty uchar blue\n"
                    "property uchar alpha\n") +
        FaceBlock(2, kFaceRgba);
    const std::string white =
        "0 0 0 255 255 255 9\n1 0 0 255 255 255 9\n1 1 0 255 255 255 9\n"
        "0 1 0 255 255 255 9\n";
    ASSERT_EQ(Build(AsciiPly(header, white + "3 0 1 2 255 0 0 51\n3 0 2 3 0 0 255 51\n")), 1);
    Mesh& m = BuiltMesh();
    ASSERT_EQ(m.numCVerts, 6);
    ExpectCorners(m.vertCol, m.vcFace, 1, {Point3(0, 0, 1), Point3(0, 0, 1), Point3(0, 0, 1)});
    EXPECT_EQ(m.getNumMapVerts(MAP_ALPHA), 4);  // both alphas uniform: the vertices'

    ASSERT_EQ(Build(AsciiPly(header, white + "3 0 1 2 255 0 0 51\n3 0 2 3 255 0 0 102\n")), 1);
    EXPECT_EQ(BuiltMesh().numCVerts, 4);
    EXPECT_EQ(BuiltMesh().getNumMapVerts(MAP_ALPHA), 6);
}

// The choice between vertex and face colours, with and without alpha on
// either side: per-corner entries (6 for the two triangles) where the faces
// win, per-vertex ones (4) where the vertices do, none without the channel.
TEST_F(MeshBuildTest, ColourChoiceTakesEachChannelFromWhereItVaries) {
    const std::string rgb = "property uchar red\nproperty uchar green\nproperty uchar blue\n";
    const std::string a = "property uchar alpha\n";
    const struct {
        const char* what;
        std::string vertexProperties, faceProperties;
        const char* vertexValues[4];
        const char* faceValues[2];
        int colourEntries, alphaEntries;
    } cases[] = {
        {"white vertices, faces that vary, no alpha",
         rgb,
         rgb,
         {"255 255 255", "255 255 255", "255 255 255", "255 255 255"},
         {"255 0 0", "0 0 255"},
         6,
         0},
        {"white vertices, faces of one colour",
         rgb,
         rgb,
         {"255 255 255", "255 255 255", "255 255 255", "255 255 255"},
         {"255 0 0", "255 0 0"},
         4,
         0},
        {"vertices and faces that vary",
         rgb,
         rgb,
         {"255 255 255", "0 0 0", "255 255 255", "255 255 255"},
         {"255 0 0", "0 0 255"},
         4,
         0},
        {"alpha alone, one on the vertices", a, a, {"9", "9", "9", "9"}, {"51", "102"}, 0, 6},
        {"alpha alone, varying on the vertices", a, a, {"9", "8", "9", "9"}, {"51", "102"}, 0, 4},
        {"white vertices whose alpha varies",
         rgb + a,
         rgb + a,
         {"255 255 255 9", "255 255 255 8", "255 255 255 9", "255 255 255 9"},
         {"255 0 0 51", "0 0 255 51"},
         6,
         4},
        {"vertex colours that vary before their alpha does",
         rgb + a,
         rgb + a,
         {"255 255 255 9", "0 0 0 9", "0 0 0 8", "0 0 0 9"},
         {"255 0 0 51", "0 0 255 102"},
         4,
         4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const char* corners[4] = {"0 0 0", "1 0 0", "1 1 0", "0 1 0"};
        std::string data;
        for (int i = 0; i < 4; ++i)
            data += std::string(corners[i]) + " " + c.vertexValues[i] + "\n";
        data += std::string("3 0 1 2 ") + c.faceValues[0] + "\n3 0 2 3 " + c.faceValues[1] + "\n";
        ASSERT_EQ(Build(AsciiPly(
                      VertexBlock(4, c.vertexProperties) + FaceBlock(2, c.faceProperties), data)),
                  1);
        EXPECT_EQ(BuiltMesh().numCVerts, c.colourEntries);
        EXPECT_EQ(BuiltMesh().mapSupport(MAP_ALPHA) ? BuiltMesh().getNumMapVerts(MAP_ALPHA) : 0,
                  c.alphaEntries);
    }
}

// Alpha of the vertices (a splat's opacity among them) is one entry per
// vertex beside the colours, and follows their option.
TEST_F(MeshBuildTest, VertexAlphaAndSplatOpacityFollowTheColours) {
    std::string ply = AsciiPly(VertexBlock(3,
                                           "property float f_dc_0\nproperty float f_dc_1\n"
                                           "property float f_dc_2\nproperty float opacity\n"
                                           "property float rot_0\n") +
                                   FaceBlock(1),
                               "0 0 0 0 10 -10 0 1\n1 0 0 0 0 0 100 1\n1 1 0 0 0 0 -100 1\n"
                               "3 0 1 2\n");
    ASSERT_EQ(Build(ply), 1) << importer->errorText.data();
    Mesh& m = BuiltMesh();
    ASSERT_EQ(m.numCVerts, 3);
    ExpectNear(m.vertCol[0], Point3(0.5f, 1, 0));
    ASSERT_EQ(m.getNumMapVerts(MAP_ALPHA), 3);
    ExpectNear(m.mapVerts(MAP_ALPHA)[0], Point3(.5f, .5f, .5f));
    ExpectNear(m.mapVerts(MAP_ALPHA)[1], Point3(1, 1, 1));
    ExpectNear(m.mapVerts(MAP_ALPHA)[2], Point3(0, 0, 0));
    EXPECT_EQ(m.mapFaces(MAP_ALPHA)[0].t[2], 2u);

    TearDown();
    SetUp();
    importer->options.vertexColors = 0;
    ASSERT_EQ(Build(ply), 1);
    EXPECT_EQ(BuiltMesh().numCVerts, 0);
    EXPECT_FALSE(BuiltMesh().mapSupport(MAP_ALPHA));
}

std::string BinaryDoubleTriangles(const std::vector<std::array<double, 3>>& points) {
    std::string ply = "ply\nformat binary_little_endian 1.0\nelement vertex " +
                      std::to_string(points.size()) +
                      "\nproperty double x\nproperty double y\nproperty double z\n"
                      "element face " +
                      std::to_string(points.size() / 3) +
                      "\nproperty list uchar int vertex_indices\nend_header\n";
    for (const auto& p : points) ply.append(reinterpret_cast<const char*>(p.data()), 24);
    for (size_t f = 0; f < points.size() / 3; ++f) {
        const int32_t corners[3] = {int32_t(3 * f), int32_t(3 * f + 1), int32_t(3 * f + 2)};
        ply += char(3);
        ply.append(reinterpret_cast<const char*>(corners), sizeof corners);
    }
    return ply;
}

// Georeferenced coordinates near 4,000,000 m keep their millimetres: as
// floats they would all collapse onto steps of 0.25 m.
TEST_F(MeshBuildTest, DoublePositionsFarFromTheOriginKeepTheirDetail) {
    std::vector<std::array<double, 3>> points;
    for (int i = 0; i < 6; ++i)
        points.push_back({4000000.0 + 0.001 * i, 5000000.0, 300.0 + 0.001 * i});
    ASSERT_EQ(Build(BinaryDoubleTriangles(points)), 1) << importer->errorText.data();
    Mesh& m = BuiltMesh();
    ASSERT_EQ(m.numVerts, 6);
    const Point3 pivot = importer->importedMesh->pivot;
    EXPECT_NEAR(pivot.x, 400000000.25, 64);  // flipped and scaled by 100 as before
    EXPECT_NEAR(pivot.y, -30000.25, 0.01);
    EXPECT_NEAR(pivot.z, 500000000, 64);
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(m.verts[i].x, 0.1 * i - 0.25, 1e-4) << i;
        EXPECT_NEAR(m.verts[i].y, 0.25 - 0.1 * i, 1e-4) << i;
        EXPECT_NEAR(m.verts[i].z, 0, 1e-4) << i;
    }
}

TEST_F(MeshBuildTest, BuildEntryReportsTheOutcome) {
    Prepare(AsciiPly(VertexBlock(1), "0 0 0\n"));
    Doubles().running = importer;
    importer->RunMeshBuild(static_cast<HWND>(kProgressWindowDouble));
    EXPECT_EQ(Doubles().sent.back().message, kProgressFinished);
    EXPECT_EQ(importer->progressWindow, nullptr);
}

}  // namespace

namespace {

// The U of each entry of a map channel, in order.
std::vector<float> ChannelValues(Mesh& m, int channel) {
    std::vector<float> values;
    for (int i = 0; i < m.getNumMapVerts(channel); ++i) values.push_back(m.mapVerts(channel)[i].x);
    return values;
}

std::vector<DWORD> ChannelCorners(Mesh& m, int channel) {
    std::vector<DWORD> corners;
    for (int j = 0; j < m.getNumMapFaces(channel); ++j)
        corners.insert(corners.end(), m.mapFaces(channel)[j].t, m.mapFaces(channel)[j].t + 3);
    return corners;
}

}  // namespace

// Values the import has no other use for become map channels from 2 up,
// in file order, named on the node: one entry a vertex, or one a face that
// all its triangles point at (a face left out leaves its value out too).
// Lists nobody reads are named in the report.
TEST_F(MeshBuildTest, UnusedValuesBecomeNamedMapChannels) {
    const std::string ply = AsciiPly(
        VertexBlock(4, "property float confidence\nproperty uchar label\n") +
            FaceBlock(3, "property double quality\nproperty list uchar float weights\n"),
        "0 0 0 0.25 7\n1 0 0 0.5 200\n1 1 0 1 0\n0 1 0 0.75 9\n"
        "4 0 1 2 3 -1.5 0\n3 0 1 9 2.5 1 4\n3 2 3 0 16777216 2 1 1\n");
    ASSERT_EQ(Build(ply), 1);
    Mesh& m = BuiltMesh();
    EXPECT_EQ(ChannelValues(m, 2), (std::vector<float>{0.25f, 0.5f, 1, 0.75f}));
    EXPECT_EQ(ChannelValues(m, 3), (std::vector<float>{7, 200, 0, 9}));
    EXPECT_EQ(ChannelCorners(m, 2), (std::vector<DWORD>{0, 1, 2, 0, 2, 3, 2, 3, 0}));
    EXPECT_EQ(ChannelValues(m, 4), (std::vector<float>{-1.5f, 16777216}));
    EXPECT_EQ(ChannelCorners(m, 4), (std::vector<DWORD>{0, 0, 0, 0, 0, 0, 1, 1, 1}));
    EXPECT_FALSE(m.mapSupport(5));
    EXPECT_STREQ(importer->importedMesh->userProps.data(),
                 "MapChannel:2 = confidence\r\nMapChannel:3 = label\r\nMapChannel:4 = quality");
    EXPECT_EQ(importer->leftOutProperties, 1u);
    EXPECT_STREQ(importer->leftOutPropertyNames, "weights");
}

// Channels 2 to 98: the values past them are named in the report.
TEST_F(MeshBuildTest, ValuesPastTheLastChannelAreNamed) {
    std::string properties, values;
    for (int k = 0; k < 99; ++k) {
        properties += "property short p" + std::to_string(k) + "\n";
        values += " " + std::to_string(k - 50);
    }
    ASSERT_EQ(Build(AsciiPly(VertexBlock(1, properties), "1 2 3" + values + "\n")), 1);
    Mesh& m = BuiltMesh();
    EXPECT_EQ(ChannelValues(m, 2), std::vector<float>{-50});
    EXPECT_EQ(ChannelValues(m, 98), std::vector<float>{46});
    EXPECT_FALSE(m.mapSupport(99));
    EXPECT_EQ(importer->leftOutProperties, 2u);
    EXPECT_STREQ(importer->leftOutPropertyNames, "p97, p98");
}

// An intensity without colours gives grey vertex colours: an integer type
// by its maximum, floats as they are when all lie in 0..1, else by the
// largest; the values stay a channel of their own.
TEST_F(MeshBuildTest, IntensityWithoutColoursGivesGreyVertexColours) {
    const struct {
        const char* what;
        std::string properties;
        const char* values[3];
        float grey[3];
    } cases[] = {
        {"uchar", "property uchar intensity\n", {"0", "255", "51"}, {0, 1, 0.2f}},
        {"short, negative", "property short intensity\n", {"-5", "32767", "0"}, {0, 1, 0}},
        {"floats in 0..1", "property float scalar_intensity\n", {"0.25", "1", "0"}, {0.25f, 1, 0}},
        {"floats past 1", "property float intensity\n", {"50", "200", "-1"}, {0.25f, 1, 0}},
        {"a token that is no number", "property double Intensity\n", {"x", "2", "1"}, {0, 1, 0.5f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string data;
        for (int i = 0; i < 3; ++i) data += std::to_string(i) + " 0 0 " + c.values[i] + "\n";
        ASSERT_EQ(Build(AsciiPly(VertexBlock(3, c.properties) + FaceBlock(1), data + "3 0 1 2\n")), 1);
        Mesh& m = BuiltMesh();
        ASSERT_EQ(m.numCVerts, 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_FLOAT_EQ(m.vertCol[i].x, c.grey[i]) << i;
            EXPECT_EQ(m.vertCol[i].z, m.vertCol[i].x);
        }
        EXPECT_EQ(m.getNumMapVerts(2), 3);
    }
    // Colours of the file win; without "Vertex Colors" there are none.
    const std::string data = "0 0 0 9 10 20 30\n1 0 0 9 10 20 30\n0 1 0 9 10 20 30\n3 0 1 2\n";
    ASSERT_EQ(Build(AsciiPly(VertexBlock(3, "property uchar intensity\n"
                                             "property uchar red\nproperty uchar green\n"
                                             "property uchar blue\n") + FaceBlock(1), data)), 1);
    EXPECT_FLOAT_EQ(BuiltMesh().vertCol[0].y, 20 / 255.0f);
    importer->options.vertexColors = false;
    ASSERT_EQ(Build(AsciiPly(VertexBlock(3, "property uchar intensity\n") + FaceBlock(1),
                             "0 0 0 9\n1 0 0 9\n0 1 0 9\n3 0 1 2\n")), 1);
    EXPECT_EQ(BuiltMesh().numCVerts, 0);
    EXPECT_EQ(BuiltMesh().getNumMapVerts(2), 3);
}
