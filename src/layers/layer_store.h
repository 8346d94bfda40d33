#pragma once
// LayerStore: the in-memory image. A pyramid of up to 20 levels, each cut into 512 x 512 tiles,
// every tile its own heap block, so a large image never needs one contiguous allocation.
#include <cstdint>

#include "layers/level_geometry.h"
#include "layers/pixel_kind.h"
#include "layers/pixel_value.h"
#include "sdk/types.h"

namespace corvanthe {

struct InterpolationTables;

inline constexpr int32_t kTileShift = 9;
inline constexpr int32_t kTileSize = 1 << kTileShift;  // 512
inline constexpr int32_t kTileMask = kTileSize - 1;

struct StoreTile {
    void* block;  // width x height elements, rows one after another
    int32_t y;
    int32_t x;
    int32_t width;
    int32_t height;
};

struct StoreLevel {
    int32_t width;
    int32_t height;
    int32_t last_x;  // width - 1
    int32_t last_y;  // height - 1
    float last_x_f;
    float last_y_f;
    float width_f;
    float height_f;
    float inv_width;
    float inv_height;
    int32_t first_tile;
    int32_t tiles_across;
};

struct LayerStore {
    StoreLevel levels[kMaxLevels];
    int32_t last_level;  // L: levels 0..L exist
    int32_t bytes_per_pixel;
    int64_t total_bytes;
    int32_t channels;
    int32_t bytes_per_channel;
    PixelKind kind;
    int32_t tile_count;
    StoreTile* tiles;  // null when the store holds no image
    void* owner;       // the plug-in context that made the store
    const InterpolationTables* tables;
    float scale;  // the stored value of one: 255, 32768 or 1
    float inv_scale;
    int32_t reference_width;  // level 0
    int32_t reference_height;
    float aspect_x;  // width / height when wider, else 1
    float aspect_y;  // height / width when taller, else 1
    float height_over_width;
    float width_over_height;
    float half_texel_x;  // 0.5 / width
    float half_texel_y;
    int32_t level_state;  // 0 after Init and after any write to level 0, 2 when every level is built
    bool owned;           // the record itself came from create_store
};

inline constexpr int32_t kLevelsBuilt = 2;

// Records the owner and the tables and clears the store; precedes Init for an embedded store.
void attach_store(LayerStore& store, void* owner, const InterpolationTables* tables);

// Frees any previous tiles and allocates a width x height image of the kind with all its levels.
// False (and no tiles) when a size is below 1, the kind is not 3, 4 or 9, or memory runs out.
bool init_store(LayerStore& store, int32_t width, int32_t height, PixelKind kind);

// A store record of its own, attached to the owner and the shared tables; null on failure.
LayerStore* create_store(void* owner, int32_t width, int32_t height, PixelKind kind);

// Frees the tiles; also the record when create_store made it.
void free_store(LayerStore* store);

// (0, 0, width, height) of the level; empty for a level above L or a null store.
sdk::VRect level_rect(const LayerStore* store, int32_t level);

bool same_size(const LayerStore& a, const LayerStore& b);         // level 0, bytes per pixel and L
bool same_level0_size(const LayerStore& a, const LayerStore& b);  // level 0 only

// The tile block of pixel (x, y) of a level and the element index inside it; the
// coordinates must be inside the level.
struct ElementAddress {
    void* block;
    int32_t index;
};
ElementAddress element_address(const LayerStore& store, int32_t x, int32_t y, int32_t level);

// Get and set work in element values (0..255, 0..32768 with 16-bit values up to 65535, or floats).
// The element at (x, y) clamped to the level's edges; zeros for a store without tiles or a
// level above L.
PixelValue get_pixel(const LayerStore& store, int32_t x, int32_t y, int32_t level);

// Writes the element; values are truncated and masked to the channel width. Ignored outside
// the level or for a store without tiles. A write to level 0 leaves the other levels stale
// (level state 0) until they are built again.
void set_pixel(LayerStore& store, int32_t x, int32_t y, int32_t level, const PixelValue& value);

// The pixel as floats: 0..1 for integer kinds, the stored floats for kind 9.
PixelValue read_texel(const LayerStore& store, int32_t x, int32_t y, int32_t level);

// Writes floats: integer kinds multiply by the scale and truncate toward zero.
void write_texel(LayerStore& store, int32_t x, int32_t y, int32_t level, const PixelValue& value);

}  // namespace corvanthe
