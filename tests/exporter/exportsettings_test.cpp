// The exporter's settings file: its byte layout, the files it refuses, and
// a save that cannot be made.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "exporter/exportoptions.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ExportSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    const fs::path dir = fs::temp_directory_path() / "ks_export_settings_test";
    const std::string path = (dir / "ks_dazazu_exp.cfg").string();
};

// Format number 1, length 20, the scale 250.5 as a little-endian float, then
// a byte each: format, flip, normals, colours, texture coordinates, map
// channels, materials, selected only.
const std::string kChosenFile("\1\0\0\0\x14\0\0\0\0\x80\x7A\x43\2\0\1\0\1\0\1\1", 20);

// A save that cannot make its temporary file (a folder has its name) leaves
// the old file as it was.
TEST_F(ExportSettingsTest, ChoicesAreWrittenByteForByteReadBackWholeAndKept) {
    ExportOptions chosen;
    chosen.format = kExportBinaryBigEndian;
    chosen.flipZY = chosen.vertexColors = chosen.mapChannels = 0;
    chosen.scale = 250.5f;
    chosen.selectedOnly = 1;
    SaveExportSettingsFile(path, chosen);
    EXPECT_EQ(ReadFile(path), kChosenFile);

    ExportOptions back;
    ASSERT_TRUE(LoadExportSettingsFile(path, back));
    fs::remove(path);
    SaveExportSettingsFile(path, back);
    EXPECT_EQ(ReadFile(path), kChosenFile);

    fs::create_directory(path + ".tmp");
    SaveExportSettingsFile(path, ExportOptions());
    EXPECT_EQ(ReadFile(path), kChosenFile);
    EXPECT_TRUE(fs::is_empty(path + ".tmp"));
}

// Each file is the chosen one with one byte set and cut or padded to a size.
struct Refused {
    const char* what;
    size_t offset;
    char value;
    size_t size;  // 0: no file at all
};
const Refused kRefused[] = {
    {"missing file", 0, 1, 0},
    {"wrong format number", 0, 3, 20},
    {"length field past the end", 4, 21, 20},
    {"length field short of the end", 0, 1, 21},
    {"file shorter than the layout", 4, 19, 19},
    {"unknown format", 12, 3, 20},
};

TEST_F(ExportSettingsTest, RefusedFilesLeaveTheOptionsUnchanged) {
    for (const Refused& r : kRefused) {
        std::string bytes = kChosenFile;
        bytes.resize(r.size);
        fs::remove(path);
        if (r.size) {
            bytes[r.offset] = r.value;
            std::ofstream(path, std::ios::binary) << bytes;
        }
        ExportOptions o;
        o.scale = 7;
        EXPECT_FALSE(LoadExportSettingsFile(path, o)) << r.what;
        EXPECT_EQ(o.format, kExportBinaryLittleEndian) << r.what;
        EXPECT_EQ(o.scale, 7.0f) << r.what;
        EXPECT_EQ(o.selectedOnly, 0) << r.what;
    }
}

}  // namespace
