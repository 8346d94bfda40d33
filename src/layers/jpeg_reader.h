#pragma once
// Pictures from JPEG streams into a LayerStore (the thumbnails of settings files).
#include <cstddef>
#include <cstdint>

#include "layers/layer_store.h"

namespace corvanthe {

// Decodes into level 0 of an 8-bit store made at the picture's size: colour pixels
// as (red, green, blue, 255), grey ones as (g, g, g, 255); what falls outside the
// store is dropped. False for another kind, a store without tiles or a stream the
// library cannot read.
bool decode_jpeg(const uint8_t* data, std::size_t size, LayerStore& store);

}  // namespace corvanthe
