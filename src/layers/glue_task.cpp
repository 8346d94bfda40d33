#include "layers/glue_task.h"

#include <algorithm>

#include "layers/glue_in_place.h"

namespace corvanthe {

namespace {

// The sun pixel and coverage of the pixels the buffer does not cover.
constexpr Cell kZeroRecord{};

}  // namespace

bool glue_task(const CellBuffer& cells, const sdk::VRect& piece, const GlueSetup& setup,
               GlueDestination& destination) {
    if (!destination.begin_piece(piece)) return false;
    SamplePiece samples;
    const bool in_place = destination.sample_piece(piece, samples) && glues_in_place(setup, samples);
    PixelValue suns[kGlueRunLength];
    int32_t k[kGlueRunLength];
    // The buffer's columns in image coordinates, frame included: [cells.left - 1, cells.left - 1 + columns).
    const int64_t buffer_left = int64_t(cells.left) - 1, buffer_right = buffer_left + cells.columns;
    for (int32_t y = piece.top; y < piece.bottom; ++y) {
        const int64_t row = int64_t(y) - cells.top + 1;
        const bool row_inside = cells.cells && row >= 0 && row < cells.rows;
        // The pixels x0 .. x0 + count - 1 inside the buffer are [x0 + first, x0 + last); the
        // rest take a zero record.
        auto covered = [&](int64_t x0, int64_t count, int64_t& first, int64_t& last) {
            first = row_inside ? std::clamp<int64_t>(buffer_left - x0, 0, count) : count;
            last = row_inside ? std::clamp<int64_t>(buffer_right - x0, first, count) : count;
            return first < last ? cells.cells + row * cells.columns + (x0 + first - buffer_left) : nullptr;
        };
        if (in_place) {
            const int64_t width = int64_t(piece.right) - piece.left, piece_row = int64_t(y) - piece.top;
            int64_t first, last;
            const Cell* cell = covered(piece.left, width, first, last);
            glue_in_place(&kZeroRecord, 0, first, piece_row, 0, samples, setup);
            if (first < last) glue_in_place(cell, 1, last - first, piece_row, first, samples, setup);
            glue_in_place(&kZeroRecord, 0, width - last, piece_row, last, samples, setup);
            continue;
        }
        for (int64_t x0 = piece.left; x0 < piece.right; x0 += kGlueRunLength) {
            const int32_t count = int32_t(std::min<int64_t>(kGlueRunLength, piece.right - x0));
            int64_t first, last;
            const Cell* cell = covered(x0, count, first, last);
            std::fill(suns, suns + first, PixelValue{});
            std::fill(k, k + first, 0);
            for (int64_t i = first; i < last; ++i, ++cell) {
                suns[i] = {cell->colour[0], cell->colour[1], cell->colour[2], cell->colour[3]};
                k[i] = int32_t(cell->aux[2]);
            }
            std::fill(suns + last, suns + count, PixelValue{});
            std::fill(k + last, k + count, 0);
            glue_run(int32_t(x0), y, count, suns, k, setup, destination);
        }
    }
    return true;
}

}  // namespace corvanthe
