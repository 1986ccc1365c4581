#include <gtest/gtest.h>

#include "hostsdk/standin.h"
#include "tests/plugin/plugin_library.h"

namespace {

class ImporterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto libClassDesc = PluginEntry<LibClassDescFn>("LibClassDesc");
        ASSERT_NE(libClassDesc, nullptr);
        ClassDesc* desc = libClassDesc(0);
        ASSERT_NE(desc, nullptr);
        importer = static_cast<SceneImport*>(desc->Create(FALSE));
        ASSERT_NE(importer, nullptr);
    }
    void TearDown() override { delete importer; }

    SceneImport* importer = nullptr;
};

TEST_F(ImporterTest, HandlesTheOneExtensionPly) {
    EXPECT_EQ(importer->ExtCount(), 1);
    EXPECT_STREQ(importer->Ext(0), "ply");
    EXPECT_STREQ(importer->Ext(1), "");
    EXPECT_STREQ(importer->Ext(-1), "");
}

TEST_F(ImporterTest, DescribesItselfFromTheStringTable) {
    EXPECT_STREQ(importer->LongDesc(), "3ds max PLY Importer (Kestrova)");
    EXPECT_STREQ(importer->ShortDesc(), "ks::REV-Ezedidav");
    EXPECT_STREQ(importer->AuthorName(), "kest");
    EXPECT_STREQ(importer->CopyrightMessage(), "Copyright (c) 2026 Kestrova. All rights reserved.");
    EXPECT_STREQ(importer->OtherMessage1(), "");
    EXPECT_STREQ(importer->OtherMessage2(), "");
}

TEST_F(ImporterTest, IsVersionOneAndAsksForZoomExtents) {
    EXPECT_EQ(importer->Version(), 100u);
    EXPECT_EQ(importer->ZoomExtents(), 1);
}

TEST_F(ImporterTest, DescriptionsLoadThroughTheSharedBuffer) {
    const char* longDesc = importer->LongDesc();
    const char* author = importer->AuthorName();
    EXPECT_EQ(longDesc, author);
    EXPECT_STREQ(longDesc, "kest");
}

TEST_F(ImporterTest, EachCreateMakesANewImporter) {
    auto libClassDesc = PluginEntry<LibClassDescFn>("LibClassDesc");
    SceneImport* other = static_cast<SceneImport*>(libClassDesc(0)->Create(FALSE));
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, importer);
    delete other;
}

TEST_F(ImporterTest, MissingFileWithoutPromptsAnswersOneAndLeavesTheSceneEmpty) {
    HostScene scene;
    HostCore core(scene);
    EXPECT_EQ(importer->DoImport("C:\\no\\such\\file.ply", &scene, &core, TRUE), 1);
    EXPECT_EQ(scene.NodeCount(), 0);
}

}  // namespace
