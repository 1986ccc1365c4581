#include <gtest/gtest.h>

#include <string>

#include "tests/plugin/plugin_library.h"

namespace {

class DescriptorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto libClassDesc = PluginEntry<LibClassDescFn>("LibClassDesc");
        ASSERT_NE(libClassDesc, nullptr);
        desc = libClassDesc(0);
        ASSERT_NE(desc, nullptr);
    }
    ClassDesc* desc = nullptr;
};

TEST_F(DescriptorTest, NamesTheImporterClass) {
    ASSERT_NE(desc->ClassName(), nullptr);
    EXPECT_STREQ(desc->ClassName(), "DazAzu");
    ASSERT_NE(desc->Category(), nullptr);
    EXPECT_STREQ(desc->Category(), "Standard");
}

TEST_F(DescriptorTest, IsAPublicSceneImporterWithItsClassId) {
    EXPECT_EQ(desc->IsPublic(), 1);
    EXPECT_EQ(desc->SuperClassID(), 0x0A10u);
    EXPECT_EQ(desc->ClassID(), Class_ID(0x261C6DFC, 0x73B4766E));
}

TEST_F(DescriptorTest, KeepsTheHostDefaults) {
    EXPECT_EQ(desc->InternalName(), nullptr);
    EXPECT_EQ(desc->HInstance(), nullptr);
    EXPECT_EQ(desc->NumActionTables(), 0);
    EXPECT_FALSE(desc->IsManipulator());
    EXPECT_EQ(desc->NumParamBlockDescs(), 0);
    EXPECT_EQ(desc->NumParamMaps(), 0);
    EXPECT_FALSE(desc->NeedsToSave());
    EXPECT_EQ(desc->InitialRollupPageState(), 0x7FFFFFFFu);
}

TEST_F(DescriptorTest, TextsShareOneBuffer) {
    const char* name = desc->ClassName();
    ASSERT_NE(name, nullptr);
    std::string kept = name;
    const char* category = desc->Category();
    EXPECT_EQ(category, name);
    EXPECT_STREQ(name, "Standard");  // the second load overwrote the first
    EXPECT_EQ(kept, "DazAzu");
    auto libDescription = PluginEntry<LibDescriptionFn>("LibDescription");
    EXPECT_EQ(libDescription(), name);
}

TEST_F(DescriptorTest, CreateAnswersNoneWhenTheHostHeapIsExhausted) {
    HostSetAllocationLimit(1);
    void* importer = desc->Create(FALSE);
    HostSetAllocationLimit(0);
    EXPECT_EQ(importer, nullptr);
}

}  // namespace
