#include "ply/input_buffer.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// capacity bytes and the read slack, zeroed; null when that cannot be had.
unsigned char* AllocateBlock(size_t capacity) {
    if (capacity > SIZE_MAX - InputBuffer::kReadSlack) return nullptr;
    return static_cast<unsigned char*>(std::calloc(capacity + InputBuffer::kReadSlack, 1));
}

}  // namespace

bool InputBuffer::Allocate(size_t capacity) {
    std::free(storage_);
    storage_ = AllocateBlock(capacity);
    capacity_ = storage_ ? capacity : 0;
    begin_ = pos_ = end_ = storage_;
    return storage_ != nullptr;
}

// A small source gets a block of its own size; a large one the block size.
bool InputBuffer::Attach(ByteSource* source) {
    size_t capacity = blockSize_;
    if (source) {
        source->Seek(0);
        if (source->Size() < blockSize_) capacity = size_t(source->Size()) + 1;
    }
    if ((capacity_ < capacity || capacity_ > blockSize_) && !Allocate(capacity)) {
        Detach();
        return false;
    }
    source_ = source;
    begin_ = pos_ = end_ = storage_;
    blockOffset_ = 0;
    sourceAtEnd_ = false;
    return true;
}

void InputBuffer::Detach() {
    source_ = nullptr;
    std::free(storage_);
    storage_ = nullptr;
    capacity_ = 0;
    begin_ = pos_ = end_ = nullptr;
    blockOffset_ = 0;
    sourceAtEnd_ = false;
}

bool InputBuffer::SeekTo(uint64_t offset) {
    if (!source_) return false;
    const uint64_t buffered = uint64_t(end_ - begin_);
    if (offset >= blockOffset_ && offset - blockOffset_ <= buffered) {
        pos_ = begin_ + (offset - blockOffset_);
        return true;
    }
    if (offset > source_->Size() || !source_->Seek(offset)) return false;
    blockOffset_ = offset;
    begin_ = pos_ = end_ = storage_;
    sourceAtEnd_ = false;
    return true;
}

size_t InputBuffer::Refill(size_t size) {
    size_t unread = size_t(end_ - pos_);
    if (unread >= size || !source_) return unread;
    // Keep the unread bytes, at the front of the block.
    blockOffset_ += uint64_t(pos_ - begin_);
    unsigned char* larger = nullptr;
    outOfMemory_ = false;
    if (size > capacity_) {
        // One line or record longer than the block: grow it, unless the
        // memory cannot be had (then the caller sees fewer bytes than asked).
        const size_t grown = capacity_ < size / 2 ? size : capacity_ * 2;
        larger = AllocateBlock(grown);
        outOfMemory_ = larger == nullptr;
        if (larger) {
            if (unread > 0) std::memcpy(larger, pos_, unread);
            std::free(storage_);
            storage_ = larger;
            capacity_ = grown;
        }
    }
    if (!larger && unread > 0 && pos_ != storage_) std::memmove(storage_, pos_, unread);
    begin_ = pos_ = storage_;
    end_ = begin_ + unread;
    // A block grown for one long record is filled only as far as needed
    // beyond the block size.
    const size_t fill = size > blockSize_ ? size : blockSize_;
    const size_t target = fill < capacity_ ? fill : capacity_;
    while (unread < target && !sourceAtEnd_) {
        const size_t wanted = target - unread;
        const size_t got = source_->Read(storage_ + unread, wanted);
        if (got < wanted) sourceAtEnd_ = true;
        unread += got;
        end_ = begin_ + unread;
    }
    return unread;
}

const unsigned char* InputBuffer::PeekSlow(size_t size) {
    // Never grow the block for a record that the data cannot hold anyway.
    if (!source_ || Remaining() < size) return nullptr;
    return Refill(size) >= size ? pos_ : nullptr;
}

bool InputBuffer::Skip(uint64_t size) {
    const uint64_t unread = uint64_t(end_ - pos_);
    if (size <= unread) {
        pos_ += size;
        return true;
    }
    if (!source_) return false;
    if (Remaining() < size) {
        SeekTo(SourceSize());
        return false;
    }
    return SeekTo(Offset() + size);
}

bool InputBuffer::ReadLineSlow(char lineBreak, size_t searched, const char** lineBegin,
                               const char** lineEnd) {
    for (;;) {
        const size_t unread = size_t(end_ - pos_);
        const void* hit = std::memchr(pos_ + searched, lineBreak, unread - searched);
        if (hit) {
            const unsigned char* breakAt = static_cast<const unsigned char*>(hit);
            *lineBegin = reinterpret_cast<const char*>(pos_);
            *lineEnd = reinterpret_cast<const char*>(breakAt);
            pos_ = breakAt + 1;
            return true;
        }
        searched = unread;
        if (Refill(unread + 1) == unread) {
            // A line that does not fit in memory is not handed out in pieces.
            if (unread == 0 || outOfMemory_) return false;
            *lineBegin = reinterpret_cast<const char*>(pos_);
            *lineEnd = reinterpret_cast<const char*>(end_);
            pos_ = end_;
            return true;
        }
    }
}

bool InputBuffer::ReadLineUpTo(char lineBreak, size_t maxLength, const char** lineBegin,
                               const char** lineEnd, bool* whole) {
    // Search the unread bytes, reading more only while the line may still
    // end within maxLength and the data goes on.
    size_t searched = 0;
    size_t unread;
    for (;;) {
        unread = size_t(end_ - pos_);
        const size_t reach = unread < maxLength + 1 ? unread : maxLength + 1;
        const void* hit = std::memchr(pos_ + searched, lineBreak, reach - searched);
        if (hit) {
            const unsigned char* breakAt = static_cast<const unsigned char*>(hit);
            *lineBegin = reinterpret_cast<const char*>(pos_);
            *lineEnd = reinterpret_cast<const char*>(breakAt);
            pos_ = breakAt + 1;
            *whole = true;
            return true;
        }
        searched = reach;
        if (reach > maxLength || unread == Remaining() || Refill(unread + 1) == unread) break;
    }
    if (unread == 0) return false;
    const size_t kept = unread < maxLength ? unread : maxLength;
    // The last line of the data needs no break.
    *whole = kept == Remaining();
    *lineBegin = reinterpret_cast<const char*>(pos_);
    pos_ += kept;
    *lineEnd = reinterpret_cast<const char*>(pos_);
    return true;
}

bool InputBuffer::SkipLines(char lineBreak, uint64_t count, uint64_t* lines) {
    uint64_t done = 0;
    bool insideLine = false;  // bytes of an unfinished line were stepped over
    while (done < count) {
        // Whole 64-byte windows while the lines they end are not the last.
        while (end_ - pos_ >= 64) {
            const uint64_t breaks = BytesEqualTo(reinterpret_cast<const char*>(pos_), lineBreak);
            const int ended = CountSetBits(breaks);
            if (uint64_t(ended) >= count - done) break;
            done += uint64_t(ended);
            insideLine = !(breaks >> 63);
            pos_ += 64;
        }
        const void* hit = std::memchr(pos_, lineBreak, size_t(end_ - pos_));
        if (hit) {
            pos_ = static_cast<const unsigned char*>(hit) + 1;
            insideLine = false;
            ++done;
            continue;
        }
        if (end_ > pos_) insideLine = true;
        pos_ = end_;
        if (Refill(1) == 0) {
            if (insideLine) ++done;
            break;
        }
    }
    if (lines) *lines = done;
    return done == count;
}
