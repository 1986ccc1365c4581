// The face records of a file written into the mesh as triangles: polygons
// fanned around their first corner, triangle strips, and the cells of a
// range grid.
#include <algorithm>

#include "importer/build_messages.h"
#include "importer/build_state.h"
#include "ply/ply_messages.h"
#include "ply/range_grid.h"
#include "ply/tristrips.h"

namespace {

bool InRange(int32_t index, uint32_t vertexCount) {
    return index >= 0 && static_cast<uint32_t>(index) < vertexCount;
}

bool IndicesInRange(const IndexList& indices, int32_t n, uint32_t vertexCount) {
    for (int32_t k = 0; k < n; ++k)
        if (!InRange(indices[k], vertexCount)) return false;
    return true;
}

// The triangle's corners in the extra channels: a vertex channel's are its
// vertices, a face channel's its face record's value.
void WriteChannelFaces(BuildState& b, int32_t a, int32_t c, int32_t d) {
    for (int k = 0; k < b.vertexExtras.count; ++k) b.vertexExtras.faces[k][b.written].setTVerts(a, c, d);
    const int r = int(b.faceRecord);
    for (int k = 0; k < b.faceExtras.count; ++k) b.faceExtras.faces[k][b.written].setTVerts(r, r, r);
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
    if (b.extraChannels) WriteChannelFaces(b, a, c, d);
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
    uint32_t stripCount = 0, flags = 0;
    if (!SeekOrFail(im, kElementTriStrips, &stripCount, &flags)) return false;
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
    uint32_t cells = 0;
    if (!SeekOrFail(im, kElementRangeGrid, &cells)) return false;
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

// Polygons, each fanned into triangles.
bool ReadPolygons(BuildState& b) {
    DazAzu& im = b.importer;
    uint32_t faceCount = 0, flags = 0;
    if (!SeekOrFail(im, kElementFace, &faceCount, &flags)) return false;
    const bool hasMaterialIndex = (flags & kFlagMaterialNumbers) != 0;
    const bool perCorner =
        b.texture == kPerCorner || b.colour == kPerCorner || b.alpha == kPerCorner;
    const bool texNumbers = b.textureMaterials && (flags & kFlagTexNumbers);
    // Without per-corner data or values the faces are read as before, at full speed.
    FaceExtras extras;
    FaceExtras* wanted = perCorner || texNumbers || b.faceExtras.count ? &extras : nullptr;
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
        if (b.faceExtras.count) {
            b.faceRecord = f;
            for (int k = 0; k < b.faceExtras.count; ++k)
                b.faceExtras.values[k][f] = UVVert(extras.values[k], 0.0f, 0.0f);
        }
        // Fewer than three corners enclose no area: such a face yields no
        // triangle, as the triangle count already says.
        if (n < 3) {
            b.faceValueUnused = true;
            continue;
        }
        if (static_cast<uint64_t>(b.written) + (n - 2) > b.triangleCount) {
            im.errorText = kMsgFaceDataMismatch;
            return false;
        }
        if (!IndicesInRange(indices, n, b.vertexCount)) {
            ++im.skippedFaces;
            b.faceValueUnused = true;
            continue;
        }
        const FaceCorners corners{extras, extras.texCoordCount == 2 * n};
        if (b.texture == kPerCorner && !corners.texCoordsFit) ++im.skippedTexCoords;
        WriteFan(b, indices, n, id, perCorner ? &corners : nullptr);
    }
    return true;
}

}  // namespace

bool ReadFaces(BuildState& b) {
    switch (b.importer.reader.FaceSourceKind()) {
        case kElementTriStrips:
            return ReadStrips(b);
        case kElementRangeGrid:
            return ReadRangeGrid(b);
        default:
            return ReadPolygons(b);
    }
}
