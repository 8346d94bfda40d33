#include "layers/thumbnail.h"

namespace corvanthe {

void clear_thumbnail(LayerStore& store) {
    for (int32_t row = 0; row < kThumbnailSide; ++row) {
        const float grey = float(255 - row) / 255.0f;
        for (int32_t column = 0; column < kThumbnailSide; ++column)
            write_texel(store, column, row, 0, {grey, grey, grey, 1.0f});
    }
}

}  // namespace corvanthe
