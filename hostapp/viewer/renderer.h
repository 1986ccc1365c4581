// The host's viewport picture, drawn in software so that it looks the same
// under any display: z-buffered, lit flat shading, colours given per
// triangle corner or by a texture, visible edges or wireframe lines, and
// points as small unlit squares, seen through a Camera. Both cores draw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "hostapp/viewer/camera.h"

// Colour channels from 0 to 1.
struct Rgb {
    float r, g, b;
};

// An RGB picture: rows from top to bottom, three bytes per pixel (red, green, blue).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgb(size_t(w) * size_t(h) * 3, 0) {}
    const uint8_t* Pixel(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
    uint8_t* Pixel(int x, int y) { return &rgb[(size_t(y) * width + x) * 3]; }
};

// A place in a texture: u runs to the right, v upward (v = 0 is the
// picture's bottom row); both wrap.
struct TexCoord {
    float u, v;
};

// What the faces of one material show: its colour, or its texture where a
// face has texture coordinates. The picture is owned elsewhere and must
// outlive the drawing.
struct Look {
    Rgb colour;
    const Image* texture;
};

// How a face takes its colour.
enum FaceShading : uint8_t {
    kShadeLookColour,     // the look's colour
    kShadeCornerColours,  // colours[] at its corners, blended
    kShadeTexture,        // the look's texture at uvs[] of its corners
};

// Which edges of a face show (EDGE_A: corner 0 to 1, EDGE_B: 1 to 2,
// EDGE_C: 2 to 0), as the host mesh's face flags say.
const uint8_t kEdge01 = 1, kEdge12 = 2, kEdge20 = 4;

struct FaceStyle {
    uint16_t look;
    uint8_t shading;  // FaceShading
    uint8_t edges;
};

// One mesh as the renderer draws it: world-space vertices shared by indexed
// faces, about 30 bytes a face. A mesh without faces is a point cloud.
struct DrawMesh {
    std::vector<Vec3> vertices;
    std::vector<uint32_t> corners;           // three vertex indices per face
    std::vector<FaceStyle> styles;           // one per face
    std::vector<uint32_t> attributeCorners;  // three per face into colours or uvs;
                                             // empty: the same as corners
    std::vector<Rgb> colours;
    std::vector<TexCoord> uvs;
    std::vector<Look> looks;
    std::vector<uint8_t> pointColours;  // RGB bytes per vertex: what it shows as a point

    size_t FaceCount() const { return styles.size(); }
    const uint32_t* Attributes(size_t face) const {
        return attributeCorners.empty() ? &corners[3 * face] : &attributeCorners[3 * face];
    }
};

// A whole scene to draw. Meshes too large to turn smoothly have a reduced
// stand-in each for frames drawn while the camera moves.
struct SceneDrawing {
    std::vector<DrawMesh> meshes;
    std::vector<DrawMesh> reduced;                 // empty, or one per mesh (one without
                                                   // vertices: the mesh itself)
    std::vector<std::unique_ptr<Image>> textures;  // what the looks point to
};

// Fills the mesh's pointColours: a point cloud's from its colours (one per
// vertex) or its first look; a vertex of a face from the unlit colour of
// the first face that uses it.
void SetPointColours(DrawMesh& mesh);

// Meshes of more faces than this get a reduced stand-in for moving frames.
const size_t kReduceAboveFaces = 600000;

// Makes the reduced stand-ins for the meshes that need them (their point
// colours set): vertices merged on a grid, faces whose corners merge dropped.
void AddReducedMeshes(SceneDrawing& drawing);

enum class DisplayMode { kShaded, kEdges, kWireframe, kPoints };
const int kDisplayModeCount = 4;

// "shaded", "edges", "wireframe", "points".
const char* DisplayModeName(DisplayMode mode);

struct RenderOptions {
    DisplayMode mode = DisplayMode::kShaded;
    bool moving = false;                  // draw the reduced stand-ins where there are
    std::vector<float>* depth = nullptr;  // receives each pixel's depth (infinite: background)
};

// The background of an empty viewport; its channels differ, so no grey
// material can ever shade to exactly this colour.
extern const uint8_t kViewportBackground[3];
// The colour of visible edges drawn over the shaded faces.
extern const uint8_t kEdgeColour[3];

// The size of the snapshot picture.
const int kSnapshotWidth = 800;
const int kSnapshotHeight = 600;

// The side of the square a point is drawn as, in pixels, for a cloud of
// count points: a dense scan stays sharp, a sparse cloud stays visible.
int PointSide(size_t count);

// The camera, turned as given, that shows the whole scene (FitPoints).
Camera FrameScene(const SceneDrawing& drawing, const Camera& camera, int width, int height);

// The centre of the scene's bounding box; the origin when it is empty.
Vec3 SceneCentre(const SceneDrawing& drawing);

// Draws the meshes' faces in the given mode (every vertex as a point in
// points mode), then the point clouds, into a new picture of the given size.
// Faces with non-finite corners or no area are skipped; both windings are
// lit alike; in perspective, whatever lies behind the near plane is cut off.
Image RenderView(const SceneDrawing& drawing, const Camera& camera, int width, int height,
                 const RenderOptions& options = {});
