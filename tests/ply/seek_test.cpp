// Positioning at elements in both encodings and in awkward element orders.
#include <gtest/gtest.h>

#include "tests/ply/ply_test_files.h"

namespace {

const TestElement kVertices{"vertex",
                            {"float x", "float y", "float z"},
                            {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 2, 2}}};

const TestElement kFaces{
    "face", {"list uchar int vertex_indices"}, {{3, 0, 1, 2}, {4, 0, 1, 3, 2}, {3, 4, 3, 1}}};

class Seeking : public ::testing::TestWithParam<PlyFormat> {};

std::string ParamName(const ::testing::TestParamInfo<PlyFormat>& info) {
    return FormatName(info.param);
}

std::vector<std::string> ReadAllVertices(PlyReader& reader) {
    std::vector<std::string> out;
    const int32_t count = reader.SeekElement(kElementVertex);
    for (int32_t i = 0; i < count; ++i) {
        float p[3] = {0, 0, 0};
        if (!reader.ReadVertex(p, nullptr, nullptr, nullptr)) {
            out.push_back("error " + reader.ErrorText());
            break;
        }
        out.push_back(std::to_string(p[0]) + " " + std::to_string(p[1]) + " " +
                      std::to_string(p[2]));
    }
    return out;
}

std::vector<std::vector<int32_t>> ReadAllFaces(PlyReader& reader) {
    std::vector<std::vector<int32_t>> out;
    const int32_t count = reader.SeekElement(kElementFace);
    for (int32_t i = 0; i < count; ++i) {
        FaceRecord f;
        if (!reader.ReadFace(&f.vertexCount, &f.indices, &f.material)) {
            out.push_back({-999});
            break;
        }
        out.push_back(Items(f.indices));
    }
    return out;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(AllEncodings, Seeking, ::testing::ValuesIn(kAllFormats), ParamName);

TEST_P(Seeking, KindsOutsideTheTableAndMissingElementsGiveZero) {
    ReaderOn file(MakePly(GetParam(), {kVertices}));
    EXPECT_EQ(file.reader.SeekElement(4), 0);
    EXPECT_EQ(file.reader.SeekElement(-1), 0);
    EXPECT_EQ(file.reader.SeekElement(kElementMaterial), 0);
    EXPECT_EQ(file.reader.ErrorText(), "");
    EXPECT_EQ(file.reader.SeekElement(kElementFace), 0);
    EXPECT_EQ(file.reader.CountTriangles(), 0);
    EXPECT_EQ(file.reader.ErrorText(), "");
}

TEST_P(Seeking, CallingOrderOfTheImporter) {
    ReaderOn file(MakePly(GetParam(), {kVertices, kFaces}));
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.reader.MaterialCount(), 0);
    EXPECT_EQ(file.reader.CountTriangles(), 4);
    uint32_t flags = 0;
    EXPECT_EQ(file.reader.SeekElement(kElementVertex, &flags), 5);
    EXPECT_EQ(flags, uint32_t(kFlagPositions));
    EXPECT_EQ(file.reader.CurrentElement(), 0);
    EXPECT_EQ(ReadAllVertices(file.reader).back(), "2.000000 2.000000 2.000000");
    EXPECT_EQ(ReadAllFaces(file.reader),
              (std::vector<std::vector<int32_t>>{{0, 1, 2}, {0, 1, 3, 2}, {4, 3, 1}}));
    EXPECT_EQ(file.reader.CurrentElement(), 1);
}

TEST_P(Seeking, ElementsInAnyOrderAndAnySeekOrder) {
    const TestElement labels{
        "label", {"string text", "int id"}, {{3, 'a', 'b', 'c', 1}, {1, 'x', 2}}};
    const TestElement strips{"tristrips", {"list int int vertex_indices"}, {{5, 0, 1, 2, 3, 4}}};
    const TestElement edges{"edge", {"int vertex1", "int vertex2"}, {{0, 1}, {1, 2}}};
    const std::vector<std::vector<TestElement>> orders = {
        {kFaces, kVertices},
        {labels, kFaces, strips, kVertices, edges},
        {edges, kVertices, labels, kFaces},
        {strips, labels, kFaces, edges, kVertices},
    };
    for (size_t o = 0; o < orders.size(); ++o) {
        SCOPED_TRACE(o);
        ReaderOn file(MakePly(GetParam(), orders[o]));
        ASSERT_TRUE(file.opened);
        EXPECT_EQ(file.reader.CountTriangles(), 4);
        const auto vertices = ReadAllVertices(file.reader);
        ASSERT_EQ(vertices.size(), 5u);
        EXPECT_EQ(vertices[1], "1.000000 0.000000 0.000000");
        EXPECT_EQ(vertices[4], "2.000000 2.000000 2.000000");
        const auto faces = ReadAllFaces(file.reader);
        EXPECT_EQ(faces, (std::vector<std::vector<int32_t>>{{0, 1, 2}, {0, 1, 3, 2}, {4, 3, 1}}));
        // Again, in the other order, from wherever the reader stands.
        EXPECT_EQ(ReadAllFaces(file.reader), faces);
        EXPECT_EQ(ReadAllVertices(file.reader), vertices);
        EXPECT_EQ(file.reader.CountTriangles(), 4);
        EXPECT_EQ(ReadAllVertices(file.reader), vertices);
    }
}

TEST_P(Seeking, FileEndingBeforeTheElementFails) {
    // The last vertex is missing (ASCII) or cut short (binary).
    TestElement firstFour = kVertices;
    firstFour.records.pop_back();
    std::string bytes =
        MakeHeader(GetParam(), {kVertices, kFaces}) + MakeData(GetParam(), {firstFour});
    if (GetParam() != kPlyAscii) bytes += std::string(6, '\0');
    ReaderOn file(bytes);
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.reader.SeekElement(kElementFace), 0);
    EXPECT_EQ(file.reader.ErrorText(), "reached end-of-file while seraching for vertices");
    EXPECT_EQ(file.reader.CountTriangles(), 0);
    EXPECT_EQ(file.reader.ErrorText(), "reached end-of-file while seraching for vertices");
    // The vertices before the cut are still there.
    EXPECT_EQ(file.reader.SeekElement(kElementVertex), 5);
    EXPECT_EQ(file.reader.ErrorText(), "");
}

TEST(SeekingBinary, FaceAfterScalarVerticesStartsAtCountTimesRecordSize) {
    for (PlyFormat format : {kPlyBinaryBigEndian, kPlyBinaryLittleEndian}) {
        ReaderOn file(MakePly(format, {kVertices, kFaces}));
        ASSERT_EQ(file.reader.SeekElement(kElementFace), 3);
        EXPECT_EQ(file.reader.Offset(), file.reader.DataStart() + 5 * 12);
    }
}

TEST(SeekingAscii, FacesRightAfterTheVerticesNeedNoRewind) {
    ReaderOn file(MakePly(kPlyAscii, {kVertices, kFaces}));
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 5);
    EXPECT_EQ(file.reader.LinePosition(), 0);
    for (int i = 0; i < 5; ++i) {
        float p[3];
        ASSERT_TRUE(file.reader.ReadVertex(p, nullptr, nullptr, nullptr));
    }
    const uint64_t afterVertices = file.reader.Offset();
    EXPECT_EQ(file.reader.LinePosition(), 5);
    ASSERT_EQ(file.reader.SeekElement(kElementFace), 3);
    EXPECT_EQ(file.reader.LinePosition(), 5);
    EXPECT_EQ(file.reader.Offset(), afterVertices);
    // Seeking the vertices again goes back to the data start.
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 5);
    EXPECT_EQ(file.reader.LinePosition(), 0);
    EXPECT_EQ(file.reader.Offset(), file.reader.DataStart());
}

TEST(SeekingAscii, SkipLinesCountsFromTheDataStart) {
    ReaderOn file(MakePly(kPlyAscii, {kVertices, kFaces}));
    ASSERT_TRUE(file.reader.SkipLines(6));
    EXPECT_EQ(file.reader.LinePosition(), 6);
    ASSERT_EQ(file.reader.SeekElement(kElementFace), 3);  // current element for the read
    ASSERT_TRUE(file.reader.SkipLines(6));
    FaceRecord f;
    ASSERT_TRUE(file.reader.ReadFace(&f.vertexCount, &f.indices, nullptr));
    EXPECT_EQ(f.vertexCount, 4);
    ASSERT_TRUE(file.reader.SkipLines(0));
    EXPECT_EQ(file.reader.Offset(), file.reader.DataStart());
    EXPECT_FALSE(file.reader.SkipLines(9));
    EXPECT_EQ(file.reader.LinePosition(), 8);
}

// Lines are stepped over 64 bytes at a time: a last line without a break
// that ends exactly where such a step ends still counts.
TEST(SeekingAscii, SkippedLastLineWithoutBreakCountsAtAnyLength) {
    for (size_t last = 1; last <= 130; ++last) {
        std::string text =
            "ply\nformat ascii 1.0\nelement vertex 40\nproperty float x\nend_header\n";
        for (int i = 0; i < 39; ++i) text += "1.25\n";
        text += "2.5" + std::string(last - 1, ' ');
        ReaderOn file(text);
        ASSERT_EQ(file.reader.SeekElement(kElementVertex), 40);
        EXPECT_TRUE(file.reader.SkipLines(40)) << "last line of " << last;
        EXPECT_EQ(file.reader.LinePosition(), 40) << "last line of " << last;
    }
}

TEST(SeekingAscii, LastLineWithoutLineBreakIsARecord) {
    ReaderOn file("ply\nformat ascii 1.0\nelement vertex 2\nproperty float x\nend_header\n1\n2");
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 2);
    float a[3], b[3];
    ASSERT_TRUE(file.reader.ReadVertex(a, nullptr, nullptr, nullptr));
    ASSERT_TRUE(file.reader.ReadVertex(b, nullptr, nullptr, nullptr));
    EXPECT_EQ(b[0], 2.0f);
    EXPECT_FALSE(file.reader.ReadVertex(b, nullptr, nullptr, nullptr));
    EXPECT_EQ(file.reader.ErrorText(), "Vertex-Reader: file read error");
}

TEST(SeekingAscii, CountTrianglesNeedsOnlyTheLengths) {
    ReaderOn file(
        "ply\nformat ascii 1.0\nelement face 3\nproperty uchar flag\n"
        "property list uchar float texcoord\nproperty list uchar int vertex_indices\n"
        "property int material_index\nend_header\n"
        "1 2 0.5 0.5 5 0 1 2 3 4 1\n"
        "1 0 3 0 1 2 1\n"
        "1 1 0.25 4 0 1 2 3 2\n");
    EXPECT_EQ(file.reader.CountTriangles(), 3 + 1 + 2);
    EXPECT_EQ(file.reader.LinePosition(), 3);
}
