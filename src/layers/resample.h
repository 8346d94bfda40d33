#pragma once
// Resampling one store into another of a different size, and copying between stores.
#include <cstdint>

#include "layers/job.h"
#include "layers/layer_store.h"

namespace corvanthe {

// The source level pair a reduction by ratio reads: level = log2(ratio) - bias within 0..L,
// split into its whole part and fraction.
struct LevelChoice {
    int32_t level;
    float fraction;
};
LevelChoice resample_level(float ratio, float bias, int32_t last_level);

// Fills the destination rectangle of level 0 from the whole source image (the source rectangle
// only sets the reduction ratio) with trilinear reads, then rebuilds the destination's levels.
// False, with nothing written, when a store has no tiles, a rectangle is empty, or the
// reduction reads levels of the source that are not built since its level 0 last changed;
// false too when the destination's levels could not be built.
bool resample(const LayerStore& source, LayerStore& destination, const sdk::VRect& source_rect,
              const sdk::VRect& destination_rect, float bias, JobRunner& runner);

// Stores of the same level 0 size: level 0 copied (converted when the kinds differ) and the
// destination's levels rebuilt; otherwise the source resampled into the whole destination with
// bias 0.5.
bool copy_store(const LayerStore& source, LayerStore& destination, JobRunner& runner);

}  // namespace corvanthe
