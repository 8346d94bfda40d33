#pragma once
// The dialog's thumbnail: the square picture saved with settings files and shown for memory dots.
#include <cstdint>

#include "layers/layer_store.h"

namespace corvanthe {

inline constexpr int32_t kThumbnailSide = 128;

// Level 0 rows and columns 0..127 become grey 255 - row (255 at the top, 128 at the bottom) with
// full alpha; pixels outside the store are ignored.
void clear_thumbnail(LayerStore& store);

}  // namespace corvanthe
