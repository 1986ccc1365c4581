#include "ply/input_buffer.h"

#include <cstring>
#include <new>

void InputBuffer::Allocate(size_t capacity) {
    storage_.reset(new unsigned char[capacity + kReadSlack]());
    capacity_ = capacity;
    begin_ = pos_ = end_ = storage_.get();
}

// A small source gets a block of its own size; a large one kBlockSize.
void InputBuffer::Attach(ByteSource* source) {
    source_ = source;
    size_t capacity = kBlockSize;
    if (source_) {
        source_->Seek(0);
        if (source_->Size() < kBlockSize) capacity = size_t(source_->Size()) + 1;
    }
    if (capacity_ < capacity || capacity_ > kBlockSize) Allocate(capacity);
    begin_ = pos_ = end_ = storage_.get();
    blockOffset_ = 0;
    sourceAtEnd_ = false;
}

void InputBuffer::Detach() {
    source_ = nullptr;
    storage_.reset();
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
    begin_ = pos_ = end_ = storage_.get();
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
        size_t grown = capacity_ * 2;
        if (grown < size) grown = size;
        larger = new (std::nothrow) unsigned char[grown + kReadSlack]();
        outOfMemory_ = larger == nullptr;
        if (larger) {
            if (unread > 0) std::memcpy(larger, pos_, unread);
            storage_.reset(larger);
            capacity_ = grown;
        }
    }
    if (!larger && unread > 0 && pos_ != storage_.get()) {
        std::memmove(storage_.get(), pos_, unread);
    }
    begin_ = pos_ = storage_.get();
    end_ = begin_ + unread;
    while (unread < size && unread < capacity_ && !sourceAtEnd_) {
        const size_t wanted = capacity_ - unread;
        const size_t got = source_->Read(storage_.get() + unread, wanted);
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

bool InputBuffer::SkipLines(char lineBreak, uint64_t count, uint64_t* lines) {
    uint64_t done = 0;
    bool insideLine = false;  // bytes of an unfinished line were stepped over
    while (done < count) {
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
