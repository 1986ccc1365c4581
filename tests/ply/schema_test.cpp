// Element schema: property kinds, types, roles, record sizes and flags.
#include <gtest/gtest.h>

#include "ply/record_layout.h"
#include "tests/ply/ply_test_files.h"

namespace {

// A reader over a header with one element of the given property lines.
struct OneElement : ReaderOn {
    explicit OneElement(const std::string& properties)
        : ReaderOn("ply\nformat ascii 1.0\nelement thing 0\n" + properties + "end_header\n") {}
    const PlyElement& element() const { return *reader.Element(0); }
    const PlyProperty& property(int j) const { return *reader.Property(0, j); }
};

}  // namespace

TEST(Schema, IndexListProperty) {
    OneElement file("property list uchar int vertex_indices\n");
    ASSERT_TRUE(file.opened);
    const PlyProperty& list = file.property(0);
    EXPECT_EQ(list.kind, kPropertyList);
    EXPECT_EQ(list.countType, kPlyUint8);
    EXPECT_EQ(list.valueType, kPlyInt32);
    EXPECT_EQ(list.role, kRoleVertexIndices);
    EXPECT_EQ(file.element().recordSize, 5u);
    EXPECT_EQ(file.element().flags, 0u);
}

TEST(Schema, TextureCoordinateNamesSetTheirFlag) {
    OneElement file("property float32 s\nproperty float u\n");
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.property(0).role, kRoleU);
    EXPECT_EQ(file.property(1).role, kRoleU);
    EXPECT_EQ(file.element().flags, uint32_t(kFlagTextureCoords));
    EXPECT_EQ(file.element().recordSize, 8u);
}

TEST(Schema, UnknownNamesAndUnknownTypes) {
    OneElement file("property double confidence\nproperty foo x\n");
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.property(0).role, kRoleNone);
    EXPECT_EQ(file.property(0).valueType, kPlyFloat64);
    EXPECT_EQ(file.property(1).valueType, kPlyInvalid);
    EXPECT_EQ(file.property(1).role, kRoleX);
    EXPECT_EQ(file.element().flags, uint32_t(kFlagPositions));
    EXPECT_EQ(file.element().recordSize, 8u);
}

TEST(Schema, StringPropertyCountsTwoBytes) {
    OneElement file("property string label\n");
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.property(0).kind, kPropertyString);
    EXPECT_EQ(file.property(0).countType, kPlyInt8);
    EXPECT_EQ(file.property(0).valueType, kPlyInt8);
    EXPECT_EQ(file.property(0).name, "label");
    EXPECT_EQ(file.element().recordSize, 2u);
}

TEST(Schema, OnlyScalarsSetFlags) {
    OneElement file("property list uchar float red\nproperty string nx\nproperty uchar green\n");
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.property(0).role, kRoleRed);
    EXPECT_EQ(file.property(1).role, kRoleNormalX);
    EXPECT_EQ(file.element().flags, uint32_t(kFlagColours));
}

TEST(Schema, EveryRoleName) {
    struct Case {
        const char* name;
        PropertyRole role;
        uint32_t flag;
    };
    const Case cases[] = {
        {"x", kRoleX, kFlagPositions},
        {"y", kRoleY, kFlagPositions},
        {"z", kRoleZ, kFlagPositions},
        {"nx", kRoleNormalX, kFlagNormals},
        {"ny", kRoleNormalY, kFlagNormals},
        {"nz", kRoleNormalZ, kFlagNormals},
        {"u", kRoleU, kFlagTextureCoords},
        {"s", kRoleU, kFlagTextureCoords},
        {"texture_u", kRoleU, kFlagTextureCoords},
        {"v", kRoleV, kFlagTextureCoords},
        {"t", kRoleV, kFlagTextureCoords},
        {"texture_v", kRoleV, kFlagTextureCoords},
        {"red", kRoleRed, kFlagColours},
        {"green", kRoleGreen, kFlagColours},
        {"blue", kRoleBlue, kFlagColours},
        {"vertex_indices", kRoleVertexIndices, 0},
        {"vertex_index", kRoleVertexIndices, 0},
        {"material_index", kRoleMaterialIndex, kFlagMaterialNumbers},
        {"ambient_red", kRoleAmbientRed, 0},
        {"ambient_green", kRoleAmbientGreen, 0},
        {"ambient_blue", kRoleAmbientBlue, 0},
        {"ambient_coeff", kRoleAmbientCoeff, 0},
        {"diffuse_red", kRoleDiffuseRed, 0},
        {"diffuse_green", kRoleDiffuseGreen, 0},
        {"diffuse_blue", kRoleDiffuseBlue, 0},
        {"diffuse_coeff", kRoleDiffuseCoeff, 0},
        {"specular_red", kRoleSpecularRed, 0},
        {"specular_green", kRoleSpecularGreen, 0},
        {"specular_blue", kRoleSpecularBlue, 0},
        {"specular_coeff", kRoleSpecularCoeff, 0},
        {"specular_power", kRoleSpecularPower, 0},
        {"opacity", kRoleOpacity, 0},
        {"alpha", kRoleAlpha, kFlagAlpha},
        {"texnumber", kRoleTexNumber, kFlagTexNumbers},
        {"f_dc_0", kRoleDcRed, kFlagColours},
        {"f_dc_1", kRoleDcGreen, kFlagColours},
        {"f_dc_2", kRoleDcBlue, kFlagColours},
        {"f_rest_0", kRoleNone, 0},
        {"quality", kRoleNone, 0},
        {"texcoord", kRoleTexCoordList, 0},  // only a list sets the flag
        {"xx", kRoleNone, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RoleOfName(c.name), c.role);
        OneElement file(std::string("property float ") + c.name + "\n");
        ASSERT_TRUE(file.opened);
        EXPECT_EQ(file.property(0).role, c.role);
        EXPECT_EQ(file.element().flags, c.flag);
    }
    EXPECT_EQ(RoleOfName("VERTEX_INDEX"), kRoleVertexIndices);
    EXPECT_EQ(RoleOfName("Texture_U"), kRoleU);
}

TEST(Schema, QueriesOutsideTheListsGiveNothing) {
    OneElement file("property float x\n");
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.reader.NumElements(), 1);
    EXPECT_EQ(file.reader.Element(1), nullptr);
    EXPECT_EQ(file.reader.Element(-1), nullptr);
    EXPECT_EQ(file.reader.Property(0, 1), nullptr);
    EXPECT_EQ(file.reader.Property(1, 0), nullptr);
    EXPECT_NE(file.reader.Property(0, 0), nullptr);
}

TEST(Schema, ElementsKeepHeaderOrderAndAllTheirProperties) {
    ReaderOn file(
        "ply\nformat ascii 1.0\nelement face 2\nproperty list uchar uint vertex_indices\n"
        "property uchar red\nelement vertex 4\nproperty double x\nproperty double y\n"
        "element edge 1\nproperty int vertex1\nproperty int vertex2\nend_header\n");
    ASSERT_TRUE(file.opened);
    ASSERT_EQ(file.reader.NumElements(), 3);
    EXPECT_EQ(file.reader.Element(0)->name, "face");
    EXPECT_EQ(file.reader.Element(0)->recordSize, 6u);
    EXPECT_EQ(file.reader.Element(0)->flags, uint32_t(kFlagColours));
    EXPECT_EQ(file.reader.Element(1)->name, "vertex");
    EXPECT_EQ(file.reader.Element(1)->count, 4);
    EXPECT_EQ(file.reader.Element(1)->recordSize, 16u);
    EXPECT_EQ(file.reader.Element(2)->name, "edge");
    EXPECT_EQ(file.reader.Element(2)->properties.size(), 2u);
}

// The binary fast paths take the common records in few steps: adjacent
// float triples and uchar colour triples each become one step.
TEST(RecordLayouts, CommonVertexRecordTakesThreeStepsAndAlphaOne) {
    OneElement file(
        "property float x\nproperty float y\nproperty float z\nproperty float nx\n"
        "property float ny\nproperty float nz\nproperty uchar red\nproperty uchar green\n"
        "property uchar blue\nproperty uchar alpha\n");
    ASSERT_TRUE(file.opened);
    const RecordLayout layout = MakeRecordLayout(file.element());
    EXPECT_TRUE(layout.fixedSize);
    EXPECT_EQ(layout.fixedBytes, 28u);
    ASSERT_EQ(layout.vertexOps.size(), 4u);
    EXPECT_EQ(layout.vertexOps[0].kind, kOpFloatTriple);
    EXPECT_EQ(layout.vertexOps[1].kind, kOpFloatTriple);
    EXPECT_EQ(layout.vertexOps[1].offset, 12u);
    EXPECT_EQ(layout.vertexOps[2].kind, kOpColourTriple);
    EXPECT_EQ(layout.vertexOps[2].offset, 24u);
    EXPECT_EQ(layout.vertexOps[2].group, 3);
    EXPECT_EQ(layout.vertexOps[3].slot, kSlotAlpha);
    EXPECT_TRUE(layout.vertexOps[3].divide255);
}

// A splat record: f_dc_* join into one step, opacity is one, and the
// f_rest_*, scale_* and rot_* between them take none.
TEST(RecordLayouts, SplatRecordStepsOverWhatNobodyReads) {
    std::string properties =
        "property float x\nproperty float y\nproperty float z\n"
        "property float f_dc_0\nproperty float f_dc_1\nproperty float f_dc_2\n";
    for (int i = 0; i < 45; ++i) properties += "property float f_rest_" + std::to_string(i) + "\n";
    properties += "property float opacity\nproperty float scale_0\nproperty float rot_0\n";
    OneElement file(properties);
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.element().flags, uint32_t(kFlagPositions | kFlagColours | kFlagAlpha));
    const RecordLayout layout = MakeRecordLayout(file.element());
    EXPECT_EQ(layout.fixedBytes, 4u * 54);
    ASSERT_EQ(layout.vertexOps.size(), 3u);
    EXPECT_EQ(layout.vertexOps[1].kind, kOpFloatTriple);
    EXPECT_EQ(layout.vertexOps[1].slot, kSlotSplatColour);
    EXPECT_EQ(layout.vertexOps[2].slot, kSlotAlpha);
    EXPECT_EQ(layout.vertexOps[2].offset, 4u * 51);
    EXPECT_TRUE(layout.alphaFromOpacity);
}

TEST(RecordLayouts, UnusualVertexRecordsKeepOneStepPerValue) {
    OneElement file(
        "property float x\nproperty float z\nproperty float y\n"
        "property ushort red\nproperty ushort green\nproperty ushort blue\n");
    ASSERT_TRUE(file.opened);
    const RecordLayout layout = MakeRecordLayout(file.element());
    ASSERT_EQ(layout.vertexOps.size(), 6u);
    for (const VertexOp& op : layout.vertexOps) EXPECT_EQ(op.kind, kOpScalar);
    EXPECT_TRUE(layout.vertexOps[3].divide255);
}

TEST(RecordLayouts, FaceLayouts) {
    OneElement simple(
        "property uchar flags\nproperty list uchar int vertex_indices\n"
        "property int material_index\n");
    const RecordLayout a = MakeRecordLayout(simple.element());
    EXPECT_TRUE(a.simpleFace);
    EXPECT_FALSE(a.fixedSize);
    EXPECT_EQ(a.indexList, 1);
    EXPECT_EQ(a.bytesBeforeList, 1u);
    EXPECT_EQ(a.bytesAfterList, 4u);
    EXPECT_TRUE(a.materialAfterList);

    OneElement texcoord(
        "property list uchar int vertex_indices\n"
        "property list uchar float texcoord\n");
    EXPECT_FALSE(MakeRecordLayout(texcoord.element()).simpleFace);
    OneElement scalarIndices("property int vertex_indices\n");
    EXPECT_EQ(MakeRecordLayout(scalarIndices.element()).indexList, -1);
    EXPECT_TRUE(MakeRecordLayout(scalarIndices.element()).fixedSize);
}

TEST(RecordLayouts, ByteColourTableIsTheDivision) {
    for (int i = 0; i < 256; ++i) {
        volatile float channel = float(i);
        EXPECT_EQ(kByteColours.values[i], channel / 255.0f) << i;
    }
}
