#pragma once
// The pixel kernel as the jobs run it: the same pixels as render_piece, bit for bit, with
// the work that neighbouring pixels share done once: each spike visited only along its own
// strip of a row and only in blocks of pixels its strip reaches, the light that depends on the
// distance alone (halo, bow, spike colour) tabled per block, each flare tested only where its
// angle range can reach, the surface values of the smear lines and the streak values of the
// flare lines remembered, neighbouring pixels' flare lines walked together, and the flares'
// streak noise left out where no flare could light the pixel.
#include "layers/cell_buffer.h"
#include "render/render_context.h"

namespace corvanthe {

// Renders the pixels of `piece` exactly as render_piece does.
void render_piece_fast(const RenderContext& context, const RenderRect& piece, CellBuffer& buffer);

}  // namespace corvanthe
