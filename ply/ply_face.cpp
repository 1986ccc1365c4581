// The face reader: one record of the current element per call, with every
// item of its vertex_indices list.
#include "ply/ascii_tokens.h"
#include "ply/binary_values.h"
#include "ply/ply_messages.h"
#include "ply/ply_reader.h"

namespace {

// Where a face scalar of this role goes as an integer, null for nowhere.
int32_t* IndexField(int role, int32_t* materialIndex, FaceExtras* extras) {
    if (role == kRoleMaterialIndex) return materialIndex;
    if (role == kRoleTexNumber && extras) return &extras->texNumber;
    return nullptr;
}

// Where a face colour or alpha channel goes, null for nowhere.
float* ColourField(int role, FaceExtras* extras) {
    if (!extras) return nullptr;
    if (role >= kRoleRed && role <= kRoleBlue) return &extras->colour[role - kRoleRed];
    return role == kRoleAlpha ? &extras->colour[3] : nullptr;
}

float ColourValue(float value, int type) {
    return type < kPlyFirstFloatType ? value / 255.0f : value;
}

}  // namespace

// The common face record, when it is whole in the block: it must give
// exactly what ReadFaceBinary gives for the same record. On a 64-byte
// boundary, so that its speed does not move with the code before it.
__attribute__((aligned(64))) inline bool PlyReader::ReadFaceBinaryFast(const RecordLayout& layout,
                                                                       int32_t* vertexCount,
                                                                       IndexList* indices,
                                                                       int32_t* materialIndex) {
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

// The extra values of the record ReadFaceBinaryFast has just read, apart
// from it so that reading without them costs nothing more.
void PlyReader::DecodeFaceExtras(const RecordLayout& layout, int32_t vertexCount,
                                 float* extra) const {
    const size_t items = vertexCount > 0 ? size_t(vertexCount) : 0;
    const size_t listEnd =
        layout.bytesBeforeList + layout.listCountSize + items * layout.listItemSize;
    const unsigned char* record = buffer_.Cursor() - layout.bytesAfterList - listEnd;
    for (const ExtraOp& op : layout.extraOps) {
        const size_t offset = op.offset + (op.afterList ? listEnd : 0);
        *extra++ = BinaryToFloat(record + offset, op.type, BigEndian());
    }
}

// The common cases, a binary record or an ASCII line whole in the block,
// read here; the rest goes through ReadFaceRecord.
bool PlyReader::ReadFace(int32_t* vertexCount, IndexList* indices, int32_t* materialIndex,
                         FaceExtras* extras) {
    errorText_.clear();
    if (extras) {
        extras->texCoordCount = 0;
        extras->texCoords.Clear();
    }
    if (fastFaces_ && vertexCount && indices && (!extras || !fastFaces_->faceExtras) &&
        ReadFaceBinaryFast(*fastFaces_, vertexCount, indices, materialIndex)) {
        if (extras && !fastFaces_->extraOps.empty()) {
            DecodeFaceExtras(*fastFaces_, *vertexCount, extras->values);
        }
        return true;
    }
    if (lineFaces_ && vertexCount && indices &&
        (ReadPlainFaceLine(vertexCount, indices) ||
         ReadFaceLineInBlock(*lineFaces_, vertexCount, indices))) {
        return true;
    }
    return ReadFaceRecord(vertexCount, indices, materialIndex, extras);
}

// A face element without a vertex_indices list yields faces of 0 vertices.
bool PlyReader::ReadFaceRecord(int32_t* vertexCount, IndexList* indices, int32_t* materialIndex,
                               FaceExtras* extras) {
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
    return IsAscii() ? ReadFaceAscii(vertexCount, indices, materialIndex, extras)
                     : ReadFaceBinary(vertexCount, indices, materialIndex, extras);
}

// The commonest face line of all: a length of one digit and its items, each
// of 1 to 7 digits, one blank apart. Whatever the list's types, such items
// read as the plain numbers they are. It must equal ReadFaceLineInBlock on
// every line it takes.
inline bool PlyReader::ReadPlainFaceLine(int32_t* vertexCount, IndexList* indices) {
    const char* p = reinterpret_cast<const char*>(buffer_.Cursor());
    const char* limit = reinterpret_cast<const char*>(buffer_.Limit());
    // The longest such line, and the word loads, stay in readable memory.
    if (limit - p < 2 || buffer_.ReadableEnd() - p < 2 + 9 * 8 || p[1] != ' ' || p[0] < '0' ||
        p[0] > '9') {
        return false;
    }
    const int length = p[0] - '0';
    if (!indices->Resize(size_t(length))) return false;
    int32_t* out = indices->data();
    p += 2;
    for (int j = 0; j < length; ++j) {
        const uint64_t word = DigitWord(p);
        const int n = LeadingDigits(word);
        // An item ends at a blank, or at the line's end after the last one:
        // "0.2e1" or "12345678" must go to the general path whole.
        if (n == 0 || n == 8 || limit - p <= n) return false;
        const char after = p[n];
        if (after != ' ' &&
            (j + 1 < length || (after != '\t' && after != '\r' && after != lineBreak_)))
            return false;
        out[j] = int32_t(ValueOfDigits(word, n));
        p += n + 1;
    }
    p = p[-1] == lineBreak_ ? p - 1 : NextLineBreak(p - 1, limit, lineBreak_);
    if (!p) return false;
    buffer_.SetCursor(reinterpret_cast<const unsigned char*>(p) + 1);
    ++linePosition_;
    *vertexCount = length;
    return true;
}

// The common face line: a vertex_indices list alone, whole in the block.
// Tokens after the list are not read, as in ReadFaceAscii; any other line
// is left to it.
bool PlyReader::ReadFaceLineInBlock(const RecordLayout& layout, int32_t* vertexCount,
                                    IndexList* indices) {
    const char* p = reinterpret_cast<const char*>(buffer_.Cursor());
    const char* limit = reinterpret_cast<const char*>(buffer_.Limit());
    const char* readable = buffer_.ReadableEnd();
    const char lineBreak = lineBreak_;
    const char* token = FirstTokenInLine(p, limit, lineBreak);
    if (!token) return false;
    const char* stop;
    const int32_t length = DecodeListLength(token, limit, readable, layout.listCountType, &stop);
    const size_t items = length > 0 ? size_t(length) : 0;
    if (items > size_t(limit - stop) / 2 + 1 || !indices->Resize(items)) return false;
    int32_t* out = indices->data();
    for (size_t j = 0; j < items; ++j) {
        token = NextTokenInLine(stop, limit, lineBreak);
        if (!token) return false;
        out[j] = DecodeTextIndexAt(token, limit, readable, layout.listItemType, &stop);
    }
    p = stop < limit && *stop == lineBreak ? stop : NextLineBreak(stop, limit, lineBreak);
    if (!p) return false;
    buffer_.SetCursor(reinterpret_cast<const unsigned char*>(p) + 1);
    ++linePosition_;
    *vertexCount = length;
    return true;
}

// Every property takes its own tokens: a scalar or a string one, a list its
// length and then that many items. A list that announces more items than the
// line holds is a read error, never a face padded with zeros.
bool PlyReader::ReadFaceAscii(int32_t* vertexCount, IndexList* indices, int32_t* materialIndex,
                              FaceExtras* extras) {
    const char* p;
    const char* end;
    if (!ReadAsciiLine(&p, &end)) {
        errorText_ = kMsgFaceReadError;
        return false;
    }
    const PlyElement& element = elements_[size_t(currentElement_)];
    const int indexList = layouts_[size_t(currentElement_)].indexList;
    const int texCoordList = extras ? layouts_[size_t(currentElement_)].texCoordList : -1;
    const int8_t* extraIndices = layouts_[size_t(currentElement_)].extraIndices.data();
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
            const bool scalar = property.kind == kPropertyScalar;
            int32_t* whole = scalar ? IndexField(property.role, materialIndex, extras) : nullptr;
            float* channel = scalar ? ColourField(property.role, extras) : nullptr;
            float* value =
                extras && extraIndices[i] >= 0 ? &extras->values[extraIndices[i]] : nullptr;
            if (whole) {
                *whole = p < end ? DecodeIndexToken(p, end, readable, property.valueType, &p) : 0;
            } else if (channel) {
                *channel = p < end
                               ? ColourValue(DecodeToken(p, end, readable, property.valueType, &p),
                                             property.valueType)
                               : 0.0f;
            } else if (value) {
                *value = p < end ? DecodeToken(p, end, readable, property.valueType, &p) : 0.0f;
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
        const bool corners = int(i) == texCoordList;
        if (corners) {
            if (!extras->texCoords.Resize(items)) {
                errorText_ = kMsgFaceReadError;
                return false;
            }
            extras->texCoordCount = length;
        }
        int32_t* out = delivered ? indices->data() : nullptr;
        float* cornerOut = corners ? extras->texCoords.data() : nullptr;
        for (size_t j = 0; j < items; ++j) {
            p = SkipDelimiters(p, end);
            if (p == end) {
                errorText_ = kMsgFaceReadError;
                return false;
            }
            if (out) {
                out[j] = DecodeIndexToken(p, end, readable, property.valueType, &p);
            } else if (cornerOut) {
                cornerOut[j] = DecodeToken(p, end, readable, property.valueType, &p);
            } else {
                p = SkipToken(p, end);
            }
        }
    }
    return true;
}

// Reads the items of a delivered list, a block at a time. A list longer
// than the rest of the file fails before anything is allocated for it.
template <class T>
bool PlyReader::ReadListItems(const PlyProperty& list, int32_t length, GrowOnlyList<T>* values,
                              T (*decode)(const unsigned char*, int, bool)) {
    const size_t items = length > 0 ? size_t(length) : 0;
    const uint32_t itemSize = TypeSize(list.valueType);
    if (items == 0) {
        values->Clear();
        return true;
    }
    if (itemSize == 0) {
        // Items of an invalid type take no bytes and read as 0, within the
        // bound SkipListItems sets for them.
        if (uint64_t(items) > buffer_.Remaining() || !values->Resize(items)) return false;
        for (size_t j = 0; j < items; ++j) values->data()[j] = T(0);
        return true;
    }
    if (uint64_t(items) * itemSize > buffer_.Remaining()) {
        buffer_.Skip(buffer_.Remaining());
        return false;
    }
    if (!values->Resize(items)) return false;
    T* out = values->data();
    const bool big = BigEndian();
    const size_t perBlock = buffer_.BlockSize() >= itemSize ? buffer_.BlockSize() / itemSize : 1;
    size_t done = 0;
    while (done < items) {
        const size_t chunk = items - done < perBlock ? items - done : perBlock;
        const unsigned char* p = buffer_.Peek(chunk * itemSize);
        if (!p) return false;
        for (size_t j = 0; j < chunk; ++j) {
            out[done + j] = decode(p + j * itemSize, list.valueType, big);
        }
        buffer_.Advance(chunk * itemSize);
        done += chunk;
    }
    return true;
}

bool PlyReader::ReadFaceBinary(int32_t* vertexCount, IndexList* indices, int32_t* materialIndex,
                               FaceExtras* extras) {
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
            int32_t* whole = IndexField(property.role, materialIndex, extras);
            float* channel = ColourField(property.role, extras);
            if (ok && whole) {
                *whole = BinaryToIndex(p, property.valueType, big);
            } else if (ok && channel) {
                *channel =
                    ColourValue(BinaryToFloat(p, property.valueType, big), property.valueType);
            } else if (ok && extras && layout.extraIndices[i] >= 0) {
                extras->values[layout.extraIndices[i]] = BinaryToFloat(p, property.valueType, big);
            }
            if (ok) buffer_.Advance(size);
        } else if (property.kind == kPropertyString) {
            ok = SkipString();
        } else {
            int32_t length = 0;
            ok = ReadListLength(property, &length);
            if (ok && int(i) == layout.indexList) {
                *vertexCount = length;
                ok = ReadListItems(property, length, indices, BinaryToIndex);
            } else if (ok && extras && int(i) == layout.texCoordList) {
                extras->texCoordCount = length;
                ok = ReadListItems(property, length, &extras->texCoords, BinaryToFloat);
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

bool PlyReader::ReadGridCell(int32_t* vertex) {
    int32_t length = 0;
    if (!ReadFace(&length, &cellItems_, nullptr)) return false;
    *vertex = length > 0 ? cellItems_[0] : -1;
    return true;
}
