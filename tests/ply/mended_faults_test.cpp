// The faults this reader mends, each with the sound behaviour it has instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/ply/ply_test_files.h"

namespace {

class Mended : public ::testing::TestWithParam<PlyFormat> {};

std::string ParamName(const ::testing::TestParamInfo<PlyFormat>& info) {
    return FormatName(info.param);
}

const TestElement kThreeVertices{
    "vertex", {"float x", "float y", "float z"}, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}};

// Counts the bytes the reader pulls from its source.
class CountingSource : public ByteSource {
  public:
    explicit CountingSource(const std::string& bytes) : memory_(bytes.data(), bytes.size()) {}
    size_t Read(void* destination, size_t size) override {
        const size_t got = memory_.Read(destination, size);
        bytesRead += got;
        return got;
    }
    bool Seek(uint64_t offset) override { return memory_.Seek(offset); }
    uint64_t Size() const override { return memory_.Size(); }
    uint64_t bytesRead = 0;

  private:
    MemorySource memory_;
};

// A binary little-endian file of more than 4 GiB that exists only as a rule:
// a header, vertexCount float x values (vertex i holds i % 1000), then faces.
class HugeSource : public ByteSource {
  public:
    HugeSource(uint64_t vertexCount, const std::string& faceData) : faceData_(faceData) {
        header_ = "ply\nformat binary_little_endian 1.0\nelement vertex " +
                  std::to_string(vertexCount) +
                  "\nproperty float x\nelement face 2\nproperty list uchar int vertex_indices\n"
                  "end_header\n";
        facesStart_ = header_.size() + 4 * vertexCount;
    }
    size_t Read(void* destination, size_t size) override {
        unsigned char* out = static_cast<unsigned char*>(destination);
        size_t done = 0;
        for (; done < size && position_ < Size(); ++done, ++position_)
            out[done] = ByteAt(position_);
        return done;
    }
    bool Seek(uint64_t offset) override {
        if (offset > Size()) return false;
        position_ = offset;
        return true;
    }
    uint64_t Size() const override { return facesStart_ + faceData_.size(); }
    uint64_t FacesStart() const { return facesStart_; }

  private:
    unsigned char ByteAt(uint64_t offset) const {
        if (offset < header_.size()) return static_cast<unsigned char>(header_[offset]);
        if (offset >= facesStart_)
            return static_cast<unsigned char>(faceData_[offset - facesStart_]);
        const uint64_t vertex = (offset - header_.size()) / 4;
        const float value = float(vertex % 1000);
        unsigned char bytes[4];
        std::memcpy(bytes, &value, 4);  // the test machines are little-endian
        return bytes[(offset - header_.size()) % 4];
    }
    std::string header_;
    std::string faceData_;
    uint64_t facesStart_ = 0;
    uint64_t position_ = 0;
};

// A file made up as it is read: a head, a unit repeated, a tail. Notes the
// largest read the reader asks for, which the reader's block must hold.
class RepeatingSource : public ByteSource {
  public:
    RepeatingSource(std::string head, const std::string& unit, uint64_t repeats, std::string tail,
                    size_t* largestRead)
        : head_(std::move(head)), tail_(std::move(tail)), largestRead_(largestRead) {
        while (pattern_.size() < 4096) pattern_ += unit;
        bodySize_ = unit.size() * repeats;
    }
    size_t Read(void* destination, size_t size) override {
        if (size > *largestRead_) *largestRead_ = size;
        char* out = static_cast<char*>(destination);
        size_t done = 0;
        while (done < size && position_ < Size()) {
            const char* from;
            uint64_t available;
            const uint64_t bodyEnd = head_.size() + bodySize_;
            if (position_ < head_.size()) {
                from = head_.data() + position_;
                available = head_.size() - position_;
            } else if (position_ < bodyEnd) {
                const uint64_t at = (position_ - head_.size()) % pattern_.size();
                from = pattern_.data() + at;
                available = std::min(pattern_.size() - at, bodyEnd - position_);
            } else {
                from = tail_.data() + (position_ - bodyEnd);
                available = Size() - position_;
            }
            const size_t n = size_t(std::min<uint64_t>(available, size - done));
            std::memcpy(out + done, from, n);
            done += n;
            position_ += n;
        }
        return done;
    }
    bool Seek(uint64_t offset) override {
        if (offset > Size()) return false;
        position_ = offset;
        return true;
    }
    uint64_t Size() const override { return head_.size() + bodySize_ + tail_.size(); }

  private:
    std::string head_;
    std::string pattern_;  // whole units, at least 4 KiB
    std::string tail_;
    uint64_t bodySize_ = 0;
    uint64_t position_ = 0;
    size_t* largestRead_;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(AllEncodings, Mended, ::testing::ValuesIn(kAllFormats), ParamName);

// 1. Lines of any length are read whole, header and data alike.
TEST(MendedLongLines, HeaderLinesAreReadWhole) {
    const std::string longComment(1000, 'c');
    const std::string longName(300, 'n');
    ReaderOn file("ply\nformat ascii 1.0\ncomment " + longComment + "\nelement vertex 1\n" +
                  "property float " + longName + "\nproperty float x\nend_header\n7 8\n");
    ASSERT_TRUE(file.opened);
    ASSERT_EQ(file.reader.Comments().size(), 1u);
    EXPECT_EQ(file.reader.Comments()[0], "comment " + longComment + " ");
    ASSERT_EQ(file.reader.Element(0)->properties.size(), 2u);
    EXPECT_EQ(file.reader.Property(0, 0)->name, longName);
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 1);
    float p[3] = {0, 0, 0};
    ASSERT_TRUE(file.reader.ReadVertex(p, nullptr, nullptr, nullptr));
    EXPECT_EQ(p[0], 8.0f);
}

TEST(MendedLongLines, DataLinesAreNeverSplitIntoTwoRecords) {
    TestElement vertices{"vertex", {"float x", "float y", "float z"}, {}};
    for (int i = 0; i < 70; ++i) vertices.properties.push_back("float extra" + std::to_string(i));
    for (int r = 0; r < 3; ++r) {
        std::vector<double> record = {r + 0.125, r + 0.25, r + 0.5};
        for (int i = 0; i < 70; ++i) record.push_back(-123456.789 - i);
        vertices.records.push_back(record);
    }
    const std::string bytes = MakePly(kPlyAscii, {vertices});
    ASSERT_GT(bytes.find('\n', bytes.find("end_header") + 11) - bytes.find("end_header"), 600u);
    ReaderOn file(bytes);
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 3);
    for (int r = 0; r < 3; ++r) {
        float p[3];
        ASSERT_TRUE(file.reader.ReadVertex(p, nullptr, nullptr, nullptr))
            << file.reader.ErrorText();
        EXPECT_EQ(p[0], r + 0.125f);
        EXPECT_EQ(p[2], r + 0.5f);
    }
}

TEST(MendedLongLines, LineLongerThanTheReadBlock) {
    const int count = 100000;  // about 700 KB on one line
    std::string face = std::to_string(count);
    for (int i = 0; i < count; ++i) face += " " + std::to_string(100000 + i);
    ReaderOn file(
        "ply\nformat ascii 1.0\nelement face 2\nproperty list int int vertex_indices\n"
        "property int material_index\nend_header\n" +
        face + " 42\n3 0 1 2 7\n");
    EXPECT_EQ(file.reader.CountTriangles(), count - 2 + 1);
    ASSERT_EQ(file.reader.SeekElement(kElementFace), 2);
    FaceRecord big, small;
    ASSERT_TRUE(file.reader.ReadFace(&big.vertexCount, &big.indices, &big.material));
    EXPECT_EQ(big.vertexCount, count);
    ASSERT_EQ(big.indices.size(), size_t(count));
    EXPECT_EQ(big.indices[size_t(count - 1)], 100000 + count - 1);
    EXPECT_EQ(big.material, 42);
    ASSERT_TRUE(file.reader.ReadFace(&small.vertexCount, &small.indices, &small.material));
    EXPECT_EQ(Items(small.indices), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(small.material, 7);
}

// 2. Faces deliver all of their indices, and every list item is stepped over.
TEST_P(Mended, FacesOfMoreThan32IndicesDeliverThemAll) {
    std::vector<double> forty = {40};
    for (int i = 0; i < 40; ++i) forty.push_back(i);
    forty.push_back(9);  // material_index after the list
    TestElement faces{
        "face", {"list uchar int vertex_indices", "int material_index"}, {forty, {3, 2, 1, 0, 4}}};
    ReaderOn file(MakePly(GetParam(), {kThreeVertices, faces}));
    EXPECT_EQ(file.reader.CountTriangles(), 38 + 1);
    ASSERT_EQ(file.reader.SeekElement(kElementFace), 2);
    FaceRecord a, b;
    ASSERT_TRUE(file.reader.ReadFace(&a.vertexCount, &a.indices, &a.material));
    EXPECT_EQ(a.vertexCount, 40);
    ASSERT_EQ(a.indices.size(), 40u);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(a.indices[size_t(i)], i);
    EXPECT_EQ(a.material, 9);
    ASSERT_TRUE(file.reader.ReadFace(&b.vertexCount, &b.indices, &b.material));
    EXPECT_EQ(Items(b.indices), (std::vector<int32_t>{2, 1, 0}));
    EXPECT_EQ(b.material, 4);
}

TEST_P(Mended, FacesOf255IndicesFromAReusedList) {
    std::vector<double> big = {255};
    for (int i = 0; i < 255; ++i) big.push_back(1000 + i);
    TestElement faces{"face", {"list uchar uint vertex_indices"}, {big, {3, 5, 6, 7}, big}};
    ReaderOn file(MakePly(GetParam(), {kThreeVertices, faces}));
    ASSERT_EQ(file.reader.SeekElement(kElementFace), 3);
    IndexList indices;
    int32_t count = 0;
    ASSERT_TRUE(file.reader.ReadFace(&count, &indices, nullptr));
    EXPECT_EQ(indices.size(), 255u);
    ASSERT_TRUE(file.reader.ReadFace(&count, &indices, nullptr));
    EXPECT_EQ(Items(indices), (std::vector<int32_t>{5, 6, 7}));
    ASSERT_TRUE(file.reader.ReadFace(&count, &indices, nullptr));
    EXPECT_EQ(indices[254], 1254);
}

// 3. Offsets are 64-bit: an element that starts beyond 4 GiB is found and read.
TEST(MendedLargeFiles, ElementBeyondFourGibibytes) {
    const uint64_t vertexCount = 1500000000;  // 6 GB of vertex records
    std::string faces;
    const unsigned char faceBytes[] = {3, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 9,
                                       0, 0, 0, 8, 0, 0, 0, 7, 0, 0, 0, 6, 0, 0, 0};
    faces.assign(reinterpret_cast<const char*>(faceBytes), sizeof faceBytes);
    auto source = std::make_unique<HugeSource>(vertexCount, faces);
    const uint64_t facesStart = source->FacesStart();
    PlyReader reader;
    ASSERT_TRUE(reader.Open(std::move(source)));
    EXPECT_EQ(reader.CountTriangles(), 3);
    ASSERT_EQ(reader.SeekElement(kElementFace), 2);
    EXPECT_EQ(reader.Offset(), facesStart);
    EXPECT_GT(reader.Offset(), uint64_t(1) << 32);
    FaceRecord a, b;
    ASSERT_TRUE(reader.ReadFace(&a.vertexCount, &a.indices, nullptr));
    ASSERT_TRUE(reader.ReadFace(&b.vertexCount, &b.indices, nullptr));
    EXPECT_EQ(Items(a.indices), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(Items(b.indices), (std::vector<int32_t>{9, 8, 7, 6}));
    ASSERT_EQ(reader.SeekElement(kElementVertex), int32_t(vertexCount));
    float p[3];
    ASSERT_TRUE(reader.ReadVertex(p, nullptr, nullptr, nullptr));
    ASSERT_TRUE(reader.ReadVertex(p, nullptr, nullptr, nullptr));
    EXPECT_EQ(p[0], 1.0f);
}

// The same through the file source, over a sparse file of more than 4 GiB.
TEST(MendedLargeFiles, FileSourceSeeksBeyondFourGibibytes) {
    const uint64_t vertexCount = 1200000000;  // 4.8 GB of float x
    const std::string header = "ply\nformat binary_little_endian 1.0\nelement vertex " +
                               std::to_string(vertexCount) +
                               "\nproperty float x\nelement face 1\n"
                               "property list uchar int vertex_indices\nend_header\n";
    const unsigned char face[] = {3, 7, 0, 0, 0, 8, 0, 0, 0, 9, 0, 0, 0};
    const std::string path = ::testing::TempDir() + "ply_sparse_test.ply";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(header.data(), 1, header.size(), file);
    const uint64_t facesStart = header.size() + 4 * vertexCount;
#if defined(_WIN32)
    const bool placed = fseeko64(file, off64_t(facesStart), SEEK_SET) == 0;
#else
    const bool placed = fseeko(file, off_t(facesStart), SEEK_SET) == 0;
#endif
    const bool written = placed && std::fwrite(face, 1, sizeof face, file) == sizeof face;
    std::fclose(file);
    if (!written) {
        std::remove(path.c_str());
        GTEST_SKIP() << "cannot write a file of more than 4 GiB here";
    }
    PlyReader reader;
    ASSERT_TRUE(reader.Open(path.c_str()));
    EXPECT_EQ(reader.CountTriangles(), 1);
    ASSERT_EQ(reader.SeekElement(kElementFace), 1);
    EXPECT_EQ(reader.Offset(), facesStart);
    FaceRecord f;
    ASSERT_TRUE(reader.ReadFace(&f.vertexCount, &f.indices, nullptr));
    EXPECT_EQ(Items(f.indices), (std::vector<int32_t>{7, 8, 9}));
    reader.Close();
    std::remove(path.c_str());
}

// 4. Binary positioning steps through earlier elements with lists and
// remembers where each element starts.
TEST(MendedBinaryPositioning, ElementStartsAreRememberedOnceFound) {
    TestElement faces{"face", {"list uchar int vertex_indices"}, {}};
    for (int i = 0; i < 100000; ++i) faces.records.push_back({3, 0, 1, 2});
    const std::string bytes = MakePly(kPlyBinaryLittleEndian, {faces, kThreeVertices});
    auto source = std::make_unique<CountingSource>(bytes);
    CountingSource* counter = source.get();
    PlyReader reader;
    ASSERT_TRUE(reader.Open(std::move(source)));
    ASSERT_EQ(reader.SeekElement(kElementVertex), 3);
    EXPECT_GE(counter->bytesRead, 1300000u);  // stepped through 1.3 MB of faces
    float p[3];
    ASSERT_TRUE(reader.ReadVertex(p, nullptr, nullptr, nullptr));
    ASSERT_EQ(reader.SeekElement(kElementFace), 100000);
    FaceRecord f;
    ASSERT_TRUE(reader.ReadFace(&f.vertexCount, &f.indices, nullptr));
    const uint64_t before = counter->bytesRead;
    ASSERT_EQ(reader.SeekElement(kElementVertex), 3);
    ASSERT_TRUE(reader.ReadVertex(p, nullptr, nullptr, nullptr));
    ASSERT_TRUE(reader.ReadVertex(p, nullptr, nullptr, nullptr));
    EXPECT_EQ(p[0], 1.0f);
    EXPECT_LE(counter->bytesRead - before, 64u);
}

// 5. Headers that cannot describe data fail.
TEST(MendedHeader, MissingEndHeaderIsAHeaderError) {
    ReaderOn file("ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\n1\n");
    EXPECT_FALSE(file.opened);
    EXPECT_EQ(file.reader.ErrorText(), "error in ply-header");
    ReaderOn magicOnly("ply");
    EXPECT_FALSE(magicOnly.opened);
    EXPECT_EQ(magicOnly.reader.ErrorText(), "error in ply-header");
}

TEST(MendedHeader, NegativeElementCountIsAHeaderError) {
    ReaderOn file("ply\nformat ascii 1.0\nelement vertex -1\nproperty float x\nend_header\n");
    EXPECT_FALSE(file.opened);
    EXPECT_EQ(file.reader.ErrorText(), "error in ply-header");
}

// 6. A value that runs past the end of the file is a read error.
TEST_P(Mended, TruncatedRecordsAreReadErrors) {
    struct Case {
        TestElement element;
        const char* message;
    };
    const Case cases[] = {
        {{"vertex", {"float x", "double y", "uchar red"}, {{1, 2, 3}, {4, 5, 6}}},
         "Vertex-Reader: file read error"},
        {{"face",
          {"list uchar int vertex_indices", "int material_index"},
          {{3, 0, 1, 2, 1}, {3, 0, 1, 2, 1}}},
         "Face-Reader: file read error"},
        {{"material", {"float diffuse_red", "double opacity"}, {{0.5, 1}, {0.5, 1}}},
         "Material-Reader: file read error"},
    };
    const int kinds[] = {kElementVertex, kElementFace, kElementMaterial};
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(cases[c].message);
        std::string bytes = MakePly(GetParam(), {cases[c].element});
        // Binary: cut inside the second record; ASCII: drop its line.
        const size_t lastLineStart = bytes.rfind('\n', bytes.size() - 2) + 1;
        bytes.resize(GetParam() == kPlyAscii ? lastLineStart : bytes.size() - 3);
        ReaderOn file(bytes);
        ASSERT_EQ(file.reader.SeekElement(kinds[c]), 2);
        VertexRecord v;
        FaceRecord f;
        PlyMaterial m;
        auto read = [&] {
            switch (kinds[c]) {
                case kElementVertex:
                    return file.reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour);
                case kElementFace:
                    return file.reader.ReadFace(&f.vertexCount, &f.indices, &f.material);
                default:
                    return file.reader.ReadMaterial(&m);
            }
        };
        EXPECT_TRUE(read());
        EXPECT_FALSE(read());
        EXPECT_EQ(file.reader.ErrorText(), cases[c].message);
    }
}

TEST_P(Mended, TruncatedFacesFailTheCount) {
    TestElement faces{"face", {"list uchar int vertex_indices"}, {{3, 0, 1, 2}, {4, 0, 1, 2, 3}}};
    std::string bytes = MakePly(GetParam(), {kThreeVertices, faces});
    const size_t lastLineStart = bytes.rfind('\n', bytes.size() - 2) + 1;
    bytes.resize(GetParam() == kPlyAscii ? lastLineStart : bytes.size() - 2);
    ReaderOn file(bytes);
    EXPECT_EQ(file.reader.CountTriangles(), 0);
    EXPECT_EQ(file.reader.ErrorText(), "file read error");
}

TEST(MendedTruncation, ListLongerThanTheRestOfTheFileAllocatesNothing) {
    const std::string bytes =
        "ply\nformat binary_little_endian 1.0\nelement face 1\n"
        "property list int int vertex_indices\nend_header\n" +
        std::string("\xff\xff\xff\x7f", 4) + std::string(16, '\0');
    ReaderOn file(bytes);
    EXPECT_EQ(file.reader.CountTriangles(), 0);
    EXPECT_EQ(file.reader.ErrorText(), "file read error");
    ASSERT_EQ(file.reader.SeekElement(kElementFace), 1);
    FaceRecord f;
    EXPECT_FALSE(file.reader.ReadFace(&f.vertexCount, &f.indices, nullptr));
    EXPECT_EQ(file.reader.ErrorText(), "Face-Reader: file read error");
    EXPECT_LT(f.indices.capacity(), 100u);
}

// 7. Faces of fewer than three indices add no triangles.
TEST_P(Mended, ShortFacesCountNoTriangles) {
    TestElement faces{"face",
                      {"list uchar int vertex_indices"},
                      {{2, 0, 1}, {3, 0, 1, 2}, {1, 0}, {0}, {4, 0, 1, 2, 0}}};
    ReaderOn file(MakePly(GetParam(), {kThreeVertices, faces}));
    EXPECT_EQ(file.reader.CountTriangles(), 1 + 2);
}

// 8. An ASCII face line holding fewer items than it announces is a read error.
TEST(MendedAsciiFaces, ShortListIsAReadError) {
    const std::string header =
        "ply\nformat ascii 1.0\nelement face 2\n"
        "property list uchar int vertex_indices\nend_header\n";
    ReaderOn file(header + "4 0 1 2\n3 0 1 2\n");
    ASSERT_EQ(file.reader.SeekElement(kElementFace), 2);
    FaceRecord f;
    EXPECT_FALSE(file.reader.ReadFace(&f.vertexCount, &f.indices, nullptr));
    EXPECT_EQ(file.reader.ErrorText(), "Face-Reader: file read error");

    ReaderOn texcoord(
        "ply\nformat ascii 1.0\nelement face 1\n"
        "property list uchar int vertex_indices\n"
        "property list uchar float texcoord\nend_header\n3 0 1 2 6 0 0 1\n");
    ASSERT_EQ(texcoord.reader.SeekElement(kElementFace), 1);
    EXPECT_FALSE(texcoord.reader.ReadFace(&f.vertexCount, &f.indices, nullptr));
    EXPECT_EQ(texcoord.reader.ErrorText(), "Face-Reader: file read error");
}

// 9. Further lists and strings of a face are stepped over by their own length.
TEST_P(Mended, FacesWithFurtherListsAndStrings) {
    TestElement faces{
        "face",
        {"list uchar int vertex_indices", "list uchar float texcoord", "int texnumber",
         "string label", "uchar red", "uchar green", "uchar blue", "list uchar int vertex_indices",
         "int material_index"},
        {{3, 0, 1, 2, 6, 0, 0, 1, 0, 1, 1, 1, 2, 'a', 'b', 10, 20, 30, 2, 7, 7, 3},
         {4, 2, 1, 0, 1, 0, 0, 1, 'z', 40, 50, 60, 0, 5},
         {3, 1, 2, 0, 2, 0.5, 0.5, 2, 3, 'x', 'y', 'z', 1, 2, 3, 5, 1, 1, 1, 1, 1, 4}}};
    ReaderOn file(MakePly(GetParam(), {kThreeVertices, faces}));
    EXPECT_EQ(file.reader.CountTriangles(), 1 + 2 + 1);
    ASSERT_EQ(file.reader.SeekElement(kElementFace), 3);
    FaceRecord a, b, c;
    ASSERT_TRUE(file.reader.ReadFace(&a.vertexCount, &a.indices, &a.material));
    ASSERT_TRUE(file.reader.ReadFace(&b.vertexCount, &b.indices, &b.material));
    ASSERT_TRUE(file.reader.ReadFace(&c.vertexCount, &c.indices, &c.material));
    EXPECT_EQ(Items(a.indices), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(a.material, 3);
    EXPECT_EQ(Items(b.indices), (std::vector<int32_t>{2, 1, 0, 1}));
    EXPECT_EQ(b.material, 5);
    EXPECT_EQ(Items(c.indices), (std::vector<int32_t>{1, 2, 0}));
    EXPECT_EQ(c.material, 4);
    EXPECT_FALSE(file.reader.ReadFace(&c.vertexCount, &c.indices, &c.material));
}

// 10. Header lines ending with a lone carriage return, in every encoding.
TEST_P(Mended, LoneCarriageReturnLineBreaks) {
    TestElement faces{"face", {"list uchar int vertex_indices"}, {{3, 0, 1, 2}, {3, 2, 1, 0}}};
    // Binary data that starts with a line feed and holds carriage returns.
    TestElement vertices{
        "vertex", {"uchar x", "uchar y", "uchar z"}, {{10, 13, 10}, {13, 13, 0}, {1, 2, 3}}};
    ReaderOn file(MakePly(GetParam(), {vertices, faces}, "\r"));
    ASSERT_TRUE(file.opened) << file.reader.ErrorText();
    const std::vector<std::string> lines = ReadEverything(file.reader);
    ReaderOn plain(MakePly(GetParam(), {vertices, faces}));
    EXPECT_EQ(lines, ReadEverything(plain.reader));
    EXPECT_EQ(lines[1], "triangles 2");
    EXPECT_EQ(lines[3], "v 10 13 10 0 0 0 0 0 0 0 0 0");
    EXPECT_EQ(lines.back(), "f 3 2 1 0 -1");
}

// Names real exporters write for vertex_indices, u and v.
TEST_P(Mended, RealExporterNames) {
    TestElement vertices{"vertex",
                         {"float x", "float y", "float z", "float texture_u", "float texture_v"},
                         {{0, 0, 0, 0.25, 0.5}, {1, 0, 0, 1, 0}, {0, 1, 0, 0, 1}}};
    TestElement faces{"face", {"list uchar int vertex_index"}, {{3, 0, 1, 2}}};
    ReaderOn file(MakePly(GetParam(), {vertices, faces}));
    const std::vector<std::string> lines = ReadEverything(file.reader);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[1], "triangles 1");
    EXPECT_EQ(lines[2], "vertices 3 5");
    EXPECT_EQ(lines[3], "v 0 0 0 0 0 0 0.25 0.5 0 0 0 0");
    EXPECT_EQ(lines[6], "f 3 0 1 2 -1");
}

// 11. The header takes little memory whatever the file holds: the magic check
// looks at the first token only, over-long lines are not kept whole, and
// comments beyond the header's share of memory are dropped.
TEST(MendedHeaderMemory, HugeLinesAndCountlessCommentsKeepTheHeaderSmall) {
    const uint64_t huge = uint64_t(300) << 20;
    const std::string schema =
        "format ascii 1.0\nelement vertex 1\nproperty float x\nend_header\n5\n";
    struct Case {
        std::string head, unit;
        uint64_t repeats;
        std::string tail, error;
    };
    const Case cases[] = {
        {"", "x", huge, "", "this is not a ply-file"},            // no line break at all
        {"ply\ncomment ", "c", huge, "\n" + schema, ""},          // one huge comment
        {"ply\n", "comment one of many\n", 1000000, schema, ""},  // countless comments
        {"ply\nobj_info ", "i ", huge / 2, "\n" + schema, ""},    // a huge obj_info
        {"ply\n", " ", huge, "\n" + schema, ""},                  // a huge blank line
        {"ply\nelement vertex 1\nproperty float ", "x", huge, "\nend_header\n5\n",
         "error in ply-header"},  // a property line too long to be real
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.head + c.unit);
        size_t largestRead = 0;
        PlyReader reader;
        const bool opened = reader.Open(
            std::make_unique<RepeatingSource>(c.head, c.unit, c.repeats, c.tail, &largestRead));
        EXPECT_LE(largestRead, InputBuffer::kDefaultBlockSize);
        if (!c.error.empty()) {
            EXPECT_FALSE(opened);
            EXPECT_EQ(reader.ErrorText(), c.error);
            continue;
        }
        ASSERT_TRUE(opened) << reader.ErrorText();
        size_t kept = 0;
        for (const std::string& line : reader.Comments()) kept += line.size() + sizeof line;
        for (const std::string& line : reader.ObjInfos()) kept += line.size() + sizeof line;
        EXPECT_LE(kept, size_t(4) << 20);
        ASSERT_EQ(reader.SeekElement(kElementVertex), 1);
        float p[3] = {0, 0, 0};
        ASSERT_TRUE(reader.ReadVertex(p, nullptr, nullptr, nullptr));
        EXPECT_EQ(p[0], 5.0f);
    }
}

// 12. List items of an invalid type take no bytes in binary files and read
// as 0 (ASCII: each takes a token and reads as 0); the count agrees.
TEST_P(Mended, IndexItemsOfAnInvalidTypeCountAndReadAlike) {
    TestElement faces{"face",
                      {"list uchar nosuchtype vertex_indices", "int material_index"},
                      {{3, 5, 6, 7, 1}, {4, 5, 6, 7, 8, 2}}};
    ReaderOn file(MakePly(GetParam(), {kThreeVertices, faces}));
    const std::vector<std::string> lines = ReadEverything(file.reader);
    ASSERT_EQ(lines.size(), 3u + 3u + 2u) << lines.back();
    EXPECT_EQ(lines[1], "triangles 3");
    EXPECT_EQ(lines[6], "f 3 0 0 0 1");
    EXPECT_EQ(lines[7], "f 4 0 0 0 0 2");
}

// A binary list of such items is still no longer than the rest of the file:
// a damaged length fails the count and the read alike, allocating nothing.
TEST(MendedInvalidTypes, ListOfNoByteItemsLongerThanTheFileFails) {
    const std::string header =
        "ply\nformat binary_little_endian 1.0\nelement face 1\n"
        "property list int nosuchtype vertex_indices\nend_header\n";
    const std::string length("\x00\x00\x00\x40", 4);  // 2^30 items
    ReaderOn file(header + length + std::string(100, '\0'));
    EXPECT_EQ(file.reader.CountTriangles(), 0);
    EXPECT_EQ(file.reader.ErrorText(), "file read error");
    ASSERT_EQ(file.reader.SeekElement(kElementFace), 1);
    FaceRecord f;
    EXPECT_FALSE(file.reader.ReadFace(&f.vertexCount, &f.indices, nullptr));
    EXPECT_EQ(file.reader.ErrorText(), "Face-Reader: file read error");
    EXPECT_EQ(f.indices.capacity(), 0u);
}
