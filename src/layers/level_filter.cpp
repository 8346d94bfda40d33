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

struct Sums {
    int64_t integer[4] = {};
    double real[4] = {};
};

void add(const LayerStore& store, int32_t x, int32_t y, int32_t level, int32_t weight, Sums& sums) {
    const PixelValue v = get_pixel(store, x, y, level);
    const float channels[4] = {v.red, v.green, v.blue, v.alpha};
    for (int32_t c = 0; c < 4; ++c) {
        if (store.kind == PixelKind::rgba_float)
            sums.real[c] += double(weight) * double(channels[c]);
        else
            sums.integer[c] += int64_t(weight) * int64_t(channels[c]);
    }
}

float finish(const LayerStore& store, const Sums& sums, int32_t c) {
    switch (store.kind) {
        case PixelKind::rgba8: return float(std::min<int64_t>(sums.integer[c] / kIntegerDivisor, 255));
        case PixelKind::rgba16:
            return float(std::clamp<int64_t>(sums.integer[c] / kIntegerDivisor, 0, 32768));
        case PixelKind::rgba_float: {
            const double v = sums.real[c] / kFloatDivisor;
            return float(v >= 0.0 ? std::min(v, 65535.0) : 0.0);  // NaN becomes 0 too
        }
    }
    return 0.0f;
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
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x) {
            Sums sums;
            for (int32_t row = 0; row < 6; ++row)
                for (int32_t column = 0; column < 6; ++column)
                    if (kWeights[row][column])
                        add(store, 2 * x - 2 + column, 2 * y - 2 + row, source_level, kWeights[row][column], sums);
            set_pixel(store, x, y, source_level + 1,
                      {finish(store, sums, 0), finish(store, sums, 1), finish(store, sums, 2), finish(store, sums, 3)});
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
