#include "hostapp/viewer/renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <thread>

#include "hostapp/viewer/scenehelpers.h"
#include "hostapp/viewer/shading.h"

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

struct Tri {
    Vec3 p[3];
    Rgb c[3];
};

Tri MakeTri(Vec3 a, Vec3 b, Vec3 c, Rgb colour) { return {{a, b, c}, {colour, colour, colour}}; }

// Each triangle with three vertices of its own and its corner colours.
SceneDrawing Drawing(const std::vector<Tri>& tris) {
    SceneDrawing d;
    d.meshes.emplace_back();
    DrawMesh& m = d.meshes.back();
    m.looks.push_back({kWhite, nullptr});
    for (const Tri& t : tris) {
        for (int k = 0; k < 3; ++k) {
            m.corners.push_back(uint32_t(m.vertices.size()));
            m.vertices.push_back(t.p[k]);
            m.colours.push_back(t.c[k]);
        }
        m.styles.push_back({0, kShadeCornerColours, kEdge01 | kEdge12 | kEdge20});
    }
    SetPointColours(m);
    return d;
}

// A square facing the camera's general direction (the XZ plane at y = yAt).
std::vector<Tri> Square(float half, float yAt, Rgb colour) {
    return {MakeTri({-half, yAt, -half}, {half, yAt, -half}, {half, yAt, half}, colour),
            MakeTri({-half, yAt, -half}, {half, yAt, half}, {-half, yAt, half}, colour)};
}

Image Render(const SceneDrawing& d, int w, int h, DisplayMode mode = DisplayMode::kShaded,
             StandardView view = StandardView::kThreeQuarter) {
    RenderOptions options;
    options.mode = mode;
    return RenderView(d, FrameScene(d, LookFrom(DefaultCamera(), view), w, h), w, h, options);
}

TEST(RendererTest, EmptySceneIsAllBackground) {
    Image image = RenderView(SceneDrawing(), DefaultCamera(), 64, 48);
    ASSERT_EQ(image.width, 64);
    ASSERT_EQ(image.height, 48);
    EXPECT_EQ(CountDrawn(image), 0);
}

TEST(RendererTest, ZeroOrNegativeSizeGivesEmptyPicture) {
    EXPECT_TRUE(RenderView(Drawing(Square(1, 0, kWhite)), DefaultCamera(), 0, 10).rgb.empty());
    EXPECT_TRUE(RenderView(Drawing(Square(1, 0, kWhite)), DefaultCamera(), 10, -3).rgb.empty());
}

// A green fan of triangles, every other one wound the other way, in front
// of a larger red square, seen from the front at one pixel a unit; every
// corner on a pixel centre. Each centre on an edge two faces share is drawn
// by one of them, and the outline takes its top and left ones only: 40 x 40
// green pixels, and no red among them.
TEST(RendererTest, SharedEdgesAreDrawnOnceWithoutGaps) {
    std::vector<Tri> tris = Square(25, 5, {1, 0, 0});
    for (Tri& far : tris)
        for (Vec3& p : far.p) p.x -= 0.5f, p.z -= 0.5f;
    std::vector<Vec3> ring;  // round the square from -20.5 to 19.5, 10 apart
    for (int i = 0; i < 16; ++i) {
        float t = -20.5f + 10 * (i % 4), u = -t - 1;
        const Vec3 sides[4] = {{t, 0, -20.5f}, {19.5f, 0, t}, {u, 0, 19.5f}, {-20.5f, 0, u}};
        ring.push_back(sides[i / 4]);
    }
    const Vec3 hub = {-0.5f, 0, -0.5f};
    for (int i = 0; i < 16; ++i)
        tris.push_back(i % 2 ? MakeTri(hub, ring[i], ring[(i + 1) % 16], {0, 1, 0})
                             : MakeTri(ring[(i + 1) % 16], ring[i], hub, {0, 1, 0}));
    Camera c = LookFrom(DefaultCamera(), StandardView::kFront);
    c.halfHeight = 32;
    Image image = RenderView(Drawing(tris), c, 64, 64);
    int green = 0, red = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const uint8_t* p = image.Pixel(x, y);
            green += p[1] > 0 && p[0] == 0, red += p[0] > 0 && p[1] == 0;
        }
    EXPECT_EQ(green, 40 * 40);
    EXPECT_EQ(red, 50 * 50 - 40 * 40);
}

TEST(RendererTest, ZoomedSquareCoversTheCentreAndLeavesTheCorners) {
    Image image = Render(Drawing(Square(1, 0, kWhite)), 80, 60);
    EXPECT_FALSE(IsBackground(image.Pixel(40, 30)));
    EXPECT_TRUE(IsBackground(image.Pixel(0, 0)));
    EXPECT_TRUE(IsBackground(image.Pixel(79, 59)));
}

TEST(RendererTest, FlatShadingGivesOneColourPerFlatFace) {
    Image image = Render(Drawing(Square(1, 0, kWhite)), 80, 60);
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

TEST(RendererTest, NearerSurfaceWinsWhateverTheOrderInBothProjections) {
    // The camera looks from -Y toward +Y: the square at y = -0.25 is in front,
    // and both are large enough for the centre's line of sight to cross both.
    auto front = Square(5, -0.25f, {1, 0, 0});
    auto back = Square(5, 0.25f, {0, 0, 1});
    std::vector<Tri> frontFirst = front, backFirst = back;
    frontFirst.insert(frontFirst.end(), back.begin(), back.end());
    backFirst.insert(backFirst.end(), front.begin(), front.end());
    for (bool perspective : {false, true}) {
        Camera camera = DefaultCamera();
        camera.perspective = perspective;
        camera = FrameScene(Drawing(frontFirst), camera, 80, 60);
        for (const auto& tris : {frontFirst, backFirst}) {
            Image image = RenderView(Drawing(tris), camera, 80, 60);
            const uint8_t* p = image.Pixel(40, 30);
            EXPECT_GT(p[0], 0);
            EXPECT_EQ(p[2], 0);
        }
    }
}

TEST(RendererTest, CornerColoursBlendAcrossTheTriangle) {
    Tri t = {{{-1, 0, -1}, {1, 0, -1}, {0, 0, 1}}, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    Image image = Render(Drawing({t}), 100, 100);
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
    Image image = Render(Drawing(Square(50, 0, kWhite)), 200, 100);
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
    std::vector<Tri> tris;
    for (int a : {0, 1})
        for (int b : {2, 3})
            for (int c : {4, 5}) tris.push_back(MakeTri(v[a], v[b], v[c], kWhite));
    Image image = Render(Drawing(tris), 100, 100);
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
    Camera c = FrameScene(SceneDrawing(), DefaultCamera(), 800, 600);
    EXPECT_EQ(c.halfHeight, DefaultCamera().halfHeight);
    EXPECT_EQ(c.target.x, 0);
}

TEST(RendererTest, DegenerateSceneStillGetsAUsableFrame) {
    SceneDrawing point = Drawing({MakeTri({5, 5, 5}, {5, 5, 5}, {5, 5, 5}, kWhite)});
    Camera c = FrameScene(point, DefaultCamera(), 800, 600);
    EXPECT_GT(c.halfHeight, 0);
    EXPECT_FLOAT_EQ(c.target.x, 5);
    EXPECT_EQ(CountDrawn(RenderView(point, c, 80, 60)), 0);  // no area, nothing drawn
}

// A face is lit by its direction alone: a tilted triangle scaled from a
// scan in metres read as kilometres to a survey in nanometres.
TEST(RendererTest, LightDoesNotDependOnTheFaceSize) {
    const Vec3 toLight = Normalized({0.3f, -1, 0.6f});
    auto lightAt = [&toLight](float s) {
        SceneDrawing d =
            Drawing({MakeTri({0, 0, 0}, {s, 0.3f * s, 0}, {0.2f * s, -0.5f * s, s}, kWhite)});
        return LitFace(d.meshes[0], 0, toLight).light[0].r;
    };
    const float unit = lightAt(1);
    ASSERT_GT(unit, 0.5f);  // more than the ambient light
    for (float s : {1e-20f, 1e-12f, 1e-9f, 1e-3f, 1e3f, 1e9f, 1e12f, 1e20f, 1e30f})
        EXPECT_NEAR(lightAt(s), unit, 1e-6f) << s;
}

// A face wound counter-clockwise as seen is lit as it always was; wound the
// other way it shows darker and bluer, so a winding error shows.
TEST(RendererTest, FacesSeenFromBehindAreTinted) {
    const Vec3 a = {-1, 0, -1}, b = {1, 0, -1}, c = {0, 0, 1};
    const Rgb colour = {0.8f, 0.6f, 0.4f};
    Image front = Render(Drawing({MakeTri(a, b, c, colour)}), 40, 40, DisplayMode::kShaded,
                         StandardView::kFront);
    Image back = Render(Drawing({MakeTri(a, c, b, colour)}), 40, 40, DisplayMode::kShaded,
                        StandardView::kFront);
    const uint8_t *f = front.Pixel(20, 20), *k = back.Pixel(20, 20);
    const uint8_t before[3] = {179, 134, 90};  // the front face's colour before tinting
    EXPECT_TRUE(std::equal(before, before + 3, f));
    EXPECT_LT(k[0], f[0] * 0.6);
    EXPECT_GT(k[2] * f[0], f[2] * k[0]);  // bluer
}

// Importers pass colours on as the file has them; a NaN one draws black.
TEST(RendererTest, NaNColourDrawsBlack) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Image image = Render(Drawing(Square(1, 0, {nan, nan, nan})), 40, 40);
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
    SceneDrawing d =
        Drawing({MakeTri({nan, 0, 0}, {1, 0, 0}, {0, 0, 1}, kWhite),
                 MakeTri({inf, 0, 0}, {1, 0, 0}, {0, 0, 1}, kWhite),
                 MakeTri({-3e38f, 0, -3e38f}, {3e38f, 0, -3e38f}, {0, 0, 3e38f}, kWhite)});
    for (bool perspective : {false, true}) {
        Camera c = DefaultCamera();
        c.perspective = perspective;
        EXPECT_TRUE(std::isfinite(FrameScene(d, c, 80, 60).halfHeight));
        for (DisplayMode mode : {DisplayMode::kShaded, DisplayMode::kWireframe}) {
            RenderOptions options;
            options.mode = mode;
            EXPECT_EQ(RenderView(d, c, 80, 60, options).width, 80);
        }
    }
}

// A quad as an importer fans it: two triangles whose shared diagonal (0-2)
// is hidden; by default facing the front view.
SceneDrawing Quad(Rgb colour,
                  std::vector<Vec3> corners = {{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}}) {
    SceneDrawing d;
    d.meshes.emplace_back();
    DrawMesh& m = d.meshes.back();
    m.vertices = corners;
    m.corners = {0, 1, 2, 0, 2, 3};
    m.looks.push_back({colour, nullptr});
    m.styles = {{0, kShadeLookColour, kEdge01 | kEdge12}, {0, kShadeLookColour, kEdge12 | kEdge20}};
    SetPointColours(m);
    return d;
}

// Where the quad lies on screen: its corners in pixels.
struct QuadOnScreen {
    ScreenPoint corner[4];

    explicit QuadOnScreen(const SceneDrawing& d, int w, int h) {
        Camera c = FrameScene(d, LookFrom(DefaultCamera(), StandardView::kFront), w, h);
        for (int i = 0; i < 4; ++i)
            corner[i] = ViewProjection(c, w, h).Project(d.meshes[0].vertices[i]);
    }
    static float ToSegment(float x, float y, const ScreenPoint& a, const ScreenPoint& b) {
        float dx = b.x - a.x, dy = b.y - a.y;
        float t =
            std::max(0.0f, std::min(1.0f, ((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy)));
        return std::hypot(x - a.x - t * dx, y - a.y - t * dy);
    }
    // From pixel (x, y)'s centre to the outline and to the diagonal.
    float ToOutline(int x, int y) const {
        float d = 1e9f;
        for (int i = 0; i < 4; ++i)
            d = std::min(d, ToSegment(x + 0.5f, y + 0.5f, corner[i], corner[(i + 1) % 4]));
        return d;
    }
    float ToDiagonal(int x, int y) const {
        return ToSegment(x + 0.5f, y + 0.5f, corner[0], corner[2]);
    }
};

// An edge pixel: the edge colour mixed half and half with the face's.
bool IsEdgeOver(const uint8_t* edge, const uint8_t* face) {
    for (int i = 0; i < 3; ++i)
        if (edge[i] != (face[i] + kEdgeColour[i] + 1) / 2) return false;
    return true;
}

TEST(RendererTest, EdgesModeDrawsTheOutlineButNotTheHiddenDiagonal) {
    SceneDrawing quad = Quad({0.8f, 0.6f, 0.2f});
    Image shaded = Render(quad, 120, 90, DisplayMode::kShaded, StandardView::kFront);
    Image edges = Render(quad, 120, 90, DisplayMode::kEdges, StandardView::kFront);
    QuadOnScreen at(quad, 120, 90);
    int outline = 0, diagonal = 0;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) {
            const uint8_t *s = shaded.Pixel(x, y), *e = edges.Pixel(x, y);
            if (IsBackground(s)) continue;
            bool same = std::equal(s, s + 3, e);
            if (at.ToOutline(x, y) < 0.5f) {
                EXPECT_TRUE(IsEdgeOver(e, s)) << x << "," << y;
                ++outline;
            } else if (at.ToOutline(x, y) > 1.5f) {
                EXPECT_TRUE(same) << x << "," << y;
                diagonal += at.ToDiagonal(x, y) < 0.5f;
            }
        }
    EXPECT_GT(outline, 100);
    EXPECT_GT(diagonal, 40);
}

// A visible diagonal across a quad, level on a wide one and steep on a tall
// one: one pixel in each column (row) along its run, the two faces beside
// it together, each the edge colour mixed with the face's.
TEST(RendererTest, EdgesAreOnePixelWideAndMixedWithTheFace) {
    for (bool level : {true, false}) {
        const float a = level ? 25.3f : 8.1f, b = level ? 8.1f : 25.3f;
        SceneDrawing quad = Quad(kWhite, {{-a, 0, -b}, {a, 0, -b}, {a, 0, b}, {-a, 0, b}});
        quad.meshes[0].styles[0].edges = kEdge20;  // the diagonal only
        quad.meshes[0].styles[1].edges = kEdge01;
        Image shaded = Render(quad, 80, 80, DisplayMode::kShaded, StandardView::kFront);
        Image edges = Render(quad, 80, 80, DisplayMode::kEdges, StandardView::kFront);
        for (int i = 20; i < 60; ++i) {  // columns (rows) away from the diagonal's ends
            int onLine = 0;
            for (int j = 0; j < 80; ++j) {
                const uint8_t *s = shaded.Pixel(level ? i : j, level ? j : i),
                              *e = edges.Pixel(level ? i : j, level ? j : i);
                if (!std::equal(s, s + 3, e)) {
                    EXPECT_TRUE(IsEdgeOver(e, s)) << i << "," << j;
                }
                onLine += !std::equal(s, s + 3, e);
            }
            EXPECT_EQ(onLine, 1) << i;
        }
    }
}

// Lit from vertex normals fanning out left and right, a flat quad shades
// across from side to side; without normals it is one colour.
TEST(RendererTest, SmoothShadingFollowsTheVertexNormals) {
    SceneDrawing flat = Quad(kWhite), smooth = flat;
    for (Vec3 n : {Vec3{-1, -1, 0}, Vec3{1, -1, 0}, Vec3{1, -1, 0}, Vec3{-1, -1, 0}})
        smooth.meshes[0].normals.push_back(PackNormal(n));
    auto shadesInMiddleRow = [](const SceneDrawing& d) {
        Image image = Render(d, 80, 60, DisplayMode::kShaded, StandardView::kFront);
        std::set<int> reds;
        for (int x = 0; x < 80; ++x)
            if (!IsBackground(image.Pixel(x, 30))) reds.insert(image.Pixel(x, 30)[0]);
        return reds.size();
    };
    EXPECT_EQ(shadesInMiddleRow(flat), 1u);
    EXPECT_GT(shadesInMiddleRow(smooth), 20u);
}

TEST(RendererTest, WireframeDrawsTheVisibleEdgesInTheirColourUnlit) {
    SceneDrawing quad = Quad({1, 0.5f, 0});
    Image image = Render(quad, 120, 90, DisplayMode::kWireframe, StandardView::kFront);
    QuadOnScreen at(quad, 120, 90);
    int drawn = 0;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) {
            const uint8_t* p = image.Pixel(x, y);
            if (IsBackground(p)) continue;
            ++drawn;
            EXPECT_LT(at.ToOutline(x, y), 1.0f) << x << "," << y;
            EXPECT_EQ(p[0], 255);
            EXPECT_EQ(p[1], 128);
            EXPECT_EQ(p[2], 0);
        }
    EXPECT_GT(drawn, 200);
}

TEST(RendererTest, PointsModeDrawsTheVerticesOnlyAndCloudsShowAsPointsInEveryMode) {
    SceneDrawing scene = Quad({1, 0, 0});
    scene.meshes.emplace_back();  // a one-point cloud in front of the quad's centre
    DrawMesh& cloud = scene.meshes.back();
    cloud.vertices = {{0, -0.5f, 0}};
    cloud.looks.push_back({{0, 0, 1}, nullptr});
    SetPointColours(cloud);
    const int side = PointSide(5);
    Image points = Render(scene, 120, 90, DisplayMode::kPoints, StandardView::kFront);
    QuadOnScreen at(scene, 120, 90);
    int red = 0, blue = 0;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) {
            const uint8_t* p = points.Pixel(x, y);
            if (IsBackground(p)) continue;
            red += p[0] == 255 && p[1] == 0 && p[2] == 0;
            blue += p[0] == 0 && p[1] == 0 && p[2] == 255;
            float nearest = 1e9f;
            for (const ScreenPoint& c : at.corner)
                nearest = std::min(nearest,
                                   std::max(std::fabs(x + 0.5f - c.x), std::fabs(y + 0.5f - c.y)));
            EXPECT_TRUE(p[2] == 255 || nearest <= side / 2.0f + 0.5f) << x << "," << y;
        }
    EXPECT_EQ(red, 4 * side * side);
    EXPECT_EQ(blue, side * side);
    for (DisplayMode mode : {DisplayMode::kShaded, DisplayMode::kEdges, DisplayMode::kWireframe}) {
        const Image picture = Render(scene, 120, 90, mode, StandardView::kFront);
        const uint8_t* centre = picture.Pixel(60, 45);
        EXPECT_EQ(centre[2], 255) << DisplayModeName(mode);
        EXPECT_EQ(centre[0], 0) << DisplayModeName(mode);
    }
}

// Standing on a large floor that runs on behind the eye, looking level: the
// floor fills the picture below the horizon and nothing shows above it.
TEST(RendererTest, PerspectiveCutsWhatLiesBehindTheEye) {
    SceneDrawing floor = Drawing({MakeTri({-100, -100, 0}, {100, -100, 0}, {100, 100, 0}, kWhite),
                                  MakeTri({-100, -100, 0}, {100, 100, 0}, {-100, 100, 0}, kWhite)});
    Camera c = LookFrom(DefaultCamera(), StandardView::kFront);
    c.perspective = true;
    c.target = {0, 0, 1};
    c.halfHeight = 1;
    ASSERT_LT(c.EyeDistance(), 100);  // the eye stands on the floor
    for (DisplayMode mode : {DisplayMode::kShaded, DisplayMode::kEdges}) {
        RenderOptions options;
        options.mode = mode;
        Image image = RenderView(floor, c, 80, 60, options);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x) {
                bool background = IsBackground(image.Pixel(x, y));
                EXPECT_TRUE(y > 28 || background) << x << "," << y;
                EXPECT_TRUE(y < 31 || !background) << x << "," << y;
            }
    }
}

// A floor textured near half red, far half green, seen in perspective: the
// colours meet where the floor's middle shows, not halfway up its picture.
TEST(RendererTest, PerspectiveTextureCoordinatesFollowDepth) {
    Image texture(1, 2);  // rows top to bottom: green (v >= 0.5), red
    texture.Pixel(0, 0)[1] = 255;
    texture.Pixel(0, 1)[0] = 255;
    SceneDrawing d;
    d.meshes.emplace_back();
    DrawMesh& m = d.meshes.back();
    m.vertices = {{-1, 0, 0}, {1, 0, 0}, {1, 4, 0}, {-1, 4, 0}};
    m.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    m.corners = {0, 1, 2, 0, 2, 3};
    m.looks.push_back({kWhite, &texture});
    m.styles = {{0, kShadeTexture, 0}, {0, kShadeTexture, 0}};
    Camera c = Orbit(LookFrom(DefaultCamera(), StandardView::kFront), {0, 2, 0}, 0, 40);
    c.perspective = true;
    c = FrameScene(d, c, 100, 100);
    ViewProjection view(c, 100, 100);
    float middle = view.Project({0, 2, 0}).y;
    float halfway = (view.Project({0, 0, 0}).y + view.Project({0, 4, 0}).y) / 2;
    ASSERT_GT(std::fabs(middle - halfway), 4);
    Image image = RenderView(d, c, 100, 100);
    int firstRed = -1;
    for (int y = 0; y < 100 && firstRed < 0; ++y)
        if (image.Pixel(50, y)[0] > 0 && image.Pixel(50, y)[1] == 0) firstRed = y;
    EXPECT_NEAR(firstRed, middle, 1.0);
}

// In perspective, the long sides of a post running out of the picture at top
// and bottom, and of a floor strip running from far ahead to behind the eye,
// show in every row of the picture: cut at its edges and at the near plane,
// without gaps where a cut end's samples would fall on pixel boundaries.
TEST(RendererTest, PerspectiveEdgesShowWhereverTheyCrossThePicture) {
    struct Case {
        const char* name;
        std::vector<Vec3> corners;  // sides 1-2 and 3-0 are the long ones
        Vec3 target;
        float halfHeight;
        int firstRow;   // from here down both sides show
        int clearRows;  // above this nothing shows: the floor's horizon
    };
    const Case cases[] = {
        {"post", {{-1, 0, -50}, {1, 0, -50}, {1, 0, 50}, {-1, 0, 50}}, {0, 0, 0}, 2, 0, 0},
        {"floor", {{-1, -100, 0}, {1, -100, 0}, {1, 100, 0}, {-1, 100, 0}}, {0, 0, 1}, 1, 33, 30},
    };
    for (const Case& k : cases)
        for (DisplayMode mode : {DisplayMode::kEdges, DisplayMode::kWireframe}) {
            Camera c = LookFrom(DefaultCamera(), StandardView::kFront);
            c.perspective = true, c.target = k.target, c.halfHeight = k.halfHeight;
            RenderOptions options;
            options.mode = mode;
            Image image = RenderView(Quad({1, 0.5f, 0}, k.corners), c, 80, 60, options);
            Image shaded = RenderView(Quad({1, 0.5f, 0}, k.corners), c, 80, 60);
            ViewProjection view(c, 80, 60);
            for (int side : {1, 3}) {
                // Two points of the side in front of the eye give its line on screen.
                Vec3 p = k.corners[side], q = k.corners[(side + 1) % 4];
                ScreenPoint a = view.Project({(p.x + q.x) / 2, (p.y + q.y) / 2, (p.z + q.z) / 2});
                ScreenPoint b = view.Project(side == 1 ? q : p);
                int rows = 0;
                for (int y = k.firstRow; y < 60; ++y) {
                    float x = a.x + (y + 0.5f - a.y) * (b.x - a.x) / (b.y - a.y);
                    bool shown = false;
                    for (int i = 0; i < 80; ++i) {
                        const uint8_t* px = image.Pixel(i, y);
                        bool edge = mode == DisplayMode::kEdges
                                        ? !std::equal(px, px + 3, shaded.Pixel(i, y))
                                        : !IsBackground(px);
                        shown |= std::fabs(i + 0.5f - x) <= 1.5f && edge;
                    }
                    rows += shown;
                }
                EXPECT_EQ(rows, 60 - k.firstRow) << k.name << " " << DisplayModeName(mode);
            }
            for (int y = 0; y < k.clearRows; ++y)
                for (int x = 0; x < 80; ++x) EXPECT_TRUE(IsBackground(image.Pixel(x, y))) << k.name;
        }
}

// A point behind the eye would project mirrored through it into the picture.
TEST(RendererTest, PerspectiveLeavesOutPointsBehindTheEye) {
    Camera c = LookFrom(DefaultCamera(), StandardView::kFront);
    c.perspective = true;
    const Vec3 eye = {0, -c.EyeDistance(), 0};
    SceneDrawing d;
    d.meshes.emplace_back();
    DrawMesh& cloud = d.meshes.back();
    // In front: red up right; behind: blue, where it would mirror to down left.
    cloud.vertices = {{20, 0, 20}, {20, 2 * eye.y, 20}};
    cloud.colours = {{1, 0, 0}, {0, 0, 1}};
    SetPointColours(cloud);
    Image image = RenderView(d, c, 80, 60);
    int red = 0, blue = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x) {
            red += image.Pixel(x, y)[0] == 255;
            blue += image.Pixel(x, y)[2] == 255;
        }
    EXPECT_EQ(red, PointSide(2) * PointSide(2));
    EXPECT_EQ(blue, 0);
    // Nor do the lines of a face wholly behind it.
    const float behind = 2 * eye.y;
    RenderOptions wireframe;
    wireframe.mode = DisplayMode::kWireframe;
    SceneDrawing face =
        Drawing({MakeTri({10, behind, 10}, {30, 1.5f * behind, 10}, {20, 1.2f * behind, 30}, {0, 0, 1})});
    EXPECT_EQ(CountDrawn(RenderView(face, c, 80, 60, wireframe)), 0);
}

// A line running out of the picture stops at its border: nothing piles up
// along the last column.
TEST(RendererTest, ALineLeavingThePictureStopsAtItsBorder) {
    RenderOptions wireframe;
    wireframe.mode = DisplayMode::kWireframe;
    // From the front, 0.3 pixels a unit: from the centre out through the
    // right border at about row 50, then on far below the picture.
    SceneDrawing d = Drawing({MakeTri({0, 0, 0}, {2000, 0, -1000}, {0, 0, 10}, kWhite)});
    Image image = RenderView(d, LookFrom(DefaultCamera(), StandardView::kFront), 80, 60, wireframe);
    int lastColumn = 0;
    for (int y = 0; y < 60; ++y) lastColumn += !IsBackground(image.Pixel(79, y));
    EXPECT_GE(lastColumn, 1);
    EXPECT_LE(lastColumn, 3);
}

// Shared out over the cores, every face is drawn: 400,000 faces, each
// alone on a pixel of its own.
TEST(RendererTest, EveryFaceOfAFrameSharedOverTheCoresIsDrawn) {
    const int w = 800, h = 600, faces = 400000;
    const Camera c = LookFrom(DefaultCamera(), StandardView::kFront);
    const ViewProjection view(c, w, h);
    std::vector<Tri> tris;
    for (int i = 0; i < faces; ++i) {
        // A small triangle about pixel (x, y)'s centre, in world units.
        const Vec3 at = view.Unproject(i % w + 0.5f, i / w + 0.5f, 0);
        const float r = 0.3f / view.Scale();
        tris.push_back(MakeTri({at.x - r, 0, at.z - r}, {at.x + r, 0, at.z - r},
                               {at.x, 0, at.z + r}, kWhite));
    }
    EXPECT_EQ(CountDrawn(RenderView(Drawing(tris), c, w, h)), faces);
}

// The triad turns with the camera: from the front X runs right and Z up,
// from the right Y runs right, from the top X right and Y up.
TEST(RendererTest, AxisTriadShowsTheWorldAxesAsTheCameraTurns) {
    const int x = kAxisTriadInset, y = 119 - kAxisTriadInset, length = int(kAxisTriadLength);
    const struct {
        StandardView view;
        int right, up;  // the axes that run right and up
    } cases[] = {
        {StandardView::kFront, 0, 2}, {StandardView::kRight, 1, 2}, {StandardView::kTop, 0, 1}};
    for (const auto& k : cases) {
        RenderOptions options;
        options.axisTriad = true;
        Image image =
            RenderView(SceneDrawing(), LookFrom(DefaultCamera(), k.view), 160, 120, options);
        int right = 0, up = 0;
        for (int d = 1; d <= length + 1; ++d) {
            right +=
                std::equal(kAxisColours[k.right], kAxisColours[k.right] + 3, image.Pixel(x + d, y));
            up += std::equal(kAxisColours[k.up], kAxisColours[k.up] + 3, image.Pixel(x, y - d));
        }
        EXPECT_EQ(right, length) << StandardViewName(k.view);
        EXPECT_EQ(up, length) << StandardViewName(k.view);
    }
}

// Below 50,000 faces a core, one core draws alone. Padded with faces that
// draw nothing, the same squares are shared out over the cores, and the
// merged frame must be the one-core frame: nearest wins, a tie the first.
TEST(RendererTest, AFrameSharedOverTheCoresIsTheOneCoreFrame) {
    if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "one core";
    std::vector<Tri> tris;
    for (const auto& s :
         {Square(0.5f, -1, {0, 1, 0}), Square(1.5f, 0.5f, {0, 0, 1}), Square(1, 0, {1, 1, 0}),
          Square(1, 0, kWhite), Square(0.75f, -0.5f, {1, 0, 0})})
        tris.insert(tris.end(), s.begin(), s.end());
    SceneDrawing alone = Drawing(tris), shared = Drawing(tris);
    DrawMesh& m = shared.meshes[0];
    const size_t padding = 40000;  // before each face: 400,000 in all, enough for eight cores
    std::vector<uint32_t> corners;
    std::vector<FaceStyle> styles;
    for (size_t f = 0; f < m.FaceCount(); ++f) {
        corners.insert(corners.end(), 3 * padding, 0);
        styles.insert(styles.end(), padding, FaceStyle{0, kShadeLookColour, 0});
        corners.insert(corners.end(), &m.corners[3 * f], &m.corners[3 * f + 3]);
        styles.push_back(m.styles[f]);
    }
    m.corners.swap(corners), m.styles.swap(styles);
    for (bool perspective : {false, true})
        for (DisplayMode mode : {DisplayMode::kShaded, DisplayMode::kEdges}) {
            Camera c = DefaultCamera();
            c.perspective = perspective;
            c = FrameScene(alone, c, 120, 90);
            std::vector<float> depthAlone, depthShared;
            RenderOptions options;
            options.mode = mode;
            options.depth = &depthAlone;
            Image one = RenderView(alone, c, 120, 90, options);
            options.depth = &depthShared;
            Image all = RenderView(shared, c, 120, 90, options);
            EXPECT_TRUE(one.rgb == all.rgb) << DisplayModeName(mode) << " " << perspective;
            EXPECT_TRUE(depthAlone == depthShared);
        }
}

}  // namespace
