// The triangles of triangle strips.
#pragma once

#include <cstddef>
#include <cstdint>

// Calls emit(a, b, c) for each triangle of the strips in items: -1 restarts
// a strip; inside a strip the winding alternates (even positions a, b, c =
// v[i-2], v[i-1], v[i]; odd positions v[i-1], v[i-2], v[i]); a triangle with
// a repeated index is dropped. Positions count from the strip's start, so a
// dropped triangle still flips the winding of the next one.
template <class Emit>
void ForEachStripTriangle(const int32_t* items, size_t count, Emit emit) {
    size_t start = 0;
    for (size_t i = 0; i < count; ++i) {
        if (items[i] == -1) {
            start = i + 1;
            continue;
        }
        const size_t position = i - start;
        if (position < 2) continue;
        const bool even = position % 2 == 0;
        const int32_t a = even ? items[i - 2] : items[i - 1];
        const int32_t b = even ? items[i - 1] : items[i - 2];
        const int32_t c = items[i];
        if (a == b || b == c || a == c) continue;
        emit(a, b, c);
    }
}
