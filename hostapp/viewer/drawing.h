// What the renderer draws and draws into: meshes of indexed faces with their
// looks (a colour, corner colours or a texture) and visible edges, a whole
// scene of them, and RGB pictures.
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
// faces, about 30 bytes a face (a grid: 29.5, 31.5 with normals). A mesh
// without faces is a point cloud.
struct DrawMesh {
    std::vector<Vec3> vertices;
    std::vector<uint32_t> normals;           // one per vertex (PackNormal), world space;
                                             // empty: faces are shaded flat
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
    std::vector<DrawMesh> reduced;                       // empty, or one per mesh (one without
                                                         // vertices: the mesh itself)
    std::vector<std::shared_ptr<const Image>> textures;  // what the looks point to
};
