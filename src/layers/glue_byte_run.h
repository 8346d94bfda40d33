#pragma once
// The glue straight onto 8-bit samples in memory: a destination that lays its piece open
// as a BytePiece is read and written in place, without PixelValue runs in between.
#include <cstdint>

#include "layers/cell_buffer.h"
#include "layers/glue_destination.h"
#include "layers/glue_write_back.h"

namespace corvanthe {

// Whether the glue of this setup may write a BytePiece: an 8-bit colour image without the
// preview backdrop.
bool glues_bytes(const GlueSetup& setup);

// The glue of the pixels (column + i, row) of a BytePiece, i < count, in piece coordinates,
// with the sun pixel and coverage of cells[i × cell_step]: each pixel written exactly as
// glue_run writes it.
void glue_byte_run(const Cell* cells, int64_t cell_step, int64_t count, int64_t row, int64_t column,
                   const BytePiece& piece, const GlueSetup& setup);

}  // namespace corvanthe
