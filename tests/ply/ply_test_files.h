// PLY files written by the tests themselves, in memory, in any encoding.
#pragma once

#include <string>
#include <vector>

#include "ply/ply_reader.h"

// One element of a test file. Properties are written as in a header after
// "property " ("float x", "list uchar int vertex_indices", "string name").
// A record lists its values in file order; a list gives its length, then its
// items; a string gives its length, then its bytes (one ASCII token).
struct TestElement {
    std::string name;
    std::vector<std::string> properties;
    std::vector<std::vector<double>> records;
};

// Header lines from "ply" to "end_header", each ended by lineBreak.
std::string MakeHeader(PlyFormat format, const std::vector<TestElement>& elements,
                       const std::string& lineBreak = "\n");

// The data section alone, in the encoding of format.
std::string MakeData(PlyFormat format, const std::vector<TestElement>& elements,
                     const std::string& lineBreak = "\n");

// Header and data.
std::string MakePly(PlyFormat format, const std::vector<TestElement>& elements,
                    const std::string& lineBreak = "\n");

// A reader over bytes it keeps alive itself, reading blockSize bytes at a time.
struct ReaderOn {
    explicit ReaderOn(std::string data, size_t blockSize = InputBuffer::kDefaultBlockSize)
        : bytes(std::move(data)) {
        reader.SetBlockSize(blockSize);
        opened = reader.OpenMemory(bytes.data(), bytes.size());
    }
    std::string bytes;
    PlyReader reader;
    bool opened = false;
};

const char* FormatName(PlyFormat format);

// All three encodings, for parameterised tests.
extern const PlyFormat kAllFormats[3];

// One vertex as the importer reads it, every destination preset to zero.
struct VertexRecord {
    float position[3] = {0, 0, 0};
    float normal[3] = {0, 0, 0};
    float texCoord[3] = {0, 0, 0};
    float colour[3] = {0, 0, 0};
};

struct FaceRecord {
    int32_t vertexCount = 0;
    IndexList indices;
    int32_t material = -1;
};

// The items of a list, for comparisons.
inline std::vector<int32_t> Items(const IndexList& list) {
    return std::vector<int32_t>(list.begin(), list.end());
}

// Everything the mesh build would read, as text lines; stops with "error
// TEXT" at the first failure. Used to compare encodings with each other.
std::vector<std::string> ReadEverything(PlyReader& reader);
