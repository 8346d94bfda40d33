#include "layers/host_fill.h"

#include <cstring>

namespace corvanthe {
namespace {

template <typename Sample>
Sample sample(const unsigned char* at) {
    Sample s;
    std::memcpy(&s, at, sizeof s);
    return s;
}

// Red, green, blue and alpha samples of every pixel of the tile, in the host's sample type.
template <typename Sample, typename Store>
void copy_pixels(const StoreTile& tile, const HostPixels& host, Sample full, Store store) {
    const auto* rows = static_cast<const unsigned char*>(host.data);
    const size_t step = size_t(host.plane_stride) * sizeof(Sample);
    const size_t green = host.grey ? 0 : sizeof(Sample), blue = host.grey ? 0 : 2 * sizeof(Sample);
    for (int32_t y = 0; y < tile.height; ++y, rows += host.row_bytes) {
        const unsigned char* p = rows;
        for (int32_t x = 0; x < tile.width; ++x, p += step) {
            const Sample a = host.transparency_plane >= 0
                                 ? sample<Sample>(p + size_t(host.transparency_plane) * sizeof(Sample))
                                 : full;
            store(size_t(y) * size_t(tile.width) + size_t(x), sample<Sample>(p), sample<Sample>(p + green),
                  sample<Sample>(p + blue), a);
        }
    }
}

}  // namespace

bool fill_tile_from_host(LayerStore& store, int32_t tile_number, const HostPixels& host) {
    if (!store.tiles || tile_number < 0 || tile_number >= store.tile_count || !host.data) return false;
    const StoreTile& tile = store.tiles[tile_number];
    if (!tile.block) return false;
    store.level_state = 0;  // the tile may be one of level 0
    if (host.depth == 8 && store.kind == PixelKind::rgba8) {
        auto* words = static_cast<uint32_t*>(tile.block);
        copy_pixels<uint8_t>(tile, host, 255, [words](size_t i, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
            words[i] = r << 24 | g << 16 | b << 8 | a;
        });
        return true;
    }
    if (host.depth == 16 && store.kind == PixelKind::rgba16) {
        auto* e = static_cast<uint16_t*>(tile.block);
        copy_pixels<uint16_t>(tile, host, 32768, [e](size_t i, uint16_t r, uint16_t g, uint16_t b, uint16_t a) {
            uint16_t* p = e + 4 * i;
            p[0] = r, p[1] = g, p[2] = b, p[3] = a;
        });
        return true;
    }
    if (host.depth == 32 && store.kind == PixelKind::rgba_float) {
        auto* e = static_cast<float*>(tile.block);
        copy_pixels<float>(tile, host, 1.0f, [e](size_t i, float r, float g, float b, float a) {
            float* p = e + 4 * i;
            p[0] = r, p[1] = g, p[2] = b, p[3] = a;
        });
        return true;
    }
    return false;
}

}  // namespace corvanthe
