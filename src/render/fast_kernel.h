#pragma once
// The pixel kernel as the jobs run it: the same pixels as render_piece, bit for bit, with
// each spike visited only along its own strip of a row instead of at every pixel, and the
// flares' streak noise left out where no flare could light the pixel.
#include "layers/cell_buffer.h"
#include "render/render_context.h"

namespace corvanthe {

// Renders the pixels of `piece` exactly as render_piece does.
void render_piece_fast(const RenderContext& context, const RenderRect& piece, CellBuffer& buffer);

}  // namespace corvanthe
