// The string loader, with the plug-in's code and resources linked into this
// program, so that the module handle can be withheld and set.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "frontend/module.h"
#include "importer/resstring.h"

namespace {

class LoadResStringTest : public ::testing::Test {
  protected:
    void SetUp() override { SetPluginModule(GetModuleHandleA(nullptr)); }
    void TearDown() override { SetPluginModule(nullptr); }
};

TEST_F(LoadResStringTest, NothingBeforeTheModuleIsKnown) {
    SetPluginModule(nullptr);
    EXPECT_EQ(LoadResString(1), nullptr);
}

TEST_F(LoadResStringTest, LoadsAnEntry) {
    const char* text = LoadResString(1);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "DazAzu");
}

TEST_F(LoadResStringTest, TwoCallsShareOneBuffer) {
    const char* first = LoadResString(11);
    ASSERT_NE(first, nullptr);
    std::string kept = first;
    const char* second = LoadResString(10);
    EXPECT_EQ(second, first);
    EXPECT_STREQ(first, "Failed to create some custom controls\n sorry...");
    EXPECT_EQ(kept, "ze::DOR Irudoz");
}

TEST_F(LoadResStringTest, MissingEntriesGiveNothing) {
    EXPECT_EQ(LoadResString(0), nullptr);
    EXPECT_EQ(LoadResString(31), nullptr);
    EXPECT_EQ(LoadResString(9999), nullptr);
}

TEST_F(LoadResStringTest, EntriesKeepTheirFormatsAndBackslash) {
    EXPECT_STREQ(LoadResString(13), "\\ksDazAzu.chm");
    EXPECT_STREQ(LoadResString(15), "not enough memory to create %d vertices");
    EXPECT_STREQ(LoadResString(23), "%s_mso");
}

}  // namespace
