#include "hostapp/viewer/scenetriangles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <map>

#include "hostapp/recordingscene.h"
#include "hostapp/viewer/renderer.h"
#include "hostapp/viewer/scenehelpers.h"
#include "hostapp/viewer/shading.h"
#include "hostapp/viewer/texturecache.h"
#include "hostsdk/max.h"

namespace {

class SceneTrianglesTest : public testing::Test {
  protected:
    // One node with one triangle (0,0,0) (s,0,0) (0,s,0), moved by at.
    HostNode* AddTriangleNode(MtlID matId = 0, Point3 at = Point3(10, 20, 30), float s = 1) {
        TriObject* obj = CreateNewTriObject();
        Mesh& m = obj->GetMesh();
        m.setNumVerts(3);
        m.setVert(0, Point3(0, 0, 0));
        m.setVert(1, Point3(s, 0, 0));
        m.setVert(2, Point3(0, s, 0));
        m.setNumFaces(1);
        m.faces[0].setVerts(0, 1, 2);
        m.faces[0].setMatID(matId);
        ImpNode* node = scene.CreateNode();
        node->Reference(obj);
        Matrix3 tm;
        tm.SetTransRow(at);
        tm.ClearIdentFlag(POS_IDENT);
        node->SetTransform(0, tm);
        scene.AddNodeToScene(node);
        return scene.GetNode(scene.NodeCount() - 1);
    }
    Mesh& MeshOf(HostNode* node) {
        return static_cast<TriObject*>(node->GetObjectRef())->GetMesh();
    }
    // A node at the origin with an empty mesh.
    HostNode* AddNode() {
        ImpNode* node = scene.CreateNode();
        node->Reference(CreateNewTriObject());
        scene.AddNodeToScene(node);
        return scene.GetNode(scene.NodeCount() - 1);
    }
    // A square of two faces in the XZ plane facing the camera, from (-1, -1)
    // to (1, 1), with texture vertex i at corner i, shifted by (du, dv).
    HostNode* AddTexturedSquare(MtlID matId, float du = 0, float dv = 0) {
        HostNode* node = AddNode();
        Mesh& m = MeshOf(node);
        const Point3 corners[4] = {{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}};
        m.setNumVerts(4);
        m.setNumTVerts(4);
        for (int i = 0; i < 4; ++i) {
            m.setVert(i, corners[i]);
            m.setTVert(i, UVVert((corners[i].x + 1) / 2 + du, (corners[i].z + 1) / 2 + dv, 0));
        }
        m.setNumFaces(2);
        m.setNumTVFaces(2);
        m.faces[0].setVerts(0, 1, 2);
        m.faces[1].setVerts(0, 2, 3);
        m.tvFace[0].setTVerts(0, 1, 2);
        m.tvFace[1].setTVerts(0, 2, 3);
        for (int f = 0; f < 2; ++f) m.faces[f].setMatID(matId);
        return node;
    }
    static StdMat2* BitmapMaterial(const char* file, Color diffuse) {
        StdMat2* mtl = NewDefaultStdMat();
        mtl->SetDiffuse(diffuse, 0);
        BitmapTex* map = NewDefaultBitmapTex();
        map->SetMapName(file);
        mtl->SetSubTexmap(ID_DI, map);
        return mtl;
    }
    static Image Render(const SceneDrawing& d, int width, int height) {
        return RenderView(d, FrameScene(d, DefaultCamera(), width, height), width, height);
    }
    // Corner k of face f of mesh i, and its colour.
    static Vec3 Corner(const SceneDrawing& d, int i, int f, int k) {
        const DrawMesh& m = d.meshes[i];
        return m.Vertex(m.Corners(f).v[k]);
    }
    static Rgb CornerColour(const SceneDrawing& d, int i, int f, int k) {
        const DrawMesh& m = d.meshes[i];
        if (m.Style(f).shading == kShadeLookColour) return m.looks[m.Style(f).look].colour;
        return m.colours[m.Attributes(f).v[k]];
    }

    HostScene scene;
};

// World space, drawn relative to the first node: a node far from the origin
// keeps its millimetres, which floats at 4e8 would round to 32 units.
TEST_F(SceneTrianglesTest, CornersAreInWorldSpaceRelativeToTheFirstNode) {
    AddTriangleNode(0, Point3(4e8f, 0, 0), 0.001f);
    AddTriangleNode(0, Point3(4e8f + 64, 20, 30));
    SceneDrawing d = BuildSceneDrawing(scene);
    ASSERT_EQ(d.meshes.size(), 2u);
    EXPECT_FLOAT_EQ(Corner(d, 0, 0, 0).x, 0);
    EXPECT_FLOAT_EQ(Corner(d, 0, 0, 1).x, 0.001f);
    EXPECT_FLOAT_EQ(Corner(d, 0, 0, 2).y, 0.001f);
    EXPECT_FLOAT_EQ(Corner(d, 1, 0, 1).x, 65);
    EXPECT_FLOAT_EQ(Corner(d, 1, 0, 2).y, 21);
    EXPECT_FLOAT_EQ(Corner(d, 1, 0, 2).z, 30);
}

// A scene out to the end of float's range shows in both projections: the
// drawing scales it down, so the perspective eye's distance stays finite.
TEST_F(SceneTrianglesTest, SceneAtTheEndOfTheFloatRangeIsDrawn) {
    AddTriangleNode(0, Point3(-1e38f, -1e38f, -1e38f), 2e38f);
    const SceneDrawing d = BuildSceneDrawing(scene);
    for (bool perspective : {false, true}) {
        Camera c = DefaultCamera();
        c.perspective = perspective;
        const Image image = RenderView(d, FrameScene(d, c, 60, 60), 60, 60);
        int drawn = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) drawn += image.Pixel(x, y)[0] != kViewportBackground[0];
        EXPECT_GT(drawn, 300) << perspective;
    }
}

// A mesh as the importer makes it costs the drawing its normals alone: the
// vertices, faces and looks are the scene's own until a face differs.
TEST_F(SceneTrianglesTest, PlainMeshesAreDrawnFromTheScenesOwnArrays) {
    HostNode* plain = AddTriangleNode();
    HostNode* mixed = AddTriangleNode(0, Point3(10, 40, 30));
    Mesh& m = MeshOf(mixed);
    m.setNumFaces(2, TRUE);
    m.faces[1].setVerts(2, 1, 0);
    m.faces[1].setEdgeVisFlags(1, 0, 0);
    m.faces[1].setMatID(1);
    m.faces[0].setEdgeVisFlags(1, 1, 0);
    MultiMtl* multi = NewDefaultMultiMtl();
    multi->SetNumSubMtls(2);
    multi->SetSubMtl(0, NewDefaultStdMat());
    multi->SetSubMtl(1, NewDefaultStdMat());
    mixed->SetMtl(multi);
    const SceneDrawing d = BuildSceneDrawing(scene);
    for (const DrawMesh& drawn : d.meshes) EXPECT_TRUE(drawn.vertices.empty() && drawn.corners.empty());
    EXPECT_EQ(d.meshes[0].sceneVertices, &MeshOf(plain).verts[0].x);
    EXPECT_EQ(d.meshes[1].sceneFaces, m.faces);
    EXPECT_TRUE(d.meshes[0].styles.empty() && d.meshes[0].pointColours.empty());
    const DrawMesh& two = d.meshes[1];
    ASSERT_EQ(two.styles.size(), 2u);
    EXPECT_NE(two.Style(0).look, two.Style(1).look);
    EXPECT_EQ(two.Style(0).edges, kEdge01 | kEdge12);
    EXPECT_EQ(two.Style(1).edges, kEdge01);
    EXPECT_FLOAT_EQ(two.Vertex(2).y, 21);
}

// Coloured by a named channel, a mesh's corners show its values on the
// ramp from the scene's smallest (blue) to its largest (red); a node that
// names no such channel keeps its own colours.
TEST_F(SceneTrianglesTest, ANamedChannelIsDrawnOnTheRamp) {
    HostNode* scan = AddTriangleNode();
    AddTriangleNode(0, Point3(5, 0, 0));
    Mesh& m = MeshOf(scan);
    m.setMapSupport(3);
    m.setNumMapVerts(3, 3);
    m.setNumMapFaces(3, 1);
    const float values[3] = {-2, 6, 2};
    for (int i = 0; i < 3; ++i) m.mapVerts(3)[i] = UVVert(values[i], 0, 0);
    m.mapFaces(3)[0].setTVerts(0, 1, 2);
    scan->SetUserPropBuffer("MapChannel:2 = quality\r\nMapChannel:3 = confidence");
    EXPECT_EQ(ChannelNames(scene), (std::vector<std::string>{"confidence", "quality"}));
    const SceneDrawing d = BuildSceneDrawing(scene, nullptr, "confidence");
    EXPECT_EQ(d.scale.channel, "confidence");
    EXPECT_FLOAT_EQ(d.scale.lo, -2);
    EXPECT_FLOAT_EQ(d.scale.hi, 6);
    const Rgb expected[3] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}};
    for (int k = 0; k < 3; ++k) {
        const Rgb c = CornerColour(d, 0, 0, k);
        EXPECT_TRUE(c.r == expected[k].r && c.g == expected[k].g && c.b == expected[k].b) << k;
    }
    EXPECT_FLOAT_EQ(CornerColour(d, 1, 0, 0).r, kDefaultObjectColour.r);
    EXPECT_TRUE(BuildSceneDrawing(scene, nullptr, "label").scale.channel.empty());
}

TEST_F(SceneTrianglesTest, NoMaterialGivesTheDefaultObjectColour) {
    AddTriangleNode();
    EXPECT_FLOAT_EQ(CornerColour(BuildSceneDrawing(scene), 0, 0, 0).r, kDefaultObjectColour.r);
}

TEST_F(SceneTrianglesTest, StandardMaterialGivesItsDiffuse) {
    HostNode* node = AddTriangleNode();
    StdMat2* mtl = NewDefaultStdMat();
    mtl->SetDiffuse(Color(0.2f, 0.4f, 0.6f), 0);
    node->SetMtl(mtl);
    EXPECT_FLOAT_EQ(CornerColour(BuildSceneDrawing(scene), 0, 0, 2).g, 0.4f);
}

TEST_F(SceneTrianglesTest, MultiMaterialPicksBySubMaterialId) {
    HostNode* node = AddTriangleNode(3);  // 3 modulo 2 sub-materials: the second
    MultiMtl* multi = NewDefaultMultiMtl();
    multi->SetNumSubMtls(2);
    StdMat2* a = NewDefaultStdMat();
    StdMat2* b = NewDefaultStdMat();
    a->SetDiffuse(Color(1, 0, 0), 0);
    b->SetDiffuse(Color(0, 1, 0), 0);
    multi->SetSubMtl(0, a);
    multi->SetSubMtl(1, b);
    node->SetMtl(multi);
    Rgb c = CornerColour(BuildSceneDrawing(scene), 0, 0, 0);
    EXPECT_FLOAT_EQ(c.g, 1);
    EXPECT_FLOAT_EQ(c.r, 0);
}

TEST_F(SceneTrianglesTest, VertexColoursWinOverTheMaterial) {
    HostNode* node = AddTriangleNode();
    Mesh& m = MeshOf(node);
    m.setNumVertCol(3);
    m.setNumVCFaces(1);
    m.vertCol[0] = Point3(1, 0, 0);
    m.vertCol[1] = Point3(0, 1, 0);
    m.vertCol[2] = Point3(0, 0, 1);
    m.vcFace[0].setTVerts(2, 1, 0);
    SceneDrawing d = BuildSceneDrawing(scene);
    EXPECT_FLOAT_EQ(CornerColour(d, 0, 0, 0).b, 1);
    EXPECT_FLOAT_EQ(CornerColour(d, 0, 0, 2).r, 1);
}

// Edge flags pass through; faces whose indices lie outside the arrays are
// skipped, and so are vertices no face uses.
TEST_F(SceneTrianglesTest, FacesKeepTheirEdgeFlagsAndOnlyUsedVerticesAreKept) {
    HostNode* node = AddTriangleNode();
    Mesh& m = MeshOf(node);
    m.setNumVerts(5, TRUE);
    m.setVert(3, Point3(1e6f, 0, 0));  // used only by a face out of range
    m.setVert(4, Point3(1, 1, 0));
    m.setNumFaces(3, TRUE);
    m.faces[0].setEdgeVisFlags(1, 1, 0);
    m.faces[1].setVerts(3, 1, 7);
    m.faces[2].setVerts(1, 4, 2);
    m.faces[2].setEdgeVisFlags(0, 1, 1);
    SceneDrawing d = BuildSceneDrawing(scene);
    const DrawMesh& mesh = d.meshes[0];
    ASSERT_EQ(mesh.FaceCount(), 2u);
    EXPECT_EQ(mesh.VertexCount(), 4u);
    EXPECT_EQ(mesh.Style(0).edges, kEdge01 | kEdge12);
    EXPECT_EQ(mesh.Style(1).edges, kEdge12 | kEdge20);
    EXPECT_FLOAT_EQ(Corner(d, 0, 1, 1).y, 1);  // vertex 4, now the fourth kept
}

TEST_F(SceneTrianglesTest, NodesWithoutObjectsDrawNothing) {
    ImpNode* node = scene.CreateNode();
    scene.AddNodeToScene(node);
    EXPECT_TRUE(BuildSceneDrawing(scene).meshes.empty());
}

// Where the pixels of one colour lie: their count and centre.
struct Spot {
    int count = 0;
    double x = 0, y = 0;
};

// The pixels whose colour is the given one up to a common factor (the light).
Spot FindColour(const Image& image, const uint8_t rgb[3]) {
    Spot spot;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.Pixel(x, y);
            int scale = std::max({p[0], p[1], p[2]});
            bool same = scale > 0;
            for (int i = 0; i < 3; ++i) same = same && p[i] == (rgb[i] ? scale : 0);
            if (!same) continue;
            ++spot.count;
            spot.x += x;
            spot.y += y;
        }
    if (spot.count) spot.x /= spot.count, spot.y /= spot.count;
    return spot;
}

// Vertex normals go to world space as normals do: under a node scaled
// twice along X, then turned a quarter about Z, an explicit normal by the
// inverse transpose (the plain matrix would tilt it), a computed one square
// to the face as it lies in the world; packed in 32 bits, below the XY
// plane too.
TEST_F(SceneTrianglesTest, NormalsFollowTheNodeTransform) {
    for (bool given : {true, false}) {
        HostNode* node = AddTriangleNode(0, Point3(0, 0, 0));
        Mesh& mesh = MeshOf(node);
        mesh.setVert(2, Point3(0, 1, 1));
        for (int i = 0; given && i < 3; ++i) mesh.setNormal(i, Point3(1, 1, -1));
        Matrix3 tm;
        tm.SetRow(0, Point3(0, 2, 0));
        tm.SetRow(1, Point3(-1, 0, 0));
        tm.SetIdentFlags(POS_IDENT);
        node->SetTransform(0, tm);
        const SceneDrawing d = BuildSceneDrawing(scene);
        const DrawMesh& m = d.meshes.back();
        ASSERT_EQ(m.normals.size(), 3u);
        Vec3 expected = given ? Normalized({-1, 0.5f, -1})
                              : Normalized(Cross(Sub(m.Vertex(1), m.Vertex(0)),
                                                 Sub(m.Vertex(2), m.Vertex(0))));
        for (uint32_t n : m.normals) EXPECT_GT(Dot(UnpackNormal(n), expected), 0.9999f) << given;
    }
}

TEST_F(SceneTrianglesTest, TexturedSquareShowsEachTexelInItsCornerWithVUpward) {
    const uint8_t red[3] = {255, 0, 0}, green[3] = {0, 255, 0}, blue[3] = {0, 0, 255},
                  white[3] = {255, 255, 255};
    Image texture(2, 2);  // rows top to bottom: red green / blue white
    std::copy(red, red + 3, texture.Pixel(0, 0));
    std::copy(green, green + 3, texture.Pixel(1, 0));
    std::copy(blue, blue + 3, texture.Pixel(0, 1));
    std::copy(white, white + 3, texture.Pixel(1, 1));
    int loads = 0;
    ImageLookup load = [&](const std::string& path) {
        ++loads;
        return path == "C:\\maps\\checker.png" ? std::make_shared<const Image>(texture) : nullptr;
    };
    HostNode* node = AddTexturedSquare(3);  // 3 modulo 2 sub-materials: the second
    MultiMtl* multi = NewDefaultMultiMtl();
    multi->SetNumSubMtls(2);
    multi->SetSubMtl(0, NewDefaultStdMat());
    multi->SetSubMtl(1, BitmapMaterial("C:\\maps\\checker.png", Color(1, 0, 1)));
    node->SetMtl(multi);

    SceneDrawing drawing = BuildSceneDrawing(scene, load);
    EXPECT_EQ(loads, 1);  // both faces show the one decoded picture
    ASSERT_EQ(drawing.meshes[0].FaceCount(), 2u);
    EXPECT_EQ(drawing.meshes[0].Style(1).shading, kShadeTexture);
    EXPECT_EQ(drawing.meshes[0].Style(0).look, drawing.meshes[0].Style(1).look);
    Image image = Render(drawing, 120, 90);
    Spot topLeft = FindColour(image, red), topRight = FindColour(image, green),
         bottomLeft = FindColour(image, blue), bottomRight = FindColour(image, white);
    for (const Spot& s : {topLeft, topRight, bottomLeft, bottomRight}) EXPECT_GT(s.count, 100);
    const uint8_t magenta[3] = {255, 0, 255};  // the material's own colour
    EXPECT_EQ(FindColour(image, magenta).count, 0);
    EXPECT_LT(topLeft.x, topRight.x);
    EXPECT_LT(bottomLeft.x, bottomRight.x);
    EXPECT_LT(topLeft.y, bottomLeft.y);
    EXPECT_LT(topRight.y, bottomRight.y);

    // Coordinates wrap: shifted by whole turns the picture stays the same.
    scene.NewScene();
    AddTexturedSquare(0, 2, -3)->SetMtl(BitmapMaterial("C:\\maps\\checker.png", Color()));
    EXPECT_EQ(Render(BuildSceneDrawing(scene, load), 120, 90).rgb, image.rgb);
}

TEST_F(SceneTrianglesTest, BitmapThatCannotBeShownGivesTheDiffuseColour) {
    int loads = 0;
    ImageLookup fail = [&loads](const std::string&) {
        ++loads;
        return std::shared_ptr<const Image>();
    };
    AddTexturedSquare(0)->SetMtl(BitmapMaterial("missing.png", Color(0.25f, 0.5f, 0.75f)));
    HostNode* untextured = AddTriangleNode();  // no texture coordinates
    untextured->SetMtl(BitmapMaterial("missing.png", Color(0.5f, 0.5f, 0.5f)));
    SceneDrawing drawing = BuildSceneDrawing(scene, fail);
    EXPECT_EQ(loads, 1);
    ASSERT_EQ(drawing.meshes.size(), 2u);
    EXPECT_TRUE(drawing.textures.empty());
    for (const DrawMesh& m : drawing.meshes)
        for (size_t f = 0; f < m.FaceCount(); ++f) EXPECT_NE(m.Style(f).shading, kShadeTexture);
    EXPECT_FLOAT_EQ(CornerColour(drawing, 0, 1, 2).b, 0.75f);
    EXPECT_FLOAT_EQ(CornerColour(drawing, 1, 0, 0).r, 0.5f);
}

TEST_F(SceneTrianglesTest, PointCloudIsDrawnAtItsPointsInItsColours) {
    Mesh& coloured = MeshOf(AddNode());  // a colour per vertex
    coloured.setNumVerts(3);
    coloured.setNumVertCol(3);
    const Point3 at[3] = {{-1, 0, 0}, {1, 0, 0}, {0, 0, 1}};
    for (int i = 0; i < 3; ++i) {
        coloured.setVert(i, at[i]);
        coloured.vertCol[i] = VertColor(i == 0, i == 1, i == 2);
    }
    Mesh& plain = MeshOf(AddNode());  // a colour channel that does not match
    plain.setNumVerts(1);
    plain.setVert(0, Point3(0, 0, -1));
    plain.setNumVertCol(2);

    SceneDrawing drawing = BuildSceneDrawing(scene);
    for (const DrawMesh& m : drawing.meshes) EXPECT_EQ(m.FaceCount(), 0u);
    Image image = Render(drawing, 200, 150);
    const uint8_t red[3] = {255, 0, 0}, green[3] = {0, 255, 0}, blue[3] = {0, 0, 255};
    const uint8_t grey = uint8_t(kDefaultObjectColour.r * 255 + 0.5f);
    const uint8_t defaultColour[3] = {grey, grey, grey};
    Spot left = FindColour(image, red), right = FindColour(image, green),
         top = FindColour(image, blue), bottom = FindColour(image, defaultColour);
    for (const Spot& s : {left, right, top, bottom})
        EXPECT_EQ(s.count, PointSide(4) * PointSide(4));
    // Zoomed to the points: they reach out toward the picture's edges.
    EXPECT_LT(left.x, 50);
    EXPECT_GT(right.x, 150);
    EXPECT_LT(top.y, bottom.y - 100);
}

TEST(RecordingSceneTest, CountsOnlyNodesActuallyAddedSinceTheImportBegan) {
    RecordingScene scene;
    ImpNode* before = scene.CreateNode();
    scene.AddNodeToScene(before);
    scene.BeginImport();
    ImpNode* node = scene.CreateNode();
    scene.AddNodeToScene(node);
    scene.AddNodeToScene(node);  // twice changes nothing
    EXPECT_EQ(scene.AddedCounts().nodes, 1);
    scene.NewScene();
    EXPECT_EQ(scene.AddedCounts().nodes, 0);
}

TEST(RecordingSceneTest, RedrawRequestsReachTheViewport) {
    RecordingScene scene;
    int redraws = 0;
    scene.onRedraw = [&redraws] { ++redraws; };
    scene.RedrawViews();
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(scene.RedrawCount(), 1);
}

// Files as the cache's platform side sees them: "./" and case are
// spellings of one file, the number in a name is its picture's side, and
// every decoding (a header read included) is counted.
struct FakeImageFiles {
    std::map<std::string, int> decodes;
    ImageFiles Files() {
        return {[](const std::string& path, std::string& full, std::string& key) {
                    if (path == "refused.png") return false;
                    full = path.substr(path.rfind('/') + 1);
                    key.clear();
                    for (char c : full) key += char(std::tolower(c));
                    return true;
                },
                [this](const std::string& path, uint64_t maxPixels, Image& image) {
                    ++decodes[path];
                    const int side = std::atoi(path.c_str() + path.find_first_of("0123456789"));
                    if (uint64_t(side) * side > maxPixels) return DecodeResult::kOverBudget;
                    image = Image(side, side);
                    return DecodeResult::kPicture;
                }};
    }
};

bool Textured(const SceneDrawing& d, size_t mesh) {
    return d.meshes[mesh].Style(0).shading == kShadeTexture;
}

// One decoding per file however it is spelt; past the budget a texture
// draws in its colour and the cache says so; once the scene lets go of the
// others, the left-out one is decoded in a job, as the window does it.
TEST_F(SceneTrianglesTest, TextureCacheDecodesEachFileOnceWithinItsBudget) {
    FakeImageFiles fake;
    TextureCache cache(fake.Files(), 100);
    for (const char* name :
         {"big8.png", "./big8.png", "././/BIG8.png", "small4.png", "other8.png", "refused.png"})
        AddTexturedSquare(0)->SetMtl(BitmapMaterial(name, Color(1, 0, 0)));
    SceneDrawing d = cache.Draw(scene, true);
    EXPECT_EQ(fake.decodes,
              (std::map<std::string, int>{{"big8.png", 1}, {"small4.png", 1}, {"other8.png", 1}}));
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(Textured(d, i), i < 4) << i;
    EXPECT_TRUE(cache.OverBudget());
    EXPECT_FALSE(cache.HasWork());

    scene.NewScene();
    AddTexturedSquare(0)->SetMtl(BitmapMaterial("other8.png", Color(1, 0, 0)));
    AddTexturedSquare(0)->SetMtl(BitmapMaterial("zeta8.png", Color(1, 0, 0)));
    EXPECT_FALSE(Textured(cache.Draw(scene, false), 0));
    ASSERT_TRUE(cache.HasWork());
    DecodeJob job = cache.TakeJob();
    EXPECT_FALSE(cache.HasWork());  // a job at work is not given out twice
    RunDecodeJob(job, cache.Files(), std::atomic<bool>(true));
    EXPECT_FALSE(cache.Finish(job));  // cancelled: nothing came
    job = cache.TakeJob();
    RunDecodeJob(job, cache.Files(), std::atomic<bool>(false));
    EXPECT_TRUE(cache.Finish(job));
    d = cache.Draw(scene, false);
    EXPECT_TRUE(Textured(d, 0));
    EXPECT_FALSE(Textured(d, 1));  // the job's budget held for both files
    EXPECT_TRUE(cache.OverBudget());
    EXPECT_EQ(fake.decodes["other8.png"], 2);
}

}  // namespace
