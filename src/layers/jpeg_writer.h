#pragma once
// JPEG pictures of a LayerStore's level 0, in memory or as a file.
#include <cstdint>
#include <string>

#include "layers/jpeg_codec.h"
#include "layers/layer_store.h"

namespace corvanthe {

enum JpegResult : int16_t {
    kJpegOk = 0,
    kJpegNoStore = 1,   // missing store (encode: also a store without tiles)
    kJpegNoTiles = 2,   // a file of a store without tiles
    kJpegNoOwner = 3,   // a file of a store not attached to an owner
    kJpegFailed = -1,   // the library failed or memory ran out
};

// The picture of level 0, at least 16 x 16: a smaller store repeats its last row
// and column. Colours are cut to 0..1 and taken × 255 toward zero.
int16_t encode_jpeg(const LayerStore* store, int quality, const JpegSegments& segments, JpegBytes& out);

// Writes the picture as a file (beside the target first, then renamed over it):
// kJpegNoStore, kJpegNoTiles or kJpegNoOwner before anything is written, else a
// FileResult (kFileWriteError also when the picture cannot be made).
int16_t write_jpeg_file(const LayerStore* store, const std::string& path, int quality, const JpegSegments& segments);

}  // namespace corvanthe
