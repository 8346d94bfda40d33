#include "layers/glue_task.h"

namespace corvanthe {

bool glue_task(const CellBuffer& cells, const sdk::VRect& piece, const GlueSetup& setup,
               GlueDestination& destination) {
    if (!destination.begin_piece(piece)) return false;
    for (int32_t y = piece.top; y < piece.bottom; ++y) {
        for (int32_t x = piece.left; x < piece.right; ++x) {
            PixelValue sun;
            int32_t k = 0;
            if (const Cell* cell = cells.cell(x, y)) {
                sun = {cell->colour[0], cell->colour[1], cell->colour[2], cell->colour[3]};
                k = int32_t(cell->aux[2]);
            }
            glue_write_back(x, y, sun, k, setup, destination);
        }
    }
    return true;
}

}  // namespace corvanthe
