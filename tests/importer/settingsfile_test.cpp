#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "importer/importoptions.h"

namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("ks_settings_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "ks_dazazu.cfg").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<unsigned char> ReadBytes() {
        std::ifstream in(path, std::ios::binary);
        return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
    }
    void WriteBytes(const std::vector<unsigned char>& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }

    fs::path dir;
    std::string path;
};

const std::vector<unsigned char> kDefaultsFile = {0x03, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00,
                                                  0x00, 0x00, 0x00, 0xC8, 0x42, 0x01, 0x01,
                                                  0x01, 0x00, 0x01, 0x01, 0x01, 0x01};

TEST_F(SettingsFileTest, DefaultsAreWrittenByteForByte) {
    SaveSettingsFile(path, ImportOptions());
    EXPECT_EQ(ReadBytes(), kDefaultsFile);
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST_F(SettingsFileTest, ScaleComesBeforeTheFlagsInFileOrder) {
    ImportOptions o;
    o.replaceScene = 0;
    o.flipZY = 1;
    o.centerPivot = 0;
    o.scale = 250.5f;
    o.generateNormals = 1;
    o.vertexNormals = 0;
    o.vertexColors = 1;
    o.textureCoords = 0;
    o.materials = 0;
    SaveSettingsFile(path, o);
    std::vector<unsigned char> expected = {3,    0,    0, 0, 20, 0, 0, 0, 0x00, 0x80,
                                           0x7A, 0x43, 0, 1, 0,  1, 0, 1, 0,    0};
    EXPECT_EQ(ReadBytes(), expected);

    ImportOptions back;
    ASSERT_TRUE(LoadSettingsFile(path, back));
    EXPECT_EQ(back.scale, 250.5f);
    EXPECT_EQ(back.replaceScene, 0);
    EXPECT_EQ(back.generateNormals, 1);
    EXPECT_EQ(back.materials, 0);
}

TEST_F(SettingsFileTest, SaveReplacesAnEarlierFile) {
    WriteBytes(std::vector<unsigned char>(100, 0xEE));
    SaveSettingsFile(path, ImportOptions());
    EXPECT_EQ(ReadBytes(), kDefaultsFile);
}

TEST_F(SettingsFileTest, MissingFileKeepsTheValues) {
    ImportOptions o;
    o.scale = 7;
    EXPECT_FALSE(LoadSettingsFile(path, o));
    EXPECT_EQ(o.scale, 7.0f);
}

TEST_F(SettingsFileTest, WrongFormatNumberIsIgnored) {
    std::vector<unsigned char> bytes = kDefaultsFile;
    bytes[0] = 2;
    bytes[8] = 0x11;
    WriteBytes(bytes);
    ImportOptions o;
    EXPECT_FALSE(LoadSettingsFile(path, o));
    EXPECT_EQ(o.scale, 100.0f);
}

TEST_F(SettingsFileTest, LengthFieldMustMatchTheFileSize) {
    std::vector<unsigned char> bytes = kDefaultsFile;
    bytes.push_back(0);  // 21 bytes, length field still 20
    WriteBytes(bytes);
    ImportOptions o;
    EXPECT_FALSE(LoadSettingsFile(path, o));

    bytes[4] = 21;  // now it matches: accepted, first 20 bytes read
    bytes[12] = 0;
    WriteBytes(bytes);
    ASSERT_TRUE(LoadSettingsFile(path, o));
    EXPECT_EQ(o.replaceScene, 0);
}

TEST_F(SettingsFileTest, ValuesAreTakenUnchecked) {
    std::vector<unsigned char> bytes = kDefaultsFile;
    float negative = -3.0f;
    std::memcpy(&bytes[8], &negative, 4);
    bytes[13] = 200;
    WriteBytes(bytes);
    ImportOptions o;
    ASSERT_TRUE(LoadSettingsFile(path, o));
    EXPECT_EQ(o.scale, -3.0f);
    EXPECT_EQ(o.flipZY, 200);
}

TEST_F(SettingsFileTest, ShortHandMadeFileKeepsTheMissingValues) {
    std::vector<unsigned char> bytes(kDefaultsFile.begin(), kDefaultsFile.begin() + 14);
    bytes[4] = 14;
    bytes[12] = 0;
    bytes[13] = 0;
    WriteBytes(bytes);
    ImportOptions o;
    o.materials = 1;
    ASSERT_TRUE(LoadSettingsFile(path, o));
    EXPECT_EQ(o.replaceScene, 0);
    EXPECT_EQ(o.flipZY, 0);
    EXPECT_EQ(o.centerPivot, 1);
    EXPECT_EQ(o.materials, 1);
}

// A save that cannot be made leaves the folder as it was: no temporary file
// behind, and what already stands at the path untouched.
TEST_F(SettingsFileTest, UnwritablePathFailsSilently) {
    std::ofstream(dir / "file") << "kept";
    fs::create_directory(dir / "folder");
    const fs::path paths[] = {dir / "file" / "ks_dazazu.cfg", dir / "folder"};
    for (const fs::path& unwritable : paths) {
        SaveSettingsFile(unwritable.string(), ImportOptions());
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"file", "folder"})) << unwritable;
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    std::ifstream in(dir / "file");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "kept");
}

}  // namespace
