// The mesh's arrays sized once before the records are read, and trimmed to
// what was written after.
#include "importer/build_state.h"
#include "importer/platform.h"
#include "resources/resource_ids.h"

namespace {

// Room the process keeps besides the faces, so the host is not left without.
const uint64_t kFaceReserve = 100000000;

uint64_t ChannelEntries(const BuildState& b, ChannelSource source) {
    return source == kPerVertex ? b.vertexCount : 3ull * b.triangleCount;
}

bool EnoughMemoryForFaces(uint32_t count) {
    return 20ull * count + kFaceReserve <= AvailableMemory();
}

}  // namespace

bool EnoughMemoryFor(uint64_t count) {
    return count <= INT32_MAX && 12ull * count <= AvailableMemory();
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
    if (!SizeExtraChannels(b)) return false;
    if (f != 0 && (!EnoughMemoryForFaces(f) || !b.mesh.setNumFaces(f, FALSE, TRUE)))
        return FailWithCount(im, IDS_NO_MEMORY_FACES, f);
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
        (b.alpha == kPerCorner && !m.setNumMapVerts(MAP_ALPHA, 3 * j, TRUE)) ||
        !TrimExtraChannels(b))
        return FailWithCount(b.importer, IDS_NO_MEMORY_FACES, j);
    return true;
}
