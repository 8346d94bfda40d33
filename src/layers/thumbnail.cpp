#include "layers/thumbnail.h"

#include <algorithm>

#include "layers/level_filter.h"
#include "layers/resample.h"

namespace corvanthe {

void clear_thumbnail(LayerStore& store) {
    for (int32_t row = 0; row < kThumbnailSide; ++row) {
        const float grey = float(255 - row) / 255.0f;
        for (int32_t column = 0; column < kThumbnailSide; ++column)
            write_texel(store, column, row, 0, {grey, grey, grey, 1.0f});
    }
}

bool capture_thumbnail(LayerStore& thumbnail, const PreviewBitmap& preview, JobRunner& runner) {
    if (!thumbnail.tiles || !preview.data || preview.width < 1 || preview.height < 1) return false;
    clear_thumbnail(thumbnail);
    const int32_t side = std::min(preview.width, preview.height);
    const int32_t left = (preview.width - side) / 2, top = (preview.height - side) / 2;
    LayerStore* square = create_store(thumbnail.owner, side, side, PixelKind::rgba8);
    if (!square) return false;
    const bool grey = preview.planes < 3;
    for (int32_t y = 0; y < side; ++y) {
        const int32_t py = std::min(top + y, preview.height - 1);
        for (int32_t x = 0; x < side; ++x) {
            const uint8_t* at = preview.data + size_t(py) * size_t(preview.row_bytes) +
                                size_t(std::min(left + x, preview.width - 1));
            const float red = float(at[0]) / 255.0f;
            const float green = grey ? red : float(at[preview.plane_bytes]) / 255.0f;
            const float blue = grey ? red : float(at[2 * size_t(preview.plane_bytes)]) / 255.0f;
            write_texel(*square, x, y, 0, {red, green, blue, 1.0f});
        }
    }
    const bool copied = build_levels(*square, 0, runner) && copy_store(*square, thumbnail, runner);
    free_store(square);
    return copied;
}

}  // namespace corvanthe
