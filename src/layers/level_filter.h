#pragma once
// Building the coarser levels of a store: each level filtered down from the one above it with a
// 6 x 6 kernel, the pieces of a level in parallel on a job runner.
#include <cstdint>

#include "layers/job.h"
#include "layers/layer_store.h"

namespace corvanthe {

// Fills the pixels of level source_level + 1 inside the piece (clamped to that level).
void filter_level(LayerStore& store, int32_t source_level, const sdk::VRect& piece);

// Builds levels from_level + 1 .. L, one level after the other, each as jobs of kind -1000 over
// the level's rectangle, and marks the levels built. False (levels not marked built) for a store
// without tiles or when a job could not run.
bool build_levels(LayerStore& store, int32_t from_level, JobRunner& runner);

}  // namespace corvanthe
