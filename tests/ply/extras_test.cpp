// The values of the properties the import reads for no other purpose:
// which properties they are, and their values in the three encodings
// through the fast and the general record readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/ply/ply_test_files.h"

namespace {

std::vector<std::string> Names(const PlyElement& element, const std::vector<int>& indices) {
    std::vector<std::string> names;
    for (int i : indices) names.push_back(element.properties[size_t(i)].name);
    return names;
}

// "float p" and 3 give "float p0", "float p1", "float p2".
std::vector<std::string> Numbered(const std::string& prefix, int count) {
    std::vector<std::string> names;
    for (int k = 0; k < count; ++k) names.push_back(prefix + std::to_string(k));
    return names;
}

struct ExtrasCase {
    const char* what;
    const char* element;
    std::vector<std::string> properties;
    std::vector<std::string> extras;
    std::vector<std::string> unusedLists;
    int32_t leftOver = 0;
};

const ExtrasCase kExtrasCases[] = {
    {"vertex roles by every name; any type; lists",
     "vertex",
     {"float x",          "float y",         "float z",
      "float nx",         "float ny",        "float nz",
      "uchar red",        "uchar green",     "uchar blue",
      "uchar alpha",      "float u",         "float v",
      "float s",          "float t",         "float texture_u",
      "float texture_v",  "char confidence", "int material_index",
      "double intensity", "foo unknown",     "list uchar int vertex_indices",
      "string name"},
     {"confidence", "material_index", "intensity"},
     {"vertex_indices", "name"}},
    {"splat values",
     "vertex",
     {"float x", "float f_dc_0", "float f_dc_1", "float f_dc_2", "float f_dc_3", "float f_rest_0",
      "float F_REST_44", "float opacity", "float scale_0", "float rot_3", "float f_rest_x",
      "float rot_", "float confidence"},
     {"f_rest_x", "rot_", "confidence"},
     {}},
    {"no splat beside red, green and blue",
     "vertex",
     {"float x", "uchar red", "uchar green", "uchar blue", "float f_dc_0", "float opacity"},
     {"f_dc_0", "opacity"},
     {}},
    {"diffuse_* taking the colour",
     "vertex",
     {"float x", "uchar diffuse_red", "uchar diffuse_green", "uchar diffuse_blue",
      "uchar diffuse_alpha", "float ambient_coeff"},
     {"ambient_coeff"},
     {}},
    {"face",
     "face",
     {"list uchar int vertex_indices", "list uchar float texcoord", "list uchar float texcoord",
      "list int int vertex_index", "int material_index", "uchar red", "uchar green", "uchar blue",
      "uchar alpha", "int texnumber", "float quality", "uchar flags", "double x", "string tag"},
     {"quality", "flags", "x"},
     {"texcoord", "vertex_index", "tag"}},
    {"the first of too many", "vertex", Numbered("float p", 100), Numbered("p", 97), {}, 3},
};

}  // namespace

TEST(ExtraProperties, WhichPropertiesAreExtra) {
    for (const ExtrasCase& c : kExtrasCases) {
        SCOPED_TRACE(c.what);
        // No records: only the header is read.
        ReaderOn file(MakeHeader(kPlyAscii, {{c.element, c.properties, {}}}));
        ASSERT_TRUE(file.opened) << file.reader.ErrorText();
        const PlyElement& element = *file.reader.Element(0);
        EXPECT_EQ(Names(element, element.extras.scalars), c.extras);
        EXPECT_EQ(Names(element, element.extras.unusedLists), c.unusedLists);
        EXPECT_EQ(int32_t(element.extras.leftOver.size()), c.leftOver);
    }
}

class Extras : public ::testing::TestWithParam<PlyFormat> {};

INSTANTIATE_TEST_SUITE_P(AllEncodings, Extras, ::testing::ValuesIn(kAllFormats),
                         [](const ::testing::TestParamInfo<PlyFormat>& info) {
                             return std::string(FormatName(info.param));
                         });

// Past kMaxExtraValues the rest are not read.
TEST_P(Extras, NoValuePastTheLimit) {
    TestElement vertices{"vertex", Numbered("float p", 100), {std::vector<double>(100, 0.5)}};
    vertices.records[0][96] = 96;
    ReaderOn file(MakePly(GetParam(), {vertices}));
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 1);
    float position[3];
    float extra[kMaxExtraValues + 1];
    extra[kMaxExtraValues] = -7;
    ASSERT_TRUE(file.reader.ReadVertex(position, nullptr, nullptr, nullptr, nullptr, extra));
    EXPECT_EQ(extra[kMaxExtraValues - 1], 96.0f);
    EXPECT_EQ(extra[kMaxExtraValues], -7.0f);
}

// Every numeric type, converted as it is (no colour division); whole
// records in the block take the fast paths, 7-byte blocks the general ones.
// Without extras asked for, the same positions, colours and corners, and
// nothing written.
TEST_P(Extras, ValuesOfEveryTypeInEveryReader) {
    const TestElement vertices{
        "vertex",
        {"char c", "float x", "float y", "float z", "uchar uc", "uchar red", "uchar green",
         "uchar blue", "short sh", "ushort us", "int i", "uint ui", "float f", "double d"},
        {{-5, 1, 2, 3, 200, 255, 0, 51, -300, 60000, 16777217, 4000000000, -0.25, 0.1}}};
    // Eight values, then what the caller had.
    const std::vector<float> vertexExtras = {-5,   200,    -300, 60000, 16777216,
                                             4e9f, -0.25f, 0.1f, -7};
    // On both sides of the list: the binary face fast path reads them.
    const TestElement faces{"face",
                            {"uchar flags", "list uchar int vertex_indices", "int material_index",
                             "short quality", "double weight", "uint id"},
                            {{7, 3, 0, 1, 2, 5, -2, 0.5, 16777217}}};
    const std::vector<float> faceExtras = {7, -2, 0.5f, 16777216, -7};
    for (size_t blockSize : {size_t(InputBuffer::kDefaultBlockSize), size_t(7)}) {
        for (bool ask : {true, false}) {
            SCOPED_TRACE(std::to_string(blockSize) + (ask ? " asked" : " not asked"));
            ReaderOn file(MakePly(GetParam(), {vertices, faces}), blockSize);
            ASSERT_EQ(file.reader.SeekElement(kElementVertex), 1);
            VertexRecord v;
            float extra[kMaxExtraValues];
            std::fill(extra, extra + kMaxExtraValues, -7.0f);
            ASSERT_TRUE(file.reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour, nullptr,
                                               ask ? extra : nullptr));
            EXPECT_EQ((std::vector<float>{v.position[0], v.position[1], v.position[2], v.colour[0],
                                          v.colour[1], v.colour[2]}),
                      (std::vector<float>{1, 2, 3, 1, 0, 51 / 255.0f}));
            EXPECT_EQ(std::vector<float>(extra, extra + 9),
                      ask ? vertexExtras : std::vector<float>(9, -7.0f));

            ASSERT_EQ(file.reader.SeekElement(kElementFace), 1);
            FaceRecord f;
            FaceExtras extras;
            std::fill(extras.values, extras.values + kMaxExtraValues, -7.0f);
            ASSERT_TRUE(file.reader.ReadFace(&f.vertexCount, &f.indices, &f.material,
                                             ask ? &extras : nullptr));
            EXPECT_EQ(Items(f.indices), (std::vector<int32_t>{0, 1, 2}));
            EXPECT_EQ(f.material, 5);
            EXPECT_EQ(std::vector<float>(extras.values, extras.values + 5),
                      ask ? faceExtras : std::vector<float>(5, -7.0f));
        }
    }
}
