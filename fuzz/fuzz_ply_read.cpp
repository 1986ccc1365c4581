// Fuzz target: the importer's whole read sequence over arbitrary bytes:
// counts, then every vertex, material and face record, then a second round
// of seeks in another order, with the position offset, the vertex and face
// extras and the strips and the range grid.
#include <cstddef>
#include <cstdint>

#include "ply/ply_reader.h"

namespace {

// Records of zero bytes never run out; a bound keeps each input quick.
const int32_t kMaxRecords = 200000;

int32_t Bounded(int32_t count) { return count < kMaxRecords ? count : kMaxRecords; }

void ReadVertices(PlyReader& reader, bool extras) {
    const int32_t count = Bounded(reader.SeekElement(kElementVertex));
    float extra[kMaxExtraValues];
    for (int32_t i = 0; i < count; ++i) {
        float position[3] = {10, 0, 0}, normal[3] = {}, texCoord[3] = {}, colour[3] = {};
        float alpha = 1;
        if (!reader.ReadVertex(position, normal, texCoord, colour, &alpha,
                               extras ? extra : nullptr)) {
            break;
        }
    }
}

void ReadMaterials(PlyReader& reader) {
    const int32_t count = Bounded(reader.SeekElement(kElementMaterial));
    for (int32_t i = 0; i < count; ++i) {
        PlyMaterial material;
        if (!reader.ReadMaterial(&material)) break;
    }
}

void ReadFaces(PlyReader& reader, int kind, FaceExtras* extras) {
    const int32_t count = Bounded(reader.SeekElement(kind));
    IndexList indices;
    for (int32_t i = 0; i < count; ++i) {
        int32_t vertexCount = 0, material = 0;
        if (!reader.ReadFace(&vertexCount, &indices, &material, extras)) break;
        if (indices.size() != size_t(vertexCount > 0 ? vertexCount : 0)) __builtin_trap();
        if (extras && extras->texCoords.size() !=
                          size_t(extras->texCoordCount > 0 ? extras->texCoordCount : 0)) {
            __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PlyReader reader;
    // Inputs are short: blocks of 1 to 256 bytes, picked by the length, make
    // records cross the end of a block as they do in large files.
    reader.SetBlockSize(1 + size % 256);
    if (!reader.OpenMemory(data, size)) return 0;
    reader.MaterialCount();
    reader.CountTriangles();
    uint32_t flags = 0;
    reader.SeekElement(kElementVertex, &flags);
    ReadVertices(reader, false);
    ReadMaterials(reader);
    ReadFaces(reader, kElementFace, nullptr);
    FaceExtras extras;
    ReadFaces(reader, kElementFace, &extras);
    ReadFaces(reader, kElementTriStrips, &extras);
    ReadFaces(reader, kElementRangeGrid, nullptr);
    double minimum[3], maximum[3];
    reader.ReadPositionBounds(minimum, maximum);
    reader.SetPositionOffset(minimum);
    ReadVertices(reader, true);
    reader.CountTriangles();
    return 0;
}
