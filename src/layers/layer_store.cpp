#include "layers/layer_store.h"

#include <cstdlib>
#include <cstring>

#include "layers/interpolation_tables.h"

namespace corvanthe {
namespace {

void free_tiles(LayerStore& store) {
    if (store.tiles) {
        for (int32_t i = 0; i < store.tile_count; ++i) std::free(store.tiles[i].block);
        std::free(store.tiles);
    }
    store.tiles = nullptr;
    store.tile_count = 0;
    store.total_bytes = 0;
}

int32_t tiles_along(int32_t size) { return (size + kTileMask) >> kTileShift; }

void set_geometry(LayerStore& store, const LevelSize (&sizes)[kMaxLevels], int32_t last) {
    int64_t first_tile = 0;
    store.last_level = last;
    for (int32_t i = 0; i < kMaxLevels; ++i) {
        StoreLevel& level = store.levels[i];
        const LevelSize size = i <= last ? sizes[i] : LevelSize{0, 0};
        level.width = size.width;
        level.height = size.height;
        level.last_x = size.width - 1;
        level.last_y = size.height - 1;
        level.last_x_f = float(level.last_x);
        level.last_y_f = float(level.last_y);
        level.width_f = float(size.width);
        level.height_f = float(size.height);
        level.inv_width = size.width > 0 ? 1.0f / level.width_f : 0.0f;
        level.inv_height = size.height > 0 ? 1.0f / level.height_f : 0.0f;
        level.tiles_across = tiles_along(size.width);
        level.first_tile = int32_t(first_tile);
        first_tile += int64_t(level.tiles_across) * tiles_along(size.height);
    }
    const float w = float(sizes[0].width), h = float(sizes[0].height);
    store.reference_width = sizes[0].width;
    store.reference_height = sizes[0].height;
    store.aspect_x = w > h ? w / h : 1.0f;
    store.aspect_y = h > w ? h / w : 1.0f;
    store.height_over_width = h / w;
    store.width_over_height = w / h;
    store.half_texel_x = 0.5f / w;
    store.half_texel_y = 0.5f / h;
}

// Tile count of all levels, or -1 when it does not fit a 32-bit count.
int64_t count_tiles(const LevelSize (&sizes)[kMaxLevels], int32_t last) {
    int64_t count = 0;
    for (int32_t i = 0; i <= last; ++i) count += int64_t(tiles_along(sizes[i].width)) * tiles_along(sizes[i].height);
    return count > INT32_MAX ? -1 : count;
}

bool allocate_tiles(LayerStore& store, int32_t bytes_per_pixel) {
    store.tiles = static_cast<StoreTile*>(std::calloc(size_t(store.tile_count), sizeof(StoreTile)));
    if (!store.tiles) return false;
    for (int32_t i = 0; i <= store.last_level; ++i) {
        const StoreLevel& level = store.levels[i];
        const int32_t down = tiles_along(level.height);
        for (int32_t ty = 0; ty < down; ++ty)
            for (int32_t tx = 0; tx < level.tiles_across; ++tx) {
                StoreTile& tile = store.tiles[level.first_tile + ty * level.tiles_across + tx];
                tile.x = tx << kTileShift;
                tile.y = ty << kTileShift;
                tile.width = tx + 1 < level.tiles_across ? kTileSize : level.width - tile.x;
                tile.height = ty + 1 < down ? kTileSize : level.height - tile.y;
                const size_t bytes = size_t(tile.width) * size_t(tile.height) * size_t(bytes_per_pixel);
                tile.block = std::calloc(1, bytes);
                if (!tile.block) return false;
                store.total_bytes += int64_t(bytes);
            }
    }
    return true;
}

int64_t truncate_to_integer(float v) {
    if (!(v == v)) return 0;  // NaN
    if (v > 1e15f) return int64_t(1e15);
    if (v < -1e15f) return -int64_t(1e15);
    return int64_t(v);
}

uint32_t channel(float v, uint32_t mask) { return uint32_t(uint64_t(truncate_to_integer(v)) & mask); }

bool inside_level(const LayerStore& store, int32_t level) {
    return store.tiles && level >= 0 && level <= store.last_level;
}

int32_t clamp(int32_t v, int32_t low, int32_t high) { return v < low ? low : (v > high ? high : v); }

}  // namespace

void attach_store(LayerStore& store, void* owner, const InterpolationTables* tables) {
    std::memset(&store, 0, sizeof store);
    store.owner = owner;
    store.tables = tables;
}

bool init_store(LayerStore& store, int32_t width, int32_t height, PixelKind kind) {
    free_tiles(store);
    const PixelKindInfo* info = pixel_kind_info(kind);
    if (width < 1 || height < 1 || !info) return false;
    LevelSize sizes[kMaxLevels];
    const int32_t last = level_sizes(width, height, sizes);
    const int64_t tiles = count_tiles(sizes, last);
    if (tiles < 0) return false;
    set_geometry(store, sizes, last);
    store.tile_count = int32_t(tiles);
    if (!allocate_tiles(store, info->bytes_per_pixel)) {
        free_tiles(store);
        return false;
    }
    store.bytes_per_pixel = info->bytes_per_pixel;
    store.kind = kind;
    store.channels = info->channels;
    store.bytes_per_channel = info->bytes_per_channel;
    store.scale = info->scale;
    store.inv_scale = 1.0f / info->scale;
    store.level_state = 0;
    store.owned = false;
    return true;
}

LayerStore* create_store(void* owner, int32_t width, int32_t height, PixelKind kind) {
    auto* store = static_cast<LayerStore*>(std::malloc(sizeof(LayerStore)));
    if (!store) return nullptr;
    attach_store(*store, owner, &interpolation_tables());
    if (!init_store(*store, width, height, kind)) {
        std::free(store);
        return nullptr;
    }
    store->owned = true;
    return store;
}

void free_store(LayerStore* store) {
    if (!store) return;
    free_tiles(*store);
    if (store->owned) std::free(store);
}

sdk::VRect level_rect(const LayerStore* store, int32_t level) {
    if (!store || level < 0 || level > store->last_level) return {0, 0, 0, 0};
    return {0, 0, store->levels[level].height, store->levels[level].width};
}

bool same_size(const LayerStore& a, const LayerStore& b) {
    return same_level0_size(a, b) && a.bytes_per_pixel == b.bytes_per_pixel && a.last_level == b.last_level;
}

bool same_level0_size(const LayerStore& a, const LayerStore& b) {
    return a.levels[0].width == b.levels[0].width && a.levels[0].height == b.levels[0].height;
}

ElementAddress element_address(const LayerStore& store, int32_t x, int32_t y, int32_t level) {
    const StoreLevel& l = store.levels[level];
    const StoreTile& tile = store.tiles[l.first_tile + (y >> kTileShift) * l.tiles_across + (x >> kTileShift)];
    return {tile.block, (y & kTileMask) * tile.width + (x & kTileMask)};
}

PixelValue get_pixel(const LayerStore& store, int32_t x, int32_t y, int32_t level) {
    if (!inside_level(store, level)) return {0, 0, 0, 0};
    const StoreLevel& l = store.levels[level];
    const ElementAddress at = element_address(store, clamp(x, 0, l.last_x), clamp(y, 0, l.last_y), level);
    switch (store.kind) {
        case PixelKind::rgba8: {
            const uint32_t word = static_cast<const uint32_t*>(at.block)[at.index];
            return {float(word >> 24), float((word >> 16) & 0xff), float((word >> 8) & 0xff), float(word & 0xff)};
        }
        case PixelKind::rgba16: {
            const uint16_t* e = static_cast<const uint16_t*>(at.block) + 4 * size_t(at.index);
            return {float(e[0]), float(e[1]), float(e[2]), float(e[3])};
        }
        case PixelKind::rgba_float: {
            const float* e = static_cast<const float*>(at.block) + 4 * size_t(at.index);
            return {e[0], e[1], e[2], e[3]};
        }
    }
    return {0, 0, 0, 0};
}

void set_pixel(LayerStore& store, int32_t x, int32_t y, int32_t level, const PixelValue& value) {
    if (!inside_level(store, level)) return;
    const StoreLevel& l = store.levels[level];
    if (x < 0 || y < 0 || x > l.last_x || y > l.last_y) return;
    if (level == 0) store.level_state = 0;
    const ElementAddress at = element_address(store, x, y, level);
    switch (store.kind) {
        case PixelKind::rgba8:
            static_cast<uint32_t*>(at.block)[at.index] = channel(value.red, 0xff) << 24 |
                                                         channel(value.green, 0xff) << 16 |
                                                         channel(value.blue, 0xff) << 8 | channel(value.alpha, 0xff);
            return;
        case PixelKind::rgba16: {
            uint16_t* e = static_cast<uint16_t*>(at.block) + 4 * size_t(at.index);
            e[0] = uint16_t(channel(value.red, 0xffff));
            e[1] = uint16_t(channel(value.green, 0xffff));
            e[2] = uint16_t(channel(value.blue, 0xffff));
            e[3] = uint16_t(channel(value.alpha, 0xffff));
            return;
        }
        case PixelKind::rgba_float: {
            float* e = static_cast<float*>(at.block) + 4 * size_t(at.index);
            e[0] = value.red;
            e[1] = value.green;
            e[2] = value.blue;
            e[3] = value.alpha;
            return;
        }
    }
}

PixelValue read_texel(const LayerStore& store, int32_t x, int32_t y, int32_t level) {
    const PixelValue v = get_pixel(store, x, y, level);
    if (store.kind == PixelKind::rgba_float) return v;
    const float k = store.inv_scale;
    return {v.red * k, v.green * k, v.blue * k, v.alpha * k};
}

void write_texel(LayerStore& store, int32_t x, int32_t y, int32_t level, const PixelValue& value) {
    if (store.kind == PixelKind::rgba_float) return set_pixel(store, x, y, level, value);
    const float k = store.scale;
    set_pixel(store, x, y, level, {value.red * k, value.green * k, value.blue * k, value.alpha * k});
}

}  // namespace corvanthe
