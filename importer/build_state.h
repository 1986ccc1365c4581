// What the stages of the mesh build share: the running state of one build
// and the helpers every stage calls. Only the build's own files include it.
#pragma once

#include <cstdint>

#include "importer/dazazu.h"

// Where a channel's entries come from. Per corner, every written triangle
// has three entries of its own (triangle j: 3j, 3j + 1, 3j + 2), so faces
// that share a vertex can still differ there: UV seams and face colours.
enum ChannelSource { kNoSource, kPerVertex, kPerCorner };

inline ChannelSource SourceOf(bool active, bool perVertex) {
    return !active ? kNoSource : perVertex ? kPerVertex : kPerCorner;
}

// The extra values of one element kept as map channels, one channel each
// from first up: a vertex element's one entry a vertex, a face element's one
// entry a face record, which all its triangles' corners point at.
struct ExtraChannels {
    int first = 0;
    int count = 0;
    const PlyElement* element = nullptr;  // whose extras.scalars they are, in order
    UVVert* values[kMaxExtraValues] = {};
    TVFace* faces[kMaxExtraValues] = {};
};

// One build's running state: what the steps share besides the importer.
struct BuildState {
    DazAzu& importer;
    Mesh& mesh;
    uint32_t vertexCount;        // N
    uint32_t triangleCount;      // F: the faces the mesh was sized for
    uint32_t written = 0;        // triangles written so far
    uint32_t materialCount = 0;  // M
    uint32_t nonFinite = 0;      // vertices with a coordinate out of range
    int counter = 0;
    bool normals = false;
    ChannelSource texture = kNoSource, colour = kNoSource, alpha = kNoSource;
    bool textureMaterials = false;  // faces name their texture's material by texnumber
    UVVert* alphaVerts = nullptr;
    TVFace* alphaFaces = nullptr;
    ExtraChannels vertexExtras = {}, faceExtras = {};
    bool extraChannels = false;  // either has some
    // The vertex colours are the grey of this extra value (-1: they are not),
    // times intensityScale (the inverse of an integer type's maximum).
    int intensity = -1;
    float intensityScale = 1.0f;
    uint32_t faceRecord = 0;  // the face record whose triangles are being written
    bool faceValueUnused = false;  // a face record with values gave no triangle
    // The far-off centre taken out of the positions while they were read,
    // flipped and scaled: part of the pivot.
    Point3 offsetPivot = Point3(0, 0, 0);
};

// The reader's message as the import's error text; false.
bool FailWithReaderError(DazAzu& importer);

// Formats a string-table message with a count into the error text; false.
bool FailWithCount(DazAzu& importer, int id, uint64_t count);

// Positions the reader at an element of the given kind: its record count
// (0 when the file has none) and flags. False, with the reader's message as
// the error text, when the seek failed.
bool SeekOrFail(DazAzu& importer, int kind, uint32_t* count, uint32_t* flags = nullptr);

// Reports the count done and tests for cancel; false once the user has
// cancelled.
bool ReportProgress(BuildState& b, uint32_t done);

// Every 2000 elements, ReportProgress; inline, as every record passes here.
inline bool ProgressPoint(BuildState& b, uint32_t done) {
    const int kReportInterval = 2000;
    return b.counter <= kReportInterval || ReportProgress(b, done);
}

// The mesh sized for the build's channels and faces, each checked against
// the memory the process can still take (mesh_sizing.cpp).
bool SizeMesh(BuildState& b);
// Cuts the face arrays down to the triangles written.
bool TrimToWrittenFaces(BuildState& b);
// Element checks need 12 bytes per element of the memory the process can
// still take; the host counts its entries in an int.
bool EnoughMemoryFor(uint64_t count);

// Gives the elements' extra values their map channels, in file order from
// channel 2 up, and notes those left over for the report; sizes them, and
// cuts their faces to the triangles written (extra_channels.cpp).
void PlanExtraChannels(BuildState& b);
bool SizeExtraChannels(BuildState& b);
bool TrimExtraChannels(BuildState& b);
// The channels' names as the node's user properties, one line each.
void NameExtraChannels(const BuildState& b, CStr& userProps);

// Sets the colour and alpha sources, reading the colours when vertices and
// faces both have some (colour_choice.cpp).
bool ChooseColourSources(BuildState& b);

// The intensity's part in the vertex colours, once the colour sources are
// chosen; after the vertices, a float intensity that does not lie in 0..1
// divided by its largest value, and every grey clamped (colour_choice.cpp).
void ChooseIntensityColours(BuildState& b);
void FinishIntensityColours(BuildState& b);

// Reads the face element (polygons, strips or a range grid) into triangles
// (face_writers.cpp).
bool ReadFaces(BuildState& b);
