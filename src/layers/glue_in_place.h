#pragma once
// The glue straight onto host samples in memory: a destination that lays its piece open as
// a SamplePiece is read and written in place, without PixelValue runs in between.
#include <cstdint>

#include "layers/cell_buffer.h"
#include "layers/glue_destination.h"
#include "layers/glue_write_back.h"

namespace corvanthe {

// Whether the glue of this setup may write this SamplePiece: a colour image without the
// preview backdrop, with float samples exactly when the setup's destination is float.
bool glues_in_place(const GlueSetup& setup, const SamplePiece& piece);

// The glue of the pixels (column + i, row) of a SamplePiece, i < count, in piece coordinates,
// with the sun pixel and coverage of cells[i × cell_step]: each pixel written exactly as
// glue_run writes it.
void glue_in_place(const Cell* cells, int64_t cell_step, int64_t count, int64_t row, int64_t column,
                   const SamplePiece& piece, const GlueSetup& setup);

}  // namespace corvanthe
