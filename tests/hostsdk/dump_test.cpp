// The scene dump: exact text of a small scene, numbers without the locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "hostsdk/standin.h"

namespace {

class SceneDump : public ::testing::Test {
  protected:
    void TearDown() override { scene.NewScene(); }

    // A triangle with all channels, one set normal and a multi-material
    // of a PLY material, the vertex-colour material and an empty slot.
    void AddTriangleNode() {
        TriObject* tri = CreateNewTriObject();
        Mesh& mesh = tri->GetMesh();
        ASSERT_TRUE(mesh.setNumVerts(3));
        ASSERT_TRUE(mesh.setNumTVerts(3));
        ASSERT_TRUE(mesh.setNumTVFaces(1));
        ASSERT_TRUE(mesh.setNumVertCol(3));
        ASSERT_TRUE(mesh.setNumVCFaces(1));
        ASSERT_TRUE(mesh.setNumFaces(1));
        mesh.setVert(0, Point3(0, 0, 0));
        mesh.setVert(1, Point3(1.5f, 0, 0));
        mesh.setVert(2, Point3(0, 2, -0.25f));
        mesh.setNormal(0, Point3(0, 0, 1));
        mesh.setTVert(1, UVVert(1, 0, 0));
        mesh.setTVert(2, UVVert(0, 1, 0));
        mesh.vertCol[0] = VertColor(1, 0, 0);
        mesh.vertCol[1] = VertColor(0, 1, 0);
        mesh.vertCol[2] = VertColor(0, 0, 0.5f);
        mesh.faces[0].setVerts(0, 1, 2);
        mesh.faces[0].setSmGroup(1);
        mesh.faces[0].setMatID(1);
        mesh.faces[0].setEdgeVisFlags(1, 1, 0);
        mesh.tvFace[0].setTVerts(0, 1, 2);
        mesh.vcFace[0].setTVerts(0, 1, 2);
        mesh.buildBoundingBox();

        StdMat2* ply = NewDefaultStdMat();
        ply->SetName(CStr("tri_1"));
        ply->SetAmbient(Color(0.1f, 0.25f, 0.5f), 0);
        ply->SetDiffuse(Color(1, 0.75f, 0), 0);
        ply->SetSpecular(Color(0, 0, 0.125f), 0);
        ply->SetOpacity(0.5f, 0);
        ply->SetShininess(20, 0);
        ply->SetShinStr(0.9f, 0);
        StdMat2* vc = NewDefaultStdMat();
        vc->SetName(CStr("tri_VtxCol"));
        vc->SetSubTexmap(1, static_cast<Texmap*>(GetMarketDefaults()->CreateInstance(
                                0x10B0, VERTEX_COLOR_CLASS_ID, "Vertex Color", 0xC10,
                                VERTEX_COLOR_CLASS_ID, nullptr)));
        MultiMtl* multi = NewDefaultMultiMtl();
        multi->SetName(CStr("tri_mso"));
        multi->SetNumSubMtls(3);
        multi->SetSubMtl(0, ply);
        multi->SetSubMtl(1, vc);

        ImpNode* node = scene.CreateNode();
        node->Reference(tri);
        node->GetINode()->SetMtl(multi);
        Matrix3 tm;
        tm.IdentityMatrix();
        tm.SetTransRow(Point3(1, 2, 3));
        tm.ClearIdentFlag(POS_IDENT);
        node->SetTransform(0, tm);
        scene.AddNodeToScene(node);
        node->SetName("tri");
    }

    // Two points, no faces, no material.
    void AddPointNode() {
        TriObject* tri = CreateNewTriObject();
        Mesh& mesh = tri->GetMesh();
        ASSERT_TRUE(mesh.setNumVerts(2));
        mesh.setVert(0, Point3(-1, 0.1f, 0));
        mesh.setVert(1, Point3(1, 0, 1e-10f));
        mesh.buildBoundingBox();
        ImpNode* node = scene.CreateNode();
        node->Reference(tri);
        node->SetTransform(0, Matrix3());
        scene.AddNodeToScene(node);
        node->SetName("points");
    }

    HostScene scene;
};

TEST_F(SceneDump, EmptySceneIsJustEnd) { EXPECT_EQ(DumpScene(scene), "end\n"); }

TEST_F(SceneDump, SmallSceneIsWrittenExactly) {
    AddTriangleNode();
    AddPointNode();
    const std::string expected =
        "node tri\n"
        "transform 1 0 0 0 1 0 0 0 1 1 2 3\n"
        "mesh verts 3 faces 1 tverts 3 tvfaces 1 cverts 3 cvfaces 1 normals 3\n"
        "v 0 0 0\n"
        "v 1.5 0 0\n"
        "v 0 2 -0.25\n"
        "f 0 1 2 1 1 1 1 0\n"
        "vt 0 0 0\n"
        "vt 1 0 0\n"
        "vt 0 1 0\n"
        "ft 0 1 2\n"
        "vc 1 0 0\n"
        "vc 0 1 0\n"
        "vc 0 0 0.5\n"
        "fc 0 1 2\n"
        "vn 0 0 1\n"
        "vn 0 0 0\n"
        "vn 0 0 0\n"
        "bbox 0 0 -0.25 1.5 2 0\n"
        "material multi \"tri_mso\" 3\n"
        "sub 0 material std \"tri_1\" ambient 0.100000001 0.25 0.5 diffuse 1 0.75 0 "
        "specular 0 0 0.125 opacity 0.5 shininess 20 shinstr 0.899999976 map none\n"
        "sub 1 material std \"tri_VtxCol\" ambient 0.588235319 0.588235319 0.588235319 "
        "diffuse 0.588235319 0.588235319 0.588235319 specular 0.899999976 0.899999976 "
        "0.899999976 opacity 1 shininess 0.100000001 shinstr 0 map vertexcolor\n"
        "sub 2 none\n"
        "node points\n"
        "transform 1 0 0 0 1 0 0 0 1 0 0 0\n"
        "mesh verts 2 faces 0 tverts 0 tvfaces 0 cverts 0 cvfaces 0 normals 0\n"
        "v -1 0.100000001 0\n"
        "v 1 0 1.00000001e-10\n"
        "bbox -1 0 0 1 0.100000001 1.00000001e-10\n"
        "material none\n"
        "end\n";
    EXPECT_EQ(DumpScene(scene), expected);
}

TEST_F(SceneDump, AlphaChannelFollowsTheColoursAndABitmapMapShowsItsFile) {
    TriObject* tri = CreateNewTriObject();
    Mesh& mesh = tri->GetMesh();
    ASSERT_TRUE(mesh.setNumVerts(1));
    ASSERT_TRUE(mesh.setNumVertCol(1));
    mesh.setNormal(0, Point3(0, 0, 1));
    mesh.setMapSupport(MAP_ALPHA);
    ASSERT_TRUE(mesh.setNumMapVerts(MAP_ALPHA, 2));
    ASSERT_TRUE(mesh.setNumMapFaces(MAP_ALPHA, 1));
    mesh.mapVerts(MAP_ALPHA)[1] = UVVert(0.25f, 0.25f, 0.25f);
    mesh.mapFaces(MAP_ALPHA)[0].setTVerts(1, 0, 1);
    StdMat2* mtl = NewDefaultStdMat();
    mtl->SetName(CStr("scan"));
    BitmapTex* map = NewDefaultBitmapTex();
    map->SetMapName("C:\\scans\\uv map.jpg");
    mtl->SetSubTexmap(ID_DI, map);
    ImpNode* node = scene.CreateNode();
    node->Reference(tri);
    node->GetINode()->SetMtl(mtl);
    scene.AddNodeToScene(node);
    node->SetName("scan");
    EXPECT_EQ(DumpScene(scene),
              "node scan\n"
              "transform 1 0 0 0 1 0 0 0 1 0 0 0\n"
              "mesh verts 1 faces 0 tverts 0 tvfaces 0 cverts 1 cvfaces 0 normals 1\n"
              "v 0 0 0\n"
              "vc 0 0 0\n"
              "alpha verts 2 faces 1\n"
              "va 0 0 0\n"
              "va 0.25 0.25 0.25\n"
              "fa 1 0 1\n"
              "vn 0 0 1\n"
              "bbox 0 0 0 0 0 0\n"
              "material std \"scan\" ambient 0.588235319 0.588235319 0.588235319 diffuse "
              "0.588235319 0.588235319 0.588235319 specular 0.899999976 0.899999976 0.899999976 "
              "opacity 1 shininess 0.100000001 shinstr 0 map bitmap \"C:\\scans\\uv map.jpg\"\n"
              "end\n");
}

// Further channels follow the alpha lines, supported ones only; the user
// properties follow the node line, escaped as message text is. A node
// without either writes no new line.
TEST_F(SceneDump, FurtherChannelsAndUserPropertiesHaveLinesOfTheirOwn) {
    TriObject* tri = CreateNewTriObject();
    Mesh& mesh = tri->GetMesh();
    ASSERT_TRUE(mesh.setNumVerts(1) && mesh.setNumFaces(1));
    mesh.setMapSupport(MAP_ALPHA);
    ASSERT_TRUE(mesh.setNumMapVerts(MAP_ALPHA, 1) && mesh.setNumMapFaces(MAP_ALPHA, 1));
    mesh.setMapSupport(4);  // channel 3 exists, unsupported
    mesh.setMapSupport(2);
    ASSERT_TRUE(mesh.setNumMapVerts(2, 2) && mesh.setNumMapFaces(2, 1));
    mesh.mapVerts(2)[0] = UVVert(0.5f, 0.25f, 0);
    mesh.mapVerts(2)[1] = UVVert(1, 0.1f, 0);
    mesh.mapFaces(2)[0].setTVerts(1, 0, 1);
    ImpNode* node = scene.CreateNode();
    node->Reference(tri);
    node->GetINode()->SetUserPropBuffer("wire=1\r\nlabel=a\tb\nlast");
    scene.AddNodeToScene(node);
    node->SetName("scan");
    CStr props;
    node->GetINode()->GetUserPropBuffer(props);
    EXPECT_STREQ(props.data(), "wire=1\r\nlabel=a\tb\nlast");

    ImpNode* plain = scene.CreateNode();
    TriObject* plainTri = CreateNewTriObject();
    ASSERT_TRUE(plainTri->GetMesh().setNumMaps(5));
    plain->Reference(plainTri);
    plain->GetINode()->SetUserPropBuffer("x");
    plain->GetINode()->SetUserPropBuffer("");  // replaced whole: none left
    scene.AddNodeToScene(plain);
    plain->SetName("plain");
    EXPECT_EQ(DumpScene(scene),
              "node scan\n"
              "userprops wire=1\\nlabel=a\\x09b\\nlast\n"
              "transform 1 0 0 0 1 0 0 0 1 0 0 0\n"
              "mesh verts 1 faces 1 tverts 0 tvfaces 0 cverts 0 cvfaces 0 normals 0\n"
              "v 0 0 0\n"
              "f 0 0 0 0 0 0 0 0\n"
              "alpha verts 1 faces 1\n"
              "va 0 0 0\n"
              "fa 0 0 0\n"
              "map 2 verts 2 faces 1\n"
              "mv 0.5 0.25 0\n"
              "mv 1 0.100000001 0\n"
              "mf 1 0 1\n"
              "map 4 verts 0 faces 0\n"
              "bbox 0 0 0 0 0 0\n"
              "material none\n"
              "node plain\n"
              "transform 1 0 0 0 1 0 0 0 1 0 0 0\n"
              "mesh verts 0 faces 0 tverts 0 tvfaces 0 cverts 0 cvfaces 0 normals 0\n"
              "bbox 0 0 0 0 0 0\n"
              "material none\n"
              "end\n");
}

TEST_F(SceneDump, MeshWithoutBoxWritesZeros) {
    ImpNode* node = scene.CreateNode();
    TriObject* tri = CreateNewTriObject();
    ASSERT_TRUE(tri->GetMesh().setNumVerts(1));
    node->Reference(tri);
    scene.AddNodeToScene(node);
    node->SetName("nobox");
    EXPECT_EQ(DumpScene(scene),
              "node nobox\n"
              "transform 1 0 0 0 1 0 0 0 1 0 0 0\n"
              "mesh verts 1 faces 0 tverts 0 tvfaces 0 cverts 0 cvfaces 0 normals 0\n"
              "v 0 0 0\n"
              "bbox 0 0 0 0 0 0\n"
              "material none\n"
              "end\n");
}

TEST_F(SceneDump, SingleStandardMaterialIsWrittenDirectly) {
    ImpNode* node = scene.CreateNode();
    StdMat2* mtl = NewDefaultStdMat();
    mtl->SetName(CStr("only"));
    node->GetINode()->SetMtl(mtl);
    scene.AddNodeToScene(node);
    std::string dump = DumpScene(scene);
    EXPECT_NE(dump.find("mesh none\n"), std::string::npos);
    EXPECT_NE(dump.find("\nmaterial std \"only\" ambient 0.588235319"), std::string::npos);
    EXPECT_NE(dump.find(" map none\nend\n"), std::string::npos);
}

TEST(DumpNumbers, FloatsAsPercentNineG) {
    EXPECT_EQ(DumpFloat(0), "0");
    EXPECT_EQ(DumpFloat(-0.0f), "-0");
    EXPECT_EQ(DumpFloat(100), "100");
    EXPECT_EQ(DumpFloat(-300), "-300");
    EXPECT_EQ(DumpFloat(1.0f / 3), "0.333333343");
    EXPECT_EQ(DumpFloat(123456789.0f), "123456792");
    EXPECT_EQ(DumpFloat(1e-10f), "1.00000001e-10");
    EXPECT_EQ(DumpFloat(3e38f), "3.00000001e+38");
}

// Importers switch the C locale; the dump must not follow it.
TEST(DumpNumbers, FloatsIgnoreTheCLocale) {
    const char* names[] = {"German", "de_DE.UTF-8", "de_DE", "fr_FR.UTF-8", "French"};
    const char* switched = nullptr;
    for (const char* name : names)
        if ((switched = std::setlocale(LC_ALL, name)) != nullptr) break;
    char viaPrintf[16] = "";
    if (switched) std::snprintf(viaPrintf, sizeof viaPrintf, "%.1f", 0.5);
    std::string half = DumpFloat(0.5f);
    std::setlocale(LC_ALL, "C");
    if (!switched || std::string(viaPrintf) != "0,5")
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    EXPECT_EQ(half, "0.5");
}

TEST(DumpNumbers, TextLineBreaksAreEscaped) {
    EXPECT_EQ(DumpText("one\ntwo"), "one\\ntwo");
    EXPECT_EQ(DumpText("one\r\ntwo\rthree"), "one\\ntwo\\nthree");
    EXPECT_EQ(DumpText(nullptr), "");
    EXPECT_EQ(DumpText("C:\\x y"), "C:\\x y");
    EXPECT_EQ(DumpText("\x1B[2Ja\tb\x7F\x01\xE9"), "\\x1B[2Ja\\x09b\\x7F\\x01\xE9");
}

}  // namespace
