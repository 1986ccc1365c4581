#include "hostapp/viewer/bmpwriter.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/hostapp/bmpreader.h"

namespace {

Image Gradient(int w, int h) {
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = image.Pixel(x, y);
            p[0] = uint8_t(x * 10), p[1] = uint8_t(y * 20), p[2] = uint8_t(x + y);
        }
    return image;
}

TEST(BmpWriterTest, HeadersDescribeA24BitBottomUpPicture) {
    std::vector<uint8_t> b = EncodeBmp24(Gradient(3, 2));
    ASSERT_EQ(b.size(), 54u + 12u * 2);  // 3 pixels = 9 bytes, padded to 12
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(b[2], 78);   // file size, low byte
    EXPECT_EQ(b[10], 54);  // pixel data offset
    EXPECT_EQ(b[14], 40);  // info header size
    EXPECT_EQ(b[18], 3);   // width
    EXPECT_EQ(b[22], 2);   // height, positive
    EXPECT_EQ(b[26], 1);   // planes
    EXPECT_EQ(b[28], 24);  // bits per pixel
    EXPECT_EQ(b[30], 0);   // no compression
    EXPECT_EQ(b[34], 24);  // image size
}

TEST(BmpWriterTest, RowsAreBottomUpInBlueGreenRedOrderWithZeroPadding) {
    Image image = Gradient(3, 2);
    std::vector<uint8_t> b = EncodeBmp24(image);
    // First stored row is the picture's last row (y = 1).
    const uint8_t* p = image.Pixel(0, 1);
    EXPECT_EQ(b[54], p[2]);
    EXPECT_EQ(b[55], p[1]);
    EXPECT_EQ(b[56], p[0]);
    EXPECT_EQ(b[54 + 9], 0);
    EXPECT_EQ(b[54 + 11], 0);
    const uint8_t* q = image.Pixel(2, 0);
    EXPECT_EQ(b[54 + 12 + 6], q[2]);
    EXPECT_EQ(b[54 + 12 + 8], q[0]);
}

TEST(BmpWriterTest, RoundTripThroughAFile) {
    Image image = Gradient(13, 7);
    std::string path = testing::TempDir() + "plyhost_bmp_roundtrip.bmp";
    WriteResult r = WriteBmpFile(path, image);
    ASSERT_TRUE(r.ok) << r.reason;
    BmpInfo info;
    Image back;
    std::string reason;
    ASSERT_TRUE(DecodeBmp24(ReadWholeFile(path), info, back, reason)) << reason;
    EXPECT_EQ(back.width, 13);
    EXPECT_EQ(back.height, 7);
    EXPECT_EQ(back.rgb, image.rgb);
    std::remove(path.c_str());
}

TEST(BmpWriterTest, UnwritablePathGivesAReasonNamingIt) {
    std::string path = testing::TempDir() + "no-such-folder-plyhost/x.bmp";
    WriteResult r = WriteBmpFile(path, Gradient(2, 2));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.reason.find(path), std::string::npos);
}

}  // namespace
