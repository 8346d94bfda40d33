#pragma once
// The pixel kernel: renders one job's piece of the sun into the job's first cell buffer.
#include <cstdint>

#include "layers/cell_buffer.h"
#include "render/integer_math.h"
#include "render/render_context.h"

namespace corvanthe {

// Colour table look-up with 7-bit interpolation between neighbouring entries.
int64_t table_lookup(const int32_t (&table)[256], int64_t v);

// The light of spike k at the offset (dx, dy) = centre - pixel: 0 off the spike's strip.
inline int64_t spike_term(const RenderContext& c, int k, int64_t dx, int64_t dy) {
    const int64_t across = absolute(dx * c.spike_b[k] + dy * c.spike_a[k]);
    if (across > 300) return 0;
    const int64_t w = c.spike_profile[300 - across];
    const int64_t along = absolute(dx * c.spike_d[k] - dy * c.spike_c[k]);
    const int64_t fall = (32640 - along) >> 7;
    return fall > 0 ? (fall * w) >> 8 : 0;
}

// The spike light S at (dx, dy): every spike below the spike count summed.
int64_t spike_light(const RenderContext& c, int64_t dx, int64_t dy);

// What a caller knows or may skip of a pixel; the defaults are the plain kernel.
struct PixelHints {
    const int64_t* spike = nullptr;   // the pixel's spike light S when summed already; null: sum here
    bool skip_dark_streaks = false;   // no streak noise where no flare could light the pixel
};

// Renders pixel (x, y) into the cell buffer; S is read only outside the disc edge.
void render_pixel(const RenderContext& c, int32_t x, int32_t y, const PixelHints& hints, CellBuffer& buffer);

// Renders the pixels of `piece` (target pixels; bottom and right exclusive): their
// colours go to the cells' colour words, their disc coverage (0 inside, 1..3 on the
// rim, 4 outside) to aux[2]. Draws nothing when the context is not ready.
void render_piece(const RenderContext& context, const RenderRect& piece, CellBuffer& buffer);

}  // namespace corvanthe
