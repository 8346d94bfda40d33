// The flare walks over a block's streak values against the plain radial streak.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "render/disc_noise.h"
#include "render/render_fixture.h"
#include "render/streak_region.h"

namespace corvanthe {
namespace {

using namespace corvanthe::testing;

class StreakRegionTest : public ::testing::Test {
protected:
    StreakRegionTest() : context_(prepared(default_settings(), full_request(64, 64))) {}

    int32_t plain(int32_t a, int32_t b, int32_t c, int32_t d) const {
        return radial_streak(context_->noise, a, b, c, d, wrap32(context_->rings.flare_grain));
    }

    // Runs of `count` lines from (a, b) by (ex, ey), each checked against the plain walk.
    ::testing::AssertionResult run_matches(StreakRegion& region, int32_t a, int32_t b, int32_t ex, int32_t ey,
                                           int32_t count) const {
        int32_t g[40];
        region.walk_run(*context_, {a, b, a + ex, b + ey}, count, g);
        for (int32_t k = 0; k < count; ++k)
            if (g[k] != plain(a + k, b, a + k + ex, b + ey))
                return ::testing::AssertionFailure() << "line " << k << " of the run from (" << a << ", " << b
                                                     << ") by (" << ex << ", " << ey << ")";
        return ::testing::AssertionSuccess();
    }

    std::unique_ptr<RenderContext> context_;
    std::unique_ptr<StreakRegion> region_ = std::make_unique<StreakRegion>();
};

// Every direction and length a flare line can have (the axes, the diagonals, no length), in
// runs of every size up to past two groups of lanes, inside the block's region.
TEST_F(StreakRegionTest, RunsOfEveryDirectionMatchThePlainWalk) {
    region_->start(-128, -32);  // the region spans a -160..159, b -64..63
    for (int32_t ex = -31; ex <= 31; ++ex)
        for (int32_t ey = -31; ey <= 31; ++ey) {
            const int32_t count = 1 + (ex * 7 + ey * 13 + 62 * 20) % 20;
            ASSERT_TRUE(run_matches(*region_, -40 + ey, 10 + ex / 2, ex, ey, count));
        }
}

// Runs that reach past the region on any side, or lie wholly outside it, take the plain walk
// for each line, sharing the values already computed.
TEST_F(StreakRegionTest, RunsCrossingTheRegionsEdgesMatchThePlainWalk) {
    region_->start(0, 0);  // a -32..287, b -32..95
    std::mt19937 random(8);
    auto pick = [&](int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random); };
    for (int i = 0; i < 3000; ++i) {
        const int32_t a = pick(-80, 330), b = pick(-80, 140);
        ASSERT_TRUE(run_matches(*region_, a, b, pick(-31, 31), pick(-31, 31), pick(1, 40)));
    }
    // Lines on their own.
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(run_matches(*region_, pick(-40, 300), pick(-40, 100), pick(-31, 31), pick(-31, 31), 1));
}

// A new block forgets the old block's values: the same positions relative to the region hold
// other streak values after the region moves.
TEST_F(StreakRegionTest, ANewBlockComputesItsOwnValues) {
    for (const int64_t a0 : {0, 1, 256, -7}) {
        region_->start(a0, 64);
        for (int32_t ex : {-30, -3, 0, 17})
            ASSERT_TRUE(run_matches(*region_, int32_t(a0) + 5, 80, ex, -29, 33)) << "block at " << a0;
    }
}

}  // namespace
}  // namespace corvanthe
