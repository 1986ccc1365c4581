// What one export writes, worked out from the scene before a byte is
// written: the nodes and their transforms, the properties of the file's
// records, the vertices split where their corners differ, and the polygons
// the triangles form. The plan holds no copy of a mesh.
#pragma once

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
// extra vertex), from malloc, only for meshes whose corners differ.
struct VertexSplit {
    uint32_t* firstCorner = nullptr;  // per vertex: the first corner using it, or kNoCorner
    uint32_t* variantCorner = nullptr;  // per extra vertex: its first corner
    int32_t* nextVariant = nullptr;   // per vertex and extra vertex: the next extra one, or -1
    uint32_t variants = 0;
    uint32_t room = 0;  // extra vertices the arrays can hold
};

const uint32_t kNoCorner = 0xFFFFFFFFu;

// One mesh node of the export.
struct NodePlan {
    INode* node;
    Mesh* mesh;
    double tm[4][3];  // object to world, with the export's flip and scale
    double normalTm[3][3];
    bool turnsNormals;
    // Map channels giving the columns, or kNoChannel; "aligned" ones index
    // their values by vertex, as the geometry faces do.
    int colourChannel, alphaChannel, textureChannel;
    bool colourAligned, alphaAligned, textureAligned;
    int16_t namedChannel[kMaxNamedColumns];  // map channel of each named column, or -1
    bool namedAligned[kMaxNamedColumns];
    bool hasNormals;
    VertexSplit split;
    bool splits;
    uint32_t firstVertex, vertexCount;  // in the file, extra vertices included
    uint32_t polygonCount;
    int materialBase, materialCount;  // the node's materials in the file's list
};

const int kNoChannel = -100;

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

// Gathers the scene's mesh nodes (the selected ones only when asked) and
// plans the file. Uses the host heap only, checked.
PlanResult PlanExport(IScene* scene, const ExportOptions& options, ExportPlan& plan);

// The file index of corner k of face f of the node.
uint32_t OutputVertex(const NodePlan& node, uint32_t f, int k);

// How many faces from f on make one polygon: they share its first corner,
// each joined to the one before by a hidden edge, as the import fans them.
uint32_t PolygonRun(const ExportPlan& plan, const NodePlan& node, uint32_t f);

// The value of a named column at a vertex of the file or a face of the mesh.
float NamedVertexValue(const NodePlan& node, int column, uint32_t vertex, uint32_t corner);
float NamedFaceValue(const NodePlan& node, int column, uint32_t face);

// The corner whose values a file vertex of the node takes (kNoCorner for a
// vertex no face uses), and its geometry vertex.
uint32_t CornerOfVertex(const NodePlan& node, uint32_t vertex);
uint32_t GeometryVertex(const NodePlan& node, uint32_t vertex);
