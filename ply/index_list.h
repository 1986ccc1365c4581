// The items of one face's vertex_indices list. The memory comes from malloc
// and grows only for a face larger than any before it; when it cannot be had
// the growth reports failure instead of throwing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

class IndexList {
  public:
    IndexList() = default;
    ~IndexList() { std::free(items_); }
    IndexList(const IndexList&) = delete;
    IndexList& operator=(const IndexList&) = delete;

    // Holds count items afterwards, their values unset; false (and the list
    // unchanged) when the memory cannot be had.
    bool Resize(size_t count) {
        if (count > capacity_) {
            if (count > SIZE_MAX / sizeof(int32_t)) return false;
            int32_t* larger = static_cast<int32_t*>(std::malloc(count * sizeof(int32_t)));
            if (!larger) return false;
            std::free(items_);
            items_ = larger;
            capacity_ = count;
        }
        size_ = count;
        return true;
    }
    void Clear() { size_ = 0; }

    size_t size() const { return size_; }
    size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    int32_t* data() { return items_; }
    const int32_t* data() const { return items_; }
    int32_t operator[](size_t i) const { return items_[i]; }
    const int32_t* begin() const { return items_; }
    const int32_t* end() const { return items_ + size_; }

  private:
    int32_t* items_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};
