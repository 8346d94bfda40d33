#pragma once
// The pixel kernel: renders one job's piece of the sun into the job's first cell buffer.
#include <cstdint>

#include "layers/cell_buffer.h"
#include "render/render_context.h"

namespace corvanthe {

// Colour table look-up with 7-bit interpolation between neighbouring entries.
int64_t table_lookup(const int32_t (&table)[256], int64_t v);

// Renders the pixels of `piece` (target pixels; bottom and right exclusive): their
// colours go to the cells' colour words, their disc coverage (0 inside, 1..3 on the
// rim, 4 outside) to aux[2]. Draws nothing when the context is not ready.
void render_piece(const RenderContext& context, const RenderRect& piece, CellBuffer& buffer);

}  // namespace corvanthe
