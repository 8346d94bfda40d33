#pragma once
// The dialog's thumbnail: the square picture saved with settings files and shown for memory dots.
#include <cstdint>

#include "layers/job.h"
#include "layers/layer_store.h"

namespace corvanthe {

inline constexpr int32_t kThumbnailSide = 128;

// Level 0 rows and columns 0..127 become grey 255 - row (255 at the top, 128 at the bottom) with
// full alpha; pixels outside the store are ignored.
void clear_thumbnail(LayerStore& store);

// The dialog's 8-bit preview bitmap: planar, one byte per channel; one plane for grey.
struct PreviewBitmap {
    const uint8_t* data;
    int32_t width;
    int32_t height;
    int32_t row_bytes;
    int32_t plane_bytes;
    int32_t planes;  // 1 grey, 3 RGB
};

// Clears the thumbnail, then copies the centred square of the preview into it (resampled to the
// thumbnail's size). Nothing happens when the thumbnail has no tiles or the preview is missing;
// the gradient stays when the square's store cannot be made. False unless the square was copied.
bool capture_thumbnail(LayerStore& thumbnail, const PreviewBitmap& preview, JobRunner& runner);

}  // namespace corvanthe
