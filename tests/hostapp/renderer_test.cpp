#include "hostapp/renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const Rgb kWhite = {1, 1, 1};

bool IsBackground(const uint8_t* p) {
    return p[0] == kViewportBackground[0] && p[1] == kViewportBackground[1] &&
           p[2] == kViewportBackground[2];
}

int CountDrawn(const Image& image) {
    int n = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) n += !IsBackground(image.Pixel(x, y));
    return n;
}

RenderTriangle Tri(Vec3 a, Vec3 b, Vec3 c, Rgb colour) {
    return {{a, b, c}, {colour, colour, colour}};
}

// A square facing the camera's general direction (the XZ plane at y = yAt).
std::vector<RenderTriangle> Square(float half, float yAt, Rgb colour) {
    return {Tri({-half, yAt, -half}, {half, yAt, -half}, {half, yAt, half}, colour),
            Tri({-half, yAt, -half}, {half, yAt, half}, {-half, yAt, half}, colour)};
}

TEST(RendererTest, EmptySceneIsAllBackground) {
    Image image = RenderView({}, DefaultViewFrame(), 64, 48);
    ASSERT_EQ(image.width, 64);
    ASSERT_EQ(image.height, 48);
    EXPECT_EQ(CountDrawn(image), 0);
}

TEST(RendererTest, ZeroOrNegativeSizeGivesEmptyPicture) {
    EXPECT_TRUE(RenderView(Square(1, 0, kWhite), DefaultViewFrame(), 0, 10).rgb.empty());
    EXPECT_TRUE(RenderView(Square(1, 0, kWhite), DefaultViewFrame(), 10, -3).rgb.empty());
}

TEST(RendererTest, ZoomedSquareCoversTheCentreAndLeavesTheCorners) {
    auto tris = Square(1, 0, kWhite);
    Image image = RenderView(tris, FrameToExtents(tris, 80, 60), 80, 60);
    EXPECT_FALSE(IsBackground(image.Pixel(40, 30)));
    EXPECT_TRUE(IsBackground(image.Pixel(0, 0)));
    EXPECT_TRUE(IsBackground(image.Pixel(79, 59)));
}

TEST(RendererTest, FlatShadingGivesOneColourPerFlatFace) {
    auto tris = Square(1, 0, kWhite);
    Image image = RenderView(tris, FrameToExtents(tris, 80, 60), 80, 60);
    const uint8_t* centre = image.Pixel(40, 30);
    EXPECT_EQ(centre[0], centre[1]);
    EXPECT_EQ(centre[1], centre[2]);
    EXPECT_GT(centre[0], 64);  // lit, not only ambient
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 80; ++x) {
            const uint8_t* p = image.Pixel(x, y);
            if (!IsBackground(p)) {
                EXPECT_EQ(p[0], centre[0]) << x << "," << y;
            }
        }
    }
}

TEST(RendererTest, NearerSurfaceWinsWhateverTheOrder) {
    // The camera looks from -Y toward +Y: the square at y = -0.25 is in front,
    // and both are large enough for the centre's line of sight to cross both.
    auto front = Square(5, -0.25f, {1, 0, 0});
    auto back = Square(5, 0.25f, {0, 0, 1});
    std::vector<RenderTriangle> frontFirst = front, backFirst = back;
    frontFirst.insert(frontFirst.end(), back.begin(), back.end());
    backFirst.insert(backFirst.end(), front.begin(), front.end());
    ViewFrame frame = FrameToExtents(frontFirst, 80, 60);
    for (const auto& tris : {frontFirst, backFirst}) {
        Image image = RenderView(tris, frame, 80, 60);
        const uint8_t* p = image.Pixel(40, 30);
        EXPECT_GT(p[0], 0);
        EXPECT_EQ(p[2], 0);
    }
}

TEST(RendererTest, CornerColoursBlendAcrossTheTriangle) {
    RenderTriangle t = {{{-1, 0, -1}, {1, 0, -1}, {0, 0, 1}}, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    std::vector<RenderTriangle> tris = {t};
    Image image = RenderView(tris, FrameToExtents(tris, 100, 100), 100, 100);
    // Find a pixel near each corner: each is dominated by its corner's channel.
    int reds = 0, greens = 0, blues = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const uint8_t* p = image.Pixel(x, y);
            if (IsBackground(p)) continue;
            reds += p[0] > 2 * (p[1] + p[2]);
            greens += p[1] > 2 * (p[0] + p[2]);
            blues += p[2] > 2 * (p[0] + p[1]);
        }
    EXPECT_GT(reds, 0);
    EXPECT_GT(greens, 0);
    EXPECT_GT(blues, 0);
}

TEST(RendererTest, ExtentsFitTheWholeSceneWithAMargin) {
    auto tris = Square(50, 0, kWhite);
    Image image = RenderView(tris, FrameToExtents(tris, 200, 100), 200, 100);
    int minX = 200, maxX = -1, minY = 100, maxY = -1;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (!IsBackground(image.Pixel(x, y))) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    EXPECT_GT(minX, 0);
    EXPECT_GT(minY, 0);
    EXPECT_LT(maxX, 199);
    EXPECT_LT(maxY, 99);
    // Zoomed, not lost in the middle: the limiting direction spans most of the picture.
    EXPECT_GT(std::max(double(maxX - minX) / 200, double(maxY - minY) / 100), 0.8);
}

TEST(RendererTest, RoundObjectFillsTheFrameAsTightlyAsABox) {
    // An octahedron: its bounding box seen from three-quarters is much larger than it is.
    const Vec3 v[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    std::vector<RenderTriangle> tris;
    for (int a : {0, 1})
        for (int b : {2, 3})
            for (int c : {4, 5}) tris.push_back(Tri(v[a], v[b], v[c], kWhite));
    Image image = RenderView(tris, FrameToExtents(tris, 100, 100), 100, 100);
    int minY = 100, maxY = -1;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if (!IsBackground(image.Pixel(x, y)))
                minY = std::min(minY, y), maxY = std::max(maxY, y);
    EXPECT_GT(maxY - minY, 85);
    EXPECT_GT(minY, 0);
    EXPECT_LT(maxY, 99);
}

TEST(RendererTest, DefaultFrameWithoutTriangles) {
    ViewFrame f = FrameToExtents({}, 800, 600);
    EXPECT_EQ(f.halfHeight, DefaultViewFrame().halfHeight);
    EXPECT_EQ(f.center.x, 0);
}

TEST(RendererTest, DegenerateSceneStillGetsAUsableFrame) {
    RenderTriangle point = Tri({5, 5, 5}, {5, 5, 5}, {5, 5, 5}, kWhite);
    ViewFrame f = FrameToExtents({point}, 800, 600);
    EXPECT_GT(f.halfHeight, 0);
    EXPECT_FLOAT_EQ(f.center.x, 5);
    EXPECT_EQ(CountDrawn(RenderView({point}, f, 80, 60)), 0);  // no area, nothing drawn
}

// Importers pass colours on as the file has them; a NaN one draws black.
TEST(RendererTest, NaNColourDrawsBlack) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<RenderTriangle> tris = Square(1, 0, {nan, nan, nan});
    Image image = RenderView(tris, FrameToExtents(tris, 40, 40), 40, 40);
    int black = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const uint8_t* p = image.Pixel(x, y);
            black += p[0] == 0 && p[1] == 0 && p[2] == 0;
        }
    EXPECT_GT(black, 0);
    EXPECT_EQ(black, CountDrawn(image));
}

TEST(RendererTest, NonFiniteAndHugeCornersAreSkippedSafely) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<RenderTriangle> tris = {
        Tri({nan, 0, 0}, {1, 0, 0}, {0, 0, 1}, kWhite),
        Tri({inf, 0, 0}, {1, 0, 0}, {0, 0, 1}, kWhite),
        Tri({-3e38f, 0, -3e38f}, {3e38f, 0, -3e38f}, {0, 0, 3e38f}, kWhite)};
    ViewFrame f = FrameToExtents(tris, 80, 60);
    EXPECT_TRUE(std::isfinite(f.halfHeight));
    Image image = RenderView(tris, DefaultViewFrame(), 80, 60);
    EXPECT_EQ(image.width, 80);
}

}  // namespace
