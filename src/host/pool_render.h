#pragma once
// The renderer behind render_sun: the sun rendered on the worker pool and glued into the
// destination of the render mode (the host image, or the run's LayerStore).
#include "host/host_context.h"

namespace corvanthe {

// Leaves the host's advanceState code, or a render failure, as the run's result.
void render_on_pool(HostContext& context, const sdk::VRect& render_rect);

}  // namespace corvanthe
