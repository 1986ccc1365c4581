// The vertex reader: one record of the current element per call.
#include <cmath>
#include <cstdio>
#include <limits>

#include "ply/ascii_tokens.h"
#include "ply/binary_values.h"
#include "ply/ply_messages.h"
#include "ply/ply_reader.h"

namespace {

bool IsIntegerColour(int slot, const PlyProperty& property) {
    return IsColourSlot(slot) && property.valueType < kPlyFirstFloatType;
}

// NaN gives 0.
float Clamp01(float value) { return !(value > 0.0f) ? 0.0f : value > 1.0f ? 1.0f : value; }

// The splat colour terms and alpha, decoded into finished[], reach the
// caller: f_dc is the zeroth spherical-harmonic band, a float opacity a
// logit and an integer one an alpha up to its type's maximum.
void FinishVertex(const RecordLayout& layout, const float* finished, float* colour, float* alpha) {
    for (int channel = 0; colour && channel < 3; ++channel) {
        if (layout.splatChannels & (1 << channel)) {
            colour[channel] = Clamp01(0.5f + 0.2820948f * finished[channel]);
        }
    }
    const float value = finished[kSlotAlpha - kSlotSplatColour];
    if (alpha && layout.alphaFromOpacity) {
        *alpha = Clamp01(1.0f / (1.0f + std::exp(-value)));
    } else if (alpha && layout.opacityScale != 0.0f) {
        *alpha = Clamp01(value * layout.opacityScale);
    } else if (alpha && layout.hasAlpha) {
        *alpha = value;
    }
}

inline void DecodeExtras(const RecordLayout& layout, const unsigned char* record, bool big,
                         float* extra) {
    for (const ExtraOp& op : layout.extraOps) {
        const unsigned char* p = record + op.offset;
        *extra++ = op.type == kPlyFloat32 ? LoadFloat32(p, big) : BinaryToFloat(p, op.type, big);
    }
}

}  // namespace

void PlyReader::SetCountMismatch(size_t properties, size_t tokens) {
    char text[96];
    std::snprintf(text, sizeof text, kMsgPropertyCount, int(properties), int(tokens));
    errorText_ = text;
}

// A whole record in the block, decoded by the steps prepared for its element:
// it must give exactly what ReadVertexBinary gives for the same record.
// Forced inline: the compiler leaves a hot loop with two callers out of line.
inline __attribute__((always_inline)) void PlyReader::DecodeVertexRecord(
    const RecordLayout& layout, const unsigned char* record, float* const* groups) const {
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

// x, y and z once more, as doubles less the offset.
inline void PlyReader::OffsetPositions(const RecordLayout& layout, const unsigned char* record,
                                       float* position) const {
    for (int axis = 0; axis < 3; ++axis) {
        if (layout.positionTypes[axis] == kPlyInvalid) continue;
        const double value = BinaryToDouble(record + layout.positionOffsets[axis],
                                            layout.positionTypes[axis], BigEndian());
        position[axis] = float(value - positionOffset_[axis]);
    }
}

// The common cases, a binary record or an ASCII line whole in the block,
// decode here; the rest goes through ReadVertexRecord. On a 64-byte
// boundary, so that its speed does not move with the code before it.
__attribute__((aligned(64))) bool PlyReader::ReadVertex(float position[3], float normal[3],
                                                        float texCoord[3], float colour[3],
                                                        float* alpha) {
    errorText_.clear();
    if (texCoord) texCoord[2] = 0.0f;
    const RecordLayout* layout = fastVertices_ ? fastVertices_ : lineVertices_;
    if (layout && position) {
        float sink[3];
        float finished[4];
        float* const groups[kVertexGroupCount] = {position, normal ? normal : sink,
                                                  texCoord ? texCoord : sink,
                                                  colour ? colour : sink, finished};
        if (ReadVertexInBlock(*layout, groups)) {
            if (layout->finishVertex) FinishVertex(*layout, finished, colour, alpha);
            return true;
        }
    }
    return ReadVertexRecord(position, normal, texCoord, colour, alpha, nullptr, nullptr);
}

// Apart from the call without extras, which stays as quick as it was. A
// binary record (which has a fixed size when it can be read at all) is
// brought whole into the block and decoded there; ASCII lines go through
// ReadVertexRecord, which reads those whole in the block in place.
bool PlyReader::ReadVertex(float position[3], float normal[3], float texCoord[3], float colour[3],
                           float* alpha, float* extra) {
    if (!extra) return ReadVertex(position, normal, texCoord, colour, alpha);
    errorText_.clear();
    if (texCoord) texCoord[2] = 0.0f;
    const RecordLayout* layout = fastVertices_;
    const unsigned char* record = layout ? buffer_.Peek(layout->fixedBytes) : nullptr;
    if (!record) return ReadVertexRecord(position, normal, texCoord, colour, alpha, nullptr, extra);
    float sink[3];
    float finished[4];
    float* const groups[kVertexGroupCount] = {position ? position : sink, normal ? normal : sink,
                                              texCoord ? texCoord : sink, colour ? colour : sink,
                                              finished};
    DecodeVertexRecord(*layout, record, groups);
    DecodeExtras(*layout, record, BigEndian(), extra);
    if (hasPositionOffset_) OffsetPositions(*layout, record, groups[0]);
    buffer_.Advance(layout->fixedBytes);
    if (layout->finishVertex) FinishVertex(*layout, finished, colour, alpha);
    return true;
}

// Forced inline too, as the forced DecodeVertexRecord makes it larger.
inline __attribute__((always_inline)) bool PlyReader::ReadVertexInBlock(const RecordLayout& layout,
                                                                        float* const* groups) {
    if (IsAscii()) return ReadVertexLineInBlock(layout, groups, nullptr, nullptr);
    const unsigned char* record = buffer_.Cursor();
    if (size_t(buffer_.Limit() - record) < layout.fixedBytes) return false;
    DecodeVertexRecord(layout, record, groups);
    if (hasPositionOffset_) OffsetPositions(layout, record, groups[0]);
    buffer_.SetCursor(record + layout.fixedBytes);
    return true;
}

// exact, when given, receives x, y and z as doubles; extra the extras of an
// ASCII line (a binary record that can be read at all has a fixed size, and
// ReadVertex decodes its extras).
bool PlyReader::ReadVertexRecord(float* position, float* normal, float* texCoord, float* colour,
                                 float* alpha, double* exact, float* extra) {
    // Values for a destination the caller did not give land here.
    float sink[kVertexSlotCount];
    float finished[4];
    float* position3 = position ? position : sink;
    float* normal3 = normal ? normal : sink;
    float* texCoord2 = texCoord ? texCoord : sink;
    float* colour3 = colour ? colour : sink;
    float* const destinations[kVertexSlotCount] = {
        position3,   position3 + 1, position3 + 2, normal3,      normal3 + 1,
        normal3 + 2, texCoord2,     texCoord2 + 1, colour3,      colour3 + 1,
        colour3 + 2, finished,      finished + 1,  finished + 2, finished + 3,
    };
    if (!source_ || currentElement_ < 0) {
        errorText_ = kMsgVertexReadError;
        return false;
    }
    const bool read = IsAscii() ? ReadVertexAscii(destinations, exact, extra)
                                : ReadVertexBinary(destinations, exact);
    const RecordLayout& layout = layouts_[size_t(currentElement_)];
    if (read && layout.finishVertex) FinishVertex(layout, finished, colour, alpha);
    return read;
}

// The common line, whole in the block with one token per property, is read
// without searching for its end first and stored as StoreVertexValues
// would: each slot takes the last property of its role. Any other line is
// left to the general reader below, which counts the tokens and gives the
// error texts.
bool PlyReader::ReadVertexLineInBlock(const RecordLayout& layout, float* const* groups,
                                      double* exact, float* extra) {
    const size_t propertyCount = layout.vertexSlots.size();
    const int8_t* slots = layout.vertexSlots.data();
    const int8_t* extraIndices = layout.extraIndices.data();
    const uint8_t* types = layout.vertexTypes.data();
    const char* limit = reinterpret_cast<const char*>(buffer_.Limit());
    const char* readable = buffer_.ReadableEnd();
    const char lineBreak = lineBreak_;
    double values[kVertexSlotCount];
    const char* token =
        FirstTokenInLine(reinterpret_cast<const char*>(buffer_.Cursor()), limit, lineBreak);
    const char* stop;
    for (size_t i = 0;;) {
        if (!token) return false;
        const int slot = slots[i];
        stop = token;
        if (slot >= 0) {
            values[slot] = DecodeTextDoubleAt(token, limit, readable, types[i], &stop);
        } else if (extra && extraIndices[i] >= 0) {
            extra[extraIndices[i]] =
                float(DecodeTextDoubleAt(token, limit, readable, types[i], &stop));
        }
        if (++i == propertyCount) break;
        token = NextTokenInLine(stop, limit, lineBreak);
    }
    const char* lineEnd = LineEndAfterToken(stop, limit, lineBreak);
    if (!lineEnd) return false;
    buffer_.SetCursor(reinterpret_cast<const unsigned char*>(lineEnd) + 1);
    ++linePosition_;
    for (int axis = 0; axis < 3; ++axis) {
        if (!((layout.slotsStored >> axis) & 1)) continue;
        groups[0][axis] = float(values[axis] - positionOffset_[axis]);
        if (exact) exact[axis] = values[axis];
    }
    for (uint32_t rest = layout.slotsStored & ~layout.slotsDivided & ~7u; rest; rest &= rest - 1) {
        const int slot = LowestSetBit(rest);
        groups[kSlotGroups[slot]][kSlotIndices[slot]] = float(values[slot]);
    }
    for (uint32_t rest = layout.slotsDivided; rest; rest &= rest - 1) {
        const int slot = LowestSetBit(rest);
        groups[kSlotGroups[slot]][kSlotIndices[slot]] = float(values[slot]) / 255.0f;
    }
    return true;
}

// One line: the tokens are counted and the vertex values decoded in one
// pass; nothing is stored unless the line has one token per property.
// Positions are decoded as doubles, so that the offset keeps their precision.
bool PlyReader::ReadVertexAscii(float* const* destinations, double* exact, float* extra) {
    if (lineVertices_) {
        float* const groups[kVertexGroupCount] = {destinations[0], destinations[3], destinations[6],
                                                  destinations[8], destinations[11]};
        if (ReadVertexLineInBlock(*lineVertices_, groups, exact, extra)) return true;
    }
    const char* p;
    const char* end;
    if (!ReadAsciiLine(&p, &end)) {
        errorText_ = kMsgVertexReadError;
        return false;
    }
    const PlyElement& element = elements_[size_t(currentElement_)];
    const std::vector<int8_t>& slots = layouts_[size_t(currentElement_)].vertexSlots;
    const std::vector<int8_t>& extraIndices = layouts_[size_t(currentElement_)].extraIndices;
    const size_t propertyCount = element.properties.size();
    const char* readable = buffer_.ReadableEnd();
    float values[kVertexSlotCount];
    double positions[3];
    size_t tokens = 0;
    for (;;) {
        p = SkipDelimiters(p, end);
        if (p == end) break;
        const int slot = tokens < propertyCount ? slots[tokens] : -1;
        if (slot >= 3) {
            values[slot] = DecodeToken(p, end, readable, element.properties[tokens].valueType, &p);
        } else if (slot >= 0) {
            positions[slot] =
                DecodeDoubleToken(p, end, readable, element.properties[tokens].valueType, &p);
        } else if (extra && tokens < propertyCount && extraIndices[tokens] >= 0) {
            extra[extraIndices[tokens]] =
                DecodeToken(p, end, readable, element.properties[tokens].valueType, &p);
        } else {
            p = SkipToken(p, end);
        }
        ++tokens;
    }
    if (tokens != propertyCount) {
        SetCountMismatch(propertyCount, tokens);
        return false;
    }
    // The values before a list or string are stored before it fails.
    const int firstNonScalar = layouts_[size_t(currentElement_)].firstNonScalar;
    StoreVertexValues(values, positions,
                      firstNonScalar < 0 ? propertyCount : size_t(firstNonScalar), destinations,
                      exact);
    if (firstNonScalar >= 0) {
        errorText_ = kMsgVertexNotScalar;
        return false;
    }
    return true;
}

// The values of the first count properties. A property's value is stored
// when its turn comes, so a later property of the same role wins, as in the
// binary reader.
void PlyReader::StoreVertexValues(const float* values, const double* positions, size_t count,
                                  float* const* destinations, double* exact) const {
    const RecordLayout& layout = layouts_[size_t(currentElement_)];
    for (size_t i = 0; i < count; ++i) {
        const int slot = layout.vertexSlots[i];
        if (slot < 0) continue;
        if (slot < 3) {
            *destinations[slot] = float(positions[slot] - positionOffset_[slot]);
            if (exact) exact[slot] = positions[slot];
            continue;
        }
        float value = values[slot];
        if (IsColourSlot(slot) && layout.vertexTypes[i] < kPlyFirstFloatType) value /= 255.0f;
        *destinations[slot] = value;
    }
}

bool PlyReader::ReadVertexBinary(float* const* destinations, double* exact) {
    // Value by value: a record cut short by the end of the file, or one with
    // a list or string, fails at the value where it stops.
    const PlyElement& element = elements_[size_t(currentElement_)];
    const std::vector<int8_t>& slots = layouts_[size_t(currentElement_)].vertexSlots;
    const bool big = BigEndian();
    for (size_t i = 0; i < element.properties.size(); ++i) {
        const PlyProperty& property = element.properties[i];
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
        const int slot = slots[i];
        if (slot >= 3) {
            float value = BinaryToFloat(p, property.valueType, big);
            if (IsIntegerColour(slot, property)) value /= 255.0f;
            *destinations[slot] = value;
        } else if (slot >= 0) {
            const double value = BinaryToDouble(p, property.valueType, big);
            *destinations[slot] = float(value - positionOffset_[slot]);
            if (exact) exact[slot] = value;
        }
        buffer_.Advance(size);
    }
    return true;
}

bool PlyReader::ReadExactPosition(double position[3]) {
    if (fastVertices_) {
        const RecordLayout& layout = *fastVertices_;
        const unsigned char* record = buffer_.Peek(layout.fixedBytes);
        if (record) {
            for (int axis = 0; axis < 3; ++axis) {
                if (layout.positionTypes[axis] == kPlyInvalid) continue;
                position[axis] = BinaryToDouble(record + layout.positionOffsets[axis],
                                                layout.positionTypes[axis], BigEndian());
            }
            buffer_.Advance(layout.fixedBytes);
            return true;
        }
    }
    // The general reader, which also gives the error text.
    float ignored[3];
    return ReadVertexRecord(ignored, nullptr, nullptr, nullptr, nullptr, position, nullptr);
}

bool PlyReader::ReadPositionBounds(double minimum[3], double maximum[3]) {
    for (int axis = 0; axis < 3; ++axis) {
        minimum[axis] = std::numeric_limits<double>::infinity();
        maximum[axis] = -std::numeric_limits<double>::infinity();
    }
    errorText_.clear();
    const int32_t count = SeekElement(kElementVertex);
    if (!errorText_.empty()) return false;
    // Records of no bytes never end the data; every position in them is 0.
    if (count > 0 && fastVertices_ && fastVertices_->fixedBytes == 0) {
        for (int axis = 0; axis < 3; ++axis) minimum[axis] = maximum[axis] = 0.0;
        return true;
    }
    for (int32_t i = 0; i < count; ++i) {
        double position[3] = {0, 0, 0};
        if (!ReadExactPosition(position)) return false;
        if (!std::isfinite(position[0]) || !std::isfinite(position[1]) ||
            !std::isfinite(position[2])) {
            continue;
        }
        for (int axis = 0; axis < 3; ++axis) {
            if (position[axis] < minimum[axis]) minimum[axis] = position[axis];
            if (position[axis] > maximum[axis]) maximum[axis] = position[axis];
        }
    }
    return true;
}

void PlyReader::SetPositionOffset(const double offset[3]) {
    hasPositionOffset_ = offset != nullptr;
    for (int axis = 0; axis < 3; ++axis) positionOffset_[axis] = offset ? offset[axis] : 0.0;
}
