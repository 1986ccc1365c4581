// What one export writes, worked out from the scene before a byte is
// written: the nodes and their transforms, the properties of the file's
// records, the vertices split where their corners differ, and the polygons
// the triangles form. The plan holds no copy of a mesh.
#pragma once

#include <cmath>
#include <cstdint>

#include "exporter/exportoptions.h"
#include "hostsdk/max.h"
#include "importer/fixedlist.h"

const int kMaxNamedColumns = 128;
const int kNameSize = 64;

// A named map channel as a float property of the vertex or face element.
struct NamedColumn {
    char name[kNameSize];
    bool perFace;
};

// How a vertex's corners are told apart: one entry per vertex (and per
// extra vertex, and two bits a corner), from malloc, only for meshes whose
// corners differ.
struct VertexSplit {
    uint32_t* firstCorner = nullptr;  // per vertex: the first corner using it, or kNoCorner
    uint32_t* variantCorner = nullptr;  // per extra vertex: its first corner
    int32_t* nextVariant = nullptr;   // per vertex and extra vertex: the next extra one, or -1
    // Two bits a corner: 0 its vertex, 1 or 2 that many links down the
    // vertex's extra ones, 3 further (looked up again).
    uint8_t* cornerSteps = nullptr;
    uint32_t variants = 0;
    uint32_t room = 0;  // extra vertices the arrays can hold
};

const uint32_t kNoCorner = 0xFFFFFFFFu;

// A map channel's arrays, taken once, so the writing reads them directly.
struct ChannelArrays {
    const UVVert* verts = nullptr;  // null: the mesh has no such channel
    const TVFace* faces = nullptr;
    uint32_t numVerts = 0, numFaces = 0;
    // Indexed by vertex, as the geometry faces are: no vertex splits for it.
    bool aligned = false;

    // The value at a corner (3 f + k); null where the channel has none.
    const UVVert* AtCorner(uint32_t corner) const {
        if (corner / 3 >= numFaces) return nullptr;
        const DWORD v = faces[corner / 3].t[corner % 3];
        return v < numVerts ? &verts[v] : nullptr;
    }
    DWORD IndexAtCorner(uint32_t corner) const {
        return corner / 3 < numFaces ? faces[corner / 3].t[corner % 3] : 0xFFFFFFFFu;
    }
};

// A colour or alpha value as the file's byte: 0..1 to 0..255, rounded;
// out of range and NaN clamped.
inline uint8_t ColourByte(float v) {
    if (!(v > 0.0f)) return 0;
    if (v >= 1.0f) return 255;
    return uint8_t(std::lround(v * 255.0f));
}

// How two corners' values in a channel are compared: as the file keeps them.
enum CompareAs { kCompareColour, kCompareAlpha, kCompareTwoFloats, kCompareOneFloat };

struct SplitColumn {
    const ChannelArrays* channel;
    CompareAs compare;
};

// One mesh node of the export.
struct NodePlan {
    INode* node;
    Mesh* mesh;
    double tm[4][3];  // object to world, with the export's flip and scale
    double normalTm[3][3];
    bool turnsNormals;
    const Point3* normals;  // the explicit normals, or null
    ChannelArrays colour, alpha, texture;
    // One entry a named column (from calloc), only for a node that names
    // channels: most have none, and a scene may have thousands of nodes.
    ChannelArrays* named;
    // The columns whose corners may differ at a vertex (from malloc).
    int splitColumnCount;
    SplitColumn* splitColumns;
    VertexSplit split;
    bool splits;
    // One bit a face, set where a polygon starts (from malloc).
    uint8_t* polygonStarts;
    uint32_t firstVertex, vertexCount;  // in the file, extra vertices included
    uint32_t polygonCount;
    uint32_t maxCorners;  // of its largest polygon
    int materialBase, materialCount;  // the node's materials in the file's list
};


struct ExportPlan {
    ExportPlan() = default;
    ~ExportPlan();
    ExportPlan(const ExportPlan&) = delete;
    ExportPlan& operator=(const ExportPlan&) = delete;

    FixedList<NodePlan> nodes;
    bool doublePositions = false;
    bool normals = false, colours = false, alpha = false, texCoords = false;
    bool materialIndex = false;
    int namedCount = 0;
    NamedColumn named[kMaxNamedColumns];
    int namedLeftOut = 0;  // channels past kMaxNamedColumns
    // Materials, each node's in turn; their diffuse maps name the texture files.
    FixedList<Mtl*> materials;
    uint64_t vertexTotal = 0;
    uint64_t polygonTotal = 0;
    uint32_t maxCorners = 3;
};

// The outcome of planning: empty reason on success.
struct PlanResult {
    bool ok;
    int messageId;        // string-table id of the failure
    const char* subject;  // its %s (a node name), or null
    uint64_t count;       // its %d, where it has one
};

// The scene's mesh nodes (the selected ones only when asked), counted.
size_t CountMeshNodes(IScene* scene, bool selectedOnly);

// Gathers the scene's mesh nodes (the selected ones only when asked) and
// plans the file. Uses the host heap only, checked.
PlanResult PlanExport(IScene* scene, const ExportOptions& options, ExportPlan& plan);

// The file vertex of a corner when the node's vertices split.
uint32_t SplitVertexOf(const NodePlan& node, uint32_t corner);

// The file index of corner k of face f of the node, counted in the node.
inline uint32_t OutputVertex(const NodePlan& node, uint32_t f, int k) {
    return node.splits ? SplitVertexOf(node, 3 * f + uint32_t(k)) : node.mesh->faces[f].v[k];
}

// Where a polygon starts: the faces the import fanned from one polygon,
// joined by hidden edges, are written as that polygon again.
inline bool StartsPolygon(const NodePlan& node, uint32_t f) {
    return (node.polygonStarts[f / 8] >> (f % 8)) & 1;
}

// The corner whose values a file vertex of the node takes (kNoCorner for a
// vertex no face uses, and wherever nothing splits).
inline uint32_t CornerOfVertex(const NodePlan& node, uint32_t vertex) {
    if (!node.splits) return kNoCorner;
    const uint32_t base = uint32_t(node.mesh->numVerts);
    return vertex < base ? node.split.firstCorner[vertex] : node.split.variantCorner[vertex - base];
}

// The geometry vertex of a file vertex of the node.
inline uint32_t GeometryVertex(const NodePlan& node, uint32_t vertex) {
    if (vertex < uint32_t(node.mesh->numVerts)) return vertex;
    const uint32_t corner = CornerOfVertex(node, vertex);
    return node.mesh->faces[corner / 3].v[corner % 3];
}

// A channel's value at a file vertex of the node, from its corner where
// the channel is kept per corner; fallback where it has none.
inline UVVert VertexValue(const NodePlan& node, const ChannelArrays& channel, uint32_t vertex,
                          uint32_t corner, const UVVert& fallback) {
    if (!channel.verts) return fallback;
    if (channel.aligned) return channel.verts[GeometryVertex(node, vertex)];
    const UVVert* value = corner == kNoCorner ? nullptr : channel.AtCorner(corner);
    return value ? *value : fallback;
}

// A named column's channel in the node; one without values where it has none.
inline const ChannelArrays& NamedChannel(const NodePlan& node, int column) {
    static const ChannelArrays kNone;
    return node.named ? node.named[column] : kNone;
}

// A named column's value on a face of the mesh (0 where it has none).
inline float NamedFaceValue(const NodePlan& node, int column, uint32_t face) {
    const UVVert* value = NamedChannel(node, column).AtCorner(3 * face);
    return value ? value->x : 0.0f;
}
