// What the renderer draws and draws into: meshes of indexed faces with their
// looks (a colour, corner colours or a texture) and visible edges, a whole
// scene of them, and RGB pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostapp/viewer/camera.h"
#include "hostsdk/mesh.h"

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

// The three vertex (or attribute) indices of a face.
struct FaceCorners {
    uint32_t v[3];
};

// One mesh as the renderer draws it: vertices shared by indexed faces. A
// large scan is drawn from the scene mesh's own vertex and face arrays,
// which must then outlive the drawing and stay as they are: it costs the
// drawing a 4-byte normal a vertex and nothing a face. Other meshes (and
// the reduced stand-ins) keep arrays of their own, about 30 bytes a face.
// A mesh without faces is a point cloud.
struct DrawMesh {
    int node = -1;  // the scene node it draws, by its index in the scene
    // The drawing's own vertices, or the scene mesh's (three floats each)
    // placed by place.
    std::vector<Vec3> vertices;
    const float* sceneVertices = nullptr;
    size_t sceneVertexCount = 0;
    Placement place;
    // The drawing's own faces (three vertex indices and a style each), or
    // the scene mesh's: their edges from their flags, look and shading from
    // common unless styles holds one a face.
    std::vector<uint32_t> corners;
    std::vector<FaceStyle> styles;
    const Face* sceneFaces = nullptr;
    size_t sceneFaceCount = 0;
    FaceStyle common = {0, kShadeLookColour, 0};

    std::vector<uint32_t> normals;           // one per vertex (PackNormal), world space;
                                             // empty: faces are shaded flat
    std::vector<uint32_t> attributeCorners;  // three per face into colours or uvs;
                                             // empty: the same as the vertex indices
    std::vector<Rgb> colours;
    std::vector<TexCoord> uvs;
    std::vector<Look> looks;
    // RGB bytes per vertex: what it shows as a point; empty: all show commonPoint.
    std::vector<uint8_t> pointColours;
    uint8_t commonPoint[3] = {0, 0, 0};

    size_t VertexCount() const { return sceneVertices ? sceneVertexCount : vertices.size(); }
    Vec3 Vertex(size_t i) const {
        return sceneVertices ? place.Apply(sceneVertices + 3 * i) : vertices[i];
    }
    size_t FaceCount() const { return sceneFaces ? sceneFaceCount : corners.size() / 3; }
    FaceCorners Corners(size_t f) const {
        if (sceneFaces) return {{sceneFaces[f].v[0], sceneFaces[f].v[1], sceneFaces[f].v[2]}};
        return {{corners[3 * f], corners[3 * f + 1], corners[3 * f + 2]}};
    }
    FaceStyle Style(size_t f) const {
        if (!styles.empty()) return styles[f];
        return {common.look, common.shading, uint8_t(sceneFaces[f].flags & EDGE_ALL)};
    }
    FaceCorners Attributes(size_t f) const {
        if (attributeCorners.empty()) return Corners(f);
        const uint32_t* a = &attributeCorners[3 * f];
        return {{a[0], a[1], a[2]}};
    }
    const uint8_t* PointColour(size_t i) const {
        return pointColours.empty() ? commonPoint : &pointColours[3 * i];
    }
};

// A named map channel drawn as colours instead of the meshes' own: each
// value on a ramp from the scene's smallest (blue) to its largest (red).
struct ColourScale {
    std::string channel;  // empty: the meshes' own colours
    float lo = 0, hi = 0;
};

// The ramp's colour at t from 0 to 1 (outside: clamped; NaN: grey).
Rgb RampColour(float t);

// Where a mesh's vertices lie in the drawing; empty (lo above hi) when it
// has no finite vertex.
struct Box {
    Vec3 lo{1, 1, 1}, hi{0, 0, 0};
    bool Empty() const { return !(lo.x <= hi.x); }
};

// A whole scene to draw. Meshes too large to turn smoothly have a reduced
// stand-in each for frames drawn while the camera moves.
struct SceneDrawing {
    std::vector<DrawMesh> meshes;
    std::vector<DrawMesh> reduced;                       // empty, or one per mesh (one without
                                                         // vertices: the mesh itself)
    std::vector<std::shared_ptr<const Image>> textures;  // what the looks point to
    ColourScale scale;  // its channel empty unless some mesh is coloured by one
    std::vector<Box> boxes;  // empty, or one per mesh (AddMeshBoxes)
};
