// The face reader: one record of the current element per call, with every
// item of its vertex_indices list.
#include "ply/binary_values.h"
#include "ply/ply_messages.h"
#include "ply/ply_reader.h"

namespace {

const char* SkipDelimiters(const char* p, const char* end) {
    while (p < end && IsTokenDelimiter(*p)) ++p;
    return p;
}

const char* SkipToken(const char* p, const char* end) {
    while (p < end && !IsTokenDelimiter(*p)) ++p;
    return p;
}

}  // namespace

// A face element without a vertex_indices list yields faces of 0 vertices.
bool PlyReader::ReadFace(int32_t* vertexCount, std::vector<int32_t>* indices,
                         int32_t* materialIndex) {
    errorText_.clear();
    int32_t countSink;
    std::vector<int32_t> indicesSink;
    if (!vertexCount) vertexCount = &countSink;
    if (!indices) indices = &indicesSink;
    *vertexCount = 0;
    indices->clear();
    if (!source_ || currentElement_ < 0) {
        errorText_ = kMsgFaceReadError;
        return false;
    }
    return IsAscii() ? ReadFaceAscii(vertexCount, indices, materialIndex)
                     : ReadFaceBinary(vertexCount, indices, materialIndex);
}

// Every property takes its own tokens: a scalar or a string one, a list its
// length and then that many items. A list that announces more items than the
// line holds is a read error, never a face padded with zeros.
bool PlyReader::ReadFaceAscii(int32_t* vertexCount, std::vector<int32_t>* indices,
                              int32_t* materialIndex) {
    const char* p;
    const char* end;
    if (!ReadAsciiLine(&p, &end)) {
        errorText_ = kMsgFaceReadError;
        return false;
    }
    const PlyElement& element = elements_[size_t(currentElement_)];
    const int indexList = layouts_[size_t(currentElement_)].indexList;
    for (size_t i = 0; i < element.properties.size(); ++i) {
        const PlyProperty& property = element.properties[i];
        if (property.role == kRoleVertexIndices && property.kind != kPropertyList) {
            errorText_ = kMsgIndicesNotList;
            return false;
        }
        p = SkipDelimiters(p, end);
        const char* tokenEnd = SkipToken(p, end);
        const std::string_view token(p, size_t(tokenEnd - p));
        p = tokenEnd;
        if (property.kind != kPropertyList) {
            if (property.role == kRoleMaterialIndex && materialIndex &&
                property.kind == kPropertyScalar) {
                *materialIndex = DecodeTextIndex(token, property.valueType);
            }
            continue;
        }
        const int32_t length = DecodeTextIndex(token, property.countType);
        const size_t items = length > 0 ? size_t(length) : 0;
        // Each item needs a character and a delimiter: a longer list cannot
        // be on this line, whatever follows.
        if (items > size_t(end - p) / 2 + 1) {
            errorText_ = kMsgFaceReadError;
            return false;
        }
        const bool delivered = int(i) == indexList;
        if (delivered) {
            *vertexCount = length;
            indices->resize(items);
        }
        int32_t* out = delivered ? indices->data() : nullptr;
        for (size_t j = 0; j < items; ++j) {
            p = SkipDelimiters(p, end);
            if (p == end) {
                errorText_ = kMsgFaceReadError;
                return false;
            }
            const char* itemEnd = SkipToken(p, end);
            if (out) {
                out[j] = DecodeTextIndex(std::string_view(p, size_t(itemEnd - p)), property.valueType);
            }
            p = itemEnd;
        }
    }
    return true;
}

bool PlyReader::ReadFaceBinary(int32_t* vertexCount, std::vector<int32_t>* indices,
                               int32_t* materialIndex) {
    const RecordLayout& layout = layouts_[size_t(currentElement_)];
    if (layout.simpleFace && ReadFaceBinaryFast(layout, vertexCount, indices, materialIndex)) {
        return true;
    }
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

// The common face record, when it is whole in the block.
bool PlyReader::ReadFaceBinaryFast(const RecordLayout& layout, int32_t* vertexCount,
                                   std::vector<int32_t>* indices, int32_t* materialIndex) {
    const PlyElement& element = elements_[size_t(currentElement_)];
    const PlyProperty& list = element.properties[size_t(layout.indexList)];
    const uint32_t countSize = TypeSize(list.countType);
    const uint32_t itemSize = TypeSize(list.valueType);
    const size_t head = layout.bytesBeforeList + countSize;
    const bool big = BigEndian();
    const unsigned char* record = buffer_.Peek(head);
    if (!record) return false;
    const int32_t length = BinaryToIndex(record + layout.bytesBeforeList, list.countType, big);
    const size_t items = length > 0 ? size_t(length) : 0;
    if (items > InputBuffer::kBlockSize / 8) return false;
    const size_t listEnd = head + items * itemSize;
    record = buffer_.Peek(listEnd + layout.bytesAfterList);
    if (!record) return false;

    *vertexCount = length;
    indices->resize(items);
    int32_t* out = indices->data();
    const unsigned char* item = record + head;
    if (itemSize == 4 && (list.valueType == kPlyInt32 || list.valueType == kPlyUint32)) {
        for (size_t j = 0; j < items; ++j) out[j] = int32_t(LoadU32(item + 4 * j, big));
    } else {
        for (size_t j = 0; j < items; ++j) {
            out[j] = BinaryToIndex(item + j * itemSize, list.valueType, big);
        }
    }
    if (layout.materialProperty >= 0 && materialIndex) {
        const PlyProperty& material = element.properties[size_t(layout.materialProperty)];
        const size_t offset = layout.materialOffset + (layout.materialAfterList ? listEnd : 0);
        *materialIndex = BinaryToIndex(record + offset, material.valueType, big);
    }
    buffer_.Advance(listEnd + layout.bytesAfterList);
    return true;
}

// Reads the items of the vertex_indices list, a block at a time. A list
// longer than the rest of the file fails before anything is allocated for it.
bool PlyReader::ReadIndexItems(const PlyProperty& list, int32_t length,
                               std::vector<int32_t>* indices) {
    const size_t items = length > 0 ? size_t(length) : 0;
    const uint32_t itemSize = TypeSize(list.valueType);
    if (items == 0) return true;
    // Items of an invalid type have no bytes in the file: no index to deliver.
    if (itemSize == 0) return false;
    if (uint64_t(items) * itemSize > buffer_.Remaining()) {
        buffer_.Skip(buffer_.Remaining());
        return false;
    }
    indices->resize(items);
    int32_t* out = indices->data();
    const bool big = BigEndian();
    const size_t perBlock = InputBuffer::kBlockSize / itemSize;
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
