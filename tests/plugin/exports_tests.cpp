#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/plugin/plugin_library.h"

namespace {

std::vector<std::string> ExportedNames(HMODULE module) {
    BYTE* base = reinterpret_cast<BYTE*>(module);
    IMAGE_NT_HEADERS* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::vector<std::string> names;
    if (dir.VirtualAddress == 0) return names;
    IMAGE_EXPORT_DIRECTORY* exports =
        reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    DWORD* nameOffsets = reinterpret_cast<DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.push_back(reinterpret_cast<char*>(base + nameOffsets[i]));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PluginExports, TheLibraryLoadsByPath) {
    ASSERT_NE(PluginLibrary(), nullptr) << PluginPath() << " error " << GetLastError();
}

TEST(PluginExports, ExactlySixPlainNames) {
    ASSERT_NE(PluginLibrary(), nullptr);
    std::vector<std::string> expected = {"CanAutoDefer",  "LibClassDesc",     "LibDescription",
                                         "LibInitialize", "LibNumberClasses", "LibVersion"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ExportedNames(PluginLibrary()), expected);
    for (const std::string& name : expected)
        EXPECT_NE(GetProcAddress(PluginLibrary(), name.c_str()), nullptr) << name;
}

TEST(PluginExports, VersionIsTheHostRelease) {
    auto libVersion = PluginEntry<LibVersionFn>("LibVersion");
    ASSERT_NE(libVersion, nullptr);
    EXPECT_EQ(libVersion(), 0x2AF81900u);
    EXPECT_EQ(libVersion(), VERSION_3DSMAX);
}

TEST(PluginExports, OneClassThatMayBeDeferred) {
    auto numberClasses = PluginEntry<LibNumberClassesFn>("LibNumberClasses");
    auto canAutoDefer = PluginEntry<CanAutoDeferFn>("CanAutoDefer");
    ASSERT_NE(numberClasses, nullptr);
    ASSERT_NE(canAutoDefer, nullptr);
    EXPECT_EQ(numberClasses(), 1);
    EXPECT_EQ(canAutoDefer(), 1u);
}

TEST(PluginExports, DescriptionComesFromTheStringTable) {
    auto libDescription = PluginEntry<LibDescriptionFn>("LibDescription");
    ASSERT_NE(libDescription, nullptr);
    ASSERT_NE(libDescription(), nullptr);
    EXPECT_STREQ(libDescription(), "PLY file Import (Kestrova)");
}

TEST(PluginExports, ClassDescriptorOnlyForIndexZero) {
    auto libClassDesc = PluginEntry<LibClassDescFn>("LibClassDesc");
    ASSERT_NE(libClassDesc, nullptr);
    ClassDesc* first = libClassDesc(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(libClassDesc(0), first);
    EXPECT_EQ(libClassDesc(0), first);
    EXPECT_EQ(libClassDesc(1), nullptr);
    EXPECT_EQ(libClassDesc(-1), nullptr);
    EXPECT_EQ(libClassDesc(1000), nullptr);
}

}  // namespace
