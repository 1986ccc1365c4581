// The items of one record's list. The memory comes from malloc and grows
// only for a list larger than any before it; when it cannot be had the
// growth reports failure instead of throwing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

template <class T>
class GrowOnlyList {
  public:
    GrowOnlyList() = default;
    ~GrowOnlyList() { std::free(items_); }
    GrowOnlyList(const GrowOnlyList&) = delete;
    GrowOnlyList& operator=(const GrowOnlyList&) = delete;

    // Holds count items afterwards, their values unset; false (and the list
    // unchanged) when the memory cannot be had.
    bool Resize(size_t count) {
        if (count > capacity_) {
            if (count > SIZE_MAX / sizeof(T)) return false;
            T* larger = static_cast<T*>(std::malloc(count * sizeof(T)));
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
    T* data() { return items_; }
    const T* data() const { return items_; }
    T operator[](size_t i) const { return items_[i]; }
    const T* begin() const { return items_; }
    const T* end() const { return items_ + size_; }

  private:
    T* items_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};
