// The face reader: one record of the current element per call, with every
// item of its vertex_indices list.
#include <cstring>

#include "ply/ascii_tokens.h"
#include "ply/binary_values.h"
#include "ply/ply_messages.h"
#include "ply/ply_reader.h"

// The common face record, when it is whole in the block: it must give
// exactly what ReadFaceBinary gives for the same record.
inline bool PlyReader::ReadFaceBinaryFast(const RecordLayout& layout, int32_t* vertexCount,
                                          IndexList* indices, int32_t* materialIndex) {
    const unsigned char* record = buffer_.Cursor();
    const size_t available = size_t(buffer_.Limit() - record);
    const size_t head = layout.bytesBeforeList + layout.listCountSize;
    if (available < head) return false;
    const bool big = BigEndian();
    const unsigned char* count = record + layout.bytesBeforeList;
    const int32_t length = layout.listCountType == kPlyUint8
                               ? int32_t(count[0])
                               : BinaryToIndex(count, layout.listCountType, big);
    const size_t items = length > 0 ? size_t(length) : 0;
    const uint64_t listBytes = uint64_t(items) * layout.listItemSize;
    if (listBytes > available - head || available - head - listBytes < layout.bytesAfterList ||
        !indices->Resize(items)) {
        return false;
    }
    const size_t listEnd = head + size_t(listBytes);
    *vertexCount = length;
    int32_t* out = indices->data();
    const unsigned char* item = record + head;
    if (layout.listItemSize == 4 && layout.listItemType != kPlyFloat32) {
        for (size_t j = 0; j < items; ++j) out[j] = int32_t(LoadU32(item + 4 * j, big));
    } else {
        for (size_t j = 0; j < items; ++j) {
            out[j] = BinaryToIndex(item + j * layout.listItemSize, layout.listItemType, big);
        }
    }
    if (layout.materialProperty >= 0 && materialIndex) {
        const size_t offset = layout.materialOffset + (layout.materialAfterList ? listEnd : 0);
        *materialIndex = BinaryToIndex(record + offset, layout.materialType, big);
    }
    buffer_.SetCursor(record + listEnd + layout.bytesAfterList);
    return true;
}

// The common case, a binary record whole in the block, reads here; the rest
// goes through ReadFaceRecord.
bool PlyReader::ReadFace(int32_t* vertexCount, IndexList* indices, int32_t* materialIndex) {
    errorText_.clear();
    if (fastFaces_ && vertexCount && indices &&
        ReadFaceBinaryFast(*fastFaces_, vertexCount, indices, materialIndex)) {
        return true;
    }
    return ReadFaceRecord(vertexCount, indices, materialIndex);
}

// A face element without a vertex_indices list yields faces of 0 vertices.
bool PlyReader::ReadFaceRecord(int32_t* vertexCount, IndexList* indices, int32_t* materialIndex) {
    int32_t countSink;
    IndexList indicesSink;
    if (!vertexCount) vertexCount = &countSink;
    if (!indices) indices = &indicesSink;
    if (!source_ || currentElement_ < 0) {
        errorText_ = kMsgFaceReadError;
        return false;
    }
    if (layouts_[size_t(currentElement_)].indexList < 0) {
        *vertexCount = 0;
        indices->Clear();
    }
    return IsAscii() ? ReadFaceAscii(vertexCount, indices, materialIndex)
                     : ReadFaceBinary(vertexCount, indices, materialIndex);
}

// Every property takes its own tokens: a scalar or a string one, a list its
// length and then that many items. A list that announces more items than the
// line holds is a read error, never a face padded with zeros.
bool PlyReader::ReadFaceAscii(int32_t* vertexCount, IndexList* indices, int32_t* materialIndex) {
    const char* p;
    const char* end;
    if (!ReadAsciiLine(&p, &end)) {
        errorText_ = kMsgFaceReadError;
        return false;
    }
    const PlyElement& element = elements_[size_t(currentElement_)];
    const int indexList = layouts_[size_t(currentElement_)].indexList;
    const char* readable = buffer_.ReadableEnd();
    for (size_t i = 0; i < element.properties.size(); ++i) {
        const PlyProperty& property = element.properties[i];
        if (property.role == kRoleVertexIndices && property.kind != kPropertyList) {
            errorText_ = kMsgIndicesNotList;
            return false;
        }
        // A token the line does not have reads as empty text (value 0).
        p = SkipDelimiters(p, end);
        if (property.kind != kPropertyList) {
            if (property.role == kRoleMaterialIndex && materialIndex &&
                property.kind == kPropertyScalar) {
                *materialIndex =
                    p < end ? DecodeIndexToken(p, end, readable, property.valueType, &p) : 0;
            } else {
                p = SkipToken(p, end);
            }
            continue;
        }
        const int32_t length =
            p < end ? DecodeIndexToken(p, end, readable, property.countType, &p) : 0;
        const size_t items = length > 0 ? size_t(length) : 0;
        // Each item needs a character and a delimiter: a longer list cannot
        // be on this line, whatever follows.
        if (items > size_t(end - p) / 2 + 1) {
            errorText_ = kMsgFaceReadError;
            return false;
        }
        const bool delivered = int(i) == indexList;
        if (delivered) {
            if (!indices->Resize(items)) {
                errorText_ = kMsgFaceReadError;
                return false;
            }
            *vertexCount = length;
        }
        int32_t* out = delivered ? indices->data() : nullptr;
        for (size_t j = 0; j < items; ++j) {
            p = SkipDelimiters(p, end);
            if (p == end) {
                errorText_ = kMsgFaceReadError;
                return false;
            }
            if (out) {
                out[j] = DecodeIndexToken(p, end, readable, property.valueType, &p);
            } else {
                p = SkipToken(p, end);
            }
        }
    }
    return true;
}

bool PlyReader::ReadFaceBinary(int32_t* vertexCount, IndexList* indices, int32_t* materialIndex) {
    const RecordLayout& layout = layouts_[size_t(currentElement_)];
    // Property by property: long faces, unusual layouts, and records cut
    // short by the end of the file (which fail where their data ends).
    const PlyElement& element = elements_[size_t(currentElement_)];
    const bool big = BigEndian();
    for (size_t i = 0; i < element.properties.size(); ++i) {
        const PlyProperty& property = element.properties[i];
        if (property.role == kRoleVertexIndices && property.kind != kPropertyList) {
            errorText_ = kMsgIndicesNotList;
            return false;
        }
        bool ok;
        if (property.kind == kPropertyScalar) {
            const uint32_t size = TypeSize(property.valueType);
            const unsigned char* p = buffer_.Peek(size);
            ok = p != nullptr;
            if (ok && property.role == kRoleMaterialIndex && materialIndex) {
                *materialIndex = BinaryToIndex(p, property.valueType, big);
            }
            if (ok) buffer_.Advance(size);
        } else if (property.kind == kPropertyString) {
            ok = SkipString();
        } else {
            int32_t length = 0;
            ok = ReadListLength(property, &length);
            if (ok && int(i) == layout.indexList) {
                *vertexCount = length;
                ok = ReadIndexItems(property, length, indices);
            } else if (ok) {
                ok = SkipListItems(property, length);
            }
        }
        if (!ok) {
            errorText_ = kMsgFaceReadError;
            return false;
        }
    }
    return true;
}

// Reads the items of the vertex_indices list, a block at a time. A list
// longer than the rest of the file fails before anything is allocated for it.
bool PlyReader::ReadIndexItems(const PlyProperty& list, int32_t length, IndexList* indices) {
    const size_t items = length > 0 ? size_t(length) : 0;
    const uint32_t itemSize = TypeSize(list.valueType);
    if (items == 0) {
        indices->Clear();
        return true;
    }
    if (itemSize == 0) {
        // Items of an invalid type take no bytes and read as 0, within the
        // bound SkipListItems sets for them.
        if (uint64_t(items) > buffer_.Remaining() || !indices->Resize(items)) return false;
        std::memset(indices->data(), 0, items * sizeof(int32_t));
        return true;
    }
    if (uint64_t(items) * itemSize > buffer_.Remaining()) {
        buffer_.Skip(buffer_.Remaining());
        return false;
    }
    if (!indices->Resize(items)) return false;
    int32_t* out = indices->data();
    const bool big = BigEndian();
    const size_t perBlock = buffer_.BlockSize() >= itemSize ? buffer_.BlockSize() / itemSize : 1;
    size_t done = 0;
    while (done < items) {
        const size_t chunk = items - done < perBlock ? items - done : perBlock;
        const unsigned char* p = buffer_.Peek(chunk * itemSize);
        if (!p) return false;
        for (size_t j = 0; j < chunk; ++j) {
            out[done + j] = BinaryToIndex(p + j * itemSize, list.valueType, big);
        }
        buffer_.Advance(chunk * itemSize);
        done += chunk;
    }
    return true;
}
