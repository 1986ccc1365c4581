// Texture names from a file resolve to local files beside it, or to nothing.
#include "importer/texture_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "importer/local_path.h"
#include "tests/support/import_doubles.h"

namespace {

const char kPly[] = "C:\\scans\\bunny.ply";

// Names that open a device, or go through one, in any folder.
const char* const kDeviceNames[] = {
    "CON.png",     "nul",    "Aux.txt",     "prn. .txt", "lpt1.tar.gz",  "com9 .jpg",  "com0.png",
    "CONOUT$.txt", "conin$", "COM\xB9.png", "lpt\xB2",   "COM\xB3.png.", "aux\\x.png",
};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

class TexturePathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetImportDoubles();
        Doubles().existingFiles = {"C:\\scans\\a.png",
                                   "C:\\scans\\..\\tex\\b.png",
                                   "D:\\other\\c.png",
                                   "C:\\scans\\evil.png",
                                   "C:\\scans\\console.png",
                                   "C:\\scans\\bunny_bunny_1.png",
                                   "/a.png",
                                   "C:\\scans\\" + Name(250),
                                   "C:\\scans\\" + Name(251),
                                   "C:\\scans\\" + Name(300)};
        // Every device name exists as a file, so only the rule can refuse it.
        for (const char* device : kDeviceNames)
            Doubles().existingFiles.push_back(std::string("C:\\scans\\") + device);
    }
    // A file name of length characters.
    static std::string Name(size_t length) { return std::string(length - 4, 'n') + ".png"; }
    // The resolved path, or "-" for nothing.
    static std::string Resolve(const std::string& name) {
        CStr path;
        return ResolveTexturePath(kPly, name.c_str(), &path) ? path.data() : "-";
    }
};

// Every name is resolved; whatever it says, only plain local paths are
// ever looked at. Device names are refused even where such a file exists.
TEST_F(TexturePathTest, NamesResolveToLocalFilesOnly) {
    const struct {
        std::string name, expected;
    } cases[] = {
        {"a.png", "C:\\scans\\a.png"},
        {"..\\tex\\b.png", "C:\\scans\\..\\tex\\b.png"},
        {"missing.png", "-"},
        {"D:\\other\\c.png", "D:\\other\\c.png"},
        {"D:/elsewhere/a.png", "C:\\scans\\a.png"},
        {"E:\\gone\\gone.png", "-"},
        {"z:\\gone\\a.png", "C:\\scans\\a.png"},
        {"/a.png", "/a.png"},
        {"\\tex\\a.png", "C:\\scans\\a.png"},
        {"\\\\127.0.0.1\\share\\evil.png", "C:\\scans\\evil.png"},
        {"//127.0.0.1/share/evil.png", "C:\\scans\\evil.png"},
        {"\\/127.0.0.1/share\\evil.png", "C:\\scans\\evil.png"},
        {"\\\\.\\PhysicalDrive0", "-"},
        {"\\\\?\\C:\\scans\\a.png", "C:\\scans\\a.png"},
        {"//./C:/scans/a.png", "C:\\scans\\a.png"},
        {"\\??\\UNC\\server\\share\\a.png", "C:\\scans\\a.png"},
        {"a.png:evil", "C:\\scans\\a.png"},
        {"Z:evil.png", "C:\\scans\\evil.png"},
        {"c:..\\tex\\b.png", "C:\\scans\\..\\tex\\b.png"},
        {"D:\\other\\c.png:evil", "-"},
        {"console.png", "C:\\scans\\console.png"},
        {" .png", "-"},
        {"<this>_<this>_1.png", "C:\\scans\\bunny_bunny_1.png"},
        {Name(250), "C:\\scans\\" + Name(250)},  // 259 characters
        {Name(251), "-"},
        {Name(300), "-"},
    };
    for (const auto& c : cases) EXPECT_EQ(Resolve(c.name), c.expected) << c.name;
    for (const char* device : kDeviceNames) {
        EXPECT_EQ(Resolve(device), "-") << device;
        EXPECT_EQ(Resolve(std::string("\\\\srv\\s\\") + device), "-") << device;
    }
    for (const std::string& checked : Doubles().existenceChecks) {
        EXPECT_FALSE(IsSeparator(checked[0]) && IsSeparator(checked[1])) << checked;
        EXPECT_EQ(checked.find(':', 2), std::string::npos) << checked;
        EXPECT_NE(checked.rfind("\\??\\", 0), 0u) << checked;
    }
    EXPECT_GT(Doubles().existenceChecks.size(), 20u);
}

// Thousands of "<this>" end once the path is longer than any the system
// takes: left out, nothing looked up.
TEST_F(TexturePathTest, ManyThisNamesAreLeftOutAtTheLengthBound) {
    std::string name;
    for (int i = 0; i < 8000; ++i) name += "<this>";
    EXPECT_EQ(Resolve(name), "-");
    EXPECT_TRUE(Doubles().existenceChecks.empty());
}

// A double-byte character whose trail byte is 0x5C stays part of the file name.
TEST_F(TexturePathTest, TrailBytesAreNeverSeparators) {
    Doubles().doubleByteCodePage = true;
    Doubles().existingFiles = {"C:\\scans\\\x95\x5C.png"};
    EXPECT_EQ(Resolve("\\\\server\\share\\\x95\x5C.png"), "C:\\scans\\\x95\x5C.png");
    EXPECT_EQ(Resolve("\x95\x5C.png"), "C:\\scans\\\x95\x5C.png");
}

// A PLY path without a separator: its folder ends after the drive, or is
// the current one.
TEST_F(TexturePathTest, APathWithoutSeparatorsLooksInItsDrivesFolder) {
    Doubles().existingFiles = {"C:a.png", "a.png"};
    CStr path;
    ASSERT_TRUE(ResolveTexturePath("C:bunny.ply", "a.png", &path));
    EXPECT_STREQ(path.data(), "C:a.png");
    ASSERT_TRUE(ResolveTexturePath("bunny.ply", "a.png", &path));
    EXPECT_STREQ(path.data(), "a.png");
}

// The name is checked as part of the whole path: after a PLY path without
// a drive it must not become a namespace path.
TEST_F(TexturePathTest, TheJoinedPathIsCheckedWhole) {
    Doubles().existingFiles = {"\\??\\UNC\\srv\\s\\evil.png", "\\evil.png"};
    CStr path;
    ASSERT_TRUE(ResolveTexturePath("\\x.ply", "??\\UNC\\srv\\s\\evil.png", &path));
    EXPECT_STREQ(path.data(), "\\evil.png");
    EXPECT_EQ(Doubles().existenceChecks, std::vector<std::string>{"\\evil.png"});
}

// The path limit is the rule's own: the plug-in's buffers never pass it.
TEST(LocalPathRule, PathsLongerThanTheSystemTakesAreRefused) {
    EXPECT_TRUE(IsPlainLocalPath(("C:\\" + std::string(kMaxLocalPath - 3, 'n')).c_str()));
    EXPECT_FALSE(IsPlainLocalPath(("C:\\" + std::string(kMaxLocalPath - 2, 'n')).c_str()));
}

}  // namespace
