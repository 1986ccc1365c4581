// Turns the records of the PLY reader into the host mesh, on the worker thread.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "plugin/dazazu.h"
#include "plugin/platform.h"
#include "plugin/resstring.h"
#include "resources/resource_ids.h"
#include "scene/build_messages.h"
#include "scene/importedmesh.h"
#include "scene/progress.h"

namespace {

const unsigned kVertexElement = 0;
const unsigned kFaceElement = 1;
const unsigned kMaterialElement = 3;
const uint32_t kHasNormals = 0x02;
const uint32_t kHasTexCoords = 0x04;
const uint32_t kHasColours = 0x08;
const uint32_t kHasMaterialIndex = 0x10;
const int kReportInterval = 2000;
const uint64_t kFaceReserve = 100000000;

// One build's running state: what the steps share besides the importer.
struct BuildState {
    DazAzu& importer;
    Mesh& mesh;
    uint32_t vertexCount;    // N
    uint32_t triangleCount;  // F: the faces the mesh was sized for
    uint32_t written = 0;    // triangles written so far
    uint32_t materialCount = 0;  // M
    uint32_t nonFinite = 0;      // vertices with a coordinate out of range
    int counter = 0;
    bool normals, texCoords, colours;
};

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
bool FailWithCount(DazAzu& importer, int id, uint32_t count) {
    const char* format = LoadResString(id);
    importer.errorText.printf(format ? format : "%d", static_cast<int>(count));
    return false;
}

bool FailWithReaderError(DazAzu& importer) {
    importer.errorText = importer.reader.ErrorText().c_str();
    return false;
}

// Element checks need 12 bytes per element of the available physical memory.
bool EnoughMemoryFor(uint32_t count) {
    return 12ull * count <= AvailablePhysicalMemory();
}

bool EnoughMemoryForFaces(uint32_t count) {
    return 20ull * count + kFaceReserve <= AvailablePhysicalMemory();
}

bool SizeMesh(BuildState& b) {
    DazAzu& im = b.importer;
    const uint32_t n = b.vertexCount, f = b.triangleCount;
    if (!EnoughMemoryFor(n) || !b.mesh.setNumVerts(n, FALSE, TRUE))
        return FailWithCount(im, IDS_NO_MEMORY_VERTICES, n);
    if (b.texCoords) {
        if (!EnoughMemoryFor(n) || !b.mesh.setNumTVerts(n, FALSE))
            return FailWithCount(im, IDS_NO_MEMORY_TVERTICES, n);
        if (!EnoughMemoryFor(f) || !b.mesh.setNumTVFaces(f, FALSE, 0))
            return FailWithCount(im, IDS_NO_MEMORY_TVFACES, f);
    }
    if (b.colours) {
        if (!EnoughMemoryFor(n) || !b.mesh.setNumVertCol(n, FALSE))
            return FailWithCount(im, IDS_NO_MEMORY_CVERTICES, n);
        if (!EnoughMemoryFor(f) || !b.mesh.setNumVCFaces(f, FALSE, 0))
            return FailWithCount(im, IDS_NO_MEMORY_CVFACES, f);
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
    for (uint32_t i = 0; i < b.vertexCount; ++i) {
        ++b.counter;
        if (!ProgressPoint(b, i)) return false;
        // A coordinate the element lacks reads as x = 10, y = z = 0.
        float position[3] = {10.0f, 0.0f, 0.0f};
        float normal[3] = {0, 0, 0}, uvw[3] = {0, 0, 0}, colour[3] = {0, 0, 0};
        if (!im.reader.ReadVertex(position, b.normals ? normal : nullptr,
                                  b.texCoords ? uvw : nullptr, b.colours ? colour : nullptr))
            return FailWithReaderError(im);
        Point3 p(position[0], position[1], position[2]);
        // 0 - z rather than -z, so a zero stays +0 in the mesh and the pivot.
        if (o.flipZY) p = Point3(p.x, 0.0f - p.z, p.y);
        b.mesh.verts[i] = p * o.scale;
        if (!IsFinite(b.mesh.verts[i])) ++b.nonFinite;
        if (b.normals) {
            Point3 nrm(normal[0], normal[1], normal[2]);
            if (o.flipZY) nrm = Point3(nrm.x, 0.0f - nrm.z, nrm.y);
            b.mesh.setNormal(i, nrm);
        }
        if (b.texCoords) b.mesh.tVerts[i] = Point3(uvw[0], uvw[1], 0.0f);
        if (b.colours) b.mesh.vertCol[i] = Point3(colour[0], colour[1], colour[2]);
    }
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
    b.materialCount = static_cast<uint32_t>(im.reader.SeekElement(kMaterialElement));
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

bool IndicesInRange(const IndexList& indices, int32_t n, uint32_t vertexCount) {
    for (int32_t k = 0; k < n; ++k)
        if (indices[k] < 0 || static_cast<uint32_t>(indices[k]) >= vertexCount) return false;
    return true;
}

void WriteTriangle(BuildState& b, int32_t a, int32_t c, int32_t d, MtlID id) {
    Face& face = b.mesh.faces[b.written];
    face.setVerts(a, c, d);
    face.setMatID(id);
    face.setSmGroup(1);
    if (b.texCoords) b.mesh.tvFace[b.written].setTVerts(a, c, d);
    if (b.colours) b.mesh.vcFace[b.written].setTVerts(a, c, d);
    ++b.written;
}

// A polygon becomes a fan around its first vertex; only its outline stays
// visible. Every index of the polygon is used, however many there are.
void WriteFan(BuildState& b, const IndexList& v, int32_t n, MtlID id) {
    WriteTriangle(b, v[0], v[1], v[2], id);
    if (n == 3) {
        b.mesh.faces[b.written - 1].setEdgeVisFlags(1, 1, 1);
        return;
    }
    b.mesh.faces[b.written - 1].setEdgeVisFlags(1, 1, 0);
    for (int32_t k = 3; k < n; ++k) {
        WriteTriangle(b, v[0], v[k - 1], v[k], id);
        b.mesh.faces[b.written - 1].setEdgeVisFlags(0, 1, 0);
        ++b.counter;
    }
    b.mesh.faces[b.written - 1].setEdgeVisFlags(0, 1, 1);
}

bool ReadFaces(BuildState& b) {
    DazAzu& im = b.importer;
    uint32_t flags = 0;
    const uint32_t faceCount = static_cast<uint32_t>(im.reader.SeekElement(kFaceElement, &flags));
    if (faceCount == 0 && !im.reader.ErrorText().empty()) return FailWithReaderError(im);
    const bool hasMaterialIndex = (flags & kHasMaterialIndex) != 0;
    IndexList indices;
    MtlID id = 0;
    for (uint32_t f = 0; f < faceCount; ++f) {
        if (!ProgressPoint(b, b.vertexCount + f)) return false;
        int32_t n = 0;
        int32_t materialIndex = 0;  // what a face without material_index carries
        if (!im.reader.ReadFace(&n, &indices, &materialIndex)) return FailWithReaderError(im);
        if (b.materialCount == 1 || b.colours) id = 1;
        if (im.options.materials && (hasMaterialIndex || b.materialCount == 1))
            id = static_cast<MtlID>(materialIndex & 0xFFFF);
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
        WriteFan(b, indices, n, id);
    }
    return true;
}

// Faces left out leave the end of the face arrays unused: cut them off.
bool TrimToWrittenFaces(BuildState& b) {
    if (b.written == b.triangleCount) return true;
    if (!b.mesh.setNumFaces(b.written, TRUE, TRUE) ||
        (b.texCoords && !b.mesh.setNumTVFaces(b.written, TRUE, b.triangleCount)) ||
        (b.colours && !b.mesh.setNumVCFaces(b.written, TRUE, b.triangleCount)))
        return FailWithCount(b.importer, IDS_NO_MEMORY_FACES, b.written);
    return true;
}

void CentrePivot(BuildState& b, ImportedMesh& record) {
    Box3 box = b.mesh.getBoundingBox(nullptr);
    Point3 centre = (box.pmin + box.pmax) * 0.5f;
    for (int i = 0; i < b.mesh.numVerts; ++i) b.mesh.verts[i] -= centre;
    b.mesh.buildBoundingBox();
    record.pivot = centre;
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
        if (b.texCoords) b.mesh.DeleteIsoMapVerts();
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
    return options.vertexNormals && (vertexFlags & kHasNormals);
}

bool DazAzu::TextureChannelActive() const {
    return options.textureCoords && (vertexFlags & kHasTexCoords);
}

bool DazAzu::ColourChannelActive() const {
    return options.vertexColors && (vertexFlags & kHasColours);
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

    uint32_t flags = 0;
    const uint32_t n = static_cast<uint32_t>(reader.SeekElement(kVertexElement, &flags));
    vertexFlags = flags;
    if (n == 0 && !reader.ErrorText().empty()) return FailWithReaderError(*this);
    BuildState b{*this, importedMesh->triObject->mesh, n, triangleCount};
    b.normals = NormalChannelActive();
    b.texCoords = TextureChannelActive();
    b.colours = ColourChannelActive();

    if (!SizeMesh(b) || !ReadVertices(b)) return 0;
    nonFiniteVertices = b.nonFinite;
    if (b.nonFinite) PlaceNonFiniteVertices(b);
    if (options.materials && triangleCount != 0 && !ReadMaterialRecords(b)) return 0;
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
