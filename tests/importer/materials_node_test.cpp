#include <string>

#include "tests/importer/import_fixture.h"

namespace {

const char* kColouredTriangle =
    "element vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
    "property uchar red\nproperty uchar green\nproperty uchar blue\n";
const char* kFace = "element face 1\nproperty list uchar int vertex_indices\n";
const char* kColouredData = "0 0 0 255 0 0\n1 0 0 0 255 0\n1 1 0 0 0 255\n";

std::string MaterialBlock(int n) {
    return "element material " + std::to_string(n) +
           "\nproperty uchar diffuse_red\nproperty uchar diffuse_green\nproperty uchar "
           "diffuse_blue\n";
}

class MaterialsTest : public ImportTest {
  protected:
    Mtl* BuildAndAssemble(const std::string& ply) {
        EXPECT_EQ(Build(ply), 1) << importer->errorText.data();
        return importer->AssembleMaterial();
    }
};

TEST_F(MaterialsTest, VertexColoursAloneGiveTheVertexColourMaterial) {
    importer->options.materials = 0;
    Mtl* mtl = BuildAndAssemble(
        AsciiPly(kColouredTriangle + std::string(kFace), std::string(kColouredData) + "3 0 1 2\n"));
    ASSERT_NE(mtl, nullptr);
    EXPECT_STREQ(mtl->GetName().data(), "mesh_VtxCol");
    Texmap* map = mtl->GetSubTexmap(1);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->ClassID(), VERTEX_COLOR_CLASS_ID);
    EXPECT_EQ(core.ActivatedTextureCount(), 1);
}

TEST_F(MaterialsTest, TwoMaterialsAndColoursGiveAMultiMaterial) {
    Mtl* mtl =
        BuildAndAssemble(AsciiPly(kColouredTriangle + MaterialBlock(2) + kFace,
                                  std::string(kColouredData) + "255 0 0\n0 0 255\n3 0 1 2\n"));
    ASSERT_NE(mtl, nullptr);
    EXPECT_STREQ(mtl->GetName().data(), "mesh_mso");
    ASSERT_EQ(mtl->NumSubMtls(), 3);
    EXPECT_STREQ(mtl->GetSubMtl(0)->GetName().data(), "mesh_0");
    EXPECT_STREQ(mtl->GetSubMtl(1)->GetName().data(), "mesh_1");
    EXPECT_STREQ(mtl->GetSubMtl(2)->GetName().data(), "mesh_VtxCol");
    EXPECT_FLOAT_EQ(mtl->GetSubMtl(1)->GetDiffuse().b, 255.0f);  // no ambient_red: as read
    EXPECT_EQ(core.ActivatedTextureCount(), 1);
    // The node would hold it; here the test releases what it assembled.
    importer->hostMaterials.clear();
    mtl->DeleteMe();
}

TEST_F(MaterialsTest, OneMaterialIsGivenDirectly) {
    std::string ply =
        AsciiPly("element vertex 3\nproperty float x\nproperty float y\nproperty float z\n" +
                     MaterialBlock(1) + kFace,
                 "0 0 0\n1 0 0\n1 1 0\n255 128 0\n3 0 1 2\n");
    Mtl* mtl = BuildAndAssemble(ply);
    ASSERT_NE(mtl, nullptr);
    EXPECT_EQ(mtl->ClassID(), DMTL_CLASS_ID);
    StdMat* std = static_cast<StdMat*>(mtl);
    EXPECT_FLOAT_EQ(std->GetDiffuse(0).r, 255.0f);  // not divided: no ambient_red
    EXPECT_FLOAT_EQ(std->GetAmbient(0).r, 0.55f);
    EXPECT_FLOAT_EQ(std->GetShininess(0), 0.32f);
    EXPECT_FLOAT_EQ(std->GetShinStr(0), 1.0f);
    EXPECT_EQ(core.ActivatedTextureCount(), 0);
}

TEST_F(MaterialsTest, NoMaterialsAndColoursOffGiveNone) {
    importer->options.vertexColors = 0;
    EXPECT_EQ(BuildAndAssemble(AsciiPly(kColouredTriangle + std::string(kFace),
                                        std::string(kColouredData) + "3 0 1 2\n")),
              nullptr);
}

const char* kTextureTriangle =
    "comment TextureFile  a b.png \n"
    "element vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
    "property float u\nproperty float v\n";
const char* kTextureData = "0 0 0 0 0\n1 0 0 1 0\n1 1 0 1 1\n";

std::string MapNameOf(Mtl* mtl) {
    Texmap* map = mtl ? mtl->GetSubTexmap(ID_DI) : nullptr;
    if (!map || map->ClassID() != BMTEX_CLASS_ID) return "no bitmap map";
    return static_cast<BitmapTex*>(map)->GetMapName();
}

// One texture file: a material of its own named after the object shows it,
// or, when the file has a material, that material does; none without the
// texture channel.
TEST_F(MaterialsTest, OneTextureFileGoesIntoTheDiffuseSlot) {
    Doubles().existingFiles = {"a b.png"};
    Mtl* mtl = BuildAndAssemble(
        AsciiPly(kTextureTriangle + std::string(kFace), std::string(kTextureData) + "3 0 1 2\n"));
    ASSERT_NE(mtl, nullptr);
    EXPECT_STREQ(mtl->GetName().data(), "mesh");
    EXPECT_EQ(MapNameOf(mtl), "a b.png");
    EXPECT_EQ(core.ActivatedTextureCount(), 1);

    TearDown();
    SetUp();
    Doubles().existingFiles = {"a b.png"};
    mtl = BuildAndAssemble(AsciiPly(kTextureTriangle + MaterialBlock(1) + kFace,
                                    std::string(kTextureData) + "255 0 0\n3 0 1 2\n"));
    ASSERT_NE(mtl, nullptr);
    EXPECT_STREQ(mtl->GetName().data(), "mesh_0");
    EXPECT_EQ(MapNameOf(mtl), "a b.png");

    TearDown();
    SetUp();
    importer->options.textureCoords = 0;
    EXPECT_EQ(BuildAndAssemble(AsciiPly(kTextureTriangle + std::string(kFace),
                                        std::string(kTextureData) + "3 0 1 2\n")),
              nullptr);
}

using NodeTest = ImportTest;

TEST_F(NodeTest, CentredPivotPlacesTheNodeAtTheFormerCentre) {
    importer->options.flipZY = 0;
    importer->options.scale = 1;
    ASSERT_EQ(
        Build(AsciiPly("element vertex 3\nproperty float x\nproperty float y\nproperty float z\n" +
                           std::string(kFace),
                       "0 0 0\n2 4 0\n2 4 6\n3 0 1 2\n")),
        1);
    ASSERT_EQ(importer->CreateSceneNode(), 1);
    ASSERT_EQ(scene.NodeCount(), 1);
    HostNode* node = scene.GetNode(0);
    EXPECT_STREQ(node->GetName(), "mesh");
    Matrix3 tm = node->GetNodeTM(0);
    EXPECT_EQ(tm.GetTrans(), Point3(1, 2, 3));
    EXPECT_EQ(tm.GetIdentFlags() & POS_IDENT, 0u);
    EXPECT_EQ(Doubles().redraws, 1);
    EXPECT_EQ(importer->importedMesh, nullptr);
}

TEST_F(NodeTest, WithoutCentredPivotTheTransformIsTheIdentity) {
    importer->options.centerPivot = 0;
    ASSERT_EQ(Build(AsciiPly(kColouredTriangle + std::string(kFace),
                             std::string(kColouredData) + "3 0 1 2\n")),
              1);
    ASSERT_EQ(importer->CreateSceneNode(), 1);
    HostNode* node = scene.GetNode(0);
    EXPECT_EQ(node->GetNodeTM(0).GetIdentFlags(), MAT_IDENT);
    EXPECT_EQ(node->GetNodeTM(0).GetTrans(), Point3(0, 0, 0));
    ASSERT_NE(node->GetMtl(), nullptr);
    EXPECT_EQ(core.EditorSlot(0), node->GetMtl());
    importer->hostMaterials.clear();  // the scene holds them now
}

TEST_F(NodeTest, RefusedNodeDeletesTheMeshAndReports) {
    ASSERT_EQ(Build(AsciiPly(kColouredTriangle + std::string(kFace),
                             std::string(kColouredData) + "3 0 1 2\n")),
              1);
    scene.SetFailNodeCreation(true);
    importer->showPrompts = 1;
    EXPECT_EQ(importer->CreateSceneNode(), 0);
    EXPECT_EQ(importer->importedMesh, nullptr);
    ASSERT_EQ(Doubles().messages.size(), 1u);
    EXPECT_EQ(Doubles().messages[0], "error creating nodes");
    EXPECT_EQ(scene.NodeCount(), 0);
}

}  // namespace
