#pragma once
// Filling a LayerStore with the host's image of the filtered area, so that an export can
// render over the document without touching it.
#include "host/host_context.h"
#include "layers/layer_store.h"

namespace corvanthe {

// Asks the host for each level-0 tile of the store in order and copies its pixels in:
// store pixel (0, 0) is the filter rectangle's top-left corner. The host supplies no
// output or mask area beyond one pixel. False when the store has no tiles, the host
// answered with an error (it stays the run's result) or a tile could not take the
// host's pixels (a store kind that does not match the depth): the copy is unfinished.
// The settings' render fields are as they were afterwards.
bool copy_host_into_store(HostContext& context, LayerStore& store);

}  // namespace corvanthe
