#include "layers/glue_task.h"

#include <algorithm>

namespace corvanthe {

bool glue_task(const CellBuffer& cells, const sdk::VRect& piece, const GlueSetup& setup,
               GlueDestination& destination) {
    if (!destination.begin_piece(piece)) return false;
    PixelValue suns[kGlueRunLength];
    int32_t k[kGlueRunLength];
    // The buffer's columns in image coordinates, frame included: [cells.left - 1, cells.left - 1 + columns).
    const int64_t buffer_left = int64_t(cells.left) - 1, buffer_right = buffer_left + cells.columns;
    for (int32_t y = piece.top; y < piece.bottom; ++y) {
        const int64_t row = int64_t(y) - cells.top + 1;
        const bool row_inside = cells.cells && row >= 0 && row < cells.rows;
        for (int64_t x0 = piece.left; x0 < piece.right; x0 += kGlueRunLength) {
            const int32_t count = int32_t(std::min<int64_t>(kGlueRunLength, piece.right - x0));
            // The run's pixels inside the buffer are [first, last); the rest take a zero record.
            const int64_t first = row_inside ? std::clamp<int64_t>(buffer_left - x0, 0, count) : count;
            const int64_t last = row_inside ? std::clamp<int64_t>(buffer_right - x0, first, count) : count;
            std::fill(suns, suns + first, PixelValue{});
            std::fill(k, k + first, 0);
            if (first < last) {
                const Cell* cell = cells.cells + row * cells.columns + (x0 + first - buffer_left);
                for (int64_t i = first; i < last; ++i, ++cell) {
                    suns[i] = {cell->colour[0], cell->colour[1], cell->colour[2], cell->colour[3]};
                    k[i] = int32_t(cell->aux[2]);
                }
            }
            std::fill(suns + last, suns + count, PixelValue{});
            std::fill(k + last, k + count, 0);
            glue_run(int32_t(x0), y, count, suns, k, setup, destination);
        }
    }
    return true;
}

}  // namespace corvanthe
