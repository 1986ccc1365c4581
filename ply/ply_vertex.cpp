// The vertex reader: one record of the current element per call.
#include <cstdio>

#include "ply/ascii_tokens.h"
#include "ply/binary_values.h"
#include "ply/ply_messages.h"
#include "ply/ply_reader.h"

namespace {

bool IsIntegerColour(const PlyProperty& property) {
    return property.role >= kRoleRed && property.role <= kRoleBlue &&
           property.valueType < kPlyFirstFloatType;
}

}  // namespace

void PlyReader::SetCountMismatch(size_t properties, size_t tokens) {
    char text[96];
    std::snprintf(text, sizeof text, kMsgPropertyCount, int(properties), int(tokens));
    errorText_ = text;
}

// A whole record in the block, decoded by the steps prepared for its element:
// it must give exactly what ReadVertexBinary gives for the same record.
inline void PlyReader::DecodeVertexRecord(const RecordLayout& layout, const unsigned char* record,
                                          float* const* groups) const {
    const bool big = BigEndian();
    for (const VertexOp& op : layout.vertexOps) {
        const unsigned char* p = record + op.offset;
        float* destination = groups[op.group] + op.index;
        switch (op.kind) {
            case kOpFloatTriple:
                destination[0] = LoadFloat32(p, big);
                destination[1] = LoadFloat32(p + 4, big);
                destination[2] = LoadFloat32(p + 8, big);
                break;
            case kOpColourTriple:
                destination[0] = kByteColours.values[p[0]];
                destination[1] = kByteColours.values[p[1]];
                destination[2] = kByteColours.values[p[2]];
                break;
            case kOpScalar: {
                float value = BinaryToFloat(p, op.type, big);
                if (op.divide255) value /= 255.0f;
                destination[0] = value;
                break;
            }
        }
    }
}

// The common case, a binary record whole in the block, decodes here; the
// rest goes through ReadVertexRecord.
bool PlyReader::ReadVertex(float position[3], float normal[3], float texCoord[3], float colour[3]) {
    errorText_.clear();
    if (texCoord) texCoord[2] = 0.0f;
    if (fastVertices_ && position) {
        const RecordLayout& layout = *fastVertices_;
        const unsigned char* record = buffer_.Cursor();
        if (size_t(buffer_.Limit() - record) >= layout.fixedBytes) {
            float sink[3];
            float* const groups[kVertexGroupCount] = {position, normal ? normal : sink,
                                                      texCoord ? texCoord : sink,
                                                      colour ? colour : sink};
            DecodeVertexRecord(layout, record, groups);
            buffer_.SetCursor(record + layout.fixedBytes);
            return true;
        }
    }
    return ReadVertexRecord(position, normal, texCoord, colour);
}

bool PlyReader::ReadVertexRecord(float* position, float* normal, float* texCoord, float* colour) {
    // Values for a destination the caller did not give land here.
    float sink[kVertexSlotCount];
    float* position3 = position ? position : sink;
    float* normal3 = normal ? normal : sink;
    float* texCoord2 = texCoord ? texCoord : sink;
    float* colour3 = colour ? colour : sink;
    float* const destinations[kVertexSlotCount] = {
        position3, position3 + 1, position3 + 2, normal3,     normal3 + 1, normal3 + 2,
        texCoord2, texCoord2 + 1, colour3,       colour3 + 1, colour3 + 2,
    };
    if (!source_ || currentElement_ < 0) {
        errorText_ = kMsgVertexReadError;
        return false;
    }
    return IsAscii() ? ReadVertexAscii(destinations) : ReadVertexBinary(destinations);
}

// One line: the tokens are counted and the vertex values decoded in one
// pass; nothing is stored unless the line has one token per property.
bool PlyReader::ReadVertexAscii(float* const* destinations) {
    const char* p;
    const char* end;
    if (!ReadAsciiLine(&p, &end)) {
        errorText_ = kMsgVertexReadError;
        return false;
    }
    const PlyElement& element = elements_[size_t(currentElement_)];
    const size_t propertyCount = element.properties.size();
    const char* readable = buffer_.ReadableEnd();
    float values[kVertexSlotCount];
    size_t tokens = 0;
    for (;;) {
        p = SkipDelimiters(p, end);
        if (p == end) break;
        const PlyProperty* property =
            tokens < propertyCount ? &element.properties[tokens] : nullptr;
        if (property && property->kind == kPropertyScalar && IsVertexRole(property->role)) {
            values[property->role - kRoleX] =
                DecodeToken(p, end, readable, property->valueType, &p);
        } else {
            p = SkipToken(p, end);
        }
        ++tokens;
    }
    if (tokens != propertyCount) {
        SetCountMismatch(propertyCount, tokens);
        return false;
    }
    // A property's value is stored when its turn comes, so a later property
    // of the same role wins, as in the binary reader.
    for (size_t i = 0; i < propertyCount; ++i) {
        const PlyProperty& property = element.properties[i];
        if (property.kind != kPropertyScalar) {
            errorText_ = kMsgVertexNotScalar;
            return false;
        }
        if (!IsVertexRole(property.role)) continue;
        float value = values[property.role - kRoleX];
        if (IsIntegerColour(property)) value /= 255.0f;
        *destinations[property.role - kRoleX] = value;
    }
    return true;
}

bool PlyReader::ReadVertexBinary(float* const* destinations) {
    // Value by value: a record cut short by the end of the file, or one with
    // a list or string, fails at the value where it stops.
    const PlyElement& element = elements_[size_t(currentElement_)];
    const bool big = BigEndian();
    for (const PlyProperty& property : element.properties) {
        if (property.kind != kPropertyScalar) {
            errorText_ = kMsgVertexNotScalar;
            return false;
        }
        const uint32_t size = TypeSize(property.valueType);
        const unsigned char* p = buffer_.Peek(size);
        if (!p) {
            errorText_ = kMsgVertexReadError;
            return false;
        }
        if (IsVertexRole(property.role)) {
            float value = BinaryToFloat(p, property.valueType, big);
            if (IsIntegerColour(property)) value /= 255.0f;
            *destinations[property.role - kRoleX] = value;
        }
        buffer_.Advance(size);
    }
    return true;
}
