#include "exporter/ply_out.h"

#include <charconv>
#include <cstring>

#include "hostsdk/hostapi.h"

PlyOut::~PlyOut() { zfree(block); }

bool PlyOut::Start(FILE* f, ExportFormat fmt) {
    if (!block) block = static_cast<char*>(MAX_malloc(kBlockBytes));
    if (!block) return false;
    file = f;
    format = fmt;
    next = block;
    end = block + kBlockBytes;
    firstInRecord = true;
    failed = false;
    swap = fmt == kExportBinaryBigEndian;
    written = 0;
    return true;
}

void PlyOut::FlushBlock() {
    const size_t n = size_t(next - block);
    next = block;
    if (failed || n == 0) return;
    if (std::fwrite(block, 1, n, file) != n) failed = true;
    written += n;
}

bool PlyOut::Flush() {
    FlushBlock();
    return !failed;
}

void PlyOut::Text(const char* text) {
    for (size_t n = std::strlen(text); n != 0;) {
        if (next == end) FlushBlock();
        const size_t part = n < size_t(end - next) ? n : size_t(end - next);
        std::memcpy(next, text, part);
        next += part;
        text += part;
        n -= part;
    }
}

void PlyOut::Bytes(const void* value, size_t n) {
    const unsigned char* bytes = static_cast<const unsigned char*>(value);
    if (swap) {
        for (size_t k = 0; k < n; ++k) next[k] = char(bytes[n - 1 - k]);
    } else {
        std::memcpy(next, bytes, n);
    }
    next += n;
}

// ASCII floats are the shortest text that reads back as the same value.
void PlyOut::Float(float v) {
    if (format != kExportAscii) return Bytes(&v, sizeof v);
    Separate();
    next = std::to_chars(next, end, v).ptr;
}

void PlyOut::Double(double v) {
    if (format != kExportAscii) return Bytes(&v, sizeof v);
    Separate();
    next = std::to_chars(next, end, v).ptr;
}

void PlyOut::Uchar(uint8_t v) {
    if (format != kExportAscii) return Bytes(&v, 1);
    Separate();
    next = std::to_chars(next, end, unsigned(v)).ptr;
}

void PlyOut::Int(int32_t v) {
    if (format != kExportAscii) return Bytes(&v, sizeof v);
    Separate();
    next = std::to_chars(next, end, v).ptr;
}

void PlyOut::Uint(uint32_t v) {
    if (format != kExportAscii) return Bytes(&v, sizeof v);
    Separate();
    next = std::to_chars(next, end, v).ptr;
}

void PlyOut::EndRecord() {
    if (format == kExportAscii) *next++ = '\n';
    firstInRecord = true;
}
