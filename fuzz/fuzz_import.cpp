// Fuzz target: the whole import core from the header to the finished mesh
// and its node, on the stand-in host over the doubles of the import seams.
// Input: PLY bytes, taken with the default options; any other input gives
// the options in its first two bytes and the PLY bytes after them.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "hostsdk/standin.h"
#include "importer/dazazu.h"
#include "importer/importedmesh.h"
#include "tests/support/import_doubles.h"

namespace {

// Elements of zero bytes never run out; a bound keeps each input quick.
const uint32_t kMaxElements = 400000;
// Enough for the face check (20 bytes a face above a reserve of 100,000,000)
// of as many faces as the bound lets through.
const uint64_t kMemory = 100000000ull + 20ull * kMaxElements;

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

bool IsFinite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Bit k of the first byte sets option k; the second byte picks the scale.
void TakeOptions(uint8_t flags, uint8_t scale, ImportOptions& o) {
    const float kScales[] = {100.0f,
                             1.0f,
                             -0.5f,
                             0.0f,
                             1e-30f,
                             1e30f,
                             std::numeric_limits<float>::max(),
                             std::numeric_limits<float>::quiet_NaN()};
    o.flipZY = flags & 1;
    o.centerPivot = (flags >> 1) & 1;
    o.generateNormals = (flags >> 2) & 1;
    o.vertexNormals = (flags >> 3) & 1;
    o.vertexColors = (flags >> 4) & 1;
    o.textureCoords = (flags >> 5) & 1;
    o.materials = (flags >> 6) & 1;
    o.scale = kScales[scale & 7];
}

bool IndicesBelow(const DWORD* v, int n) {
    return v[0] < DWORD(n) && v[1] < DWORD(n) && v[2] < DWORD(n);
}

// What a finished build promises: finite places and faces within the arrays.
void CheckMesh(const DazAzu& im) {
    Mesh& m = im.importedMesh->triObject->mesh;
    Check(IsFinite(im.importedMesh->pivot));
    for (int i = 0; i < m.numVerts; ++i) Check(IsFinite(m.verts[i]));
    Check(uint32_t(m.numFaces) <= im.triangleCount);
    for (int f = 0; f < m.numFaces; ++f) Check(IndicesBelow(m.faces[f].v, m.numVerts));
    for (int f = 0; f < m.numTVFaces; ++f) Check(IndicesBelow(m.tvFace[f].t, m.numTVerts));
    for (int f = 0; f < m.numVCFaces; ++f) Check(IndicesBelow(m.vcFace[f].t, m.numCVerts));
}

// The counts of the header step, as DoImport takes them; false to skip.
bool TakeCounts(DazAzu& im) {
    im.materialCount = static_cast<unsigned>(im.reader.MaterialCount());
    im.triangleCount = static_cast<unsigned>(im.reader.CountTriangles());
    if (!im.reader.ErrorText().empty()) return false;
    const uint32_t faces = static_cast<uint32_t>(im.reader.SeekElement(1));
    uint32_t flags = 0;
    im.vertexCount = static_cast<unsigned>(im.reader.SeekElement(0, &flags));
    im.vertexFlags = flags;
    return im.reader.ErrorText().empty() && im.vertexCount <= kMaxElements &&
           im.triangleCount <= kMaxElements && faces <= kMaxElements &&
           im.materialCount <= kMaxElements;
}

void Import(const uint8_t* data, size_t size, const ImportOptions& options) {
    HostScene scene;
    HostCore core(scene);
    SetCOREInterface(&core);
    DazAzu im;
    im.hostInterface = &core;
    im.importInterface = &scene;
    im.showPrompts = 0;
    std::strcpy(im.baseName, "fuzz");
    im.options = options;
    if (im.reader.OpenMemory(data, size) && TakeCounts(im)) {
        Doubles().running = &im;
        const int built = im.BuildMesh();
        Doubles().running = nullptr;
        // As DoImport ends an import: a node, or everything deleted.
        if (built && im.errorText.isNull()) {
            CheckMesh(im);
            im.CreateSceneNode();
        } else {
            DeleteImportedMesh(im.importedMesh);
            for (Mtl* mtl : im.hostMaterials) mtl->DeleteMe();
        }
    }
    SetCOREInterface(nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ResetImportDoubles();
    Doubles().availableMemory = kMemory;
    ImportOptions options;
    if (!(size >= 3 && std::memcmp(data, "ply", 3) == 0)) {
        if (size < 2) return 0;
        TakeOptions(data[0], data[1], options);
        data += 2;
        size -= 2;
    }
    Import(data, size, options);
    // Every host object of the import is the scene's or released by now.
    Check(HostLiveObjectCount() == 0);
    return 0;
}
