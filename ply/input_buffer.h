// The reader's own window onto its byte source: one large block read at a
// time, records and lines handed out as pointers into it. Memory stays at the
// block size unless a single line or record is longer than a block. The block
// comes from malloc: when memory runs out, reads come up short instead of
// throwing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ply/binary_values.h"
#include "ply/byte_source.h"

class InputBuffer {
  public:
    static constexpr size_t kDefaultBlockSize = size_t(1) << 18;
    // Bytes after the data that may always be loaded (their values are
    // meaningless): lets number parsing take whole 8-byte words.
    static constexpr size_t kReadSlack = 8;

    InputBuffer() = default;
    ~InputBuffer() { Detach(); }
    InputBuffer(const InputBuffer&) = delete;
    InputBuffer& operator=(const InputBuffer&) = delete;

    // Bytes read at a time from the next Attach on (at least 1).
    void SetBlockSize(size_t bytes) { blockSize_ = bytes > 0 ? bytes : 1; }
    size_t BlockSize() const { return blockSize_; }

    // False when the block cannot be allocated (nothing is attached then).
    bool Attach(ByteSource* source);
    void Detach();
    bool Attached() const { return source_ != nullptr; }

    // Offset in the source of the next unread byte.
    uint64_t Offset() const { return blockOffset_ + uint64_t(pos_ - begin_); }
    uint64_t SourceSize() const { return source_ ? source_->Size() : 0; }
    uint64_t Remaining() const { return SourceSize() - Offset(); }

    // Moves to an absolute offset; false when it lies beyond the end.
    bool SeekTo(uint64_t offset);

    // Pointer to the next size bytes, kept in one piece, or null when the
    // data ends first (nothing is consumed either way).
    const unsigned char* Peek(size_t size) {
        if (size_t(end_ - pos_) >= size) return pos_;
        return PeekSlow(size);
    }
    void Advance(size_t size) { pos_ += size; }

    // Steps over size bytes; false (and at the end of the data) when fewer remain.
    bool Skip(uint64_t size);

    // The next line without its break character (the break is consumed too).
    // The last line of the data needs no break; false when no byte is left.
    // The view stays valid until the next call on the buffer.
    bool ReadLine(char lineBreak, const char** lineBegin, const char** lineEnd) {
        // Most record lines are short: look for the break a word at a time
        // in the first 64 bytes before handing over to the general search.
        const unsigned char* p = pos_;
        const uint64_t pattern = 0x0101010101010101ull * static_cast<unsigned char>(lineBreak);
        for (int word = 0; word < 8 && end_ - p >= 8; ++word, p += 8) {
            // The first byte in memory is the word's lowest byte.
            const uint64_t x = LoadU64(p, false) ^ pattern;
            const uint64_t found = (x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull;
            if (found) {
                const unsigned char* breakAt = p + FirstMarkedByte(found);
                *lineBegin = reinterpret_cast<const char*>(pos_);
                *lineEnd = reinterpret_cast<const char*>(breakAt);
                pos_ = breakAt + 1;
                return true;
            }
        }
        return ReadLineSlow(lineBreak, size_t(p - pos_), lineBegin, lineEnd);
    }

    // The next line like ReadLine, but at most maxLength bytes of it are
    // kept in memory: for a longer line *whole is false, the first maxLength
    // bytes are handed out (fewer when memory runs short) and the buffer
    // stands after them, so that SkipLines(lineBreak, 1) steps over the rest.
    bool ReadLineUpTo(char lineBreak, size_t maxLength, const char** lineBegin,
                      const char** lineEnd, bool* whole);

    // Steps over count lines; false when the data ends first (lines holds the
    // number of lines actually stepped over).
    bool SkipLines(char lineBreak, uint64_t count, uint64_t* lines);

    // Direct access for the hot loops: the unread bytes [Cursor(), Limit()).
    const unsigned char* Cursor() const { return pos_; }
    const unsigned char* Limit() const { return end_; }
    void SetCursor(const unsigned char* p) { pos_ = p; }
    const char* ReadableEnd() const { return reinterpret_cast<const char*>(end_) + kReadSlack; }
    // Reads more so that at least size bytes are unread if the data holds them;
    // returns the number of unread bytes afterwards.
    size_t Refill(size_t size);

  private:
    const unsigned char* PeekSlow(size_t size);
    bool ReadLineSlow(char lineBreak, size_t searched, const char** lineBegin,
                      const char** lineEnd);
    // Index of the lowest byte whose top bit is set.
    static size_t FirstMarkedByte(uint64_t marks) {
#if defined(__GNUC__) || defined(__clang__)
        return size_t(__builtin_ctzll(marks)) / 8;
#else
        size_t i = 0;
        while (!(marks & (0x80ull << (8 * i)))) ++i;
        return i;
#endif
    }

    bool Allocate(size_t capacity);

    ByteSource* source_ = nullptr;
    unsigned char* storage_ = nullptr;  // capacity_ + kReadSlack bytes
    size_t capacity_ = 0;
    size_t blockSize_ = kDefaultBlockSize;
    const unsigned char* begin_ = nullptr;
    const unsigned char* pos_ = nullptr;
    const unsigned char* end_ = nullptr;
    uint64_t blockOffset_ = 0;  // source offset of begin_
    bool sourceAtEnd_ = false;
    bool outOfMemory_ = false;  // the last growth of the block failed
};
