// Disc surface and streak noise on small hand-made tables.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "render/disc_noise.h"
#include "render/render_fixture.h"

namespace corvanthe {
namespace {

// Smoothstep fade and a random table of the given rule.
template <typename Rule>
std::unique_ptr<NoiseTables> tables(Rule rule) {
    auto t = std::make_unique<NoiseTables>();
    for (int i = 0; i < kRandomTableSize; ++i) t->random[i] = rule(i);
    for (int i = 0; i < kFadeSize; ++i) {
        const double x = i / 512.0;
        t->fade[i] = int32_t(512 * x * x * (3 - 2 * x));
    }
    return t;
}

auto identity = [](int i) { return i % 256; };
auto constant = [](int) { return 100; };

TEST(ValueNoise, LatticeCornersAndFlatTables) {
    auto t = tables(identity);
    // At a lattice point the weights are 0: ((TL * 511 >> 5) * 511 >> 7) - 8192.
    EXPECT_EQ(value_noise(*t, 0, 0, 0), -8192);
    EXPECT_EQ(value_noise(*t, 0, 0, 5), -7877);        // TL = 5: 79 * 511 >> 7 = 315
    EXPECT_EQ(value_noise(*t, 0, 0, 65536 + 5), -7877);  // the salt is 16-bit
    EXPECT_EQ(value_noise(*t, 512, 0, 0), value_noise(*t, 0, 0, 29));  // next cell across
    auto flat = tables(constant);
    // (((100 * 511) >> 5) * 511 >> 7) - 8192 wherever it is sampled.
    for (int32_t a : {0, 77, -1000, 1 << 30})
        EXPECT_EQ(value_noise(*flat, a, a / 3, 17), -1821) << a;
}

TEST(SurfaceValue, RidgesAFlatTableToOneValue) {
    auto flat = tables(constant);
    // s = (4 * -1821) * 5 + 7 * -1821 = -49167; |(s >> 9) - 25| = |-97 - 25|.
    EXPECT_EQ(surface_value(*flat, 3, 9), 122);
    flat->octave_mode = 1;  // + 3 * -1821
    EXPECT_EQ(surface_value(*flat, 3, 9), 132);
    flat->octave_mode = 2;  // + 5 * -1821
    EXPECT_EQ(surface_value(*flat, 3, 9), 139);
}

TEST(SurfaceValue, RepeatsAfter2048CellsAndWrapsWithoutFault) {
    auto t = tables(identity);
    t->octave_mode = 2;
    for (int32_t a : {0, 13, -700, 99999})
        EXPECT_EQ(surface_value(*t, a, 40), surface_value(*t, a + 2048 * 512, 40)) << a;
    // Coordinates near the ends of the 32-bit range wrap like the rest of the arithmetic.
    const int32_t v = surface_value(*t, INT32_MAX, INT32_MIN);
    EXPECT_GE(v, 0);
    EXPECT_EQ(v, surface_value(*t, INT32_MAX - 1048576, INT32_MIN + 1048576));
}

TEST(SmearLine, AveragesAlongTheWalk) {
    auto t = tables(identity);
    EXPECT_EQ(smear_line(*t, 5, 7, 5, 7), surface_value(*t, 5, 7));
    t->noise_step = 4;
    // x major from 0 to 8 in steps of 4: samples at x = 0, 4, 8 (error keeps y at 0).
    const int32_t expected = (surface_value(*t, 0, 0) + surface_value(*t, 4, 0) + surface_value(*t, 8, 0)) / 3;
    EXPECT_EQ(smear_line(*t, 0, 0, 8, 0), expected);
    // y major walking up: samples at y = 0, -4, -8.
    const int32_t up = (surface_value(*t, 0, 0) + surface_value(*t, 0, -4) + surface_value(*t, 0, -8)) / 3;
    EXPECT_EQ(smear_line(*t, 0, 0, 0, -8), up);
}

TEST(DiscSurface, WithoutVorticesOrMonopolesThereIsNoSmear) {
    auto t = tables(identity);
    t->swirl_count = 100;
    t->swirl_radius = 500;
    t->swirl_strength = 100000;
    for (int32_t a : {0, 50, -300})
        EXPECT_EQ(disc_surface(*t, a, 2 * a), std::min(255, surface_value(*t, a, 2 * a)));
    // Switched on but with no centres in use: no displacement either.
    t->vortices = true;
    t->swirl_count = 0;
    EXPECT_EQ(disc_surface(*t, 50, 100), std::min(255, surface_value(*t, 50, 100)));
}

TEST(DiscSurface, MonopolesPushRadiallyAndVorticesTurn) {
    auto t = tables(identity);
    t->swirl_count = 1;  // centre 0 at the origin (even: pulls inward)
    t->swirl_radius = 64;
    t->swirl_strength = 64 * 64;  // factor 1
    t->noise_step = 16;
    // At (10, 0): k = 10 - 64, radial vector (64, 0): push (-3456, 0).
    t->monopoles = true;
    EXPECT_EQ(disc_surface(*t, 10, 0), std::min(255, smear_line(*t, 10, 0, 10 - 3456, 0)));
    // The same centre as a vortex turns the push a quarter: (0, -3456).
    t->monopoles = false;
    t->vortices = true;
    EXPECT_EQ(disc_surface(*t, 10, 0), std::min(255, smear_line(*t, 10, 0, 10, -3456)));
    // A sample exactly at the centre is not pushed by it.
    EXPECT_EQ(disc_surface(*t, 0, 0), std::min(255, surface_value(*t, 0, 0)));
    // Out of reach (|u| >= r) is not pushed either.
    EXPECT_EQ(disc_surface(*t, 64, 0), std::min(255, surface_value(*t, 64, 0)));
}

TEST(DiscSurface, WithBothOnCentresAlternateInPairs) {
    auto t = tables(identity);
    t->swirl_count = 3;
    t->swirl_radius = 64;
    t->swirl_strength = 64 * 64;
    t->noise_step = 16;
    t->vortices = t->monopoles = true;
    // Only centre 2 (n & 2: a vortex) is in reach; it is even, so it pulls: k = 10 - 64.
    t->swirl_x = {};
    t->swirl_y = {};
    t->swirl_x[0] = t->swirl_x[1] = 100000;
    EXPECT_EQ(disc_surface(*t, 10, 0), std::min(255, smear_line(*t, 10, 0, 10, -3456)));
    // Centre 1 alone (odd, n & 2 = 0: a monopole) pushes outward: k = 64 - 10.
    t->swirl_x[1] = 0;
    t->swirl_x[2] = 100000;
    EXPECT_EQ(disc_surface(*t, 10, 0), std::min(255, smear_line(*t, 10, 0, 10 + 3456, 0)));
}

TEST(StreakValue, HandWorkedSamples) {
    auto t = tables(identity);
    EXPECT_EQ(streak_value(*t, 0, 0, 128), 0);
    // d = 1000, e = 0, f = 0, g = 248: indices 1506 and 1225 (& 2047) -> (226 + 201) >> 1.
    EXPECT_EQ(streak_value(*t, 1000, 0, 128), 213);
    // The products wrap: any inputs give a value in 0..255 without fault.
    for (int32_t a : {INT32_MIN, -1, 0x7FFFF, INT32_MAX})
        for (int32_t k : {INT32_MIN, 0xFFFFFF, INT32_MAX}) {
            const int32_t v = streak_value(*t, a, a ^ 0x5555, k);
            EXPECT_GE(v, 0);
            EXPECT_LE(v, 255);
        }
}

TEST(RadialStreak, WeightsAlwaysAddUpSoAFlatTableGivesItsValue) {
    auto flat = tables(constant);
    // Every streak value is 100; each step's two weights add to the step's share.
    for (auto [c, d] : {std::pair{30, 7}, {-30, 7}, {7, 30}, {7, -30}, {-21, -21}, {25, 0}, {0, -25}})
        EXPECT_EQ(radial_streak(*flat, 3, 4, 3 + c, 4 + d, 1000), 100) << c << "," << d;
    EXPECT_EQ(radial_streak(*flat, 3, 4, 3, 4, 1000), 0);  // no length, no weight
}

TEST(RadialStreak, SplitsEachStepBetweenTwoRows) {
    auto t = tables(identity);
    // A flat line one step long: weights B - B div 2 and B div 2 on rows 1 and 0 at x = 0,
    // then t = 1, u = 1 on rows 0 and 1 at x = 1; W = 4.
    const int32_t k = 1 << 12;
    auto z = [&](int32_t a, int32_t b) { return streak_value(*t, a, b, k); };
    const int32_t expected = (z(0, 1) * 1 + z(0, 0) * 1 + z(1, 0) * 1 + z(1, 1) * 1) / 4;
    EXPECT_EQ(radial_streak(*t, 0, 0, 1, 0, k), expected);
}

// Four neighbours at once give what four single values give: seeded tables of every octave
// mode, positions on cell edges of every octave (multiples of 8) and across the 32-bit wrap.
TEST(SurfaceValues4, MatchSingleValuesEverywhere) {
    std::mt19937 random(41);
    std::uniform_int_distribution<int32_t> table(0, 255), anywhere(INT32_MIN, INT32_MAX);
    auto t = tables([&](int) { return table(random); });
    for (int mode : {0, 1, 2}) {
        t->octave_mode = mode;
        for (int i = 0; i < 3000; ++i) {
            int32_t a = anywhere(random), b = anywhere(random);
            if (i % 3 == 0) a = wrap_sub(a & ~7, i % 5);  // just before a cell edge of the fine octaves
            if (i == 1) a = INT32_MAX - 1;                  // runs over the wrap
            int32_t four[4];
            surface_values4(*t, a, b, four);
            for (int k = 0; k < 4; ++k)
                ASSERT_EQ(four[k], surface_value(*t, wrap_add(a, k), b)) << "mode " << mode << " at " << a << "+" << k;
        }
    }
}

// A tile of 16 x 16 gives what single values give: every octave mode, tiles on and just
// before cell edges of every octave, tiles whose rows or columns run over the 32-bit wrap, and
// the rows written a stride apart.
TEST(SurfaceTile, MatchesSingleValuesEverywhere) {
    std::mt19937 random(43);
    std::uniform_int_distribution<int32_t> table(0, 255), anywhere(INT32_MIN, INT32_MAX);
    auto t = tables([&](int) { return table(random); });
    constexpr int64_t kStride = 21;
    for (int mode : {0, 1, 2}) {
        t->octave_mode = mode;
        for (int i = 0; i < 300; ++i) {
            int32_t a = anywhere(random), b = anywhere(random);
            if (i % 3 == 0) a = wrap_sub(a & ~511, i % 11);  // a column cell edge inside the tile
            if (i % 4 == 0) b = wrap_sub(b & ~511, i % 13);  // a row cell edge inside the tile
            if (i == 1) a = INT32_MAX - 7;
            if (i == 2) b = INT32_MAX - 3;
            std::vector<uint16_t> out(kSurfaceTile * kStride, 0xFFFF);
            surface_tile(*t, a, b, out.data(), kStride);
            for (int j = 0; j < kSurfaceTile; ++j) {
                for (int k = 0; k < kSurfaceTile; ++k)
                    ASSERT_EQ(out[j * kStride + k], surface_value(*t, wrap_add(a, k), wrap_add(b, j)))
                        << "mode " << mode << " at " << a << "+" << k << ", " << b << "+" << j;
                for (int k = kSurfaceTile; k < kStride; ++k) ASSERT_EQ(out[j * kStride + k], 0xFFFF) << "written past a row";
            }
        }
    }
}

// A cache filled four at a time gives the true value for every position, whichever of the
// four was asked first, and keeps doing so as entries are replaced.
TEST(PositionCache, FillsInFoursWithTrueValues) {
    auto t = tables(identity);
    t->octave_mode = 2;
    auto cache = std::make_unique<PositionCache>();
    fill_surface_cache(*t, *cache);
    auto four = [&](int32_t a, int32_t b, int32_t (&out)[4]) { surface_values4(*t, a, b, out); };
    std::mt19937 random(5);
    std::uniform_int_distribution<int32_t> near(-3000, 3000);
    for (int i = 0; i < 20000; ++i) {
        const int32_t a = i == 0 ? INT32_MIN : near(random), b = near(random) / 8;
        ASSERT_EQ(cache->get_in_fours(a, b, four), surface_value(*t, a, b)) << a << ", " << b;
    }
}

}  // namespace
}  // namespace corvanthe
