#include "ply/record_layout.h"

namespace {

// The largest value of an integer type.
double TypeMaximum(int type) {
    switch (type) {
        case kPlyInt8:
            return 127.0;
        case kPlyInt16:
            return 32767.0;
        case kPlyInt32:
            return 2147483647.0;
        case kPlyUint16:
            return 65535.0;
        case kPlyUint32:
            return 4294967295.0;
        default:
            return 255.0;
    }
}

// f_dc_* colour a splat only where no red, green or blue does; its opacity
// is the alpha only where no "alpha" is.
int VertexSlotOf(const PlyProperty& property, bool splat, bool alpha) {
    if (property.kind != kPropertyScalar) return -1;
    const int role = property.role;
    if (role >= kRoleX && role <= kRoleBlue) return role - kRoleX;
    if (splat && role >= kRoleDcRed && role <= kRoleDcBlue) {
        return kSlotSplatColour + role - kRoleDcRed;
    }
    if (role == kRoleAlpha || (role == kRoleOpacity && splat && !alpha)) return kSlotAlpha;
    return -1;
}

void AddVertexSlots(const PlyElement& element, RecordLayout& layout) {
    const bool splat = HasSplatColours(element);
    bool alpha = false;
    for (const PlyProperty& property : element.properties) {
        alpha |= property.kind == kPropertyScalar && property.role == kRoleAlpha;
    }
    uint32_t offset = 0;
    for (const PlyProperty& property : element.properties) {
        const int slot = VertexSlotOf(property, splat, alpha);
        layout.vertexSlots.push_back(int8_t(slot));
        layout.vertexTypes.push_back(uint8_t(property.valueType));
        if (slot >= kSlotSplatColour && slot < kSlotAlpha) {
            layout.splatChannels |= uint8_t(1 << (slot - kSlotSplatColour));
        }
        if (slot == kSlotAlpha) {
            layout.hasAlpha = true;
            const bool opacity = property.role == kRoleOpacity;
            const bool integer = property.valueType < kPlyFirstFloatType;
            layout.alphaFromOpacity = opacity && !integer;
            layout.opacityScale =
                opacity && integer ? 255.0f / float(TypeMaximum(property.valueType)) : 0.0f;
        }
        if (slot >= 0) {
            const uint32_t bit = uint32_t(1) << slot;
            layout.slotsStored |= bit;
            const bool divide = IsColourSlot(slot) && property.valueType < kPlyFirstFloatType;
            layout.slotsDivided = divide ? layout.slotsDivided | bit : layout.slotsDivided & ~bit;
        }
        if (slot >= 0 && slot < 3) {
            layout.positionTypes[slot] = uint8_t(property.valueType);
            layout.positionOffsets[slot] = offset;
        }
        offset += TypeSize(property.valueType);
    }
    layout.finishVertex = layout.splatChannels != 0 || layout.hasAlpha;
}

// True when a list of this property occupies bytes of its own in a record.
bool HasLength(const PlyProperty& property) {
    if (property.kind == kPropertyString) return true;
    return property.kind == kPropertyList && TypeSize(property.countType) > 0;
}

void AddVertexOps(const PlyElement& element, RecordLayout& layout) {
    uint32_t offset = 0;
    for (size_t i = 0; i < element.properties.size(); ++i) {
        const PlyProperty& property = element.properties[i];
        const uint32_t size = TypeSize(property.valueType);
        const int slot = layout.vertexSlots[i];
        // A value of an invalid type takes no bytes and reads as 0, as in ASCII.
        if (slot >= 0) {
            VertexOp op;
            op.offset = offset;
            op.type = uint8_t(property.valueType);
            op.slot = uint8_t(slot);
            op.group = kSlotGroups[op.slot];
            op.index = kSlotIndices[op.slot];
            op.divide255 = IsColourSlot(slot) && property.valueType < kPlyFirstFloatType;
            layout.vertexOps.push_back(op);
        }
        offset += size;
    }
    // Join x, y, z (and nx, ny, nz, red, green, blue, f_dc_*) stored as three adjacent
    // values of one type into one step: the common vertex record then takes
    // three steps.
    std::vector<VertexOp> joined;
    for (size_t i = 0; i < layout.vertexOps.size(); ++i) {
        const VertexOp& a = layout.vertexOps[i];
        if (i + 2 < layout.vertexOps.size() && a.index == 0) {
            const VertexOp& b = layout.vertexOps[i + 1];
            const VertexOp& c = layout.vertexOps[i + 2];
            const uint32_t size = TypeSize(a.type);
            const bool adjacent = b.type == a.type && c.type == a.type && b.slot == a.slot + 1 &&
                                  c.slot == a.slot + 2 && c.group == a.group &&
                                  b.offset == a.offset + size && c.offset == a.offset + 2 * size;
            const bool floats =
                a.type == kPlyFloat32 && !a.divide255 && !b.divide255 && !c.divide255;
            const bool colours = a.type == kPlyUint8 && a.divide255 && b.divide255 && c.divide255;
            if (adjacent && (floats || colours)) {
                VertexOp triple = a;
                triple.kind = floats ? kOpFloatTriple : kOpColourTriple;
                joined.push_back(triple);
                i += 2;
                continue;
            }
        }
        joined.push_back(a);
    }
    layout.vertexOps.swap(joined);
}

void AddFaceLayout(const PlyElement& element, RecordLayout& layout) {
    bool scalarIndexRole = false;
    int listsWithLength = 0;
    uint32_t before = 0;
    uint32_t after = 0;
    for (size_t i = 0; i < element.properties.size(); ++i) {
        const PlyProperty& property = element.properties[i];
        if (property.role == kRoleVertexIndices) {
            if (property.kind == kPropertyList) {
                if (layout.indexList < 0) layout.indexList = int(i);
            } else {
                scalarIndexRole = true;
            }
        }
        if (HasLength(property)) ++listsWithLength;
        if (property.kind == kPropertyList && property.role == kRoleTexCoordList &&
            layout.texCoordList < 0) {
            layout.texCoordList = int(i);
        }
        const bool extra = (property.role >= kRoleRed && property.role <= kRoleBlue) ||
                           property.role == kRoleAlpha || property.role == kRoleTexNumber;
        if (property.kind == kPropertyScalar && extra) layout.faceExtras = true;
        if (property.kind != kPropertyScalar && int(i) != layout.indexList) continue;
        if (int(i) == layout.indexList) continue;
        const uint32_t size = TypeSize(property.valueType);
        const bool afterList = layout.indexList >= 0;
        if (layout.extraIndices[i] >= 0) {
            layout.extraOps.push_back(
                {afterList ? after : before, uint8_t(property.valueType), afterList});
        }
        if (property.role == kRoleMaterialIndex) {
            layout.materialProperty = int(i);
            layout.materialType = uint8_t(property.valueType);
            layout.materialOffset = afterList ? after : before;
            layout.materialAfterList = afterList;
        }
        (afterList ? after : before) += size;
    }
    if (layout.texCoordList >= 0) layout.faceExtras = true;
    if (layout.indexList < 0 || scalarIndexRole || listsWithLength != 1) return;
    const PlyProperty& list = element.properties[size_t(layout.indexList)];
    if (TypeSize(list.countType) == 0 || TypeSize(list.valueType) == 0) return;
    layout.simpleFace = true;
    layout.bytesBeforeList = before;
    layout.bytesAfterList = after;
    layout.listCountType = uint8_t(list.countType);
    layout.listItemType = uint8_t(list.valueType);
    layout.listCountSize = TypeSize(list.countType);
    layout.listItemSize = TypeSize(list.valueType);
}

}  // namespace

RecordLayout MakeRecordLayout(const PlyElement& element) {
    RecordLayout layout;
    for (size_t i = 0; i < element.properties.size(); ++i) {
        const PlyProperty& property = element.properties[i];
        if (property.kind != kPropertyScalar && layout.firstNonScalar < 0) {
            layout.firstNonScalar = int(i);
        }
        if (HasLength(property)) {
            layout.fixedSize = false;
        } else if (property.kind == kPropertyScalar) {
            layout.fixedBytes += TypeSize(property.valueType);
        }
    }
    if (!layout.fixedSize) layout.fixedBytes = 0;
    layout.extraIndices.assign(element.properties.size(), -1);
    for (size_t k = 0; k < element.extras.scalars.size(); ++k) {
        layout.extraIndices[size_t(element.extras.scalars[k])] = int8_t(k);
    }
    AddVertexSlots(element, layout);
    if (layout.firstNonScalar < 0) AddVertexOps(element, layout);
    AddFaceLayout(element, layout);
    return layout;
}
