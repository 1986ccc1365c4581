#include "ply/input_buffer.h"

#include <cstring>

InputBuffer::InputBuffer() : storage_(kBlockSize) {
    begin_ = pos_ = end_ = storage_.data();
}

void InputBuffer::Attach(ByteSource* source) {
    source_ = source;
    if (source_) source_->Seek(0);
    begin_ = pos_ = end_ = storage_.data();
    blockOffset_ = 0;
    sourceAtEnd_ = false;
}

void InputBuffer::Detach() {
    Attach(nullptr);
    if (storage_.size() > kBlockSize) {
        // A long line grew the block; give the memory back for the next file.
        std::vector<unsigned char>(kBlockSize).swap(storage_);
        begin_ = pos_ = end_ = storage_.data();
    }
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
    begin_ = pos_ = end_ = storage_.data();
    sourceAtEnd_ = false;
    return true;
}

size_t InputBuffer::Refill(size_t size) {
    size_t unread = size_t(end_ - pos_);
    if (unread >= size || !source_) return unread;
    // Keep the unread bytes, at the front of the block.
    blockOffset_ += uint64_t(pos_ - begin_);
    if (size > storage_.size()) {
        size_t grown = storage_.size() * 2;
        if (grown < size) grown = size;
        std::vector<unsigned char> larger(grown);
        if (unread > 0) std::memcpy(larger.data(), pos_, unread);
        storage_.swap(larger);
    } else if (unread > 0 && pos_ != storage_.data()) {
        std::memmove(storage_.data(), pos_, unread);
    }
    begin_ = pos_ = storage_.data();
    end_ = begin_ + unread;
    while (unread < size && !sourceAtEnd_) {
        const size_t wanted = storage_.size() - unread;
        const size_t got = source_->Read(storage_.data() + unread, wanted);
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

bool InputBuffer::ReadLine(char lineBreak, const char** lineBegin, const char** lineEnd) {
    size_t searched = 0;
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
            if (unread == 0) return false;
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
