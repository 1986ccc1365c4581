// The stand-in's scene: nodes own their object and material, a scene reset
// releases everything, the core interface answers directories and slots.
#include <gtest/gtest.h>

#include "hostsdk/standin.h"

namespace {

class HostSceneTest : public ::testing::Test {
  protected:
    void SetUp() override { liveAtStart = HostLiveObjectCount(); }
    void TearDown() override {
        scene.NewScene();
        EXPECT_EQ(HostLiveObjectCount(), liveAtStart);
    }

    // A node as an importer makes it: object, material, transform, name.
    HostNode* AddImportedNode(const char* name, Mtl* mtl) {
        ImpNode* node = scene.CreateNode();
        if (!node) return nullptr;
        node->Reference(CreateNewTriObject());
        if (mtl) node->GetINode()->SetMtl(mtl);
        Matrix3 tm;
        tm.IdentityMatrix();
        node->SetTransform(0, tm);
        scene.AddNodeToScene(node);
        node->SetName(name);
        return static_cast<HostNode*>(node);
    }

    HostScene scene;
    int liveAtStart = 0;
};

TEST_F(HostSceneTest, NodesJoinTheSceneInOrder) {
    HostNode* a = AddImportedNode("a", nullptr);
    HostNode* b = AddImportedNode("b", NewDefaultStdMat());
    ASSERT_EQ(scene.NodeCount(), 2);
    EXPECT_EQ(scene.GetNode(0), a);
    EXPECT_EQ(scene.GetNode(1), b);
    EXPECT_EQ(scene.GetNode(2), nullptr);
    EXPECT_STREQ(b->GetName(), "b");
    ASSERT_NE(b->GetObjectRef(), nullptr);
    EXPECT_TRUE(b->GetObjectRef()->ClassID() == TRIOBJ_CLASS_ID);
    EXPECT_NE(b->GetMtl(), nullptr);
    EXPECT_EQ(a->GetMtl(), nullptr);
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 3);
}

TEST_F(HostSceneTest, NewSceneReleasesEveryNodeObjectAndMaterial) {
    MultiMtl* multi = NewDefaultMultiMtl();
    multi->SetNumSubMtls(2);
    multi->SetSubMtl(0, NewDefaultStdMat());
    multi->SetSubMtl(1, NewDefaultStdMat());
    AddImportedNode("one", multi);
    AddImportedNode("two", NewDefaultStdMat());
    scene.CreateNode();  // made but never added: the scene still owns it
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 6);
    EXPECT_EQ(scene.NewScene(), 1);
    EXPECT_EQ(scene.NodeCount(), 0);
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart);
}

TEST_F(HostSceneTest, NodeTransformAndNameReadBack) {
    ImpNode* node = scene.CreateNode();
    ASSERT_NE(node, nullptr);
    Matrix3 tm;
    tm.IdentityMatrix();
    tm.SetTransRow(Point3(1, 2, 3));
    tm.ClearIdentFlag(POS_IDENT);
    node->SetTransform(0, tm);
    node->SetName("bunny");
    scene.AddNodeToScene(node);
    scene.AddNodeToScene(node);  // twice changes nothing
    ASSERT_EQ(scene.NodeCount(), 1);
    INode* inode = node->GetINode();
    EXPECT_STREQ(inode->GetName(), "bunny");
    Matrix3 back = inode->GetNodeTM(0);
    EXPECT_EQ(back.GetTrans(), Point3(1, 2, 3));
    EXPECT_EQ(back.GetIdentFlags() & POS_IDENT, 0u);
}

TEST_F(HostSceneTest, ReplacingAMaterialReleasesTheOldOneUnlessTheNewHoldsIt) {
    HostNode* node = AddImportedNode("n", nullptr);
    StdMat2* first = NewDefaultStdMat();
    node->SetMtl(first);
    node->SetMtl(first);
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 2);
    MultiMtl* multi = NewDefaultMultiMtl();
    multi->SetNumSubMtls(1);
    multi->SetSubMtl(0, first);
    node->SetMtl(multi);  // first lives on inside multi
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 3);
    node->SetMtl(NewDefaultStdMat());  // multi and first go
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 2);
    node->Reference(CreateNewTriObject());  // the old object goes
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 2);
}

TEST_F(HostSceneTest, NodeCreationCanBeMadeToFail) {
    scene.SetFailNodeCreation(true);
    EXPECT_EQ(scene.CreateNode(), nullptr);
    scene.SetFailNodeCreation(false);
    EXPECT_NE(scene.CreateNode(), nullptr);
}

TEST_F(HostSceneTest, ForeignNodesAreNotAdded) {
    HostNode stray;
    scene.AddNodeToScene(&stray);
    EXPECT_EQ(scene.NodeCount(), 0);
}

TEST_F(HostSceneTest, RedrawsAreCounted) {
    scene.RedrawViews();
    scene.RedrawViews();
    EXPECT_EQ(scene.RedrawCount(), 2);
}

TEST_F(HostSceneTest, CoreAnswersDirectoriesByCode) {
    HostCore core(scene);
    EXPECT_STREQ(core.GetDir(APP_PLUGCFG_DIR), "");
    core.SetDir(APP_PLUGCFG_DIR, "C:\\host\\plugcfg");
    core.SetDir(APP_HELP_DIR, "C:\\host\\help");
    EXPECT_STREQ(core.GetDir(9), "C:\\host\\plugcfg");
    EXPECT_STREQ(core.GetDir(4), "C:\\host\\help");
    EXPECT_STREQ(core.GetDir(1), "");
    EXPECT_EQ(core.GetMAXHWnd(), nullptr);
}

TEST_F(HostSceneTest, FileResetEmptiesTheScene) {
    HostCore core(scene);
    AddImportedNode("n", NewDefaultStdMat());
    EXPECT_TRUE(core.FileReset(TRUE));
    EXPECT_EQ(core.FileResetCount(), 1);
    EXPECT_EQ(scene.NodeCount(), 0);
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart);
}

TEST_F(HostSceneTest, EditorSlotsShowMaterialsWithoutOwningThem) {
    HostCore core(scene);
    SetCOREInterface(&core);
    EXPECT_EQ(GetCOREInterface7(), &core);
    StdMat2* mtl = NewDefaultStdMat();
    HostNode* node = AddImportedNode("n", nullptr);
    GetCOREInterface7()->PutMtlToMtlEditor(mtl, 0);
    node->SetMtl(mtl);
    EXPECT_EQ(core.EditorSlot(0), mtl);
    EXPECT_EQ(core.EditorSlot(HostCore::kEditorSlots), nullptr);
    scene.NewScene();  // the node releases the material; the slot forgets it
    EXPECT_EQ(core.EditorSlot(0), nullptr);
    SetCOREInterface(nullptr);
}

TEST_F(HostSceneTest, ActivatedTexturesAreCountedAndRememberedUntilReleased) {
    HostCore core(scene);
    StdMat2* mtl = NewDefaultStdMat();
    Texmap* map = static_cast<Texmap*>(GetMarketDefaults()->CreateInstance(
        0x10B0, VERTEX_COLOR_CLASS_ID, "Vertex Color", 0xC10, VERTEX_COLOR_CLASS_ID, nullptr));
    mtl->SetSubTexmap(1, map);
    core.ActivateTexture(map, mtl, -1);
    EXPECT_EQ(core.ActivatedTextureCount(), 1);
    MultiMtl* multi = NewDefaultMultiMtl();
    multi->SetNumSubMtls(1);
    multi->SetSubMtl(0, mtl);
    BitmapTex* bitmap = NewDefaultBitmapTex();
    mtl->SetSubTexmap(ID_DI, bitmap);  // the vertex-colour map goes and is forgotten
    EXPECT_EQ(core.ActivatedMap(), nullptr);
    core.ActivateTexture(bitmap, multi, 0);
    EXPECT_EQ(core.ActivatedTextureCount(), 2);
    EXPECT_EQ(core.ActivatedMap(), bitmap);
    EXPECT_EQ(core.ActivatedMaterial(), multi);
    EXPECT_EQ(core.ActivatedSubMaterial(), 0);
    multi->DeleteMe();
    EXPECT_EQ(core.ActivatedMap(), nullptr);
    EXPECT_EQ(core.ActivatedMaterial(), nullptr);
}

TEST_F(HostSceneTest, SettingASubMaterialOfTheOldOneKeepsOnlyTheNewOne) {
    HostNode* node = AddImportedNode("n", nullptr);
    MultiMtl* multi = NewDefaultMultiMtl();
    multi->SetNumSubMtls(2);
    StdMat2* sub = NewDefaultStdMat();
    multi->SetSubMtl(0, sub);
    multi->SetSubMtl(1, NewDefaultStdMat());
    node->SetMtl(multi);
    node->SetMtl(sub);  // the multi and its other sub go; sub stays with the node
    EXPECT_EQ(node->GetMtl(), sub);
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 2);
    EXPECT_FLOAT_EQ(sub->GetOpacity(0), 1.0f);
}

}  // namespace
