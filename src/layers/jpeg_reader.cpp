#include "layers/jpeg_reader.h"

#include "layers/jpeg_codec.h"

namespace corvanthe {
namespace {

bool store_row(void* context, int row, const uint8_t* samples, int width, int components) {
    LayerStore& store = *static_cast<LayerStore*>(context);
    const StoreLevel& level = store.levels[0];
    const int columns = width < level.width ? width : level.width;
    for (int x = 0; x < columns; ++x) {
        const uint8_t* s = samples + x * components;
        const float grey = s[0];
        const PixelValue p = components >= 3 ? PixelValue{float(s[0]), float(s[1]), float(s[2]), 255.0f}
                                             : PixelValue{grey, grey, grey, 255.0f};
        set_pixel(store, x, row, 0, p);
    }
    return row + 1 < level.height;  // the rows below the store are not needed
}

}  // namespace

bool decode_jpeg(const uint8_t* data, std::size_t size, LayerStore& store) {
    if (!store.tiles || store.kind != PixelKind::rgba8) return false;
    return decompress_jpeg(data, size, store_row, &store);
}

}  // namespace corvanthe
