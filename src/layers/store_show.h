#pragma once
// Drawing a store, reduced, into a dialog area through the host's display service.
#include <cstdint>

#include "layers/layer_store.h"
#include "sdk/display.h"

namespace corvanthe {

// Draws an RGB pixel map with its top-left corner at (top, left) of the dialog area.
struct PixelMapDrawer {
    void (*draw)(void* context, const sdk::PSPixelMap& map, int32_t top, int32_t left);
    void* context;
};

// Draws the store reduced by z (>= 1) into the destination rectangle (dialog pixels), starting at
// pixel (x0, y0) of level 0. Takes level floor(log2 z) (at most L), nearest pixel.
// Nothing is drawn for a store without tiles or when the buffer cannot be allocated.
void show_store(const LayerStore& store, const sdk::VRect& destination, int32_t x0, int32_t y0, int32_t z,
                const PixelMapDrawer& drawer);

}  // namespace corvanthe
