// Vertex, face and material records, one table of cases run over the three
// encodings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/ply/ply_test_files.h"

namespace {

class Records : public ::testing::TestWithParam<PlyFormat> {
  protected:
    std::string Make(const std::vector<TestElement>& elements) {
        return MakePly(GetParam(), elements);
    }
};

std::string ParamName(const ::testing::TestParamInfo<PlyFormat>& info) {
    return FormatName(info.param);
}

const TestElement kTriangleVertices{
    "vertex", {"float x", "float y", "float z"}, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}};

}  // namespace

INSTANTIATE_TEST_SUITE_P(AllEncodings, Records, ::testing::ValuesIn(kAllFormats), ParamName);

TEST_P(Records, IntegerColoursAreDividedFloatColoursAreNot) {
    TestElement uchar{"vertex",
                      {"float x", "float y", "float z", "uchar red", "uchar green", "uchar blue"},
                      {{1, 2, 3, 255, 0, 128}}};
    ReaderOn file(Make({uchar}));
    ASSERT_TRUE(file.opened);
    uint32_t flags = 0;
    ASSERT_EQ(file.reader.SeekElement(kElementVertex, &flags), 1);
    EXPECT_EQ(flags, uint32_t(kFlagPositions | kFlagColours));
    VertexRecord v;
    ASSERT_TRUE(file.reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour));
    EXPECT_EQ(v.position[0], 1.0f);
    EXPECT_EQ(v.position[1], 2.0f);
    EXPECT_EQ(v.position[2], 3.0f);
    EXPECT_EQ(v.colour[0], 1.0f);
    EXPECT_EQ(v.colour[1], 0.0f);
    EXPECT_EQ(v.colour[2], 128.0f / 255.0f);
    EXPECT_NEAR(v.colour[2], 0.50196, 1e-5);

    TestElement floats{"vertex",
                       {"float x", "float y", "float z", "float red", "float green", "float blue"},
                       {{1, 2, 3, 255, 0, 128}}};
    ReaderOn floatFile(Make({floats}));
    ASSERT_EQ(floatFile.reader.SeekElement(kElementVertex), 1);
    VertexRecord w;
    ASSERT_TRUE(floatFile.reader.ReadVertex(w.position, w.normal, w.texCoord, w.colour));
    EXPECT_EQ(w.colour[0], 255.0f);
    EXPECT_EQ(w.colour[2], 128.0f);
}

TEST_P(Records, EveryScalarTypeAsPositionAndColour) {
    TestElement element{"vertex",
                        {"char x", "short y", "int z", "ushort red", "uint green", "double blue",
                         "uchar nx", "float64 ny", "int8 nz"},
                        {{-5, -300, 70000, 510, 255, 0.25, 200, -1.5, -128}}};
    ReaderOn file(Make({element}));
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 1);
    VertexRecord v;
    ASSERT_TRUE(file.reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour));
    EXPECT_EQ(v.position[0], -5.0f);
    EXPECT_EQ(v.position[1], -300.0f);
    EXPECT_EQ(v.position[2], 70000.0f);
    EXPECT_EQ(v.colour[0], 2.0f);
    EXPECT_EQ(v.colour[1], 1.0f);
    EXPECT_EQ(v.colour[2], 0.25f);
    EXPECT_EQ(v.normal[0], 200.0f);  // only colours are divided
    EXPECT_EQ(v.normal[1], -1.5f);
    EXPECT_EQ(v.normal[2], -128.0f);
}

TEST_P(Records, ExtraPropertiesAreReadAndDropped) {
    TestElement element{
        "vertex",
        {"float x", "float confidence", "float y", "double quality", "float z", "uchar alpha"},
        {{1, 0.5, 2, 9, 3, 7}, {4, 0.5, 5, 9, 6, 7}}};
    ReaderOn file(Make({element}));
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 2);
    VertexRecord a, b;
    ASSERT_TRUE(file.reader.ReadVertex(a.position, a.normal, a.texCoord, a.colour));
    ASSERT_TRUE(file.reader.ReadVertex(b.position, b.normal, b.texCoord, b.colour));
    EXPECT_EQ(a.position[2], 3.0f);
    EXPECT_EQ(b.position[0], 4.0f);
    EXPECT_EQ(b.position[1], 5.0f);
    EXPECT_EQ(b.position[2], 6.0f);
    EXPECT_EQ(b.colour[0], 0.0f);
}

TEST_P(Records, TextureCoordinatesFromEverySpelling) {
    for (const char* names : {"u v", "s t", "texture_u texture_v"}) {
        SCOPED_TRACE(names);
        std::vector<std::string_view> uv;
        std::string spelled = names;
        Tokenize(spelled, uv);
        TestElement element{"vertex",
                            {"float x", "float y", "float z", "float " + std::string(uv[0]),
                             "float " + std::string(uv[1])},
                            {{1, 2, 3, 0.25, 0.75}}};
        ReaderOn file(Make({element}));
        uint32_t flags = 0;
        ASSERT_EQ(file.reader.SeekElement(kElementVertex, &flags), 1);
        EXPECT_EQ(flags, uint32_t(kFlagPositions | kFlagTextureCoords));
        float position[3], texCoord[3] = {9, 9, 9};
        ASSERT_TRUE(file.reader.ReadVertex(position, nullptr, texCoord, nullptr));
        EXPECT_EQ(texCoord[0], 0.25f);
        EXPECT_EQ(texCoord[1], 0.75f);
        EXPECT_EQ(texCoord[2], 0.0f);
    }
}

TEST_P(Records, FieldsTheElementLacksKeepTheCallersValues) {
    TestElement element{"vertex", {"float x", "float z", "float nx"}, {{1, 3, 0.5}}};
    ReaderOn file(Make({element}));
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 1);
    float position[3] = {10, 10, 10}, normal[3] = {7, 7, 7}, texCoord[3] = {5, 5, 5};
    float colour[3] = {4, 4, 4};
    ASSERT_TRUE(file.reader.ReadVertex(position, normal, texCoord, colour));
    EXPECT_EQ(position[0], 1.0f);
    EXPECT_EQ(position[1], 10.0f);
    EXPECT_EQ(position[2], 3.0f);
    EXPECT_EQ(normal[0], 0.5f);
    EXPECT_EQ(normal[1], 7.0f);
    EXPECT_EQ(texCoord[0], 5.0f);
    EXPECT_EQ(texCoord[2], 0.0f);  // w is always written
    EXPECT_EQ(colour[0], 4.0f);
}

TEST_P(Records, DestinationsTheCallerLeavesOutAreSkipped) {
    TestElement element{"vertex",
                        {"float x", "float y", "float z", "float nx", "float ny", "float nz",
                         "uchar red", "uchar green", "uchar blue", "float u", "float v"},
                        {{1, 2, 3, 0, 0, 1, 255, 255, 255, 0.5, 0.5}}};
    ReaderOn file(Make({element}));
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 1);
    float position[3] = {0, 0, 0};
    ASSERT_TRUE(file.reader.ReadVertex(position, nullptr, nullptr, nullptr));
    EXPECT_EQ(position[2], 3.0f);
}

TEST_P(Records, VertexWithAListPropertyIsNotAScalarRecord) {
    TestElement element{"vertex", {"float x", "list uchar float extra", "float y"}, {{1, 0, 2}}};
    ReaderOn file(Make({element}));
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 1);
    float position[3] = {0, 0, 0};
    EXPECT_FALSE(file.reader.ReadVertex(position, nullptr, nullptr, nullptr));
    EXPECT_EQ(file.reader.ErrorText(), "vertex: not a scalar type");
    EXPECT_EQ(position[0], 1.0f);  // values before the list are stored
    EXPECT_EQ(position[1], 0.0f);
}

TEST_P(Records, QuadFace) {
    TestElement faces{"face", {"list uchar int vertex_indices"}, {{4, 0, 1, 2, 3}}};
    ReaderOn file(Make({kTriangleVertices, faces}));
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.reader.CountTriangles(), 2);
    ASSERT_EQ(file.reader.SeekElement(kElementFace), 1);
    FaceRecord f;
    ASSERT_TRUE(file.reader.ReadFace(&f.vertexCount, &f.indices, &f.material));
    EXPECT_EQ(f.vertexCount, 4);
    EXPECT_EQ(Items(f.indices), (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(f.material, -1);  // not written without a material_index
}

// The binary count steps over runs of eight same-size faces at once: seven
// triangles and a quad are no such run, the eight triangles after them are,
// and the quad after those, and the vertices after the faces, are found where
// single steps find them.
TEST_P(Records, RunOfSevenFacesThenAnotherSizeCountsAndReadsLikeSingleFaces) {
    TestElement faces{"face", {"list uchar int vertex_indices"}, {}};
    std::vector<std::string> expected;
    for (int f = 0; f < 17; ++f) {
        if (f == 7 || f == 16) {
            faces.records.push_back({4, 3, 2, 1, 0});
            expected.push_back("f 4 3 2 1 0 -1");
            continue;
        }
        faces.records.push_back({3, double(f % 4), 1, 2});
        expected.push_back("f 3 " + std::to_string(f % 4) + " 1 2 -1");
    }
    ReaderOn file(Make({faces, kTriangleVertices}));
    const std::vector<std::string> lines = ReadEverything(file.reader);
    ASSERT_EQ(lines.size(), 3u + 4u + 17u) << lines.back();
    EXPECT_EQ(lines[1], "triangles 19");
    EXPECT_EQ(lines[6], "v 1 1 0 0 0 0 0 0 0 0 0 0");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 7, lines.end()), expected);
}

TEST_P(Records, MaterialIndexBeforeOrAfterTheIndexList) {
    for (bool before : {true, false}) {
        SCOPED_TRACE(before ? "before" : "after");
        TestElement faces{"face", {}, {}};
        if (before) {
            faces.properties = {"int material_index", "list uchar int vertex_indices"};
            faces.records = {{5, 3, 0, 1, 2}, {6, 3, 2, 1, 0}};
        } else {
            faces.properties = {"list uchar int vertex_indices", "int material_index"};
            faces.records = {{3, 0, 1, 2, 5}, {3, 2, 1, 0, 6}};
        }
        ReaderOn file(Make({kTriangleVertices, faces}));
        uint32_t flags = 0;
        ASSERT_EQ(file.reader.SeekElement(kElementFace, &flags), 2);
        EXPECT_EQ(flags, uint32_t(kFlagMaterialNumbers));
        FaceRecord a, b;
        ASSERT_TRUE(file.reader.ReadFace(&a.vertexCount, &a.indices, &a.material));
        ASSERT_TRUE(file.reader.ReadFace(&b.vertexCount, &b.indices, &b.material));
        EXPECT_EQ(a.vertexCount, 3);
        EXPECT_EQ(Items(a.indices), (std::vector<int32_t>{0, 1, 2}));
        EXPECT_EQ(a.material, 5);
        EXPECT_EQ(Items(b.indices), (std::vector<int32_t>{2, 1, 0}));
        EXPECT_EQ(b.material, 6);
    }
}

TEST_P(Records, IndexListOfEveryTypeAndCountType) {
    const char* lists[] = {"list uchar int vertex_indices",    "list uint8 uint32 vertex_indices",
                           "list char char vertex_indices",    "list short ushort vertex_indices",
                           "list int uint vertex_indices",     "list uchar float vertex_indices",
                           "list ushort double vertex_indices"};
    for (const char* list : lists) {
        SCOPED_TRACE(list);
        TestElement faces{"face", {list}, {{3, 2, 1, 0}, {4, 0, 1, 2, 3}}};
        ReaderOn file(Make({kTriangleVertices, faces}));
        EXPECT_EQ(file.reader.CountTriangles(), 3);
        ASSERT_EQ(file.reader.SeekElement(kElementFace), 2);
        FaceRecord a, b;
        ASSERT_TRUE(file.reader.ReadFace(&a.vertexCount, &a.indices, nullptr));
        ASSERT_TRUE(file.reader.ReadFace(&b.vertexCount, &b.indices, nullptr));
        EXPECT_EQ(Items(a.indices), (std::vector<int32_t>{2, 1, 0}));
        EXPECT_EQ(Items(b.indices), (std::vector<int32_t>{0, 1, 2, 3}));
    }
}

TEST_P(Records, ScalarVertexIndicesIsNotAList) {
    TestElement faces{"face", {"int vertex_indices"}, {{3}}};
    ReaderOn file(Make({kTriangleVertices, faces}));
    EXPECT_EQ(file.reader.CountTriangles(), 0);
    ASSERT_EQ(file.reader.SeekElement(kElementFace), 1);
    FaceRecord f;
    EXPECT_FALSE(file.reader.ReadFace(&f.vertexCount, &f.indices, &f.material));
    EXPECT_EQ(file.reader.ErrorText(), "vertex_indices: not a list type");
}

TEST_P(Records, NegativeIndicesAndCountsAreDeliveredAsStored) {
    TestElement faces{"face", {"list char int vertex_indices"}, {{3, -1, 5, 2}, {-2}, {0}}};
    ReaderOn file(Make({kTriangleVertices, faces}));
    EXPECT_EQ(file.reader.CountTriangles(), 1);
    ASSERT_EQ(file.reader.SeekElement(kElementFace), 3);
    FaceRecord a, b, c;
    ASSERT_TRUE(file.reader.ReadFace(&a.vertexCount, &a.indices, nullptr));
    ASSERT_TRUE(file.reader.ReadFace(&b.vertexCount, &b.indices, nullptr));
    ASSERT_TRUE(file.reader.ReadFace(&c.vertexCount, &c.indices, nullptr));
    EXPECT_EQ(Items(a.indices), (std::vector<int32_t>{-1, 5, 2}));
    EXPECT_EQ(b.vertexCount, -2);
    EXPECT_TRUE(b.indices.empty());
    EXPECT_EQ(c.vertexCount, 0);
}

// Face lines of the commonest shape are read on a path of their own: items
// of any width or form there read as the same tokens do anywhere else. Lines
// follow, so that the path is not left for want of readable memory.
TEST(AsciiFaceLines, ItemsOfAnyWidthReadAsTheirTokens) {
    const std::vector<const char*> integers = {"7",         "1234567",    "12345678",
                                               "123456789", "2147483648", "99999999999"};
    const std::vector<const char*> decimals = {"0.2e1", "1e1", "1.99999999999999999", "3\t", "4 "};
    const std::pair<int, const char*> types[] = {
        {kPlyInt32, "int"}, {kPlyUint32, "uint"}, {kPlyFloat32, "float"}, {kPlyFloat64, "double"}};
    for (const auto& [type, name] : types) {
        const std::vector<const char*>& items = type < kPlyFirstFloatType ? integers : decimals;
        std::string text =
            "ply\nformat ascii 1.0\nelement vertex 0\nproperty float x\n"
            "element face " +
            std::to_string(items.size() + 20) + "\nproperty list uchar " + name +
            " vertex_indices\nend_header\n";
        for (const char* item : items) text += std::string("3 5 6 ") + item + "\n";
        for (int k = 0; k < 20; ++k) text += "3 0 1 2\n";
        ReaderOn file(text);
        ASSERT_EQ(file.reader.SeekElement(kElementFace), int32_t(items.size() + 20));
        for (const char* item : items) {
            FaceRecord f;
            ASSERT_TRUE(file.reader.ReadFace(&f.vertexCount, &f.indices, nullptr));
            const int32_t expected =
                DecodeTextIndex(std::string_view(item, std::strcspn(item, " \t")), type);
            EXPECT_EQ(Items(f.indices), (std::vector<int32_t>{5, 6, expected}))
                << name << " " << item;
        }
    }
}

// The mesh build passes one vector for every face: it must hold exactly the
// current face's indices, whichever path the record takes.
TEST_P(Records, ReusedIndexListHoldsEachFaceExactly) {
    const std::vector<std::vector<std::string>> layouts = {
        {"list char int vertex_indices"},
        {"list char int vertex_indices", "string label"},
        {"list int int vertex_indices", "list uchar float texcoord"},
    };
    for (const std::vector<std::string>& properties : layouts) {
        SCOPED_TRACE(properties.back());
        TestElement faces{"face", properties, {}};
        const std::vector<std::vector<double>> lists = {{4, 0, 1, 2, 3}, {0}, {3, 2, 1, 0}, {-1}};
        for (std::vector<double> record : lists) {
            if (properties.size() > 1) record.insert(record.end(), {1, 'x'});
            faces.records.push_back(record);
        }
        ReaderOn file(Make({kTriangleVertices, faces}));
        ASSERT_EQ(file.reader.SeekElement(kElementFace), 4);
        IndexList indices;
        int32_t count = 0;
        const size_t expected[] = {4, 0, 3, 0};
        for (size_t expectedSize : expected) {
            ASSERT_TRUE(file.reader.ReadFace(&count, &indices, nullptr)) << file.reader.ErrorText();
            EXPECT_EQ(indices.size(), expectedSize);
        }
        EXPECT_EQ(count, -1);
    }
}

TEST_P(Records, MaterialWithUcharColoursAndFloatWeights) {
    TestElement materials{
        "material",
        {"uchar ambient_red", "uchar ambient_green", "uchar ambient_blue", "float ambient_coeff",
         "uchar diffuse_red", "uchar diffuse_green", "uchar diffuse_blue", "float diffuse_coeff",
         "uchar specular_red", "uchar specular_green", "uchar specular_blue",
         "float specular_coeff", "float specular_power", "float opacity"},
        {{255, 255, 255, 0.5, 255, 51, 255, 0.25, 255, 255, 255, 0.3, 20, 1}}};
    ReaderOn file(Make({materials}));
    EXPECT_EQ(file.reader.MaterialCount(), 1);
    ASSERT_EQ(file.reader.SeekElement(kElementMaterial), 1);
    PlyMaterial m;
    ASSERT_TRUE(file.reader.ReadMaterial(&m));
    EXPECT_EQ(m.ambientRed, 0.5f);
    EXPECT_EQ(m.ambientGreen, 0.5f);
    EXPECT_EQ(m.ambientBlue, 0.5f);
    EXPECT_EQ(m.ambientCoeff, 0.5f);
    EXPECT_EQ(m.diffuseRed, 0.25f);  // every diffuse component is weighted
    EXPECT_EQ(m.diffuseGreen, 0.05f);
    EXPECT_EQ(m.diffuseBlue, 0.25f);
    EXPECT_EQ(m.diffuseCoeff, 0.25f);
    EXPECT_EQ(m.specularRed, 1.0f);
    EXPECT_EQ(m.specularBlue, 1.0f);
    EXPECT_EQ(m.specularCoeff, 0.3f);
    EXPECT_EQ(m.specularPower, 20.0f);
    EXPECT_EQ(m.opacity, 1.0f);
}

TEST_P(Records, MaterialWithOnlyDiffuseKeepsTheDefaults) {
    TestElement materials{"material",
                          {"float diffuse_red", "float diffuse_green", "float diffuse_blue"},
                          {{0.1, 0.2, 0.3}}};
    ReaderOn file(Make({materials}));
    ASSERT_EQ(file.reader.SeekElement(kElementMaterial), 1);
    PlyMaterial m;
    ASSERT_TRUE(file.reader.ReadMaterial(&m));
    EXPECT_EQ(m.ambientRed, 0.55f);
    EXPECT_EQ(m.specularGreen, 0.9f);
    EXPECT_EQ(m.specularPower, 0.32f);
    EXPECT_EQ(m.opacity, 1.0f);
    EXPECT_EQ(m.diffuseRed, 0.1f);
    EXPECT_EQ(m.diffuseGreen, 0.2f);
    EXPECT_EQ(m.diffuseBlue, 0.3f);
}

TEST_P(Records, MaterialDivisionDependsOnAmbientRedAlone) {
    TestElement noAmbient{"material",
                          {"uchar diffuse_red", "uchar diffuse_green", "uchar diffuse_blue"},
                          {{255, 128, 0}}};
    ReaderOn first(Make({noAmbient}));
    ASSERT_EQ(first.reader.SeekElement(kElementMaterial), 1);
    PlyMaterial a;
    ASSERT_TRUE(first.reader.ReadMaterial(&a));
    EXPECT_EQ(a.diffuseRed, 255.0f);
    EXPECT_EQ(a.diffuseGreen, 128.0f);

    TestElement ambientOnly{"material", {"uchar ambient_red"}, {{255}}};
    ReaderOn second(Make({ambientOnly}));
    ASSERT_EQ(second.reader.SeekElement(kElementMaterial), 1);
    PlyMaterial b;
    ASSERT_TRUE(second.reader.ReadMaterial(&b));
    EXPECT_EQ(b.ambientRed, 1.0f);
    EXPECT_EQ(b.specularRed, 0.9f / 255.0f);  // the defaults are divided too
    EXPECT_EQ(b.diffuseBlue, 0.55f / 255.0f);
}

TEST_P(Records, MaterialWithoutPropertiesGivesWeightedDefaults) {
    TestElement materials{"material", {}, {{}, {}}};
    ReaderOn file(Make({materials}));
    ASSERT_EQ(file.reader.SeekElement(kElementMaterial), 2);
    for (int i = 0; i < 2; ++i) {
        PlyMaterial m;
        ASSERT_TRUE(file.reader.ReadMaterial(&m));
        EXPECT_EQ(m.ambientRed, 0.55f);
        EXPECT_EQ(m.diffuseBlue, 0.55f);
        EXPECT_EQ(m.specularGreen, 0.9f);
    }
}

TEST_P(Records, MaterialWithAListIsNotAScalarRecord) {
    TestElement materials{"material", {"float opacity", "list uchar float extra"}, {{0.5, 0}}};
    ReaderOn file(Make({materials}));
    ASSERT_EQ(file.reader.SeekElement(kElementMaterial), 1);
    PlyMaterial m;
    EXPECT_FALSE(file.reader.ReadMaterial(&m));
    EXPECT_EQ(file.reader.ErrorText(), "material: not a scalar type");
}

// The same mesh gives the same records in every encoding.
TEST(RecordsAcrossEncodings, SameMeshSameRecords) {
    std::vector<TestElement> mesh = {
        {"vertex",
         {"float x", "float y", "float z", "float nx", "float ny", "float nz", "uchar red",
          "uchar green", "uchar blue", "float s", "float t"},
         {{0.1, 0.2, 0.3, 0, 0, 1, 10, 20, 30, 0.5, 0.25},
          {-1.5, 2.25, 1e-3, 0, 1, 0, 255, 0, 7, 1, 0},
          {3e5, -4e-5, 0, 1, 0, 0, 1, 2, 3, 0, 1},
          {1, 1, 1, 0.5, 0.5, 0.7, 100, 100, 100, 0.125, 0.875}}},
        {"material", {"float diffuse_red", "uchar ambient_red"}, {{0.5, 200}, {0.25, 100}}},
        {"face",
         {"uchar flags", "list uchar int vertex_indices", "int material_index",
          "list uchar float texcoord"},
         {{1, 3, 0, 1, 2, 0, 6, 0, 0, 1, 0, 0, 1},
          {2, 4, 0, 1, 2, 3, 1, 0},
          {3, 5, 3, 2, 1, 0, 3, 1, 2, 0.5, 0.5}}},
    };
    ReaderOn ascii(MakePly(kPlyAscii, mesh));
    ReaderOn big(MakePly(kPlyBinaryBigEndian, mesh));
    ReaderOn little(MakePly(kPlyBinaryLittleEndian, mesh));
    const std::vector<std::string> expected = ReadEverything(ascii.reader);
    EXPECT_EQ(ReadEverything(big.reader), expected);
    EXPECT_EQ(ReadEverything(little.reader), expected);
    ASSERT_EQ(expected.size(), 3u + 4u + 2u + 3u);
    EXPECT_EQ(expected[1], "triangles 6");
    EXPECT_EQ(expected.back(), "f 5 3 2 1 0 3 1");
}

// Records that cross the end of the reader's block read like those inside
// it: a file of many blocks, read with blocks from a whole file down to one
// byte, gives the records its ASCII twin gives, in every encoding.
TEST(RecordsAcrossBlocks, EveryBlockSizeGivesTheAsciiRecords) {
    TestElement vertices{"vertex",
                         {"float x", "float y", "float z", "double nx", "short ny", "uint nz",
                          "uchar red", "uchar green", "uchar blue", "ushort u", "char v"},
                         {}};
    TestElement faces{"face", {"list uchar int vertex_indices", "int material_index"}, {}};
    const int vertexCount = 3000;
    for (int i = 0; i < vertexCount; ++i) {
        vertices.records.push_back({i * 0.25, -i * 0.5, 1e-3 * i, i / 3.0, double(i % 300 - 150),
                                    double(i * 7), double(i % 256), double(i * 3 % 256),
                                    double(255 - i % 256), double(i % 65536), double(i % 100)});
    }
    // Faces of 3 to 73 corners, mostly short, with now and then a long one.
    for (int f = 0; f < 2000; ++f) {
        const int corners = f % 10 == 9 ? 3 + f % 71 : 3 + f % 3;
        std::vector<double> record = {double(corners)};
        for (int k = 0; k < corners; ++k) record.push_back((f * 31 + k * 17) % vertexCount);
        record.push_back(f % 5);
        faces.records.push_back(record);
    }
    const std::vector<TestElement> mesh = {vertices, faces};
    ReaderOn ascii(MakePly(kPlyAscii, mesh));
    const std::vector<std::string> expected = ReadEverything(ascii.reader);
    ASSERT_EQ(expected.size(), 3u + vertexCount + 2000u);
    ASSERT_EQ(expected.back().substr(0, 2), "f ");
    const size_t blockSizes[] = {InputBuffer::kDefaultBlockSize, 4096, 1000, 61, 7, 1};
    for (PlyFormat format : kAllFormats) {
        const std::string bytes = MakePly(format, mesh);
        ASSERT_GT(bytes.size(), 4 * 4096u);
        for (size_t blockSize : blockSizes) {
            ReaderOn file(bytes, blockSize);
            const std::vector<std::string> lines = ReadEverything(file.reader);
            size_t same = 0;
            while (same < lines.size() && same < expected.size() && lines[same] == expected[same])
                ++same;
            EXPECT_TRUE(lines == expected)
                << FormatName(format) << ", blocks of " << blockSize << ": line " << same << " is "
                << (same < lines.size() ? lines[same] : "missing");
        }
    }
}

// Lines are read in place wherever they lie: any run of blanks and tabs
// between tokens, blanks at either end, tokens after the index list (not
// read) and every line break give the same records, whole in the block or
// across its end.
TEST(RecordsAcrossBlocks, AsciiLinesWithAnyBlanksAndTrailingTokens) {
    const std::vector<std::string> lines = {"ply",
                                            "format ascii 1.0",
                                            "element vertex 3",
                                            "property float x",
                                            "property float y",
                                            "property uchar red",
                                            "element face 4",
                                            "property list uchar int vertex_indices",
                                            "end_header",
                                            "1.5 -2 255",
                                            "\t 0.25  +3\t51 ",
                                            " 7\t\t8  0\t",
                                            "3 0 1 2",
                                            "4\t2  1 0 1  ",
                                            "3 2 1 0 9 9.5 x",
                                            " 3 1 2 0"};
    const std::vector<std::string> expected = {"materials 0",
                                               "triangles 5",
                                               "vertices 3 9",
                                               "v 1.5 -2 0 0 0 0 0 0 0 1 0 0",
                                               "v 0.25 3 0 0 0 0 0 0 0 0.200000003 0 0",
                                               "v 7 8 0 0 0 0 0 0 0 0 0 0",
                                               "f 3 0 1 2 -1",
                                               "f 4 2 1 0 1 -1",
                                               "f 3 2 1 0 -1",
                                               "f 3 1 2 0 -1"};
    for (const std::string lineBreak : {"\n", "\r\n", "\r"}) {
        std::string text;
        for (const std::string& line : lines) text += line + lineBreak;
        for (size_t blockSize : {size_t(InputBuffer::kDefaultBlockSize), size_t(7)}) {
            ReaderOn file(text, blockSize);
            ASSERT_TRUE(file.opened);
            EXPECT_EQ(ReadEverything(file.reader), expected)
                << "blocks of " << blockSize << ", break " << int(lineBreak.back());
        }
    }
}
