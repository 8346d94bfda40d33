#include "apps/cli/evening_sky.h"

#include <gtest/gtest.h>

namespace corvanthe::cli {
namespace {

TEST(EveningSky, BlueAboveOrangeAtTheHorizonDarkHillsBelow) {
    const hosting::Document sky = evening_sky();
    ASSERT_EQ(sky.width, 1600);
    ASSERT_EQ(sky.height, 1000);
    EXPECT_EQ(sky.depth, 8);
    EXPECT_EQ(sky.planes(), 3);
    for (int32_t x : {0, 400, 800, 1599}) {
        // Top: deep blue.
        EXPECT_GT(sky.sample(x, 0, 2), sky.sample(x, 0, 0) + 30) << x;
        EXPECT_LT(sky.sample(x, 0, 0) + sky.sample(x, 0, 1) + sky.sample(x, 0, 2), 160) << x;
        // Just above the lowest ridge point (y 696): orange, red over green over blue.
        const int32_t y = 690;
        EXPECT_GT(sky.sample(x, y, 0), 200) << x;
        EXPECT_GT(sky.sample(x, y, 0), sky.sample(x, y, 1)) << x;
        EXPECT_GT(sky.sample(x, y, 1), sky.sample(x, y, 2)) << x;
        // Bottom: the dark hills.
        EXPECT_LT(sky.sample(x, 999, 0) + sky.sample(x, 999, 1) + sky.sample(x, 999, 2), 90) << x;
    }
    // The gradient is smooth: no jump of more than 3 levels between neighbouring sky rows.
    for (int32_t y = 1; y < 690; ++y)
        for (int k = 0; k < 3; ++k) ASSERT_LE(std::abs(sky.sample(800, y, k) - sky.sample(800, y - 1, k)), 3) << y;
}

}  // namespace
}  // namespace corvanthe::cli
