#pragma once
// The run's work buffers: four tile-sized image buffers, the work block and the images
// it holds.
#include "host/plugin_state.h"

namespace corvanthe {

// Sizes the image buffers for a filter rectangle: one tile (at most 256 x 256 pixels)
// of four float channels each.
void size_work_buffers(PluginState& state, const sdk::VRect& filter_rect);

// Allocates every buffer, or none: on failure whatever was allocated is released and
// false comes back.
bool allocate_work_buffers(PluginState& state);

// The thumbnail image of the run (a grey gradient until a picture is taken); the run
// goes on without one when it cannot be had.
void create_thumbnail(PluginState& state);

// Releases the buffers and images; safe to call when some or all are already released.
void release_work_buffers(PluginState& state);

}  // namespace corvanthe
