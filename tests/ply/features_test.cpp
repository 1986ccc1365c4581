// Strips, texture files, vertex alpha, splat colours, positions far from the
// origin and the extra values of faces, over the three encodings where the
// encoding matters.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "ply/range_grid.h"
#include "ply/tristrips.h"
#include "tests/ply/ply_test_files.h"

namespace {

using Triangle = std::array<int32_t, 3>;

std::vector<Triangle> StripTriangles(const std::vector<int32_t>& items) {
    std::vector<Triangle> triangles;
    ForEachStripTriangle(items.data(), items.size(), [&](int32_t a, int32_t b, int32_t c) {
        triangles.push_back({a, b, c});
    });
    return triangles;
}

class Features : public ::testing::TestWithParam<PlyFormat> {
  protected:
    std::string Make(const std::vector<TestElement>& elements) {
        return MakePly(GetParam(), elements);
    }
};

std::string ParamName(const ::testing::TestParamInfo<PlyFormat>& info) {
    return FormatName(info.param);
}

const TestElement kFourVertices{
    "vertex", {"float x", "float y", "float z"}, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}};

// The header with comment lines after its format line.
std::string WithComments(const std::string& ply, const std::string& comments) {
    const size_t formatEnd = ply.find('\n', ply.find("format")) + 1;
    return ply.substr(0, formatEnd) + comments + ply.substr(formatEnd);
}

const std::string kCorpusDir = KS_CORPUS_DIR_PATH;

}  // namespace

INSTANTIATE_TEST_SUITE_P(AllEncodings, Features, ::testing::ValuesIn(kAllFormats), ParamName);

TEST(StripTriangles, RestartsAlternationAndDegenerates) {
    EXPECT_EQ(StripTriangles({0, 1, 2, 3, 4}),
              (std::vector<Triangle>{{0, 1, 2}, {2, 1, 3}, {2, 3, 4}}));
    // Restart markers at the start, at the end and twice in a row.
    EXPECT_EQ(StripTriangles({-1, 0, 1, 2, -1, -1, 3, 4, 5, 6, -1}),
              (std::vector<Triangle>{{0, 1, 2}, {3, 4, 5}, {5, 4, 6}}));
    // The two dropped triangles still flip the winding of the next one.
    EXPECT_EQ(StripTriangles({0, 1, 2, 2, 3, 4}), (std::vector<Triangle>{{0, 1, 2}, {3, 2, 4}}));
    EXPECT_TRUE(StripTriangles({0, 1, -1, 2, -1}).empty());
}

TEST_P(Features, StripsGiveTheTrianglesCountAndTheirListsWhole) {
    TestElement strips{"tristrips",
                       {"list int int vertex_indices"},
                       {{9, 0, 1, 2, 3, -1, 3, 2, 2, 1}, {3, 0, 1, 3}, {0}}};
    ReaderOn file(Make({kFourVertices, strips}));
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.reader.FaceSourceKind(), kElementTriStrips);
    EXPECT_EQ(file.reader.CountTriangles(), 3);
    EXPECT_EQ(file.reader.ErrorText(), "");
    ASSERT_EQ(file.reader.SeekElement(kElementTriStrips), 3);
    FaceRecord f;
    ASSERT_TRUE(file.reader.ReadFace(&f.vertexCount, &f.indices, nullptr));
    EXPECT_EQ(f.vertexCount, 9);
    EXPECT_EQ(Items(f.indices), (std::vector<int32_t>{0, 1, 2, 3, -1, 3, 2, 2, 1}));

    // A face element comes first; without either there are no faces.
    TestElement faces{"face", {"list uchar int vertex_indices"}, {{4, 0, 1, 2, 3}}};
    ReaderOn both(Make({kFourVertices, strips, faces}));
    EXPECT_EQ(both.reader.FaceSourceKind(), kElementFace);
    EXPECT_EQ(both.reader.CountTriangles(), 2);
    ReaderOn neither(Make({kFourVertices}));
    EXPECT_EQ(neither.reader.FaceSourceKind(), -1);
    EXPECT_EQ(neither.reader.CountTriangles(), 0);
}

// A range scan: cells of 0 or 1 vertex in rows of num_cols. A full square
// gives two triangles, one of three cells one, and each runs a, b, e, d
// (rows up the image, columns to the right).
TEST_P(Features, RangeGridGivesTheSurfaceOfItsCells) {
    TestElement vertices{"vertex", {"float x"}, {{0}, {1}, {2}, {3}, {4}, {5}}};
    TestElement grid{"range_grid",
                     {"list uchar int vertex_indices"},
                     {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {0}, {0}, {1, 5}, {0}}};
    const auto withSize = [](std::string ply, const std::string& objInfo) {
        return ply.insert(ply.find("1.0\n") + 4, objInfo);
    };
    const std::string ply = Make({vertices, grid});
    ReaderOn file(withSize(ply, "obj_info num_cols 3\nobj_info num_rows 3\n"));
    EXPECT_EQ(file.reader.FaceSourceKind(), kElementRangeGrid);
    EXPECT_EQ(file.reader.CountTriangles(), 4);
    ASSERT_EQ(file.reader.SeekElement(kElementRangeGrid), 9);
    std::vector<Triangle> triangles;
    RangeGridTriangles surface;
    ASSERT_TRUE(surface.Start(file.reader.RangeGridColumns()));
    for (int k = 0; k < 9; ++k) {
        int32_t vertex = 0;
        ASSERT_TRUE(file.reader.ReadGridCell(&vertex));
        surface.Add(vertex, [&](int32_t a, int32_t b, int32_t c) {
            triangles.push_back({a, b, c});
        });
    }
    EXPECT_EQ(triangles, (std::vector<Triangle>{{0, 1, 3}, {1, 4, 3}, {4, 1, 2}, {3, 4, 5}}));

    // Without both sizes, or with sizes that do not give the count, it stays points.
    for (const char* objInfo :
         {"", "obj_info num_cols 3\n", "obj_info num_cols 3\nobj_info num_rows 4\n",
          "obj_info num_cols 9999999999\nobj_info num_rows 9999999999\n"}) {
        ReaderOn points(withSize(ply, objInfo));
        EXPECT_EQ(points.reader.FaceSourceKind(), -1) << objInfo;
        EXPECT_EQ(points.reader.CountTriangles(), 0);
    }
}

// A scan saved as one record of strips (list int int), read in small blocks.
TEST_P(Features, OneLongStripRecordAcrossManyBlocks) {
    TestElement strips{"tristrips", {"list int int vertex_indices"}, {{0}}};
    std::vector<double>& items = strips.records[0];
    for (int strip = 0; strip < 200; ++strip) {
        for (int k = 0; k < 50; ++k) items.push_back(strip * 50 + k);
        items.push_back(-1);
    }
    items[0] = double(items.size() - 1);
    ReaderOn file(Make({kFourVertices, strips}), 61);
    EXPECT_EQ(file.reader.CountTriangles(), 200 * 48);
    ASSERT_EQ(file.reader.SeekElement(kElementTriStrips), 1);
    FaceRecord f;
    ASSERT_TRUE(file.reader.ReadFace(&f.vertexCount, &f.indices, nullptr));
    EXPECT_EQ(f.vertexCount, 200 * 51);
    EXPECT_EQ(f.indices[50], -1);
    EXPECT_EQ(f.indices[51], 50);
}

TEST(TextureFiles, NamesKeepInnerBlanksInHeaderOrder) {
    ReaderOn file(
        "ply\nformat ascii 1.0\ncomment TextureFile   fuze uv.jpg \r\ncomment made by hand\n"
        "comment TEXTUREFILE <this>_B.png\ncomment TextureFile\ncomment TextureFiles x.png\n"
        "element vertex 0\nend_header\n");
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.reader.TextureFiles(),
              (std::vector<std::string>{"fuze uv.jpg", "<this>_B.png"}));
    EXPECT_EQ(file.reader.Comments().size(), 5u);  // comments are kept as before
    EXPECT_EQ(file.reader.Comments()[0], "comment TextureFile fuze uv.jpg ");
}

TEST_P(Features, VertexAlphaAsUcharOrFloat) {
    for (const char* type : {"uchar", "float"}) {
        SCOPED_TRACE(type);
        const double stored = std::string(type) == "uchar" ? 51 : 0.25;
        TestElement vertices{"vertex",
                             {"float x", "float y", "float z", std::string(type) + " alpha"},
                             {{1, 2, 3, stored}}};
        ReaderOn file(Make({vertices}));
        uint32_t flags = 0;
        ASSERT_EQ(file.reader.SeekElement(kElementVertex, &flags), 1);
        EXPECT_EQ(flags, uint32_t(kFlagPositions | kFlagAlpha));
        VertexRecord v;
        float alpha = -1;
        ASSERT_TRUE(file.reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour, &alpha));
        EXPECT_FLOAT_EQ(alpha, std::string(type) == "uchar" ? 0.2f : 0.25f);
        EXPECT_EQ(v.colour[0], 0.0f);
    }
    ReaderOn none(Make({kFourVertices}));
    ASSERT_EQ(none.reader.SeekElement(kElementVertex), 4);
    VertexRecord v;
    float alpha = 0.75f;
    ASSERT_TRUE(none.reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour, &alpha));
    EXPECT_EQ(alpha, 0.75f);  // the caller's value stays
}

// diffuse_* colour a vertex that has no red, green and blue; a material's
// diffuse_* stay its own.
TEST_P(Features, DiffuseColoursOfAVertexAreItsColours) {
    TestElement diffuse{"vertex",
                        {"float x", "uchar diffuse_red", "uchar diffuse_green",
                         "uchar diffuse_blue", "uchar diffuse_alpha"},
                        {{1, 255, 51, 0, 102}}};
    TestElement both{"vertex", {"float x", "float diffuse_red", "float red"}, {{1, 0.25, 0.5}}};
    TestElement material{"material", {"float diffuse_red"}, {{0.25}}};
    ReaderOn file(Make({diffuse, material}));
    uint32_t flags = 0;
    ASSERT_EQ(file.reader.SeekElement(kElementVertex, &flags), 1);
    EXPECT_EQ(flags, uint32_t(kFlagPositions | kFlagColours | kFlagAlpha));
    VertexRecord v;
    float alpha = -1;
    ASSERT_TRUE(file.reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour, &alpha));
    EXPECT_EQ(std::vector<float>(v.colour, v.colour + 3), (std::vector<float>{1.0f, 0.2f, 0.0f}));
    EXPECT_FLOAT_EQ(alpha, 0.4f);
    ASSERT_EQ(file.reader.SeekElement(kElementMaterial, &flags), 1);
    EXPECT_EQ(flags & kFlagColours, 0u);
    PlyMaterial m;
    ASSERT_TRUE(file.reader.ReadMaterial(&m));
    EXPECT_EQ(m.diffuseRed, 0.25f);

    ReaderOn plain(Make({both}));
    ASSERT_EQ(plain.reader.SeekElement(kElementVertex), 1);
    ASSERT_TRUE(plain.reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour));
    EXPECT_EQ(v.colour[0], 0.5f);
}

// Colours from f_dc_* (clamped), alpha from the logistic of opacity, and
// the unused values between them stepped over, in blocks of any size.
TEST_P(Features, SplatColoursAndOpacity) {
    TestElement splats{
        "vertex",
        {"float x", "float y", "float z", "float f_dc_0", "float f_dc_1", "float f_dc_2",
         "float f_rest_0", "float f_rest_1", "float opacity", "float scale_0", "float rot_0"},
        {{1, 2, 3, 1, -5, 5, 9, 9, 0, 9, 9}, {4, 5, 6, 0, 0.5, -0.5, 9, 9, 40, 9, 9}}};
    for (size_t blockSize : {size_t(InputBuffer::kDefaultBlockSize), size_t(7)}) {
        SCOPED_TRACE(blockSize);
        ReaderOn file(Make({splats}), blockSize);
        uint32_t flags = 0;
        ASSERT_EQ(file.reader.SeekElement(kElementVertex, &flags), 2);
        EXPECT_EQ(flags, uint32_t(kFlagPositions | kFlagColours | kFlagAlpha));
        VertexRecord a, b;
        float alphaA = -1, alphaB = -1;
        ASSERT_TRUE(file.reader.ReadVertex(a.position, a.normal, a.texCoord, a.colour, &alphaA));
        ASSERT_TRUE(file.reader.ReadVertex(b.position, b.normal, b.texCoord, b.colour, &alphaB));
        EXPECT_FLOAT_EQ(a.colour[0], 0.5f + 0.2820948f);
        EXPECT_EQ(a.colour[1], 0.0f);
        EXPECT_EQ(a.colour[2], 1.0f);
        EXPECT_EQ(alphaA, 0.5f);
        EXPECT_EQ(b.position[2], 6.0f);
        EXPECT_EQ(b.colour[0], 0.5f);
        EXPECT_FLOAT_EQ(b.colour[1], 0.5f + 0.1410474f);
        EXPECT_FLOAT_EQ(alphaB, 1.0f);
    }
    // An integer opacity is an alpha up to its type's maximum, no logit.
    TestElement counts{"vertex",
                       {"float x", "float f_dc_0", "uchar opacity"},
                       {{1, 0, 0}, {2, 0, 51}, {3, 0, 255}}};
    TestElement shorts{"vertex", {"float x", "float f_dc_0", "ushort opacity"}, {{1, 0, 13107}}};
    // A signed one below zero is clear, not an alpha below 0.
    TestElement signedChars{
        "vertex", {"float x", "float f_dc_0", "char opacity"}, {{1, 0, -51}, {2, 0, 127}}};
    for (const auto& [element, expected] : {std::pair{counts, std::vector<float>{0.0f, 0.2f, 1.0f}},
                                            {shorts, {0.2f}},
                                            {signedChars, {0.0f, 1.0f}}}) {
        ReaderOn file(Make({element}));
        ASSERT_EQ(file.reader.SeekElement(kElementVertex), int32_t(expected.size()));
        for (float wanted : expected) {
            VertexRecord v;
            float alpha = -1;
            ASSERT_TRUE(file.reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour, &alpha));
            EXPECT_FLOAT_EQ(alpha, wanted);
        }
    }
    // Beside red, green and blue, f_dc_* are not the colour and opacity is no alpha.
    TestElement both{"vertex",
                     {"float x", "float y", "float z", "uchar red", "uchar green", "uchar blue",
                      "float f_dc_0", "float opacity"},
                     {{1, 2, 3, 255, 0, 0, -3, 2}}};
    ReaderOn file(Make({both}));
    uint32_t flags = 0;
    ASSERT_EQ(file.reader.SeekElement(kElementVertex, &flags), 1);
    EXPECT_EQ(flags & kFlagAlpha, 0u);
    VertexRecord v;
    float alpha = 0.25f;
    ASSERT_TRUE(file.reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour, &alpha));
    EXPECT_EQ(v.colour[0], 1.0f);
    EXPECT_EQ(alpha, 0.25f);
}

// Georeferenced scans: double coordinates around 4,000,000 keep their
// millimetres when the offset is taken off before they become floats.
TEST_P(Features, FarOffDoublePositionsKeepTheirPrecisionAfterTheOffset) {
    const double infinity = HUGE_VAL;
    TestElement vertices{"vertex",
                         {"double x", "double y", "double z", "float nx"},
                         {{4000000.123, -3000000.5, 12.25, 1},
                          {4000001.5, -2999999.25, infinity, 1},
                          {3999999.75, -3000001, 10, 1}}};
    ReaderOn file(Make({vertices}));
    uint32_t flags = 0;
    ASSERT_EQ(file.reader.SeekElement(kElementVertex, &flags), 3);
    EXPECT_EQ(flags, uint32_t(kFlagPositions | kFlagNormals | kFlagDoublePositions));
    double minimum[3], maximum[3];
    ASSERT_TRUE(file.reader.ReadPositionBounds(minimum, maximum));
    // The second vertex is not finite and counts on no axis.
    EXPECT_EQ(minimum[0], 3999999.75);
    EXPECT_EQ(maximum[0], 4000000.123);
    EXPECT_EQ(minimum[1], -3000001.0);
    EXPECT_EQ(maximum[1], -3000000.5);
    EXPECT_EQ(maximum[2], 12.25);

    const double offset[3] = {4000000, -3000000, 10};
    file.reader.SetPositionOffset(offset);
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 3);
    VertexRecord v;
    ASSERT_TRUE(file.reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour));
    EXPECT_NEAR(v.position[0], 0.123, 1e-6);
    EXPECT_EQ(v.position[1], -0.5f);
    EXPECT_EQ(v.position[2], 2.25f);
    EXPECT_EQ(v.normal[0], 1.0f);

    file.reader.SetPositionOffset(nullptr);
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 3);
    ASSERT_TRUE(file.reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour));
    EXPECT_EQ(v.position[0], 4000000.0f);  // what a float keeps without the offset

    TestElement lost{"vertex", {"float x", "float y", "float z"}, {{0, -infinity, 0}}};
    ReaderOn none(Make({lost}));
    ASSERT_TRUE(none.reader.ReadPositionBounds(minimum, maximum));
    for (int axis = 0; axis < 3; ++axis) EXPECT_GT(minimum[axis], maximum[axis]);
}

// Texcoord lists of any item type and length, texnumber and colours; the
// same records through the three-argument call give the same corners.
TEST_P(Features, FaceExtrasInEveryLayout) {
    TestElement faces{"face",
                      {"list uchar int vertex_indices", "list uchar double texcoord",
                       "int texnumber", "uchar red", "uchar green", "uchar blue", "float alpha"},
                      {{3, 0, 1, 2, 6, 0, 0, 1, 0, 0.5, 1, 1, 255, 0, 51, 0.5},
                       {3, 1, 3, 2, 4, 0.25, 0.25, 1, 1, 0, 0, 128, 0, 0.75}}};
    ReaderOn file(Make({kFourVertices, faces}));
    uint32_t flags = 0;
    ASSERT_EQ(file.reader.SeekElement(kElementFace, &flags), 2);
    EXPECT_EQ(flags, uint32_t(kFlagCornerTexCoords | kFlagTexNumbers | kFlagColours | kFlagAlpha));
    FaceRecord a, b;
    FaceExtras first, second;
    ASSERT_TRUE(file.reader.ReadFace(&a.vertexCount, &a.indices, &a.material, &first));
    ASSERT_TRUE(file.reader.ReadFace(&b.vertexCount, &b.indices, &b.material, &second));
    EXPECT_EQ(Items(a.indices), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(first.texCoordCount, 6);
    EXPECT_EQ(std::vector<float>(first.texCoords.begin(), first.texCoords.end()),
              (std::vector<float>{0, 0, 1, 0, 0.5f, 1}));
    EXPECT_EQ(first.texNumber, 1);
    EXPECT_EQ(first.colour[0], 1.0f);
    EXPECT_FLOAT_EQ(first.colour[2], 0.2f);
    EXPECT_EQ(first.colour[3], 0.5f);
    EXPECT_EQ(second.texCoordCount, 4);  // delivered as stored: not twice the corners
    EXPECT_EQ(second.texCoords.size(), 4u);
    EXPECT_EQ(second.texNumber, 0);
    EXPECT_EQ(second.colour[3], 0.75f);

    ASSERT_EQ(file.reader.SeekElement(kElementFace), 2);
    ASSERT_TRUE(file.reader.ReadFace(&a.vertexCount, &a.indices, &a.material));
    ASSERT_TRUE(file.reader.ReadFace(&b.vertexCount, &b.indices, &b.material));
    EXPECT_EQ(Items(b.indices), (std::vector<int32_t>{1, 3, 2}));

    // A face without a texcoord list gives none, whatever the extras held.
    TestElement plain{"face", {"list uchar int vertex_indices"}, {{3, 0, 1, 2}}};
    ReaderOn other(Make({kFourVertices, plain}));
    ASSERT_EQ(other.reader.SeekElement(kElementFace), 1);
    ASSERT_TRUE(other.reader.ReadFace(&a.vertexCount, &a.indices, &a.material, &first));
    EXPECT_EQ(first.texCoordCount, 0);
    EXPECT_TRUE(first.texCoords.empty());
    EXPECT_EQ(first.texNumber, 1);  // not written without a texnumber
}

// The header of a textured mesh saved with per-vertex and per-face RGBA.
TEST(FaceExtrasOfATexturedScan, TexcoordBesideFaceColours) {
    TestElement vertices{
        "vertex",
        {"float x", "float y", "float z", "uchar red", "uchar green", "uchar blue", "uchar alpha"},
        {{0, 0, 0, 255, 255, 255, 255}, {1, 0, 0, 0, 0, 0, 255}, {0, 1, 0, 10, 20, 30, 0}}};
    TestElement faces{"face",
                      {"list uchar int vertex_indices", "list uchar float texcoord", "uchar red",
                       "uchar green", "uchar blue", "uchar alpha"},
                      {{3, 0, 1, 2, 6, 0.125, 0.25, 0.5, 0.25, 0.5, 0.75, 255, 128, 0, 255}}};
    const std::string bytes = WithComments(MakePly(kPlyBinaryLittleEndian, {vertices, faces}),
                                           "comment VCGLIB generated\n"
                                           "comment TextureFile   fuze uv.jpg \n");
    ReaderOn file(bytes);
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.reader.TextureFiles(), std::vector<std::string>{"fuze uv.jpg"});
    EXPECT_EQ(file.reader.CountTriangles(), 1);
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 3);
    VertexRecord v;
    float alpha = -1;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(file.reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour, &alpha));
    }
    EXPECT_EQ(alpha, 0.0f);
    ASSERT_EQ(file.reader.SeekElement(kElementFace), 1);
    FaceRecord f;
    FaceExtras extras;
    ASSERT_TRUE(file.reader.ReadFace(&f.vertexCount, &f.indices, &f.material, &extras));
    EXPECT_EQ(extras.texCoordCount, 6);
    EXPECT_EQ(extras.texCoords[5], 0.75f);
    EXPECT_FLOAT_EQ(extras.colour[1], 128.0f / 255.0f);
    EXPECT_EQ(extras.colour[3], 1.0f);
}

TEST(CorpusFeatures, TwoTexturesChosenByTexnumber) {
    PlyReader reader;
    ASSERT_TRUE(reader.Open((kCorpusDir + "/meshlab_TextureDouble_texnumber_ascii.ply").c_str()));
    EXPECT_EQ(reader.TextureFiles(), (std::vector<std::string>{"<this>_A.png", "<this>_B.png"}));
    ASSERT_EQ(reader.SeekElement(kElementFace), 4);
    std::vector<int32_t> texNumbers;
    IndexList indices;
    FaceExtras extras;
    int32_t count = 0;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(reader.ReadFace(&count, &indices, nullptr, &extras));
        EXPECT_EQ(extras.texCoordCount, 6);
        texNumbers.push_back(extras.texNumber);
    }
    EXPECT_EQ(texNumbers, (std::vector<int32_t>{0, 0, 1, 1}));
    EXPECT_EQ(extras.texCoords[2], 1.0f);
}

TEST(CorpusFeatures, SplatColoursOfADcOnlyFile) {
    PlyReader reader;
    ASSERT_TRUE(reader.Open((kCorpusDir + "/assimp_gaussian_splat_dc_only_ascii.ply").c_str()));
    EXPECT_EQ(reader.FaceSourceKind(), -1);
    ASSERT_EQ(reader.SeekElement(kElementVertex), 2);
    VertexRecord a, b;
    float alphaA = -1, alphaB = -1;
    ASSERT_TRUE(reader.ReadVertex(a.position, a.normal, a.texCoord, a.colour, &alphaA));
    ASSERT_TRUE(reader.ReadVertex(b.position, b.normal, b.texCoord, b.colour, &alphaB));
    EXPECT_FLOAT_EQ(a.colour[0], 0.7820948f);
    EXPECT_EQ(a.colour[1], 0.5f);
    EXPECT_EQ(alphaA, 0.5f);
    EXPECT_FLOAT_EQ(b.colour[1], 0.7820948f);
    EXPECT_NEAR(alphaB, 0.7310586, 1e-6);
}
