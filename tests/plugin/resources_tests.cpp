#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/plugin/plugin_library.h"

namespace {

const char* const kStringTable[] = {
    "DazAzu",
    "Standard",
    "ply",
    "3ds max PLY Importer (Kestrova)",
    "ks::REV-Ezedidav",
    "Copyright (c) 2026 Kestrova. All rights reserved.",
    "DazAzuort Version",
    "PLY file Import (Kestrova)",
    "kest",
    "Failed to create some custom controls\n sorry...",
    "ze::DOR Irudoz",
    "ks_dazazu.cfg",
    "\\ksDazAzu.chm",
    "Help not found",
    "not enough memory to create %d vertices",
    "not enough memory to create %d texture-vertices",
    "not enough memory to create %d texture-faces",
    "not enough memory to create %d color-vertices",
    "not enough memory to create %d color-faces",
    "not enough memory to create %d faces",
    "cannot create Import-thread",
    "error creating nodes",
    "%s_mso",
    "%s_VtxCol",
    "creating mesh...",
    "removing isolated vertices...",
    "building normals...",
    "updating edges...",
    "building bounding box...",
    "center pivot...",
};

class ResourcesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        module = PluginLibrary();
        ASSERT_NE(module, nullptr);
    }
    HMODULE module = nullptr;
};

TEST_F(ResourcesTest, EveryStringTableEntryReadsExactly) {
    ASSERT_EQ(sizeof kStringTable / sizeof kStringTable[0], 30u);
    for (int id = 1; id <= 30; ++id) {
        SCOPED_TRACE(id);
        char text[256] = "";
        int length = LoadStringA(module, id, text, sizeof text);
        EXPECT_GT(length, 0);
        EXPECT_STREQ(text, kStringTable[id - 1]);
    }
}

TEST_F(ResourcesTest, TheTableHasNoEntriesBeyondThirty) {
    char text[256] = "";
    EXPECT_EQ(LoadStringA(module, 0, text, sizeof text), 0);
    EXPECT_EQ(LoadStringA(module, 31, text, sizeof text), 0);
}

TEST_F(ResourcesTest, StringsAreInUsEnglish) {
    WORD usEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    // Entries 1 to 15 lie in block 1, 16 to 30 in block 2.
    EXPECT_NE(FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(1), usEnglish), nullptr);
    EXPECT_NE(FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(2), usEnglish), nullptr);
}

TEST_F(ResourcesTest, VersionBlockSaysOnePointZero) {
    std::string path = PluginPath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
    char* fileVersion = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904E4\\FileVersion",
                               reinterpret_cast<void**>(&fileVersion), &length));
    EXPECT_STREQ(fileVersion, "1.00");
}

TEST_F(ResourcesTest, CarriesAManifestThatRunsAsInvoker) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(text, nullptr);
    std::string manifest(text, SizeofResource(module, found));
    EXPECT_NE(manifest.find("assemblyIdentity"), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}

}  // namespace
