// The header grammar and every message of Open.
#include <gtest/gtest.h>

#include <string>

#include "tests/ply/ply_test_files.h"

namespace {

const char* const kLinefeedMessage =
    "binary ply contains linefeeds !!\n\nyou extracted a *.ply.gz with: \"TAR file smart CR/LF "
    "conversion\" turned on ?\n\ncheck your unzipper...";

const std::string kTriangleHeaderBody =
    "element vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
    "element face 1\nproperty list uchar int vertex_indices\nend_header\n";

std::string OpenError(const std::string& bytes) {
    ReaderOn file(bytes);
    EXPECT_FALSE(file.opened);
    return file.reader.ErrorText();
}

}  // namespace

TEST(HeaderMagic, AcceptsUpperCaseLeadingBlanksAndFurtherTokens) {
    EXPECT_TRUE(ReaderOn("PLY\nformat ascii 1.0\nend_header\n").opened);
    EXPECT_TRUE(ReaderOn("   ply extra tokens\nformat ascii 1.0\nend_header\n").opened);
    EXPECT_TRUE(ReaderOn("\tPlY\nend_header\n").opened);
}

TEST(HeaderMagic, RejectsOtherFirstTokensAndEmptyFiles) {
    EXPECT_EQ(OpenError("plyx\nformat ascii 1.0\nend_header\n"), "this is not a ply-file");
    EXPECT_EQ(OpenError("\nply\nend_header\n"), "this is not a ply-file");
    EXPECT_EQ(OpenError(""), "this is not a ply-file");
    EXPECT_EQ(OpenError("pl"), "this is not a ply-file");
    EXPECT_EQ(OpenError("solid cube\n"), "this is not a ply-file");
}

TEST(HeaderMagic, MissingFileIsReported) {
    PlyReader reader;
    EXPECT_FALSE(reader.Open("/nonexistent/dir/none.ply"));
    EXPECT_EQ(reader.ErrorText(), "file not found");
}

TEST(HeaderFormat, WrongTokenCountIsAHeaderError) {
    EXPECT_EQ(OpenError("ply\nformat ascii\nend_header\n"), "error in ply-header");
    EXPECT_EQ(OpenError("ply\nformat ascii 1.0 extra\nend_header\n"), "error in ply-header");
}

TEST(HeaderFormat, UnknownEncodingIsReported) {
    EXPECT_EQ(OpenError("ply\nformat binary_middle_endian 1.0\nend_header\n"),
              "unknown ply-format");
}

TEST(HeaderFormat, EncodingNamesInAnyCaseAndTheLastFormatLineWins) {
    ReaderOn file("ply\nFORMAT ASCII 2.0\nformat Binary_Little_Endian 1.5\nend_header\n");
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.reader.Format(), kPlyBinaryLittleEndian);
    EXPECT_EQ(file.reader.Version(), "1.5");
}

TEST(HeaderFormat, NoFormatLineMeansAscii) {
    ReaderOn file("ply\n" + kTriangleHeaderBody + "0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n");
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.reader.Format(), kPlyAscii);
    EXPECT_EQ(file.reader.Version(), "");
    EXPECT_EQ(file.reader.CountTriangles(), 1);
}

TEST(HeaderLineBreaks, AsciiWithCarriageReturnLineFeedReadsNormally) {
    std::string text =
        "ply\r\nformat ascii 1.0\r\nelement vertex 1\r\nproperty float x\r\n"
        "end_header\r\n2.5\r\n";
    ReaderOn file(text);
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.reader.DataStart(), text.find("2.5"));
    EXPECT_EQ(file.reader.Element(0)->name, "vertex");
    EXPECT_EQ(file.reader.Property(0, 0)->name, "x");
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 1);
    float position[3] = {0, 0, 0};
    ASSERT_TRUE(file.reader.ReadVertex(position, nullptr, nullptr, nullptr));
    EXPECT_EQ(position[0], 2.5f);
}

TEST(HeaderLineBreaks, BinaryWithCarriageReturnLineFeedGetsTheLinefeedMessage) {
    for (const char* format : {"binary_little_endian", "binary_big_endian"}) {
        SCOPED_TRACE(format);
        const std::string complete =
            std::string("ply\r\nformat ") + format +
            " 1.0\r\nelement vertex 0\r\nproperty float x\r\nend_header\r\n";
        EXPECT_EQ(OpenError(complete), kLinefeedMessage);
        // Also when the header has another fault.
        EXPECT_EQ(
            OpenError(std::string("ply\r\nformat ") + format + " 1.0\r\nelement vertex 0\r\n"),
            kLinefeedMessage);
    }
    EXPECT_EQ(std::string(kLinefeedMessage).size(), 134u);
}

// Text converted to CR LF twice ends its lines with CR CR LF: a line-feed
// file, not one of lone carriage returns.
TEST(HeaderLineBreaks, CarriageReturnsBeforeALineFeedAreNotLoneCarriageReturns) {
    const TestElement vertices{
        "vertex", {"float x", "float y", "float z"}, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}};
    const TestElement faces{"face", {"list uchar int vertex_indices"}, {{3, 0, 1, 2}}};
    ReaderOn twice(MakePly(kPlyAscii, {vertices, faces}, "\r\r\n"));
    ReaderOn plain(MakePly(kPlyAscii, {vertices, faces}));
    ASSERT_TRUE(twice.opened) << twice.reader.ErrorText();
    EXPECT_EQ(ReadEverything(twice.reader), ReadEverything(plain.reader));
    for (PlyFormat format : {kPlyBinaryBigEndian, kPlyBinaryLittleEndian}) {
        EXPECT_EQ(OpenError(MakePly(format, {vertices, faces}, "\r\r\n")), kLinefeedMessage);
    }
}

TEST(HeaderLineBreaks, DataStartIsJustPastTheEndHeaderLineBreak) {
    const std::string header =
        "ply\nformat binary_little_endian 1.0\nelement vertex 1\n"
        "property uchar x\nend_header\n";
    ReaderOn file(header + "\n");  // the data's first byte is a line feed
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.reader.DataStart(), header.size());
    EXPECT_EQ(file.reader.Offset(), header.size());
    float position[3] = {-1, -1, -1};
    ASSERT_EQ(file.reader.SeekElement(kElementVertex), 1);
    ASSERT_TRUE(file.reader.ReadVertex(position, nullptr, nullptr, nullptr));
    EXPECT_EQ(position[0], 10.0f);
}

TEST(HeaderComments, KeepTheirTokensJoinedByOneSpace) {
    ReaderOn file(
        "ply\nformat ascii 1.0\ncomment   made  by\tthe test\n"
        "element vertex 0\ncomment after the element\nobj_info  scanner 7\n"
        "property float x\nend_header\n");
    ASSERT_TRUE(file.opened);
    ASSERT_EQ(file.reader.Comments().size(), 2u);
    EXPECT_EQ(file.reader.Comments()[0], "comment made by the test ");
    EXPECT_EQ(file.reader.Comments()[1], "comment after the element ");
    ASSERT_EQ(file.reader.ObjInfos().size(), 1u);
    EXPECT_EQ(file.reader.ObjInfos()[0], "obj_info scanner 7 ");
    // The comment between the element and its property does not disturb the schema.
    ASSERT_EQ(file.reader.NumElements(), 1);
    EXPECT_EQ(file.reader.Element(0)->properties.size(), 1u);
}

// Comments share 1 MiB, each charged its kept text and one string: comments
// that fill the share exactly are all kept, and one byte more drops the last.
TEST(HeaderComments, ShareIsKeptToItsLastByte) {
    const size_t share = size_t(1) << 20;
    // "comment " and the blank after the text, besides the string itself.
    const size_t overhead = sizeof(std::string) + 9;
    for (size_t over : {0, 1}) {
        std::string header = "ply\nformat ascii 1.0\n";
        size_t comments = 0;
        for (size_t left = share + over; left > 0; ++comments) {
            const size_t charge = left < 50000 ? left : 50000;  // lines well under 64 KiB
            header += "comment " + std::string(charge - overhead, 'c') + "\n";
            left -= charge;
        }
        ReaderOn file(header + "end_header\n");
        ASSERT_TRUE(file.opened);
        EXPECT_EQ(file.reader.Comments().size(), comments - over) << "over by " << over;
    }
}

TEST(HeaderLines, UnknownAndEmptyLinesAreIgnored) {
    ReaderOn file(
        "ply\nformat ascii 1.0\n\nsomething else\nelement vertex 2\n  \n"
        "property float x\nvendor_data 1 2 3\nend_header\n1\n2\n");
    ASSERT_TRUE(file.opened);
    ASSERT_EQ(file.reader.NumElements(), 1);
    EXPECT_EQ(file.reader.Element(0)->count, 2);
    EXPECT_EQ(file.reader.Element(0)->properties.size(), 1u);
}

TEST(HeaderLines, PropertyBeforeAnyElementIsIgnored) {
    ReaderOn file("ply\nformat ascii 1.0\nproperty float x\nelement vertex 0\nend_header\n");
    ASSERT_TRUE(file.opened);
    ASSERT_EQ(file.reader.NumElements(), 1);
    EXPECT_TRUE(file.reader.Element(0)->properties.empty());
}

TEST(HeaderLines, KeywordsAndNamesInAnyCase) {
    ReaderOn file(
        "ply\nFORMAT ascii 1.0\nELEMENT VERTEX 1\nPROPERTY FLOAT X\nProperty Float Y\n"
        "PROPERTY float z\nEnd_Header\n1 2 3\n");
    ASSERT_TRUE(file.opened);
    uint32_t flags = 0;
    ASSERT_EQ(file.reader.SeekElement(kElementVertex, &flags), 1);
    EXPECT_EQ(flags, uint32_t(kFlagPositions));
    EXPECT_EQ(file.reader.Property(0, 0)->role, kRoleX);
    EXPECT_EQ(file.reader.Property(0, 0)->valueType, kPlyFloat32);
    float position[3] = {0, 0, 0};
    ASSERT_TRUE(file.reader.ReadVertex(position, nullptr, nullptr, nullptr));
    EXPECT_EQ(position[2], 3.0f);
}

TEST(HeaderLines, ElementCountsConvertLikeAtoi) {
    ReaderOn file("ply\nformat ascii 1.0\nelement a 12abc\nelement b\nelement c +3\nend_header\n");
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.reader.Element(0)->count, 12);
    EXPECT_EQ(file.reader.Element(1)->count, 0);
    EXPECT_EQ(file.reader.Element(2)->count, 3);
}

TEST(HeaderLines, MalformedElementAndPropertyLinesYieldEmptyNames) {
    ReaderOn file("ply\nformat ascii 1.0\nelement\nproperty\nproperty list\nend_header\n");
    ASSERT_TRUE(file.opened);
    ASSERT_EQ(file.reader.NumElements(), 1);
    const PlyElement& element = *file.reader.Element(0);
    EXPECT_EQ(element.name, "");
    EXPECT_EQ(element.count, 0);
    ASSERT_EQ(element.properties.size(), 2u);
    EXPECT_EQ(element.properties[0].valueType, kPlyInvalid);
    EXPECT_EQ(element.properties[1].kind, kPropertyList);
    EXPECT_EQ(element.properties[1].name, "");
}

TEST(MaterialCount, CountOfTheFirstMaterialElement) {
    ReaderOn file("ply\nformat ascii 1.0\nelement material 2\nelement Material 5\nend_header\n");
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.reader.MaterialCount(), 2);
    ReaderOn none("ply\nformat ascii 1.0\nelement vertex 2\nend_header\n");
    EXPECT_EQ(none.reader.MaterialCount(), 0);
}

TEST(ReaderLifecycle, OneReaderServesManyOpens) {
    PlyReader reader;
    const std::string bad = "not a ply";
    EXPECT_FALSE(reader.OpenMemory(bad.data(), bad.size()));
    EXPECT_EQ(reader.ErrorText(), "this is not a ply-file");
    const std::string good =
        "ply\nformat binary_big_endian 1.0\ncomment c\nelement vertex 0\n"
        "end_header\n";
    ASSERT_TRUE(reader.OpenMemory(good.data(), good.size()));
    // A successful Open does not clear the last message.
    EXPECT_EQ(reader.ErrorText(), "this is not a ply-file");
    EXPECT_EQ(reader.Format(), kPlyBinaryBigEndian);
    const std::string other = "ply\nelement face 1\nend_header\n";
    ASSERT_TRUE(reader.OpenMemory(other.data(), other.size()));
    EXPECT_EQ(reader.Format(), kPlyAscii);
    EXPECT_TRUE(reader.Comments().empty());
    EXPECT_EQ(reader.NumElements(), 1);
    EXPECT_EQ(reader.Element(0)->name, "face");
}

TEST(ReaderLifecycle, NothingIsReadAfterAFailedOpen) {
    ReaderOn file("ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\n");
    EXPECT_FALSE(file.opened);
    EXPECT_EQ(file.reader.SeekElement(kElementVertex), 0);
    float position[3] = {7, 7, 7};
    EXPECT_FALSE(file.reader.ReadVertex(position, nullptr, nullptr, nullptr));
    EXPECT_EQ(file.reader.ErrorText(), "Vertex-Reader: file read error");
    EXPECT_EQ(position[0], 7.0f);
}
