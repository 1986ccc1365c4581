// The bytes of a PLY file as they are written: values in one of the three
// encodings, gathered in one block of the host heap and handed to the file a
// block at a time, so a file of any size never sits whole in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "exporter/exportoptions.h"

class PlyOut {
  public:
    PlyOut() = default;
    ~PlyOut();
    PlyOut(const PlyOut&) = delete;
    PlyOut& operator=(const PlyOut&) = delete;

    // Starts writing to an open file; false when the block cannot be had.
    bool Start(FILE* file, ExportFormat format);
    // Writes what is gathered; false from the first failed write on.
    bool Flush();
    bool Failed() const { return failed; }
    uint64_t BytesWritten() const { return written; }

    // Header text, as it stands.
    void Text(const char* text);

    // One record's values. Each value is preceded by a space in ASCII
    // except the first of a record; EndRecord ends the line.
    void Float(float v);
    void Double(double v);
    void Uchar(uint8_t v);
    void Int(int32_t v);
    void Uint(uint32_t v);
    void EndRecord();

    // Makes room for this many values (at most a few thousand) before they
    // are put; the values themselves never check.
    void Reserve(size_t values) {
        if (size_t(end - next) < values * kMaxValueBytes + 2) FlushBlock();
    }

    static const size_t kBlockBytes = size_t(1) << 20;
    // A double's shortest text, its sign and a separator.
    static const size_t kMaxValueBytes = 32;

  private:
    void Separate() {
        if (format == kExportAscii && !firstInRecord) *next++ = ' ';
        firstInRecord = false;
    }
    void Bytes(const void* value, size_t n);
    void FlushBlock();

    FILE* file = nullptr;
    ExportFormat format = kExportAscii;
    char* block = nullptr;
    char* next = nullptr;
    char* end = nullptr;
    bool firstInRecord = true;
    bool failed = false;
    bool swap = false;  // big-endian bytes on this little-endian machine
    uint64_t written = 0;
};
