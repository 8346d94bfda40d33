#pragma once
// Pixel reads and writes in the host's buffers of the current tile. Coordinates are the
// host's (as in inRect/outRect); a position outside the tile is ignored.
#include <cstdint>

#include "host/host_queries.h"
#include "layers/glue_destination.h"
#include "layers/pixel_value.h"
#include "sdk/filter_record.h"

namespace corvanthe {

// The host's buffers of the current tile as the record describes them, read from it once
// for many pixels. `readable` and `writable` are false where the host gave no usable data.
struct HostPixels {
    HostDepth depth = HostDepth::kNone;
    int sample_bytes = 0;
    const unsigned char* in = nullptr;
    sdk::VRect in_area{};        // the area inData covers (the caller's tile)
    int64_t in_pixel_bytes = 0;
    int64_t in_row_bytes = 0;
    int in_alpha = -1;           // sample index of the transparency in inData, or -1
    bool single_colour = false;  // grey: one colour sample
    bool readable = false;
    unsigned char* out = nullptr;
    sdk::VRect out_area{};       // outRect
    int64_t out_pixel_bytes = 0;
    int64_t out_row_bytes = 0;
    int out_alpha = -1;
    bool writable = false;
    const unsigned char* mask = nullptr;
    int64_t mask_row_bytes = 0;
};
HostPixels host_pixels(const sdk::FilterRecord& record, const sdk::VRect& tile);

bool read_pixel(const HostPixels& host, int32_t x, int32_t y, bool rows, PixelValue& pixel);
float read_mask(const HostPixels& host, int32_t x, int32_t y, bool rows);
bool write_host_pixel(const HostPixels& host, int32_t x, int32_t y, const PixelValue& pixel, bool rows);

// The pixels (x0 + i, y), i < count, at once: each as read_pixel (untouched where it reads
// nothing) and read_mask give it; each written as write_host_pixel writes it.
void read_host_run(const HostPixels& host, int32_t x0, int32_t y, int32_t count, PixelValue* pixels, float* masks);
void write_host_run(const HostPixels& host, int32_t x0, int32_t y, int32_t count, const PixelValue* pixels);

// The host's colour buffers over `area` (host coordinates) for the glue to read and write
// in place; false unless inData and outData (and the mask) cover all of it.
bool sample_piece_of(const HostPixels& host, const sdk::VRect& area, SamplePiece& samples);

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
