// The reader's own window onto its byte source: one large block read at a
// time, records and lines handed out as pointers into it. Memory stays at the
// block size unless a single line or record is longer than a block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ply/byte_source.h"

class InputBuffer {
public:
    static const size_t kBlockSize = size_t(1) << 18;

    InputBuffer();

    void Attach(ByteSource* source);
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
    bool ReadLine(char lineBreak, const char** lineBegin, const char** lineEnd);

    // Steps over count lines; false when the data ends first (lines holds the
    // number of lines actually stepped over).
    bool SkipLines(char lineBreak, uint64_t count, uint64_t* lines);

    // Direct access for the hot loops: the unread bytes [Cursor(), Limit()).
    const unsigned char* Cursor() const { return pos_; }
    const unsigned char* Limit() const { return end_; }
    void SetCursor(const unsigned char* p) { pos_ = p; }
    // Reads more so that at least size bytes are unread if the data holds them;
    // returns the number of unread bytes afterwards.
    size_t Refill(size_t size);

private:
    const unsigned char* PeekSlow(size_t size);

    ByteSource* source_ = nullptr;
    std::vector<unsigned char> storage_;
    const unsigned char* begin_ = nullptr;
    const unsigned char* pos_ = nullptr;
    const unsigned char* end_ = nullptr;
    uint64_t blockOffset_ = 0;  // source offset of begin_
    bool sourceAtEnd_ = false;
};
