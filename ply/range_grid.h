// The surface of a range scan's grid.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <utility>

// Takes the cells of a range grid row by row, each the vertex seen there or
// a negative number for none, and gives the triangles between them: a square
// of four neighbouring cells gives two when all four have a vertex, one when
// three have. Rows run up the scanner's image and columns to its right, so
// the corners in turn a, b, e, d (a, b below, d, e above) face the scanner.
// It keeps two rows, never the grid.
class RangeGridTriangles {
  public:
    RangeGridTriangles() = default;
    ~RangeGridTriangles() { std::free(rows_); }
    RangeGridTriangles(const RangeGridTriangles&) = delete;
    RangeGridTriangles& operator=(const RangeGridTriangles&) = delete;

    // Rows of columns cells from now on. False when the two rows' memory
    // cannot be had.
    bool Start(int32_t columns) {
        if (columns <= 0 || uint64_t(columns) > SIZE_MAX / (2 * sizeof(int32_t))) return false;
        std::free(rows_);
        rows_ = static_cast<int32_t*>(std::malloc(2 * size_t(columns) * sizeof(int32_t)));
        if (!rows_) return false;
        previous_ = rows_;
        current_ = rows_ + columns;
        column_ = 0;
        row_ = 0;
        columns_ = columns;
        return true;
    }

    // The next cell; emit(a, b, c) for each triangle of the square it completes.
    template <class Emit>
    void Add(int32_t vertex, Emit emit) {
        const int32_t column = column_;
        current_[column] = vertex;
        if (row_ > 0 && column > 0) {
            EmitSquare(previous_[column - 1], previous_[column], vertex, current_[column - 1],
                       emit);
        }
        if (++column_ == columns_) {
            column_ = 0;
            ++row_;
            std::swap(previous_, current_);
        }
    }

  private:
    // The square's corners in turn: a, b below, e, d above.
    template <class Emit>
    static void EmitSquare(int32_t a, int32_t b, int32_t e, int32_t d, Emit emit) {
        const int32_t ring[4] = {a, b, e, d};
        int present = 0, missing = 0;
        for (int k = 0; k < 4; ++k) {
            if (ring[k] >= 0) {
                ++present;
            } else {
                missing = k;
            }
        }
        if (present == 4) {
            emit(a, b, d);
            emit(b, e, d);
        } else if (present == 3) {
            emit(ring[(missing + 1) % 4], ring[(missing + 2) % 4], ring[(missing + 3) % 4]);
        }
    }

    int32_t* rows_ = nullptr;
    int32_t* previous_ = nullptr;
    int32_t* current_ = nullptr;
    int32_t columns_ = 0;
    int32_t column_ = 0;
    int64_t row_ = 0;
};
