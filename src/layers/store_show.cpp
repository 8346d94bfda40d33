#include "layers/store_show.h"

#include <cstdlib>

namespace corvanthe {
namespace {

constexpr int32_t kRgbMode = 3;  // the interface's RGB image mode

unsigned char to_byte(float v) {
    if (!(v > 0.0f)) return 0;
    if (v >= 1.0f) return 255;
    return static_cast<unsigned char>(v * 255.0f + 0.5f);
}

// The displayed bytes of a pixel: kind 3 as stored, the others rounded from 0..1.
void pixel_bytes(const LayerStore& store, int32_t x, int32_t y, int32_t level, unsigned char* out) {
    if (store.kind == PixelKind::rgba8) {
        const PixelValue v = get_pixel(store, x, y, level);
        out[0] = static_cast<unsigned char>(v.red);
        out[1] = static_cast<unsigned char>(v.green);
        out[2] = static_cast<unsigned char>(v.blue);
        return;
    }
    const PixelValue v = read_texel(store, x, y, level);
    out[0] = to_byte(v.red);
    out[1] = to_byte(v.green);
    out[2] = to_byte(v.blue);
}

}  // namespace

void show_store(const LayerStore& store, const sdk::VRect& destination, int32_t x0, int32_t y0, int32_t z,
                const PixelMapDrawer& drawer) {
    const int32_t width = destination.right - destination.left, height = destination.bottom - destination.top;
    if (!store.tiles || !drawer.draw || width <= 0 || height <= 0) return;
    if (z < 1) z = 1;
    int32_t level = 0;
    while (level < store.last_level && (int64_t(1) << (level + 1)) <= z) ++level;
    auto* rgb = static_cast<unsigned char*>(std::malloc(size_t(width) * size_t(height) * 3));
    if (!rgb) return;
    const int64_t step = (int64_t(z) * 256) >> level;
    const int64_t x_start = (int64_t(x0) * 256) >> level;
    int64_t y = (int64_t(y0) * 256) >> level;
    unsigned char* out = rgb;
    for (int32_t row = 0; row < height; ++row, y += step) {
        int64_t x = x_start;
        for (int32_t column = 0; column < width; ++column, x += step, out += 3) {
            // get_pixel clamps; bring far coordinates into 32 bits first
            const int64_t px = x >> 8, py = y >> 8;
            pixel_bytes(store, int32_t(px < INT32_MIN ? INT32_MIN : px > INT32_MAX ? INT32_MAX : px),
                        int32_t(py < INT32_MIN ? INT32_MIN : py > INT32_MAX ? INT32_MAX : py), level, out);
        }
    }
    sdk::PSPixelMap map{};
    map.version = 1;
    map.bounds = {0, 0, height, width};
    map.imageMode = kRgbMode;
    map.rowBytes = width * 3;
    map.colBytes = 3;
    map.planeBytes = 1;
    map.baseAddr = rgb;
    drawer.draw(drawer.context, map, destination.top, destination.left);
    std::free(rgb);
}

}  // namespace corvanthe
