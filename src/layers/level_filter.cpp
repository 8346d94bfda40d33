#include "layers/level_filter.h"

#include <algorithm>

namespace corvanthe {
namespace {

// Weights of source rows 2y - 2 .. 2y + 3 (down) and columns 2x - 2 .. 2x + 3 (across); they total 1640.
constexpr int32_t kWeights[6][6] = {
    {0, 1, 4, 4, 1, 0},     {1, 16, 64, 64, 16, 1},  {4, 64, 256, 256, 64, 4},
    {4, 64, 256, 256, 64, 4}, {1, 16, 64, 64, 16, 1}, {0, 1, 4, 4, 1, 0},
};
// Integer levels are divided by 1630, not 1640, so they come out slightly brighter and reach the
// full value.
constexpr int64_t kIntegerDivisor = 1630;
constexpr double kFloatDivisor = 1640.0;

// Per kind: how an element adds into the sums and how the sums become the output element.
struct Rgba8 {
    using Sum = int64_t;
    static void add(const void* block, size_t i, int32_t w, Sum* sum) {
        const uint32_t word = static_cast<const uint32_t*>(block)[i];
        sum[0] += w * int64_t(word >> 24), sum[1] += w * int64_t((word >> 16) & 0xff);
        sum[2] += w * int64_t((word >> 8) & 0xff), sum[3] += w * int64_t(word & 0xff);
    }
    static uint32_t channel(Sum s) { return uint32_t(std::min<int64_t>(s / kIntegerDivisor, 255)); }
    static void store(void* block, size_t i, const Sum* s) {
        static_cast<uint32_t*>(block)[i] = channel(s[0]) << 24 | channel(s[1]) << 16 | channel(s[2]) << 8 | channel(s[3]);
    }
};

struct Rgba16 {
    using Sum = int64_t;
    static void add(const void* block, size_t i, int32_t w, Sum* sum) {
        const uint16_t* e = static_cast<const uint16_t*>(block) + 4 * i;
        for (int32_t c = 0; c < 4; ++c) sum[c] += w * int64_t(e[c]);
    }
    static void store(void* block, size_t i, const Sum* s) {
        uint16_t* e = static_cast<uint16_t*>(block) + 4 * i;
        for (int32_t c = 0; c < 4; ++c) e[c] = uint16_t(std::clamp<int64_t>(s[c] / kIntegerDivisor, 0, 32768));
    }
};

// Float sums in double: the products of the small integer weights are exact, so a uniform level
// stays exactly uniform.
struct RgbaFloat {
    using Sum = double;
    static void add(const void* block, size_t i, int32_t w, Sum* sum) {
        const float* e = static_cast<const float*>(block) + 4 * i;
        for (int32_t c = 0; c < 4; ++c) sum[c] += double(w) * double(e[c]);
    }
    static void store(void* block, size_t i, const Sum* s) {
        float* e = static_cast<float*>(block) + 4 * i;
        for (int32_t c = 0; c < 4; ++c) {
            const double v = s[c] / kFloatDivisor;
            e[c] = float(v >= 0.0 ? std::min(v, double(kFloatColourCeiling)) : 0.0);  // NaN becomes 0 too
        }
    }
};

template <typename Kind>
void filter_rect(LayerStore& store, int32_t a, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const StoreLevel& source = store.levels[a];
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x) {
            typename Kind::Sum sum[4] = {};
            const int32_t sx = 2 * x - 2, sy = 2 * y - 2;
            // Straight from one block when the footprint lies inside one tile of the level.
            if (sx >= 0 && sy >= 0 && sx + 5 <= source.last_x && sy + 5 <= source.last_y &&
                (sx & kTileMask) <= kTileSize - 6 && (sy & kTileMask) <= kTileSize - 6) {
                const ElementAddress at = element_address(store, sx, sy, a);
                const int32_t tile_width =
                    store.tiles[source.first_tile + (sy >> kTileShift) * source.tiles_across + (sx >> kTileShift)].width;
                for (int32_t row = 0; row < 6; ++row)
                    for (int32_t column = 0; column < 6; ++column)
                        if (kWeights[row][column])
                            Kind::add(at.block, size_t(at.index) + size_t(row) * size_t(tile_width) + size_t(column),
                                      kWeights[row][column], sum);
            } else {
                for (int32_t row = 0; row < 6; ++row) {
                    const int32_t py = std::clamp(sy + row, 0, source.last_y);
                    for (int32_t column = 0; column < 6; ++column)
                        if (kWeights[row][column]) {
                            const ElementAddress at =
                                element_address(store, std::clamp(sx + column, 0, source.last_x), py, a);
                            Kind::add(at.block, size_t(at.index), kWeights[row][column], sum);
                        }
                }
            }
            const ElementAddress out = element_address(store, x, y, a + 1);
            Kind::store(out.block, size_t(out.index), sum);
        }
}

// The level filter as the work of a level build job.
class LevelBuildWork final : public JobWork {
public:
    LevelBuildWork(LayerStore& store, int32_t source_level) : store_(store), source_level_(source_level) {}
    int32_t layer_count() const override { return 0; }
    void work(JobTask& task) override { filter_level(store_, source_level_, task.piece); }

private:
    LayerStore& store_;
    int32_t source_level_;
};

}  // namespace

void filter_level(LayerStore& store, int32_t source_level, const sdk::VRect& piece) {
    if (!store.tiles || source_level < 0 || source_level >= store.last_level) return;
    const StoreLevel& target = store.levels[source_level + 1];
    const int32_t top = std::max(piece.top, 0), bottom = std::min(piece.bottom, target.height);
    const int32_t left = std::max(piece.left, 0), right = std::min(piece.right, target.width);
    switch (store.kind) {
        case PixelKind::rgba8: return filter_rect<Rgba8>(store, source_level, left, top, right, bottom);
        case PixelKind::rgba16: return filter_rect<Rgba16>(store, source_level, left, top, right, bottom);
        case PixelKind::rgba_float: return filter_rect<RgbaFloat>(store, source_level, left, top, right, bottom);
    }
}

bool build_levels(LayerStore& store, int32_t from_level, JobRunner& runner) {
    if (!store.tiles) return false;
    for (int32_t a = std::max(from_level, 0); a < store.last_level; ++a) {
        LevelBuildWork work(store, a);
        if (!runner.run(kLevelBuildJob, level_rect(&store, a + 1), kTileLayout, work)) return false;
    }
    store.level_state = kLevelsBuilt;
    return true;
}

}  // namespace corvanthe
