// How the records of one element are laid out and decoded, worked out once
// per file so that the record readers do no per-property searching.
#pragma once

#include <cstdint>
#include <vector>

#include "ply/ply_schema.h"

// Where a vertex value goes: position x, y, z; normal x, y, z; texture u, v;
// colour red, green, blue (roles 1 to 11 map to slots 0 to 10); then a
// splat's colour terms and alpha, which are finished after the record.
const int kVertexSlotCount = 15;
const int kSlotRed = kRoleRed - kRoleX;
const int kSlotBlue = kRoleBlue - kRoleX;
const int kSlotSplatColour = 11;
const int kSlotAlpha = 14;

// The slots whose integer values are divided by 255.
inline bool IsColourSlot(int slot) {
    return (slot >= kSlotRed && slot <= kSlotBlue) || slot == kSlotAlpha;
}

enum VertexOpKind : uint8_t {
    kOpScalar,        // one value of any type
    kOpFloatTriple,   // three float32 values for slot, slot + 1 and slot + 2
    kOpColourTriple,  // three uint8 colour channels for slot, slot + 1 and slot + 2
};

// The caller's four destinations (position, normal, texture coordinate,
// colour) and the values finished after the record (splat colour, alpha),
// and the group and field of each slot.
const int kVertexGroupCount = 5;
const uint8_t kSlotGroups[kVertexSlotCount] = {0, 0, 0, 1, 1, 1, 2, 2, 3, 3, 3, 4, 4, 4, 4};
const uint8_t kSlotIndices[kVertexSlotCount] = {0, 1, 2, 0, 1, 2, 0, 1, 0, 1, 2, 0, 1, 2, 3};

struct VertexOp {
    uint32_t offset = 0;  // byte offset in a binary record
    uint8_t type = 0;
    uint8_t slot = 0;
    uint8_t group = 0;  // destination of the slot
    uint8_t index = 0;  // and the field in it
    VertexOpKind kind = kOpScalar;
    bool divide255 = false;  // an integer colour or alpha channel
};

// An 8-bit colour channel divided by 255, for every byte value.
struct ByteColourTable {
    float values[256];
    constexpr ByteColourTable() : values() {
        for (int i = 0; i < 256; ++i) values[i] = float(i) / 255.0f;
    }
};
constexpr ByteColourTable kByteColours;

// An extra value (see ExtraProperties) in a binary record whose scalars
// lie at fixed places: from the record start, or from the end of the
// vertex_indices list when after it.
struct ExtraOp {
    uint32_t offset = 0;
    uint8_t type = 0;
    bool afterList = false;
};

struct RecordLayout {
    // Binary records have one size when no property has a length of its own
    // (a list with a valid count type, or a string).
    bool fixedSize = true;
    uint32_t fixedBytes = 0;
    int firstNonScalar = -1;  // first list or string property, -1 for none

    // Faces: the first list with the vertex_indices role carries the polygon.
    int indexList = -1;
    // Binary fast path: the index list is the record's only list or string,
    // both of its types are valid, and no scalar claims the vertex_indices role.
    bool simpleFace = false;
    uint32_t bytesBeforeList = 0;
    uint32_t bytesAfterList = 0;
    uint8_t listCountType = 0;
    uint8_t listItemType = 0;
    uint32_t listCountSize = 0;
    uint32_t listItemSize = 0;
    int materialProperty = -1;  // last scalar material_index
    uint8_t materialType = 0;
    uint32_t materialOffset = 0;  // from the record start, or from the list end when after it
    bool materialAfterList = false;

    // Faces: the first texcoord list, and whether the element has any value
    // of FaceExtras (texcoord list, texnumber, colour or alpha).
    int texCoordList = -1;
    bool faceExtras = false;

    // Vertices: the slot of each property, -1 for a value nobody asks for.
    std::vector<int8_t> vertexSlots;
    std::vector<uint8_t> vertexTypes;  // and its value type, for the ASCII lines
    // A bit per slot that some property fills, and per slot whose last such
    // property is an integer colour, divided by 255.
    uint32_t slotsStored = 0;
    uint32_t slotsDivided = 0;
    uint8_t splatChannels = 0;  // bit i: colour channel i comes from f_dc_i
    bool hasAlpha = false;
    bool alphaFromOpacity = false;  // the alpha is a splat's float opacity, a logit
    // An integer opacity is an alpha from 0 to its type's maximum; it arrives
    // divided by 255, and this scale finishes the division (0 for none).
    float opacityScale = 0.0f;
    bool finishVertex = false;  // splat channels or alpha to finish
    // Of x, y and z, the type (0 when absent) and record offset of the last
    // property of each, for reading them as doubles.
    uint8_t positionTypes[3] = {0, 0, 0};
    uint32_t positionOffsets[3] = {0, 0, 0};

    // Binary vertex fast path (only scalar properties), in property order.
    std::vector<VertexOp> vertexOps;

    // Extras: each property's place among the record's extra values (-1
    // for none), and the extras in file order for the binary fast paths.
    std::vector<int8_t> extraIndices;
    std::vector<ExtraOp> extraOps;
};

RecordLayout MakeRecordLayout(const PlyElement& element);
