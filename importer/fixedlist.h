// A list of file-sized length for the import path: its room is taken once,
// from the host heap and checked, so adding to it can neither throw nor
// move what it holds.
#pragma once

#include <cstddef>
#include <type_traits>

#include "hostsdk/hostapi.h"

template <typename T>
class FixedList {
    static_assert(std::is_trivially_copyable<T>::value, "the room is plain host-heap memory");

  public:
    FixedList() = default;
    ~FixedList() { zfree(items); }
    FixedList(const FixedList&) = delete;
    FixedList& operator=(const FixedList&) = delete;

    // Room for capacity entries, replacing an earlier list; false when the
    // host heap cannot give it.
    bool Allocate(size_t capacity) {
        zfree(items);
        items = static_cast<T*>(MAX_calloc(capacity != 0 ? capacity : 1, sizeof(T)));
        room = items ? capacity : 0;
        length = 0;
        return items != nullptr;
    }
    // False, with nothing added, when the list is full.
    bool Append(const T& item) {
        if (length == room) return false;
        items[length++] = item;
        return true;
    }

    size_t size() const { return length; }
    bool empty() const { return length == 0; }
    void clear() { length = 0; }
    T& operator[](size_t i) { return items[i]; }
    const T& operator[](size_t i) const { return items[i]; }
    T* begin() { return items; }
    T* end() { return items + length; }
    const T* begin() const { return items; }
    const T* end() const { return items + length; }

  private:
    T* items = nullptr;
    size_t room = 0;
    size_t length = 0;
};
