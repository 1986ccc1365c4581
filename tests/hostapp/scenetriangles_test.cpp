#include "hostapp/scenetriangles.h"

#include <gtest/gtest.h>

#include "hostapp/recordingscene.h"
#include "hostsdk/max.h"

namespace {

class SceneTrianglesTest : public testing::Test {
  protected:
    // One node with one triangle (0,0,0) (1,0,0) (0,1,0), moved by (10, 20, 30).
    HostNode* AddTriangleNode(MtlID matId = 0) {
        TriObject* obj = CreateNewTriObject();
        Mesh& m = obj->GetMesh();
        m.setNumVerts(3);
        m.setVert(0, Point3(0, 0, 0));
        m.setVert(1, Point3(1, 0, 0));
        m.setVert(2, Point3(0, 1, 0));
        m.setNumFaces(1);
        m.faces[0].setVerts(0, 1, 2);
        m.faces[0].setMatID(matId);
        ImpNode* node = scene.CreateNode();
        node->Reference(obj);
        Matrix3 tm;
        tm.SetTransRow(Point3(10, 20, 30));
        tm.ClearIdentFlag(POS_IDENT);
        node->SetTransform(0, tm);
        scene.AddNodeToScene(node);
        return scene.GetNode(scene.NodeCount() - 1);
    }
    Mesh& MeshOf(HostNode* node) {
        return static_cast<TriObject*>(node->GetObjectRef())->GetMesh();
    }

    HostScene scene;
};

TEST_F(SceneTrianglesTest, CornersAreInWorldSpace) {
    AddTriangleNode();
    auto tris = SceneTriangles(scene);
    ASSERT_EQ(tris.size(), 1u);
    EXPECT_FLOAT_EQ(tris[0].p[0].x, 10);
    EXPECT_FLOAT_EQ(tris[0].p[1].x, 11);
    EXPECT_FLOAT_EQ(tris[0].p[2].y, 21);
    EXPECT_FLOAT_EQ(tris[0].p[2].z, 30);
}

TEST_F(SceneTrianglesTest, NoMaterialGivesTheDefaultObjectColour) {
    AddTriangleNode();
    auto tris = SceneTriangles(scene);
    EXPECT_FLOAT_EQ(tris[0].c[0].r, kDefaultObjectColour.r);
}

TEST_F(SceneTrianglesTest, StandardMaterialGivesItsDiffuse) {
    HostNode* node = AddTriangleNode();
    StdMat2* mtl = NewDefaultStdMat();
    mtl->SetDiffuse(Color(0.2f, 0.4f, 0.6f), 0);
    node->SetMtl(mtl);
    auto tris = SceneTriangles(scene);
    EXPECT_FLOAT_EQ(tris[0].c[2].g, 0.4f);
}

TEST_F(SceneTrianglesTest, MultiMaterialPicksBySubMaterialId) {
    HostNode* node = AddTriangleNode(3);  // 3 modulo 2 sub-materials: the second
    MultiMtl* multi = NewDefaultMultiMtl();
    multi->SetNumSubMtls(2);
    StdMat2* a = NewDefaultStdMat();
    StdMat2* b = NewDefaultStdMat();
    a->SetDiffuse(Color(1, 0, 0), 0);
    b->SetDiffuse(Color(0, 1, 0), 0);
    multi->SetSubMtl(0, a);
    multi->SetSubMtl(1, b);
    node->SetMtl(multi);
    auto tris = SceneTriangles(scene);
    EXPECT_FLOAT_EQ(tris[0].c[0].g, 1);
    EXPECT_FLOAT_EQ(tris[0].c[0].r, 0);
}

TEST_F(SceneTrianglesTest, VertexColoursWinOverTheMaterial) {
    HostNode* node = AddTriangleNode();
    Mesh& m = MeshOf(node);
    m.setNumVertCol(3);
    m.setNumVCFaces(1);
    m.vertCol[0] = Point3(1, 0, 0);
    m.vertCol[1] = Point3(0, 1, 0);
    m.vertCol[2] = Point3(0, 0, 1);
    m.vcFace[0].setTVerts(2, 1, 0);
    auto tris = SceneTriangles(scene);
    EXPECT_FLOAT_EQ(tris[0].c[0].b, 1);
    EXPECT_FLOAT_EQ(tris[0].c[2].r, 1);
}

TEST_F(SceneTrianglesTest, FacesOutsideTheArraysAreSkipped) {
    HostNode* node = AddTriangleNode();
    Mesh& m = MeshOf(node);
    m.setNumFaces(2, TRUE);
    m.faces[1].setVerts(0, 1, 7);
    EXPECT_EQ(SceneTriangles(scene).size(), 1u);
}

TEST_F(SceneTrianglesTest, NodesWithoutObjectsDrawNothing) {
    ImpNode* node = scene.CreateNode();
    scene.AddNodeToScene(node);
    EXPECT_TRUE(SceneTriangles(scene).empty());
}

TEST(RecordingSceneTest, CountsOnlyNodesActuallyAddedSinceTheImportBegan) {
    RecordingScene scene;
    ImpNode* before = scene.CreateNode();
    scene.AddNodeToScene(before);
    scene.BeginImport();
    ImpNode* node = scene.CreateNode();
    scene.AddNodeToScene(node);
    scene.AddNodeToScene(node);  // twice changes nothing
    EXPECT_EQ(scene.AddedCounts().nodes, 1);
    scene.NewScene();
    EXPECT_EQ(scene.AddedCounts().nodes, 0);
}

TEST(RecordingSceneTest, RedrawRequestsReachTheViewport) {
    RecordingScene scene;
    int redraws = 0;
    scene.onRedraw = [&redraws] { ++redraws; };
    scene.RedrawViews();
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(scene.RedrawCount(), 1);
}

}  // namespace
