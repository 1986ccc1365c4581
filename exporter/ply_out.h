// The bytes of a PLY file as they are written: gathered in one block of the
// host heap and handed to the file a block at a time, so a file of any size
// never sits whole in memory. The values of a record are put by one of the
// three encodings below, straight into the block.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

class PlyOut {
  public:
    PlyOut() = default;
    ~PlyOut();
    PlyOut(const PlyOut&) = delete;
    PlyOut& operator=(const PlyOut&) = delete;

    // Starts writing to an open file; false when the block cannot be had.
    bool Start(FILE* file);
    // Writes what is gathered; false from the first failed write on.
    bool Flush();
    bool Failed() const { return failed; }

    // Header text, as it stands.
    void Text(const char* text);

    // Where the next bytes go, with room for at least this many (at most a
    // few hundred kilobytes); Commit takes them up to the returned end.
    char* Room(size_t bytes) {
        if (size_t(end - next) < bytes) FlushBlock();
        return next;
    }
    void Commit(char* to) { next = to; }

    static const size_t kBlockBytes = size_t(1) << 20;

  private:
    void FlushBlock();

    FILE* file = nullptr;
    char* block = nullptr;
    char* next = nullptr;
    char* end = nullptr;
    bool failed = false;
};

// The bytes a value may take at most in any encoding: a double's shortest
// text, its sign and a separator.
const size_t kMaxValueBytes = 32;

// Text: each value followed by a blank, the record's last blank made its
// line's end. Floats are the shortest text that reads back the same value.
struct AsciiValues {
    template <typename T>
    static char* Put(char* p, T v) {
        p = std::to_chars(p, p + kMaxValueBytes, v).ptr;
        *p = ' ';
        return p + 1;
    }
    static char* Float(char* p, float v) { return Put(p, v); }
    static char* Double(char* p, double v) { return Put(p, v); }
    static char* Uchar(char* p, uint8_t v) { return Put(p, unsigned(v)); }
    static char* Int(char* p, int32_t v) { return Put(p, v); }
    static char* Uint(char* p, uint32_t v) { return Put(p, v); }
    static char* EndRecord(char* p) {
        p[-1] = '\n';
        return p;
    }
};

// Binary in this machine's (little-endian) byte order.
struct LittleEndianValues {
    template <typename T>
    static char* Put(char* p, T v) {
        std::memcpy(p, &v, sizeof v);
        return p + sizeof v;
    }
    static char* Float(char* p, float v) { return Put(p, v); }
    static char* Double(char* p, double v) { return Put(p, v); }
    static char* Uchar(char* p, uint8_t v) { return Put(p, v); }
    static char* Int(char* p, int32_t v) { return Put(p, v); }
    static char* Uint(char* p, uint32_t v) { return Put(p, v); }
    static char* EndRecord(char* p) { return p; }
};

struct BigEndianValues {
    static char* Put32(char* p, uint32_t u) {
        u = __builtin_bswap32(u);
        std::memcpy(p, &u, 4);
        return p + 4;
    }
    static char* Float(char* p, float v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        return Put32(p, u);
    }
    static char* Double(char* p, double v) {
        uint64_t u;
        std::memcpy(&u, &v, 8);
        u = __builtin_bswap64(u);
        std::memcpy(p, &u, 8);
        return p + 8;
    }
    static char* Uchar(char* p, uint8_t v) {
        *p = char(v);
        return p + 1;
    }
    static char* Int(char* p, int32_t v) { return Put32(p, uint32_t(v)); }
    static char* Uint(char* p, uint32_t v) { return Put32(p, v); }
    static char* EndRecord(char* p) { return p; }
};
