#pragma once
// The streak values around one block of pixels, computed once each, and the flare walks over
// them: radial_streak of a pixel's flare line, or of a run of neighbouring pixels whose lines
// are the same line moved along the row.
#include <cstdint>

#include "render/pixel_kernel.h"

namespace corvanthe {

class StreakRegion {
public:
    // Each flare line runs at most 30 pixels from its pixel, and its two straddled rows one
    // further, so a block's lines stay inside the block widened by kMargin on every side.
    static constexpr int32_t kMargin = 32;
    static constexpr int32_t kMaxBlockColumns = 256;
    static constexpr int32_t kMaxBlockRows = 64;

    // The block whose streak positions (pixel minus centre) start at (a0, b0); the values are
    // computed as walks first need them.
    void start(int64_t a0, int64_t b0);

    // radial_streak, with the grain of `c`, of `count` lines: `first` and the lines moved 1, 2,
    // ... positions along a, into g.
    void walk_run(const RenderContext& c, const StreakLine& first, int32_t count, int32_t* g);

private:
    static constexpr int32_t kColumns = kMaxBlockColumns + 2 * kMargin;
    static constexpr int32_t kRows = kMaxBlockRows + 2 * kMargin;
    // Values are computed a chunk of a row at a time; a row's bits tell which chunks hold theirs.
    static constexpr int32_t kChunk = 16;
    static_assert(kColumns % kChunk == 0 && kColumns / kChunk <= 32);
    // Runs are summed this many lines at a time; the values array has room for the lines past
    // a run's end in the last group.
    static constexpr int32_t kLanes = 8;

    bool inner(int64_t a, int64_t b) const;
    void ensure(int32_t i_low, int32_t i_high, int32_t j_low, int32_t j_high, const RenderContext& c);
    int32_t value_at(const RenderContext& c, int32_t a, int32_t b);
    void inner_walk_run(const RenderContext& c, const StreakLine& first, int32_t count, int32_t* g);

    int64_t a0_ = 0, b0_ = 0;
    uint32_t known_[kRows] = {};
    uint16_t values_[kColumns * kRows + 2 * kLanes] = {};
};

}  // namespace corvanthe
