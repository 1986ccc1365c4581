// PlyReader: the one object through which a PLY file is read. Open parses
// the header into the element schema; SeekElement positions at an element;
// ReadVertex, ReadFace and ReadMaterial hand out one record per call.
//
// Every operation reports failure by its result (false, or a count of 0) and
// leaves the reason in ErrorText(). Nothing throws. The reader reads through
// a ByteSource into one fixed block (larger only for a single line or record
// that does not fit), so memory does not grow with the file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ply/byte_source.h"
#include "ply/float_list.h"
#include "ply/index_list.h"
#include "ply/input_buffer.h"
#include "ply/ply_material.h"
#include "ply/ply_schema.h"
#include "ply/ply_types.h"
#include "ply/record_layout.h"

// What a face record carries besides its corners (see ReadFace).
struct FaceExtras {
    int32_t texCoordCount = 0;  // items of the texcoord list as stored (0 when the face has none)
    FloatList texCoords;        // its items, any numeric item type read as float
    int32_t texNumber = 0;      // written only when the element has texnumber
    // Red, green, blue, alpha in 0..1 (integer types / 255); written only
    // for those the element has.
    float colour[4] = {0, 0, 0, 1};
    // The element's extra scalars (PlyElement::extras), as ReadVertex's
    // extra; written only when it has some.
    float values[kMaxExtraValues] = {};
};

class PlyReader {
  public:
    PlyReader();
    ~PlyReader();
    PlyReader(const PlyReader&) = delete;
    PlyReader& operator=(const PlyReader&) = delete;

    // Opens the file and reads its header. On success the reader stands at
    // the first data byte; on failure ErrorText() says why and nothing is open.
    bool Open(const char* path);
    // The same over any byte source (tests, fuzzing, benchmarks).
    bool Open(std::unique_ptr<ByteSource> source);
    // The same over bytes the caller keeps alive while the reader uses them.
    bool OpenMemory(const void* data, size_t size);
    // Closes the file and forgets the schema.
    void Close();

    // Bytes read from the source at a time, from the next Open on. Tests and
    // fuzzing make it small so that records often cross the end of a block.
    void SetBlockSize(size_t bytes) { buffer_.SetBlockSize(bytes); }

    // Message of the last failure; meaningful only after a failure.
    const std::string& ErrorText() const { return errorText_; }

    // Count of the first element named "material", 0 when there is none.
    int32_t MaterialCount() const;

    // Header and schema.
    PlyFormat Format() const { return format_; }
    const std::string& Version() const { return version_; }
    const std::vector<std::string>& Comments() const { return comments_; }
    const std::vector<std::string>& ObjInfos() const { return objInfos_; }
    // The NAME of every "comment TextureFile NAME", in header order, with
    // the blanks around it trimmed and those inside it kept.
    const std::vector<std::string>& TextureFiles() const { return textureFiles_; }
    int NumElements() const { return int(elements_.size()); }
    // Null for an index outside the lists.
    const PlyElement* Element(int i) const;
    const PlyProperty* Property(int element, int property) const;
    uint64_t DataStart() const { return dataStart_; }

    // Reading state: the element of the last SeekElement (-1 before any),
    // ASCII lines consumed since the data start, offset of the next byte.
    int CurrentElement() const { return currentElement_; }
    int64_t LinePosition() const { return linePosition_; }
    uint64_t Offset() const { return buffer_.Offset(); }

    // One binary value in the file's byte order. False with "unknown data
    // type" (nothing consumed) for a type outside 1 to 8, or with
    // "file read error" when the data ends before the value does.
    bool ReadBinary(int type, float* value);
    bool ReadBinaryIndex(int type, int32_t* value);

    // Positions at the first record of the first element of this kind, makes
    // it current and returns its count (0 when there is none, or on failure
    // with an error text). flags, when given, receives its ElementFlags.
    int32_t SeekElement(int kind, uint32_t* flags = nullptr);

    // ASCII: positions at data line n (counted from the data start).
    bool SkipLines(int64_t n);

    // Where the faces come from: kElementFace when the file has a face
    // element, else kElementTriStrips when it has a tristrips element, else
    // kElementRangeGrid when RangeGridColumns() is not 0, else -1.
    int FaceSourceKind() const;

    // The columns of the range_grid element, when the obj_info lines
    // num_cols and num_rows give a grid of exactly its count of cells; else 0.
    int32_t RangeGridColumns() const;

    // Triangles the face element yields: the sum of n - 2 over its faces of
    // n >= 3 vertices; without a face element, the triangles the tristrips
    // element's strips yield (ForEachStripTriangle), or those of the range
    // grid (RangeGridTriangles). 0 with an error text when the data cannot
    // be read. Leaves the reader after the element.
    int32_t CountTriangles();

    // Next record of the current element. position is required; normal,
    // texCoord (u, v, w; w becomes 0), colour and alpha may be null. A field
    // whose property the element lacks keeps the caller's value. Without
    // red, green and blue, f_dc_0..2 give the colour 0.5 + 0.2820948 * f_dc,
    // clamped to 0..1; alpha is "alpha" (an integer type / 255) or, beside
    // f_dc, the logistic function of a float "opacity" or an integer one
    // divided by its type's maximum.
    bool ReadVertex(float position[3], float normal[3], float texCoord[3], float colour[3],
                    float* alpha = nullptr);
    // The same; extra, when not null, receives the value of each of the
    // element's extra scalars (PlyElement::extras) in file order, converted
    // to float as it is (no division, whatever its type); after a failure
    // they mean nothing.
    bool ReadVertex(float position[3], float normal[3], float texCoord[3], float colour[3],
                    float* alpha, float* extra);

    // One pass over the vertex element reading x, y and z exactly (an axis
    // the element lacks reads as 0): the bounds of the vertices whose three
    // coordinates are finite; minimum > maximum on every axis when none is.
    // False with the error text when the data cannot be read. Seek again
    // before reading the vertices.
    bool ReadPositionBounds(double minimum[3], double maximum[3]);

    // From now on (until the next Open or Close, or a call with null) every
    // ReadVertex subtracts offset from x, y and z in double precision before
    // they become floats, so coordinates far from the origin keep theirs.
    void SetPositionOffset(const double offset[3]);

    // Next record of the current element: vertexCount is the length of its
    // vertex_indices list as stored (0 when the element has none), indices
    // receives all of its items (size max(vertexCount, 0); pass the same
    // list each time and it allocates only for a face larger than any
    // before). materialIndex, when given, is written only when the element
    // has a material_index. extras, when given, receives the texcoord list,
    // texnumber, colour and extra values of the record (see FaceExtras). On
    // a tristrips element the list is a strip's, restart markers included.
    bool ReadFace(int32_t* vertexCount, IndexList* indices, int32_t* materialIndex,
                  FaceExtras* extras = nullptr);

    // Next cell of the current (range grid) element: the first item of its
    // vertex_indices list, -1 when the list is empty.
    bool ReadGridCell(int32_t* vertex);

    // Next record of the current element into the material, whose present
    // values stay where the element has no property for them.
    bool ReadMaterial(PlyMaterial* material);

  private:
    // Header (ply_header.cpp).
    bool OpenSource(std::unique_ptr<ByteSource> source);
    void Reset();
    bool ReadHeader();
    bool CheckMagic();
    bool FirstTokenIsPly();
    char FindLineBreak();
    bool ReadHeaderLines();
    void KeepJoinedTokens(std::vector<std::string>* lines);
    void KeepTextureFile();
    bool ReadFormatLine(const std::vector<std::string_view>& tokens);
    bool ReadElementLine(const std::vector<std::string_view>& tokens);
    bool ReadPropertyLine(const std::vector<std::string_view>& tokens);
    void PrepareLayouts();
    int FindElement(int kind) const;

    // Positioning, stepping and counting (ply_seek.cpp).
    bool BigEndian() const { return format_ == kPlyBinaryBigEndian; }
    const unsigned char* PeekValue(int type, uint32_t* size);
    bool IsAscii() const { return format_ == kPlyAscii; }
    void SetCurrentElement(int element);
    int64_t FirstLineOf(int element) const;
    bool PositionAscii(int element);
    bool StepLines(int64_t count);
    bool PositionBinary(int element);
    bool StepBinaryRecords(int element);
    bool StepBinaryRecord(const PlyElement& element);
    bool ReadListLength(const PlyProperty& property, int32_t* length);
    bool SkipListItems(const PlyProperty& property, int32_t length);
    bool SkipString();
    int32_t CountStripTriangles();
    int32_t CountGridTriangles();
    int32_t CountedTriangles(int element, int64_t triangles);
    bool CountAscii(const PlyElement& element, int64_t* triangles);
    bool CountLineInBlock(int countType, int64_t* triangles);
    int32_t CountTriangleLinesInBulk(int32_t lines, int64_t* triangles);
    bool CountBinary(int element, int64_t* triangles);
    bool CountBinarySimple(const PlyElement& element, const RecordLayout& layout,
                           int64_t* triangles);
    bool ReadAsciiLine(const char** begin, const char** end) {
        if (!buffer_.ReadLine(lineBreak_, begin, end)) return false;
        ++linePosition_;
        return true;
    }
    void SetCountMismatch(size_t properties, size_t tokens);

    // Records (ply_vertex.cpp, ply_face.cpp, ply_material.cpp).
    void DecodeVertexRecord(const RecordLayout& layout, const unsigned char* record,
                            float* const* groups) const;
    void OffsetPositions(const RecordLayout& layout, const unsigned char* record,
                         float* position) const;
    bool ReadVertexRecord(float* position, float* normal, float* texCoord, float* colour,
                          float* alpha, double* exact, float* extra);
    bool ReadVertexInBlock(const RecordLayout& layout, float* const* groups);
    bool ReadVertexLineInBlock(const RecordLayout& layout, float* const* groups, double* exact,
                               float* extra);
    bool ReadVertexAscii(float* const* destinations, double* exact, float* extra);
    void StoreVertexValues(const float* values, const double* positions, size_t count,
                           float* const* destinations, double* exact) const;
    bool ReadVertexBinary(float* const* destinations, double* exact);
    bool ReadExactPosition(double position[3]);
    bool ReadFaceBinaryFast(const RecordLayout& layout, int32_t* vertexCount, IndexList* indices,
                            int32_t* materialIndex);
    void DecodeFaceExtras(const RecordLayout& layout, int32_t vertexCount, float* extra) const;
    bool ReadFaceRecord(int32_t* vertexCount, IndexList* indices, int32_t* materialIndex,
                        FaceExtras* extras);
    bool ReadPlainFaceLine(int32_t* vertexCount, IndexList* indices);
    bool ReadFaceLineInBlock(const RecordLayout& layout, int32_t* vertexCount, IndexList* indices);
    bool ReadFaceAscii(int32_t* vertexCount, IndexList* indices, int32_t* materialIndex,
                       FaceExtras* extras);
    bool ReadFaceBinary(int32_t* vertexCount, IndexList* indices, int32_t* materialIndex,
                        FaceExtras* extras);
    template <class T>
    bool ReadListItems(const PlyProperty& list, int32_t length, GrowOnlyList<T>* items,
                       T (*decode)(const unsigned char*, int, bool));
    bool ReadMaterialAscii(PlyMaterial* material);
    bool ReadMaterialBinary(PlyMaterial* material);

    std::unique_ptr<ByteSource> source_;
    InputBuffer buffer_;
    PlyFormat format_ = kPlyAscii;
    std::string version_;
    std::vector<PlyElement> elements_;
    std::vector<RecordLayout> layouts_;
    std::vector<std::string> comments_;
    std::vector<std::string> objInfos_;
    std::vector<std::string> textureFiles_;
    uint64_t dataStart_ = 0;
    int currentElement_ = -1;
    int64_t linePosition_ = 0;
    std::string errorText_;

    // Set by SeekElement: the layout of the current element when a binary
    // fast path applies to it, null otherwise; and when its ASCII lines may
    // be read in place.
    const RecordLayout* fastVertices_ = nullptr;
    const RecordLayout* fastFaces_ = nullptr;
    const RecordLayout* lineVertices_ = nullptr;
    const RecordLayout* lineFaces_ = nullptr;

    // Subtracted from x, y and z by ReadVertex (all 0 when there is none).
    double positionOffset_[3] = {0, 0, 0};
    bool hasPositionOffset_ = false;

    char lineBreak_ = '\n';  // '\r' for files whose lines end with a lone carriage return
    bool fourthByteIsCR_ = false;
    // Memory taken by the schema and by the kept comments and obj_infos.
    size_t schemaMemory_ = 0;
    size_t textMemory_ = 0;
    // Offset of each element's first record once known (-1 before); one more
    // entry than elements, for the end of the last one.
    std::vector<int64_t> elementStarts_;
    std::vector<std::string_view> tokens_;
    IndexList cellItems_;  // the list of the last grid cell read
};
