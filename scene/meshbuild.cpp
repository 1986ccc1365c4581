// Turns the records of the PLY reader into the host mesh, on the worker thread.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "plugin/dazazu.h"
#include "plugin/platform.h"
#include "plugin/resstring.h"
#include "ply/ply_messages.h"
#include "ply/range_grid.h"
#include "ply/tristrips.h"
#include "resources/resource_ids.h"
#include "scene/build_messages.h"
#include "scene/importedmesh.h"
#include "scene/progress.h"

namespace {

const int kReportInterval = 2000;
const uint64_t kFaceReserve = 100000000;

// Where a channel's entries come from. Per corner, every written triangle
// has three entries of its own (triangle j: 3j, 3j + 1, 3j + 2), so faces
// that share a vertex can still differ there: UV seams and face colours.
enum ChannelSource { kNoSource, kPerVertex, kPerCorner };

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
    // The far-off centre taken out of the positions while they were read,
    // flipped and scaled: part of the pivot.
    Point3 offsetPivot = Point3(0, 0, 0);
};

ChannelSource SourceOf(bool active, bool perVertex) {
    return !active ? kNoSource : perVertex ? kPerVertex : kPerCorner;
}

void SendStepText(DazAzu& importer, int id) {
    SendToWindow(importer.progressWindow, kProgressStepText, id, 0);
}

void SendCount(DazAzu& importer, uint32_t done) {
    SendToWindow(importer.progressWindow, kProgressCount, 0, static_cast<intptr_t>(done));
}

void SendFraction(DazAzu& importer, float fraction) {
    SendToWindow(importer.progressWindow, kProgressFraction, 0,
                 reinterpret_cast<intptr_t>(&fraction));
}

// Formats a string-table message with a count into the error text; false.
bool FailWithCount(DazAzu& importer, int id, uint64_t count) {
    const char* format = LoadResString(id);
    importer.errorText.printf(format ? format : "%d",
                              static_cast<int>(std::min<uint64_t>(count, INT32_MAX)));
    return false;
}

bool FailWithReaderError(DazAzu& importer) {
    importer.errorText = importer.reader.ErrorText().c_str();
    return false;
}

// Element checks need 12 bytes per element of the memory the process can still take;
// the host counts its entries in an int.
bool EnoughMemoryFor(uint64_t count) {
    return count <= INT32_MAX && 12ull * count <= AvailableMemory();
}

uint64_t ChannelEntries(const BuildState& b, ChannelSource source) {
    return source == kPerVertex ? b.vertexCount : 3ull * b.triangleCount;
}

bool EnoughMemoryForFaces(uint32_t count) {
    return 20ull * count + kFaceReserve <= AvailableMemory();
}

bool SizeMesh(BuildState& b) {
    DazAzu& im = b.importer;
    const uint32_t n = b.vertexCount, f = b.triangleCount;
    if (!EnoughMemoryFor(n) || !b.mesh.setNumVerts(n, FALSE, TRUE))
        return FailWithCount(im, IDS_NO_MEMORY_VERTICES, n);
    if (b.texture) {
        const uint64_t entries = ChannelEntries(b, b.texture);
        if (!EnoughMemoryFor(entries) || !b.mesh.setNumTVerts(int(entries), FALSE))
            return FailWithCount(im, IDS_NO_MEMORY_TVERTICES, entries);
        if (!EnoughMemoryFor(f) || !b.mesh.setNumTVFaces(f, FALSE, 0))
            return FailWithCount(im, IDS_NO_MEMORY_TVFACES, f);
    }
    if (b.colour) {
        const uint64_t entries = ChannelEntries(b, b.colour);
        if (!EnoughMemoryFor(entries) || !b.mesh.setNumVertCol(int(entries), FALSE))
            return FailWithCount(im, IDS_NO_MEMORY_CVERTICES, entries);
        if (!EnoughMemoryFor(f) || !b.mesh.setNumVCFaces(f, FALSE, 0))
            return FailWithCount(im, IDS_NO_MEMORY_CVFACES, f);
    }
    // Alpha belongs to the colours: it shares their option and their messages.
    if (b.alpha) {
        const uint64_t entries = ChannelEntries(b, b.alpha);
        b.mesh.setMapSupport(MAP_ALPHA);
        if (!EnoughMemoryFor(entries) || !b.mesh.setNumMapVerts(MAP_ALPHA, int(entries), FALSE))
            return FailWithCount(im, IDS_NO_MEMORY_CVERTICES, entries);
        if (!EnoughMemoryFor(f) || !b.mesh.setNumMapFaces(MAP_ALPHA, f, FALSE, 0))
            return FailWithCount(im, IDS_NO_MEMORY_CVFACES, f);
        b.alphaVerts = b.mesh.mapVerts(MAP_ALPHA);
        b.alphaFaces = b.mesh.mapFaces(MAP_ALPHA);
    }
    if (f != 0 && (!EnoughMemoryForFaces(f) || !b.mesh.setNumFaces(f, FALSE, TRUE)))
        return FailWithCount(im, IDS_NO_MEMORY_FACES, f);
    return true;
}

// Tests for cancel every 2000 elements and reports the count done.
bool ProgressPoint(BuildState& b, uint32_t done) {
    if (b.counter <= kReportInterval) return true;
    SendCount(b.importer, done);
    b.counter = 0;
    return b.importer.cancelFlag == 0;
}

bool IsFinite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

bool ReadVertices(BuildState& b) {
    DazAzu& im = b.importer;
    const ImportOptions& o = im.options;
    // Without memory for the normals the mesh simply has none.
    Point3* normals = b.normals ? b.mesh.explicitNormalArray() : nullptr;
    for (uint32_t i = 0; i < b.vertexCount; ++i) {
        ++b.counter;
        if (!ProgressPoint(b, i)) return false;
        // A coordinate the element lacks reads as x = 10, y = z = 0.
        float position[3] = {10.0f, 0.0f, 0.0f};
        float normal[3] = {0, 0, 0}, uvw[3] = {0, 0, 0}, colour[3] = {0, 0, 0};
        float alpha = 1.0f;
        if (!im.reader.ReadVertex(position, b.normals ? normal : nullptr,
                                  b.texture == kPerVertex ? uvw : nullptr,
                                  b.colour == kPerVertex ? colour : nullptr,
                                  b.alpha == kPerVertex ? &alpha : nullptr))
            return FailWithReaderError(im);
        Point3 p(position[0], position[1], position[2]);
        // 0 - z rather than -z, so a zero stays +0 in the mesh and the pivot.
        if (o.flipZY) p = Point3(p.x, 0.0f - p.z, p.y);
        b.mesh.verts[i] = p * o.scale;
        if (!IsFinite(b.mesh.verts[i])) ++b.nonFinite;
        if (normals) {
            Point3 nrm(normal[0], normal[1], normal[2]);
            if (o.flipZY) nrm = Point3(nrm.x, 0.0f - nrm.z, nrm.y);
            normals[i] = nrm;
        }
        if (b.texture == kPerVertex) b.mesh.tVerts[i] = Point3(uvw[0], uvw[1], 0.0f);
        if (b.colour == kPerVertex) b.mesh.vertCol[i] = Point3(colour[0], colour[1], colour[2]);
        if (b.alpha == kPerVertex) b.alphaVerts[i] = UVVert(alpha, alpha, alpha);
    }
    return true;
}

// Whether every record of an element gave one colour, and one alpha.
struct Uniformity {
    bool colours = true;
    bool alpha = true;
    bool seen = false;
    float first[4] = {0, 0, 0, 0};

    // rgba: red, green, blue, alpha.
    void Add(const float rgba[4]) {
        if (!seen) std::memcpy(first, rgba, sizeof first);
        seen = true;
        colours = colours && std::memcmp(first, rgba, 3 * sizeof(float)) == 0;
        alpha = alpha && std::memcmp(first + 3, rgba + 3, sizeof(float)) == 0;
    }
};

// The cancel flag, looked at now and then in the passes that report no progress.
bool Cancelled(const DazAzu& importer, uint32_t k) {
    return (k & 0xFFFF) == 0 && importer.cancelFlag != 0;
}

// Reads on until both are known to vary.
bool ReadVertexUniformity(DazAzu& im, Uniformity* u) {
    const uint32_t n = static_cast<uint32_t>(im.reader.SeekElement(kElementVertex));
    if (n == 0 && !im.reader.ErrorText().empty()) return FailWithReaderError(im);
    for (uint32_t i = 0; i < n && (u->colours || u->alpha); ++i) {
        if (Cancelled(im, i)) return false;
        float position[3], rgba[4] = {0, 0, 0, 1};
        if (!im.reader.ReadVertex(position, nullptr, nullptr, rgba, &rgba[3]))
            return FailWithReaderError(im);
        u->Add(rgba);
    }
    return true;
}

bool ReadFaceUniformity(DazAzu& im, Uniformity* u) {
    const uint32_t n = static_cast<uint32_t>(im.reader.SeekElement(kElementFace));
    if (n == 0 && !im.reader.ErrorText().empty()) return FailWithReaderError(im);
    IndexList indices;
    FaceExtras extras;
    for (uint32_t f = 0; f < n && (u->colours || u->alpha); ++f) {
        if (Cancelled(im, f)) return false;
        int32_t corners = 0;
        if (!im.reader.ReadFace(&corners, &indices, nullptr, &extras))
            return FailWithReaderError(im);
        u->Add(extras.colour);
    }
    return true;
}

// Vertex colours win over face colours, unless they are all one colour and
// the faces' are not: scanners that colour the faces may leave every vertex
// white. The same for alpha. The colours are read for this only when both
// the vertices and the faces have some; the reader stands at the vertices
// again afterwards.
bool ChooseColourSources(BuildState& b) {
    DazAzu& im = b.importer;
    bool vertexColours = (im.vertexFlags & kFlagColours) != 0;
    bool vertexAlpha = (im.vertexFlags & kFlagAlpha) != 0;
    const bool bothColours = vertexColours && (im.faceFlags & kFlagColours);
    const bool bothAlpha = vertexAlpha && (im.faceFlags & kFlagAlpha);
    if ((bothColours && im.ColourChannelActive()) || (bothAlpha && im.AlphaChannelActive())) {
        Uniformity vertices, faces;
        if (!ReadVertexUniformity(im, &vertices)) return false;
        faces.colours = bothColours && vertices.colours;
        faces.alpha = bothAlpha && vertices.alpha;
        if ((faces.colours || faces.alpha) && !ReadFaceUniformity(im, &faces)) return false;
        vertexColours = vertexColours && !(bothColours && vertices.colours && !faces.colours);
        vertexAlpha = vertexAlpha && !(bothAlpha && vertices.alpha && !faces.alpha);
        if (im.reader.SeekElement(kElementVertex) == 0 && !im.reader.ErrorText().empty())
            return FailWithReaderError(im);
    }
    b.colour = SourceOf(im.ColourChannelActive(), vertexColours);
    b.alpha = SourceOf(im.AlphaChannelActive(), vertexAlpha);
    return true;
}

// Double positions far from the origin would lose their detail as floats:
// with the pivot to be centred anyway, the centre of their box (the pivot
// as it would be found later) is taken out in double while they are read.
bool TakeOutFarCentre(BuildState& b) {
    DazAzu& im = b.importer;
    const ImportOptions& o = im.options;
    if (!(im.vertexFlags & kFlagDoublePositions) || !o.centerPivot) return true;
    double low[3], high[3], centre[3];
    if (!im.reader.ReadPositionBounds(low, high)) return FailWithReaderError(im);
    for (int k = 0; k < 3; ++k) centre[k] = low[k] <= high[k] ? (low[k] + high[k]) / 2 : 0.0;
    const double s = o.scale;
    const Point3 pivot =
        o.flipZY ? Point3(float(centre[0] * s), float((0.0 - centre[2]) * s), float(centre[1] * s))
                 : Point3(float(centre[0] * s), float(centre[1] * s), float(centre[2] * s));
    if (IsFinite(pivot)) {
        im.reader.SetPositionOffset(centre);
        b.offsetPivot = pivot;
    }
    if (im.reader.SeekElement(kElementVertex) == 0 && !im.reader.ErrorText().empty())
        return FailWithReaderError(im);
    return true;
}

// A vertex out of range (an infinite or NaN coordinate, or one that the
// scale carried past the float range) is kept, at the centre of the finite
// vertices' box, so the box and the pivot stay those of the finite vertices.
void PlaceNonFiniteVertices(BuildState& b) {
    Box3 box;
    for (uint32_t i = 0; i < b.vertexCount; ++i)
        if (IsFinite(b.mesh.verts[i])) box += b.mesh.verts[i];
    const Point3 centre = box.IsEmpty() ? Point3(0, 0, 0) : box.Center();
    for (uint32_t i = 0; i < b.vertexCount; ++i)
        if (!IsFinite(b.mesh.verts[i])) b.mesh.verts[i] = centre;
}

bool FailForMaterials(DazAzu& importer, uint32_t count) {
    importer.errorText.printf(kMsgNoMemoryMaterials, static_cast<int>(count));
    return false;
}

// The record's name: the base name and the record's number. The base name
// gives way, by whole characters, so that the number always fits.
void NameRecord(PlyMaterial& record, const char* baseName, uint32_t k) {
    char number[16];
    const size_t numberLength = static_cast<size_t>(std::snprintf(number, sizeof number, "_%u", k));
    const size_t room = sizeof record.name - 1 - numberLength;
    const char* end = baseName;
    while (*end) {
        const char* next = NextChar(end);
        if (static_cast<size_t>(next - baseName) > room) break;
        end = next;
    }
    const size_t baseLength = static_cast<size_t>(end - baseName);
    std::memcpy(record.name, baseName, baseLength);
    std::memcpy(record.name + baseLength, number, numberLength + 1);
}

// The records are sized once from the count. A face names its material with
// a 16-bit id, so records past the first kMaxMaterialRecords could never be
// used: they are not read (the faces are found by their own seek), and the
// import says how many.
bool ReadMaterialRecords(BuildState& b) {
    DazAzu& im = b.importer;
    b.materialCount = static_cast<uint32_t>(im.reader.SeekElement(kElementMaterial));
    if (b.materialCount == 0 && !im.reader.ErrorText().empty()) return FailWithReaderError(im);
    const uint32_t kept = std::min(b.materialCount, uint32_t(DazAzu::kMaxMaterialRecords));
    if (!EnoughMemoryFor(b.materialCount) || !im.materialRecords.Allocate(kept))
        return FailForMaterials(im, b.materialCount);
    im.skippedMaterials = b.materialCount - kept;
    for (uint32_t k = 0; k < kept; ++k) {
        PlyMaterial record;
        const bool read = im.reader.ReadMaterial(&record);
        // Each record named by its index, so the materials of one file can be
        // told apart.
        NameRecord(record, im.baseName, k);
        im.materialRecords.Append(record);
        if (!read) return FailWithReaderError(im);
    }
    return true;
}

bool InRange(int32_t index, uint32_t vertexCount) {
    return index >= 0 && static_cast<uint32_t>(index) < vertexCount;
}

bool IndicesInRange(const IndexList& indices, int32_t n, uint32_t vertexCount) {
    for (int32_t k = 0; k < n; ++k)
        if (!InRange(indices[k], vertexCount)) return false;
    return true;
}

// The face is written whole: smoothing group 1, the id above the edge bits.
void WriteTriangle(BuildState& b, int32_t a, int32_t c, int32_t d, MtlID id, DWORD edges) {
    Face& face = b.mesh.faces[b.written];
    face.setVerts(a, c, d);
    face.smGroup = 1;
    face.flags = (DWORD(id) << FACE_MATID_SHIFT) | edges;
    if (b.texture == kPerVertex) b.mesh.tvFace[b.written].setTVerts(a, c, d);
    if (b.colour == kPerVertex) b.mesh.vcFace[b.written].setTVerts(a, c, d);
    if (b.alpha == kPerVertex) b.alphaFaces[b.written].setTVerts(a, c, d);
    ++b.written;
}

// What a face gives each of its corners. A texcoord list that does not fit
// the face's corners gives them (0, 0).
struct FaceCorners {
    const FaceExtras& extras;
    bool texCoordsFit;
};

// The per-corner entries of the triangle just written, from corners k[0..2]
// of its face.
void WriteCorners(BuildState& b, const FaceCorners& face, const int32_t k[3]) {
    const uint32_t j = b.written - 1, first = 3 * j;
    const FloatList& uv = face.extras.texCoords;
    const float* rgba = face.extras.colour;
    for (int m = 0; m < 3; ++m) {
        if (b.texture == kPerCorner)
            b.mesh.tVerts[first + m] =
                face.texCoordsFit ? UVVert(uv[2 * k[m]], uv[2 * k[m] + 1], 0.0f) : UVVert(0, 0, 0);
        if (b.colour == kPerCorner)
            b.mesh.vertCol[first + m] = VertColor(rgba[0], rgba[1], rgba[2]);
        if (b.alpha == kPerCorner) b.alphaVerts[first + m] = UVVert(rgba[3], rgba[3], rgba[3]);
    }
    if (b.texture == kPerCorner) b.mesh.tvFace[j].setTVerts(first, first + 1, first + 2);
    if (b.colour == kPerCorner) b.mesh.vcFace[j].setTVerts(first, first + 1, first + 2);
    if (b.alpha == kPerCorner) b.alphaFaces[j].setTVerts(first, first + 1, first + 2);
}

// A polygon becomes a fan around its first vertex; only its outline stays
// visible. Every index of the polygon is used, however many there are, and
// its corners' entries are fanned the same way.
void WriteFan(BuildState& b, const IndexList& v, int32_t n, MtlID id, const FaceCorners* face) {
    int32_t corners[3] = {0, 1, 2};
    WriteTriangle(b, v[0], v[1], v[2], id, n == 3 ? EDGE_ALL : EDGE_A | EDGE_B);
    if (face) WriteCorners(b, *face, corners);
    for (int32_t k = 3; k < n; ++k) {
        WriteTriangle(b, v[0], v[k - 1], v[k], id, k == n - 1 ? EDGE_B | EDGE_C : EDGE_B);
        corners[1] = k - 1;
        corners[2] = k;
        if (face) WriteCorners(b, *face, corners);
        ++b.counter;
    }
}

// The material id rules, shared by faces and strips: the id keeps its
// value from face to face unless a rule applies. When the textures make the
// materials, the face's texnumber names its texture's.
MtlID NextMaterialId(const BuildState& b, MtlID id, bool hasMaterialIndex, int32_t materialIndex,
                     const FaceExtras* extras) {
    const DazAzu& im = b.importer;
    if (b.materialCount == 1 || b.colour) id = 1;
    if (im.options.materials && (hasMaterialIndex || b.materialCount == 1))
        id = static_cast<MtlID>(materialIndex & 0xFFFF);
    if (b.textureMaterials) id = extras ? static_cast<MtlID>(extras->texNumber & 0xFFFF) : 0;
    return id;
}

// A strip or grid triangle stands alone, all three edges visible. False
// when it is one more than were counted.
bool WriteLoneTriangle(BuildState& b, int32_t v0, int32_t v1, int32_t v2, MtlID id) {
    if (b.written == b.triangleCount) return false;
    ++b.counter;
    if (!InRange(v0, b.vertexCount) || !InRange(v1, b.vertexCount) || !InRange(v2, b.vertexCount)) {
        ++b.importer.skippedFaces;
        return true;
    }
    WriteTriangle(b, v0, v1, v2, id, EDGE_ALL);
    return true;
}

// A strip yields many triangles from one record, so the count reported is
// the triangles written, against the total N + F.
bool ReadStrips(BuildState& b) {
    DazAzu& im = b.importer;
    uint32_t flags = 0;
    const uint32_t stripCount =
        static_cast<uint32_t>(im.reader.SeekElement(kElementTriStrips, &flags));
    if (stripCount == 0 && !im.reader.ErrorText().empty()) return FailWithReaderError(im);
    const bool hasMaterialIndex = (flags & kFlagMaterialNumbers) != 0;
    IndexList indices;
    MtlID id = 0;
    for (uint32_t s = 0; s < stripCount; ++s) {
        if (!ProgressPoint(b, b.vertexCount + b.written)) return false;
        int32_t n = 0;
        int32_t materialIndex = 0;
        if (!im.reader.ReadFace(&n, &indices, &materialIndex)) return FailWithReaderError(im);
        id = NextMaterialId(b, id, hasMaterialIndex, materialIndex, nullptr);
        bool counted = true;
        ForEachStripTriangle(indices.data(), size_t(std::max(n, 0)),
                             [&](int32_t v0, int32_t v1, int32_t v2) {
                                 counted = counted && WriteLoneTriangle(b, v0, v1, v2, id);
                             });
        if (!counted) {
            im.errorText = kMsgFaceDataMismatch;
            return false;
        }
    }
    return true;
}

// A range scan's surface, from its grid cells in turn. Progress is
// reported, as for strips, by the triangles written. A grid counted without
// triangles (cells that hold no list) is not read at all.
bool ReadRangeGrid(BuildState& b) {
    DazAzu& im = b.importer;
    if (b.triangleCount == 0) return true;
    const uint32_t cells = static_cast<uint32_t>(im.reader.SeekElement(kElementRangeGrid));
    if (cells == 0 && !im.reader.ErrorText().empty()) return FailWithReaderError(im);
    RangeGridTriangles grid;
    const int32_t columns = im.reader.RangeGridColumns();
    if (!grid.Start(columns)) {
        im.errorText.printf(kMsgNoMemoryRangeGrid, static_cast<int>(columns));
        return false;
    }
    const MtlID id = NextMaterialId(b, 0, false, 0, nullptr);
    bool counted = true;
    for (uint32_t k = 0; k < cells && counted; ++k) {
        if (!ProgressPoint(b, b.vertexCount + b.written)) return false;
        int32_t vertex = -1;
        if (!im.reader.ReadGridCell(&vertex)) return FailWithReaderError(im);
        grid.Add(vertex, [&](int32_t v0, int32_t v1, int32_t v2) {
            counted = counted && WriteLoneTriangle(b, v0, v1, v2, id);
        });
    }
    if (!counted) im.errorText = kMsgFaceDataMismatch;
    return counted;
}

bool ReadFaces(BuildState& b) {
    DazAzu& im = b.importer;
    if (im.reader.FaceSourceKind() == kElementTriStrips) return ReadStrips(b);
    if (im.reader.FaceSourceKind() == kElementRangeGrid) return ReadRangeGrid(b);
    uint32_t flags = 0;
    const uint32_t faceCount = static_cast<uint32_t>(im.reader.SeekElement(kElementFace, &flags));
    if (faceCount == 0 && !im.reader.ErrorText().empty()) return FailWithReaderError(im);
    const bool hasMaterialIndex = (flags & kFlagMaterialNumbers) != 0;
    const bool perCorner =
        b.texture == kPerCorner || b.colour == kPerCorner || b.alpha == kPerCorner;
    const bool texNumbers = b.textureMaterials && (flags & kFlagTexNumbers);
    // Without per-corner data the faces are read as before, at full speed.
    FaceExtras extras;
    FaceExtras* wanted = perCorner || texNumbers ? &extras : nullptr;
    IndexList indices;
    MtlID id = 0;
    for (uint32_t f = 0; f < faceCount; ++f) {
        if (!ProgressPoint(b, b.vertexCount + f)) return false;
        int32_t n = 0;
        int32_t materialIndex = 0;  // what a face without material_index carries
        if (!im.reader.ReadFace(&n, &indices, &materialIndex, wanted))
            return FailWithReaderError(im);
        id = NextMaterialId(b, id, hasMaterialIndex, materialIndex, texNumbers ? wanted : nullptr);
        ++b.counter;
        // Fewer than three corners enclose no area: such a face yields no
        // triangle, as the triangle count already says.
        if (n < 3) continue;
        if (static_cast<uint64_t>(b.written) + (n - 2) > b.triangleCount) {
            im.errorText = kMsgFaceDataMismatch;
            return false;
        }
        if (!IndicesInRange(indices, n, b.vertexCount)) {
            ++im.skippedFaces;
            continue;
        }
        const FaceCorners corners{extras, extras.texCoordCount == 2 * n};
        if (b.texture == kPerCorner && !corners.texCoordsFit) ++im.skippedTexCoords;
        WriteFan(b, indices, n, id, perCorner ? &corners : nullptr);
    }
    return true;
}

// Faces left out leave the end of the face arrays unused: cut them off.
bool TrimToWrittenFaces(BuildState& b) {
    if (b.written == b.triangleCount) return true;
    const uint32_t j = b.written, f = b.triangleCount;
    Mesh& m = b.mesh;
    if (!m.setNumFaces(j, TRUE, TRUE) || (b.texture && !m.setNumTVFaces(j, TRUE, f)) ||
        (b.texture == kPerCorner && !m.setNumTVerts(3 * j, TRUE)) ||
        (b.colour && !m.setNumVCFaces(j, TRUE, f)) ||
        (b.colour == kPerCorner && !m.setNumVertCol(3 * j, TRUE)) ||
        (b.alpha && !m.setNumMapFaces(MAP_ALPHA, j, TRUE, f)) ||
        (b.alpha == kPerCorner && !m.setNumMapVerts(MAP_ALPHA, 3 * j, TRUE)))
        return FailWithCount(b.importer, IDS_NO_MEMORY_FACES, j);
    return true;
}

void CentrePivot(BuildState& b, ImportedMesh& record) {
    Box3 box = b.mesh.getBoundingBox(nullptr);
    Point3 centre = (box.pmin + box.pmax) * 0.5f;
    b.mesh.subtractFromVerts(centre);
    record.pivot = centre + b.offsetPivot;
}

void Finish(BuildState& b, ImportedMesh& record) {
    DazAzu& im = b.importer;
    // Decided by the triangles written, not the count: a file whose faces
    // were all left out keeps its vertices, like a point cloud.
    const bool hasFaces = b.written != 0;
    int steps = hasFaces ? 5 : 2;
    if (!im.options.centerPivot) --steps;
    if (!im.options.generateNormals) --steps;
    // With no step at all the bar simply shows complete.
    const float step = steps > 0 ? 1.0f / steps : 1.0f;
    float fraction = 0.0f;
    SendFraction(im, fraction);
    if (hasFaces) {
        SendStepText(im, IDS_STEP_ISOLATED_VERTICES);
        b.mesh.DeleteIsoVerts();
        if (b.texture) b.mesh.DeleteIsoMapVerts();
        SendFraction(im, fraction += step);
        if (im.options.generateNormals) {
            SendStepText(im, IDS_STEP_BUILDING_NORMALS);
            b.mesh.buildNormals();
        }
        SendFraction(im, fraction += step);
        SendStepText(im, IDS_STEP_UPDATING_EDGES);
        b.mesh.InvalidateEdgeList();
    }
    SendStepText(im, IDS_STEP_BOUNDING_BOX);
    b.mesh.buildBoundingBox();
    SendFraction(im, fraction += step);
    if (im.options.centerPivot) {
        SendStepText(im, IDS_STEP_CENTER_PIVOT);
        CentrePivot(b, record);
    }
    SendFraction(im, 1.0f);
}

// The record comes from the host heap, whose new answers null rather than
// throwing.
ImportedMesh* CreateImportedMesh(const char* name) {
    ImportedMesh* record = new ImportedMesh();
    if (!record) return nullptr;
    record->name = name;
    record->triObject = CreateNewTriObject();
    if (!record->triObject) {
        delete record;
        return nullptr;
    }
    return record;
}

}  // namespace

void DeleteImportedMesh(ImportedMesh* mesh) {
    if (!mesh) return;
    if (mesh->triObject) mesh->triObject->DeleteMe();
    delete mesh;
}

bool DazAzu::NormalChannelActive() const {
    return options.vertexNormals && (vertexFlags & kFlagNormals);
}

// The vertices' u/v, else the face's per-corner list.
bool DazAzu::HasTextureCoords() const {
    return (vertexFlags & kFlagTextureCoords) || (faceFlags & kFlagCornerTexCoords);
}

// Colours or alpha, of the vertices or of the faces.
bool DazAzu::HasColours() const {
    return ((vertexFlags | faceFlags) & (kFlagColours | kFlagAlpha)) != 0;
}

bool DazAzu::TextureChannelActive() const { return options.textureCoords && HasTextureCoords(); }

bool DazAzu::ColourChannelActive() const {
    return options.vertexColors && ((vertexFlags | faceFlags) & kFlagColours);
}

// Alpha goes with the colours: imported when "Vertex Colors" is on.
bool DazAzu::AlphaChannelActive() const {
    return options.vertexColors && ((vertexFlags | faceFlags) & kFlagAlpha);
}

// Texture files make materials of their own when the file gives none.
bool DazAzu::TexturesMakeMaterials() const {
    return TextureChannelActive() && !reader.TextureFiles().empty() && materialRecords.empty();
}

void DazAzu::RunMeshBuild(HWND window) {
    progressWindow = window;
    int built = BuildMesh();
    SendToWindow(window, built ? kProgressFinished : kProgressFailed, 0, 0);
    progressWindow = nullptr;
}

int DazAzu::BuildMesh() {
    SendToWindow(progressWindow, kProgressStepText, IDS_STEP_CREATING_MESH, 0);
    progressTotal = vertexCount + triangleCount;
    importedMesh = CreateImportedMesh(baseName);
    if (!importedMesh) return FailWithCount(*this, IDS_NO_MEMORY_VERTICES, vertexCount);

    faceFlags = FaceElementFlags(reader);
    uint32_t flags = 0;
    const uint32_t n = static_cast<uint32_t>(reader.SeekElement(kElementVertex, &flags));
    vertexFlags = flags;
    if (n == 0 && !reader.ErrorText().empty()) return FailWithReaderError(*this);
    // An object of nothing would only clutter the scene.
    if (n == 0) {
        errorText = kMsgNoVertices;
        return 0;
    }
    BuildState b{*this, importedMesh->triObject->mesh, n, triangleCount};
    b.normals = NormalChannelActive();
    b.texture = SourceOf(TextureChannelActive(), (vertexFlags & kFlagTextureCoords) != 0);
    if (!ChooseColourSources(b) || !SizeMesh(b) || !TakeOutFarCentre(b)) return 0;
    const bool read = ReadVertices(b);
    reader.SetPositionOffset(nullptr);
    if (!read) return 0;
    nonFiniteVertices = b.nonFinite;
    if (b.nonFinite) PlaceNonFiniteVertices(b);
    if (options.materials && triangleCount != 0 && !ReadMaterialRecords(b)) return 0;
    b.textureMaterials = TexturesMakeMaterials();
    if (!ReadFaces(b) || !TrimToWrittenFaces(b)) return 0;
    if (!CreateStandardMaterials())
        return FailForMaterials(*this, static_cast<uint32_t>(materialRecords.size()));
    SendCount(*this, vertexCount + triangleCount);
    Finish(b, *importedMesh);
    if (cancelFlag) return 0;
    SendToWindow(progressWindow, kProgressStepText, 0, 0);
    SendFraction(*this, 1.0f);
    return 1;
}
