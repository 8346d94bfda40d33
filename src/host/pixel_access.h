#pragma once
// Pixel reads and writes in the host's buffers of the current tile. Coordinates are the
// host's (as in inRect/outRect); a position outside the tile is ignored.
#include <cstdint>

#include "layers/pixel_value.h"
#include "sdk/filter_record.h"

namespace corvanthe {

// Reads the pixel at (x, y) of inData, whose area is `tile`. With `rows` false the row
// offset is left out (the caller addresses a single row). Returns false, leaving
// `pixel` alone, outside the tile or when the host gave no readable data.
bool read_pixel(const sdk::FilterRecord& record, int32_t x, int32_t y, const sdk::VRect& tile, bool rows,
                PixelValue& pixel);

// The selection at (x, y) as 0..1: 1 without a mask, 0 outside the tile.
float read_mask(const sdk::FilterRecord& record, int32_t x, int32_t y, const sdk::VRect& tile, bool rows);

// Writes the pixel at (x, y) into outData, bounded by outRect: grey documents take the
// green channel, colour documents red, green and blue; the alpha goes to the
// transparency plane when there is one. Returns false when nothing was written.
bool write_host_pixel(sdk::FilterRecord& record, int32_t x, int32_t y, const PixelValue& pixel, bool rows);

}  // namespace corvanthe
