#include "exporter/ply_out.h"

#include "hostsdk/hostapi.h"

PlyOut::~PlyOut() { zfree(block); }

bool PlyOut::Start(FILE* f) {
    if (!block) block = static_cast<char*>(MAX_malloc(kBlockBytes));
    if (!block) return false;
    file = f;
    next = block;
    end = block + kBlockBytes;
    failed = false;
    return true;
}

void PlyOut::FlushBlock() {
    const size_t n = size_t(next - block);
    next = block;
    if (failed || n == 0) return;
    if (std::fwrite(block, 1, n, file) != n) failed = true;
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
