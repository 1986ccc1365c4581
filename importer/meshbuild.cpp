// The order of one mesh build, on the worker thread: the mesh sized, the
// vertices, the material records and the faces read into it, then the
// host's clean-up steps with the progress dialog told of each.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "importer/build_messages.h"
#include "importer/build_state.h"
#include "importer/importedmesh.h"
#include "importer/platform.h"
#include "importer/progress.h"
#include "importer/resstring.h"
#include "resources/resource_ids.h"

namespace {

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

}  // namespace

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

bool SeekOrFail(DazAzu& importer, int kind, uint32_t* count, uint32_t* flags) {
    *count = static_cast<uint32_t>(importer.reader.SeekElement(kind, flags));
    return *count != 0 || importer.reader.ErrorText().empty() || FailWithReaderError(importer);
}

bool ReportProgress(BuildState& b, uint32_t done) {
    SendCount(b.importer, done);
    b.counter = 0;
    return b.importer.cancelFlag == 0;
}

namespace {

bool IsFinite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

bool ReadVertices(BuildState& b) {
    DazAzu& im = b.importer;
    const ImportOptions& o = im.options;
    // Without memory for the normals the mesh simply has none.
    Point3* normals = b.normals ? b.mesh.explicitNormalArray() : nullptr;
    float extra[kMaxExtraValues];
    // Kept at hand: the mesh's arrays might alias the state for the compiler.
    const int extras = b.vertexExtras.count, intensity = b.intensity;
    for (uint32_t i = 0; i < b.vertexCount; ++i) {
        ++b.counter;
        if (!ProgressPoint(b, i)) return false;
        // A coordinate the element lacks reads as x = 10, y = z = 0.
        float position[3] = {10.0f, 0.0f, 0.0f};
        float normal[3] = {0, 0, 0}, uvw[3] = {0, 0, 0}, colour[3] = {0, 0, 0};
        float alpha = 1.0f;
        float* n = b.normals ? normal : nullptr;
        float* t = b.texture == kPerVertex ? uvw : nullptr;
        float* c = b.colour == kPerVertex ? colour : nullptr;
        float* a = b.alpha == kPerVertex ? &alpha : nullptr;
        // Without extra values, the reader's own fast call.
        if (!(extras ? im.reader.ReadVertex(position, n, t, c, a, extra)
                     : im.reader.ReadVertex(position, n, t, c, a)))
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
        for (int k = 0; k < extras; ++k) b.vertexExtras.values[k][i] = UVVert(extra[k], 0.0f, 0.0f);
        if (intensity >= 0) {
            const float grey = extra[intensity] * b.intensityScale;
            b.mesh.vertCol[i] = VertColor(grey, grey, grey);
        }
    }
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
    uint32_t n = 0;
    return SeekOrFail(im, kElementVertex, &n);
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
    if (!SeekOrFail(im, kElementMaterial, &b.materialCount)) return false;
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
        // A vertex channel keeps the values of vertices no face uses, as the
        // colours do; a face channel drops those of faces left out.
        if (b.texture || (b.faceExtras.count && b.faceValueUnused)) b.mesh.DeleteIsoMapVerts();
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

// Colours or alpha, of the vertices or of the faces, or an intensity.
bool DazAzu::HasColours() const {
    return ((vertexFlags | faceFlags) & (kFlagColours | kFlagAlpha)) != 0 ||
           IntensityGivesColours();
}

int DazAzu::IntensityExtra() const {
    for (int e = 0; e < reader.NumElements(); ++e) {
        const PlyElement& element = *reader.Element(e);
        if (!EqualsNoCase(element.name, kElementKindNames[kElementVertex])) continue;
        const std::vector<int>& scalars = element.extras.scalars;
        for (size_t k = 0; k < scalars.size(); ++k) {
            const std::string& name = element.properties[size_t(scalars[k])].name;
            if (EqualsNoCase(name, "intensity") || EqualsNoCase(name, "scalar_intensity"))
                return int(k);
        }
        return -1;
    }
    return -1;
}

// A laser scan's return strength is the grey picture of the scan. Colours
// the file gives, of the vertices or of the faces, are its colours still.
bool DazAzu::IntensityGivesColours() const {
    return !((vertexFlags | faceFlags) & kFlagColours) && IntensityExtra() >= 0;
}

bool DazAzu::TextureChannelActive() const { return options.textureCoords && HasTextureCoords(); }

bool DazAzu::ColourChannelActive() const {
    return options.vertexColors &&
           (((vertexFlags | faceFlags) & kFlagColours) || IntensityGivesColours());
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
    uint32_t n = 0, flags = 0;
    const bool sought = SeekOrFail(*this, kElementVertex, &n, &flags);
    vertexFlags = flags;
    if (!sought) return 0;
    // An object of nothing would only clutter the scene.
    if (n == 0) {
        errorText = kMsgNoVertices;
        return 0;
    }
    BuildState b{*this, importedMesh->triObject->mesh, n, triangleCount};
    b.normals = NormalChannelActive();
    b.texture = SourceOf(TextureChannelActive(), (vertexFlags & kFlagTextureCoords) != 0);
    PlanExtraChannels(b);
    if (!ChooseColourSources(b)) return 0;
    ChooseIntensityColours(b);
    if (!SizeMesh(b) || !TakeOutFarCentre(b)) return 0;
    const bool read = ReadVertices(b);
    reader.SetPositionOffset(nullptr);
    if (!read) return 0;
    FinishIntensityColours(b);
    nonFiniteVertices = b.nonFinite;
    if (b.nonFinite) PlaceNonFiniteVertices(b);
    if (options.materials && triangleCount != 0 && !ReadMaterialRecords(b)) return 0;
    b.textureMaterials = TexturesMakeMaterials();
    if (!ReadFaces(b) || !TrimToWrittenFaces(b)) return 0;
    if (!CreateStandardMaterials())
        return FailForMaterials(*this, static_cast<uint32_t>(materialRecords.size()));
    SendCount(*this, vertexCount + triangleCount);
    NameExtraChannels(b, importedMesh->userProps);
    Finish(b, *importedMesh);
    if (cancelFlag) return 0;
    SendToWindow(progressWindow, kProgressStepText, 0, 0);
    SendFraction(*this, 1.0f);
    return 1;
}
