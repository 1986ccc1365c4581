// Positioning at an element, stepping over records and the triangle count.
#include <cstdio>
#include <limits>

#include "ply/ascii_tokens.h"
#include "ply/binary_values.h"
#include "ply/ply_messages.h"
#include "ply/ply_reader.h"
#include "ply/range_grid.h"
#include "ply/tristrips.h"

namespace {

// The answer of a single binary read of a type that has no size. Never shown:
// the element readers take such a value as 0 bytes reading 0 and go on.
const char* const kMsgUnknownType = "unknown data type";

}  // namespace

// The bytes of one binary value of the type, or null with the error text:
// "unknown data type" (nothing consumed) or "file read error" at the end.
const unsigned char* PlyReader::PeekValue(int type, uint32_t* size) {
    *size = TypeSize(type);
    if (*size == 0) {
        errorText_ = kMsgUnknownType;
        return nullptr;
    }
    const unsigned char* p = buffer_.Peek(*size);
    if (!p) errorText_ = kMsgFileReadError;
    return p;
}

bool PlyReader::ReadBinary(int type, float* value) {
    uint32_t size = 0;
    const unsigned char* p = PeekValue(type, &size);
    if (!p) return false;
    *value = BinaryToFloat(p, type, BigEndian());
    buffer_.Advance(size);
    return true;
}

bool PlyReader::ReadBinaryIndex(int type, int32_t* value) {
    uint32_t size = 0;
    const unsigned char* p = PeekValue(type, &size);
    if (!p) return false;
    *value = BinaryToIndex(p, type, BigEndian());
    buffer_.Advance(size);
    return true;
}

int32_t PlyReader::SeekElement(int kind, uint32_t* flags) {
    if (kind < 0 || kind >= kElementKindCount) return 0;
    errorText_.clear();
    if (!source_) return 0;
    const int index = FindElement(kind);
    if (index < 0) return 0;
    const PlyElement& element = elements_[size_t(index)];
    SetCurrentElement(index);
    if (flags) *flags = element.flags;
    const bool positioned = IsAscii() ? PositionAscii(index) : PositionBinary(index);
    if (!positioned) {
        // The same text whichever element was sought, in every encoding.
        errorText_ = kMsgSeekEndOfFile;
        return 0;
    }
    return element.count;
}

void PlyReader::SetCurrentElement(int element) {
    currentElement_ = element;
    const RecordLayout& layout = layouts_[size_t(element)];
    fastVertices_ = !IsAscii() && layout.firstNonScalar < 0 ? &layout : nullptr;
    fastFaces_ = !IsAscii() && layout.simpleFace ? &layout : nullptr;
    lineVertices_ =
        IsAscii() && layout.firstNonScalar < 0 && !layout.vertexSlots.empty() ? &layout : nullptr;
    // A vertex_indices list alone, of valid types.
    const bool listAlone = layout.simpleFace && elements_[size_t(element)].properties.size() == 1;
    lineFaces_ = IsAscii() && listAlone ? &layout : nullptr;
}

int64_t PlyReader::FirstLineOf(int element) const {
    int64_t line = 0;
    for (int i = 0; i < element; ++i) line += elements_[size_t(i)].count;
    return line;
}

bool PlyReader::SkipLines(int64_t n) {
    if (!source_ || !IsAscii() || n < 0) return false;
    // Start from the latest element start known at or before line n, or from
    // where the reader stands when that is closer: the result is the same as
    // counting from the data start.
    int64_t fromLine = 0;
    uint64_t fromOffset = dataStart_;
    int64_t line = 0;
    for (size_t k = 0; k < elementStarts_.size() && line <= n; ++k) {
        if (elementStarts_[k] >= 0) {
            fromLine = line;
            fromOffset = uint64_t(elementStarts_[k]);
        }
        if (k < elements_.size()) line += elements_[k].count;
    }
    if (linePosition_ > fromLine && linePosition_ <= n) {
        fromLine = linePosition_;
        fromOffset = buffer_.Offset();
    }
    if (!buffer_.SeekTo(fromOffset)) return false;
    linePosition_ = fromLine;

    // Remember each element start that is passed on the way.
    int64_t boundary = 0;
    for (size_t k = 0; k < elements_.size(); ++k) {
        boundary += elements_[k].count;
        if (boundary > n) break;
        if (boundary <= linePosition_) continue;
        if (!StepLines(boundary - linePosition_)) return false;
        elementStarts_[k + 1] = int64_t(buffer_.Offset());
    }
    return n <= linePosition_ || StepLines(n - linePosition_);
}

bool PlyReader::StepLines(int64_t count) {
    uint64_t stepped = 0;
    const bool ok = buffer_.SkipLines(lineBreak_, uint64_t(count), &stepped);
    linePosition_ += int64_t(stepped);
    return ok;
}

bool PlyReader::PositionAscii(int element) {
    const int64_t line = FirstLineOf(element);
    if (linePosition_ == line) return true;
    return SkipLines(line);
}

bool PlyReader::PositionBinary(int element) {
    const uint64_t size = buffer_.SourceSize();
    for (int i = 0; i < element; ++i) {
        if (elementStarts_[size_t(i) + 1] >= 0) continue;
        const PlyElement& current = elements_[size_t(i)];
        const RecordLayout& layout = layouts_[size_t(i)];
        const uint64_t start = uint64_t(elementStarts_[size_t(i)]);
        if (layout.fixedSize) {
            const uint64_t end = start + uint64_t(current.count) * layout.fixedBytes;
            if (end > size) return false;
            elementStarts_[size_t(i) + 1] = int64_t(end);
        } else {
            // Records with lists or strings differ in size: step through them.
            if (!buffer_.SeekTo(start) || !StepBinaryRecords(i)) return false;
            elementStarts_[size_t(i) + 1] = int64_t(buffer_.Offset());
        }
    }
    const uint64_t target = uint64_t(elementStarts_[size_t(element)]);
    return target <= size && buffer_.SeekTo(target);
}

// Steps over all records of the element from the current position.
bool PlyReader::StepBinaryRecords(int element) {
    const PlyElement& current = elements_[size_t(element)];
    const RecordLayout& layout = layouts_[size_t(element)];
    if (layout.fixedSize) return buffer_.Skip(uint64_t(current.count) * layout.fixedBytes);
    if (layout.simpleFace) {
        int64_t ignored = 0;
        return CountBinarySimple(current, layout, &ignored);
    }
    for (int32_t r = 0; r < current.count; ++r) {
        if (!StepBinaryRecord(current)) return false;
    }
    return true;
}

bool PlyReader::StepBinaryRecord(const PlyElement& element) {
    for (const PlyProperty& property : element.properties) {
        if (property.kind == kPropertyScalar) {
            if (!buffer_.Skip(TypeSize(property.valueType))) return false;
        } else if (property.kind == kPropertyList) {
            int32_t length;
            if (!ReadListLength(property, &length) || !SkipListItems(property, length)) {
                return false;
            }
        } else if (!SkipString()) {
            return false;
        }
    }
    return true;
}

// A list's length; an invalid count type stores none and gives length 0.
bool PlyReader::ReadListLength(const PlyProperty& property, int32_t* length) {
    const uint32_t size = TypeSize(property.countType);
    if (size == 0) {
        *length = 0;
        return true;
    }
    const unsigned char* p = buffer_.Peek(size);
    if (!p) return false;
    *length = BinaryToIndex(p, property.countType, BigEndian());
    buffer_.Advance(size);
    return true;
}

// A negative length holds no items. Items of an invalid type take no bytes,
// but a list of them is no longer than the rest of the file either (as if
// each took one byte), so a damaged length fails here as in ReadFace.
bool PlyReader::SkipListItems(const PlyProperty& property, int32_t length) {
    if (length <= 0) return true;
    const uint32_t itemSize = TypeSize(property.valueType);
    if (itemSize == 0) return uint64_t(length) <= buffer_.Remaining();
    return buffer_.Skip(uint64_t(length) * itemSize);
}

// A string is an int8 length and that many bytes.
bool PlyReader::SkipString() {
    const unsigned char* p = buffer_.Peek(1);
    if (!p) return false;
    const int length = int8_t(p[0]);
    buffer_.Advance(1);
    return length <= 0 || buffer_.Skip(uint64_t(length));
}

int PlyReader::FaceSourceKind() const {
    if (FindElement(kElementFace) >= 0) return kElementFace;
    if (FindElement(kElementTriStrips) >= 0) return kElementTriStrips;
    if (RangeGridColumns() != 0) return kElementRangeGrid;
    return -1;
}

namespace {

// The number of "obj_info NAME N" (N plain digits), -1 when there is none.
int64_t ObjInfoNumber(const std::vector<std::string>& objInfos, std::string_view name) {
    std::vector<std::string_view> tokens;
    for (const std::string& line : objInfos) {
        if (Tokenize(line, tokens) != 3 || !EqualsNoCase(tokens[1], name)) continue;
        const std::string_view digits = tokens[2];
        if (digits.size() > 10 || digits.find_first_not_of("0123456789") != digits.npos) return -1;
        int64_t value = 0;
        for (char c : digits) value = value * 10 + (c - '0');
        return value;
    }
    return -1;
}

}  // namespace

int32_t PlyReader::RangeGridColumns() const {
    const int grid = FindElement(kElementRangeGrid);
    if (grid < 0) return 0;
    const int64_t columns = ObjInfoNumber(objInfos_, "num_cols");
    const int64_t rows = ObjInfoNumber(objInfos_, "num_rows");
    const int64_t cells = elements_[size_t(grid)].count;
    if (columns <= 0 || rows <= 0 || columns > cells || rows > cells) return 0;
    if (columns * rows != cells) return 0;
    return int32_t(columns);
}

int32_t PlyReader::CountTriangles() {
    errorText_.clear();
    if (FaceSourceKind() == kElementTriStrips) return CountStripTriangles();
    if (FaceSourceKind() == kElementRangeGrid) return CountGridTriangles();
    const int32_t faces = SeekElement(kElementFace);
    if (faces == 0) return 0;
    const int face = currentElement_;
    int64_t triangles = 0;
    const bool counted =
        IsAscii() ? CountAscii(elements_[size_t(face)], &triangles) : CountBinary(face, &triangles);
    // A count beyond 32 bits cannot be a real mesh: the face data is damaged.
    if (!counted || triangles > std::numeric_limits<int32_t>::max()) {
        errorText_ = kMsgFileReadError;
        return 0;
    }
    if (elementStarts_[size_t(face) + 1] < 0) {
        elementStarts_[size_t(face) + 1] = int64_t(buffer_.Offset());
    }
    return int32_t(triangles);
}

// Every strip is read whole: its triangles depend on every index.
int32_t PlyReader::CountStripTriangles() {
    const int32_t strips = SeekElement(kElementTriStrips);
    const RecordLayout& layout = layouts_[size_t(currentElement_)];
    // Lists without a length of their own are empty: no strip has a triangle.
    if (strips == 0 || layout.indexList < 0 || (!IsAscii() && layout.fixedSize)) return 0;
    const int element = currentElement_;
    IndexList items;
    int64_t triangles = 0;
    for (int32_t r = 0; r < strips; ++r) {
        int32_t length = 0;
        if (!ReadFace(&length, &items, nullptr)) {
            errorText_ = kMsgFileReadError;
            return 0;
        }
        ForEachStripTriangle(items.data(), items.size(),
                             [&triangles](int32_t, int32_t, int32_t) { ++triangles; });
    }
    return CountedTriangles(element, triangles);
}

// Every cell is read in turn: a square's triangles depend on its four cells.
int32_t PlyReader::CountGridTriangles() {
    const int32_t columns = RangeGridColumns();
    const int32_t cells = SeekElement(kElementRangeGrid);
    if (cells == 0) return 0;
    const int element = currentElement_;
    const RecordLayout& layout = layouts_[size_t(element)];
    // Lists without a length of their own are empty: no cell has a vertex.
    if (layout.indexList < 0 || (!IsAscii() && layout.fixedSize)) return 0;
    // Every cell takes a byte at least: a grid larger than the data is damaged.
    if (uint64_t(cells) > buffer_.Remaining()) {
        errorText_ = kMsgFileReadError;
        return 0;
    }
    RangeGridTriangles grid;
    if (!grid.Start(columns)) {
        char text[96];
        std::snprintf(text, sizeof text, kMsgNoMemoryRangeGrid, int(columns));
        errorText_ = text;
        return 0;
    }
    int64_t triangles = 0;
    for (int32_t k = 0; k < cells; ++k) {
        int32_t vertex = -1;
        if (!ReadGridCell(&vertex)) {
            errorText_ = kMsgFileReadError;
            return 0;
        }
        grid.Add(vertex, [&triangles](int32_t, int32_t, int32_t) { ++triangles; });
    }
    return CountedTriangles(element, triangles);
}

// A count beyond 32 bits cannot be a real mesh: the data is damaged. The
// element's end, now known, is kept for the seeks after it.
int32_t PlyReader::CountedTriangles(int element, int64_t triangles) {
    if (triangles > std::numeric_limits<int32_t>::max()) {
        errorText_ = kMsgFileReadError;
        return 0;
    }
    if (elementStarts_[size_t(element) + 1] < 0) {
        elementStarts_[size_t(element) + 1] = int64_t(buffer_.Offset());
    }
    return int32_t(triangles);
}

namespace {

int64_t TrianglesOf(int32_t vertexCount) { return vertexCount >= 3 ? int64_t(vertexCount) - 2 : 0; }

}  // namespace

// A line whole in the block that starts with the vertex_indices length:
// the length, then a plain search for the line's end.
bool PlyReader::CountLineInBlock(int countType, int64_t* triangles) {
    const char* limit = reinterpret_cast<const char*>(buffer_.Limit());
    const char* token =
        FirstTokenInLine(reinterpret_cast<const char*>(buffer_.Cursor()), limit, lineBreak_);
    if (!token) return false;
    const char* stop;
    const int32_t length = DecodeListLength(token, limit, buffer_.ReadableEnd(), countType, &stop);
    const char* lineEnd = NextLineBreak(stop, limit, lineBreak_);
    if (!lineEnd) return false;
    buffer_.SetCursor(reinterpret_cast<const unsigned char*>(lineEnd) + 1);
    ++linePosition_;
    *triangles += TrianglesOf(length);
    return true;
}

// Lines that all start with "3 " or "4 ", 64 bytes at a time: how many of
// the next lines (at most lines) were counted, 0 when the next 64 bytes hold
// another kind of line start, or no line end, or run past the block.
int32_t PlyReader::CountTriangleLinesInBulk(int32_t lines, int64_t* triangles) {
    const char* p = reinterpret_cast<const char*>(buffer_.Cursor());
    const char* limit = reinterpret_cast<const char*>(buffer_.Limit());
    int32_t counted = 0;
    while (limit - p >= 64) {
        const uint64_t breaks = BytesEqualTo(p, lineBreak_);
        const int ended = CountSetBits(breaks);
        if (ended == 0 || ended > lines - counted) break;
        // The starts of the lines that end in these 64 bytes.
        const int lastBreak = HighestSetBit(breaks);
        const uint64_t starts = (1 | breaks << 1) & (~uint64_t(0) >> (63 - lastBreak));
        const uint64_t fours = BytesEqualTo(p, '4');
        if ((starts & ~(BytesEqualTo(p, '3') | fours)) || ((starts << 1) & ~BytesEqualTo(p, ' '))) {
            break;
        }
        *triangles += ended + (starts & fours ? CountSetBits(starts & fours) : 0);
        counted += ended;
        p += lastBreak + 1;
    }
    buffer_.SetCursor(reinterpret_cast<const unsigned char*>(p));
    linePosition_ += counted;
    return counted;
}

// Reads each face line only as far as its vertex_indices length.
bool PlyReader::CountAscii(const PlyElement& element, int64_t* triangles) {
    const int indexList = layouts_[size_t(currentElement_)].indexList;
    const int countType = indexList >= 0 ? element.properties[size_t(indexList)].countType : 0;
    // Lines of triangles and quads, whose lengths come first, are counted in bulk.
    const bool bulk = indexList == 0 && countType >= kPlyInt8 && countType <= kPlyFloat64;
    int32_t noBulkUntil = 0;
    for (int32_t r = 0; r < element.count; ++r) {
        if (bulk && r >= noBulkUntil) {
            const int32_t counted = CountTriangleLinesInBulk(element.count - r, triangles);
            r += counted;
            if (r == element.count) break;
            // After other kinds of lines, try again some lines later.
            if (counted == 0) noBulkUntil = r + 64;
        }
        if (indexList == 0 && CountLineInBlock(countType, triangles)) continue;
        const char* p;
        const char* end;
        if (!ReadAsciiLine(&p, &end)) return false;
        const char* readable = buffer_.ReadableEnd();
        for (int i = 0; i <= indexList; ++i) {
            const PlyProperty& property = element.properties[size_t(i)];
            p = SkipDelimiters(p, end);
            if (property.kind != kPropertyList) {
                p = SkipToken(p, end);
                continue;
            }
            const int32_t length =
                p < end ? DecodeIndexToken(p, end, readable, property.countType, &p) : 0;
            if (i == indexList) {
                *triangles += TrianglesOf(length);
                break;
            }
            for (int32_t item = 0; item < length && p < end; ++item) {
                p = SkipToken(SkipDelimiters(p, end), end);
            }
        }
    }
    return true;
}

bool PlyReader::CountBinary(int element, int64_t* triangles) {
    const PlyElement& current = elements_[size_t(element)];
    const RecordLayout& layout = layouts_[size_t(element)];
    if (layout.simpleFace) return CountBinarySimple(current, layout, triangles);
    if (layout.fixedSize) return buffer_.Skip(uint64_t(current.count) * layout.fixedBytes);
    for (int32_t r = 0; r < current.count; ++r) {
        for (int i = 0; i < int(current.properties.size()); ++i) {
            const PlyProperty& property = current.properties[size_t(i)];
            if (property.kind == kPropertyScalar) {
                if (!buffer_.Skip(TypeSize(property.valueType))) return false;
            } else if (property.kind == kPropertyList) {
                int32_t length;
                if (!ReadListLength(property, &length)) return false;
                if (i == layout.indexList) *triangles += TrianglesOf(length);
                if (!SkipListItems(property, length)) return false;
            } else if (!SkipString()) {
                return false;
            }
        }
    }
    return true;
}

// The common face record: fixed bytes, one index list, fixed bytes. Steps
// from length to length inside the block without touching the items.
bool PlyReader::CountBinarySimple(const PlyElement& element, const RecordLayout& layout,
                                  int64_t* triangles) {
    const PlyProperty& list = element.properties[size_t(layout.indexList)];
    const uint32_t countSize = TypeSize(list.countType);
    const uint64_t itemSize = TypeSize(list.valueType);
    const uint64_t before = layout.bytesBeforeList;
    const uint64_t fixed = before + countSize + layout.bytesAfterList;
    const bool big = BigEndian();
    // Records whose items fit this bound are stepped over in the block.
    const uint64_t inBlock = buffer_.BlockSize() / 4;
    int64_t sum = 0;
    int32_t r = 0;
    while (r < element.count) {
        const unsigned char* p = buffer_.Cursor();
        const unsigned char* limit = buffer_.Limit();
        for (; r < element.count; ++r) {
            if (uint64_t(limit - p) < fixed) break;
            const int32_t length = BinaryToIndex(p + before, list.countType, big);
            const uint64_t stride = fixed + (length > 0 ? uint64_t(length) * itemSize : 0);
            if (uint64_t(limit - p) < stride) break;
            // Most meshes hold runs of faces of one size: when the next eight
            // lengths, read where this size puts them, are all the same, the
            // eight records are stepped over at once.
            if (countSize == 1 && element.count - r >= 8 && uint64_t(limit - p) >= 8 * stride) {
                const unsigned char first = p[before];
                bool same = true;
                for (uint64_t k = 1; k < 8; ++k) same &= p[before + k * stride] == first;
                if (same) {
                    sum += 8 * TrianglesOf(length);
                    p += 8 * stride;
                    r += 7;
                    continue;
                }
            }
            sum += TrianglesOf(length);
            p += stride;
        }
        buffer_.SetCursor(p);
        if (r == element.count) break;
        // The next record is not whole in the block: read more, or step over
        // a long one piece by piece.
        const unsigned char* head = buffer_.Peek(size_t(fixed));
        if (!head) return false;
        const int32_t length = BinaryToIndex(head + before, list.countType, big);
        const uint64_t items = length > 0 ? uint64_t(length) * itemSize : 0;
        if (fixed + items <= inBlock) {
            if (!buffer_.Peek(size_t(fixed + items))) return false;
            continue;
        }
        if (!buffer_.Skip(before + countSize) || !buffer_.Skip(items) ||
            !buffer_.Skip(layout.bytesAfterList)) {
            return false;
        }
        sum += TrianglesOf(length);
        ++r;
    }
    *triangles += sum;
    return true;
}
