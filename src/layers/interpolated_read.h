#pragma once
// Reading a store between pixels: the 5 x 5 windowed-sinc interpolation inside a level, and the
// trilinear read that blends two levels.
#include <cstdint>

#include "layers/layer_store.h"

namespace corvanthe {

// The level at (x, y) in that level's pixel coordinates (pixel k covers [k - 0.5, k + 0.5)), in
// the store's units. Zeros for a store without tiles or a level outside 0..L.
PixelValue interpolated_read(const LayerStore& store, int32_t level, float x, float y);

// The store at normalised (u, v) (0..1 across the level), between level b (clamped to 0..L - 1)
// and b + 1 at fraction t; 0..1 for integer kinds, the stored values for float stores.
PixelValue trilinear_read(const LayerStore& store, int32_t level, float t, float u, float v);

}  // namespace corvanthe
