#pragma once
// Copying the host's delivered pixels into one tile of a store (the host was asked for exactly
// that tile's rectangle).
#include <cstdint>

#include "layers/layer_store.h"

namespace corvanthe {

// The host's input buffer as the plug-in sees it.
struct HostPixels {
    const void* data;
    int32_t row_bytes;
    int32_t plane_stride;        // samples per pixel: high plane - low plane + 1
    int32_t depth;               // bits per sample: 8, 16 or 32 (float)
    bool grey;                   // fewer than three planes: red = green = blue = the first sample
    int32_t transparency_plane;  // sample of the alpha inside a pixel, or -1: alpha is full
};

// Copies the host pixels into the tile. False (nothing copied) when the store's kind does not
// match the host depth (3 for 8-bit, 4 for 16-bit, 9 for float), or the tile does not exist.
bool fill_tile_from_host(LayerStore& store, int32_t tile, const HostPixels& host);

}  // namespace corvanthe
