#include "layers/glue_task.h"

#include <algorithm>

namespace corvanthe {

bool glue_task(const CellBuffer& cells, const sdk::VRect& piece, const GlueSetup& setup,
               GlueDestination& destination) {
    if (!destination.begin_piece(piece)) return false;
    PixelValue suns[kGlueRunLength];
    int32_t k[kGlueRunLength];
    for (int32_t y = piece.top; y < piece.bottom; ++y) {
        for (int64_t x0 = piece.left; x0 < piece.right; x0 += kGlueRunLength) {
            const int32_t count = int32_t(std::min<int64_t>(kGlueRunLength, piece.right - x0));
            for (int32_t i = 0; i < count; ++i) {
                const int32_t x = int32_t(x0 + i);
                suns[i] = {};
                k[i] = 0;
                if (const Cell* cell = cells.cell(x, y)) {
                    suns[i] = {cell->colour[0], cell->colour[1], cell->colour[2], cell->colour[3]};
                    k[i] = int32_t(cell->aux[2]);
                }
            }
            glue_run(int32_t(x0), y, count, suns, k, setup, destination);
        }
    }
    return true;
}

}  // namespace corvanthe
