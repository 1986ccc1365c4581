// Inputs the fuzz targets found or start from: each must be read through the
// whole import sequence without a crash and with a message on failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/ply/ply_test_files.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<fs::path> FilesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The whole sequence the importer runs; every failure must carry a message.
void ReadLikeTheImporter(const std::string& bytes) {
    ReaderOn file(bytes);
    if (!file.opened) {
        EXPECT_FALSE(file.reader.ErrorText().empty());
        return;
    }
    const std::vector<std::string> lines = ReadEverything(file.reader);
    ASSERT_FALSE(lines.empty());
    if (lines.back().rfind("error", 0) == 0) {
        EXPECT_GT(lines.back().size(), 6u);
    }
}

// Reads every face with one reused index list, as the mesh build does; each
// successful read must leave exactly max(vertexCount, 0) indices in it.
void ExpectIndexListsMatchCounts(const std::string& bytes) {
    ReaderOn file(bytes);
    if (!file.opened) return;
    file.reader.CountTriangles();
    const int32_t faces = file.reader.SeekElement(kElementFace);
    IndexList indices;
    for (int32_t i = 0; i < faces; ++i) {
        int32_t vertexCount = -7;
        int32_t material = 0;
        if (!file.reader.ReadFace(&vertexCount, &indices, &material)) break;
        EXPECT_EQ(indices.size(), size_t(vertexCount > 0 ? vertexCount : 0)) << "face " << i;
    }
}

const fs::path kRegressions = fs::path(KS_FUZZ_DIR_PATH) / "regressions";

}  // namespace

// A face with an empty list, read after a longer face into the same vector,
// kept the longer face's indices (records with a string take the reader's
// general path).
TEST(FuzzRegressions, EmptyFaceListAfterALongerOne) {
    const std::string bytes = ReadFile(kRegressions / "empty_face_list_after_a_longer_one.ply");
    ASSERT_FALSE(bytes.empty());
    ExpectIndexListsMatchCounts(bytes);
    ReadLikeTheImporter(bytes);
}

TEST(FuzzRegressions, EveryKeptInputReadsThroughTheImportSequence) {
    for (const fs::path& input : FilesIn(kRegressions)) {
        SCOPED_TRACE(input.filename().string());
        const std::string bytes = ReadFile(input);
        ReadLikeTheImporter(bytes);
        ExpectIndexListsMatchCounts(bytes);
    }
}

TEST(FuzzSeeds, EverySeedReadsThroughTheImportSequence) {
    const std::vector<fs::path> seeds = FilesIn(fs::path(KS_FUZZ_DIR_PATH) / "corpus");
    EXPECT_GE(seeds.size(), 5u);
    for (const fs::path& seed : seeds) {
        SCOPED_TRACE(seed.filename().string());
        ReadLikeTheImporter(ReadFile(seed));
        ExpectIndexListsMatchCounts(ReadFile(seed));
    }
}
