// The piece's surface cache against the plain smear line, which computes every sample.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>

#include "render/fast_kernel.h"
#include "render/pixel_kernel.h"
#include "render/render_fixture.h"
#include "render/surface_cache.h"
#include "render/swirl_push.h"

namespace corvanthe {
namespace {

using namespace corvanthe::testing;

std::unique_ptr<NoiseTables> seeded_tables(uint32_t seed, int octave_mode) {
    auto t = std::make_unique<NoiseTables>();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int32_t> value(0, 255);
    for (int32_t& v : t->random) v = value(random);
    for (int i = 0; i < kFadeSize; ++i) {
        const double x = i / 512.0;
        t->fade[i] = int32_t(512 * x * x * (3 - 2 * x));
    }
    t->octave_mode = octave_mode;
    return t;
}

// Lines from random starts in [a0 - 40, a1 + 40] x [b0 - 40, b1 + 40], so some leave the box
// and some lie wholly outside it, in every direction and up to 90 positions long (a line that
// wraps around the 32-bit range would walk all of it).
void expect_plain_smears(const NoiseTables& t, SurfaceCache& cache, int64_t a0, int64_t b0, int64_t a1, int64_t b1,
                         std::mt19937& random, int lines) {
    std::uniform_int_distribution<int64_t> across(a0 - 40, a1 + 40), down(b0 - 40, b1 + 40);
    std::uniform_int_distribution<int32_t> push(-90, 90);
    for (int i = 0; i < lines; ++i) {
        const int32_t a = wrap32(across(random)), b = wrap32(down(random));
        // Now and then level, upright or diagonal, and now and then of no length.
        int32_t px = push(random), py = push(random);
        if (i % 7 == 1) py = 0;
        if (i % 7 == 2) px = 0;
        if (i % 7 == 3) py = (i & 8) ? px : -px;
        if (i % 29 == 0) px = py = 0;
        const int32_t c = wrap_add(a, px), d = wrap_add(b, py);
        ASSERT_EQ(cache.smear(a, b, c, d), smear_line(t, a, b, c, d)) << "(" << a << ", " << b << ") -> (" << c << ", " << d << ")";
    }
}

// Each position's value, asked in a random order so that tiles are filled from any first
// position: a line of no length gives the surface value itself.
TEST(SurfaceCache, GridHoldsEverySurfaceValue) {
    for (int mode : {0, 2}) {
        const auto t = seeded_tables(17 + mode, mode);
        SurfaceCache cache(*t);
        cache.place_grid(-37, 100, 60, 141, 0);
        ASSERT_TRUE(cache.has_grid());
        std::vector<std::pair<int32_t, int32_t>> positions;
        for (int32_t b = 100; b <= 141; ++b)
            for (int32_t a = -37; a <= 60; ++a) positions.emplace_back(a, b);
        std::shuffle(positions.begin(), positions.end(), std::mt19937(mode));
        for (const auto& [a, b] : positions) {
            ASSERT_TRUE(cache.holds(a, b)) << a << ", " << b;
            ASSERT_EQ(cache.smear(a, b, a, b), surface_value(*t, a, b)) << a << ", " << b;
        }
    }
}

// Lines inside the grid, across its edges and outside it give the plain mean; the grid keeps
// its box and margin, and no more than the limit.
TEST(SurfaceCache, SmearsMatchThePlainLineInAndAroundTheGrid) {
    std::mt19937 random(8);
    const auto t = seeded_tables(5, 1);
    SurfaceCache cache(*t);
    cache.place_grid(-500, 300, -380, 390, 25);
    ASSERT_TRUE(cache.has_grid());
    EXPECT_TRUE(cache.holds(-525, 275));
    EXPECT_TRUE(cache.holds(-355, 415));
    EXPECT_FALSE(cache.holds(-526, 300));
    EXPECT_FALSE(cache.holds(-500, 274));
    expect_plain_smears(*t, cache, -525, 275, -355, 415, random, 3000);

    // A margin far beyond the limit: the grid takes what fits, and the lines still match.
    cache.place_grid(0, 0, 700, 100, int64_t(1) << 40);
    ASSERT_TRUE(cache.has_grid());
    EXPECT_TRUE(cache.holds(-600, -600));
    EXPECT_FALSE(cache.holds(-1100, 50));
    expect_plain_smears(*t, cache, -1000, -1000, 1700, 1100, random, 1000);

    // A box over the limit makes no grid; every line takes the position cache.
    cache.place_grid(0, 0, 4096, 1024, 0);
    EXPECT_FALSE(cache.has_grid());
    expect_plain_smears(*t, cache, 0, 0, 300, 300, random, 300);
}

// A box at the ends of the 32-bit range is held inside it, whole tiles and all.
TEST(SurfaceCache, GridAtTheEndsOfThe32BitRange) {
    std::mt19937 random(9);
    const auto t = seeded_tables(6, 2);
    SurfaceCache cache(*t);
    cache.place_grid(int64_t(INT32_MAX) - 50, INT32_MIN, INT32_MAX, int64_t(INT32_MIN) + 50, 1000);
    ASSERT_TRUE(cache.has_grid());
    EXPECT_TRUE(cache.holds(INT32_MAX, INT32_MIN));
    EXPECT_TRUE(cache.holds(INT32_MAX - 1000, INT32_MIN + 1000));
    EXPECT_EQ(cache.smear(INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN), surface_value(*t, INT32_MAX, INT32_MIN));
    // Starts 130 in from the ends, so the lines reach them but do not wrap.
    expect_plain_smears(*t, cache, int64_t(INT32_MAX) - 300, int64_t(INT32_MIN) + 130, int64_t(INT32_MAX) - 130,
                        int64_t(INT32_MIN) + 300, random, 1000);
    // Lines that run to the last position of either end.
    for (int32_t k = 0; k < 60; k += 7) {
        EXPECT_EQ(cache.smear(INT32_MAX - k, INT32_MIN + 3, INT32_MAX, INT32_MIN + k), smear_line(*t, INT32_MAX - k, INT32_MIN + 3, INT32_MAX, INT32_MIN + k));
        EXPECT_EQ(cache.smear(INT32_MAX - 2, INT32_MIN + k, INT32_MAX - k, INT32_MIN), smear_line(*t, INT32_MAX - 2, INT32_MIN + k, INT32_MAX - k, INT32_MIN));
    }
}

// Steps over one position skip positions; those walks take the position cache.
TEST(SurfaceCache, LongerStepsMatchThePlainLine) {
    std::mt19937 random(10);
    const auto t = seeded_tables(7, 0);
    t->noise_step = 3;
    SurfaceCache cache(*t);
    cache.place_grid(0, 0, 200, 200, 0);
    expect_plain_smears(*t, cache, 0, 0, 200, 200, random, 1000);
}

// The default sun: the lines of every disc pixel of every 256 x 256 piece (one pixel in five)
// lie in the piece's grid, so none takes the slower position cache.
TEST(SurfaceCache, DefaultSunLinesStayInTheirPiecesGrid) {
    const auto context = prepared(default_settings(), full_request(4000, 3000));
    const KernelRings& k = context->rings;
    int lines = 0;
    for (int32_t top = 0; top < 3000; top += 256)
        for (int32_t left = 0; left < 4000; left += 256) {
            const RenderRect piece{left, top, std::min(left + 256, 4000), std::min(top + 256, 3000)};
            SurfaceCache cache(context->noise);
            place_piece_grid(*context, piece, cache);
            for (int32_t y = piece.top; y < piece.bottom; ++y)
                for (int32_t x = piece.left + y % 5; x < piece.right; x += 5) {
                    const int64_t dx = k.centre_x - x, dy = k.centre_y - y;
                    const int64_t F = int64_t(std::sqrt(16.0 * double(dx * dx + dy * dy)));
                    if (F >= k.rim_outer) continue;
                    const TexturePosition p = disc_texture_position(*context, x, y, F);
                    const SwirlPush push = swirl_push(context->noise, p.a, p.b);
                    ASSERT_TRUE(cache.holds(p.a, p.b) && cache.holds(wrap_add(p.a, push.x), wrap_add(p.b, push.y)))
                        << "pixel " << x << ", " << y;
                    ++lines;
                }
        }
    EXPECT_GT(lines, 100000);
}

// A sun smeared far beyond its pieces' grids: lines in, across and out of the grid in one
// piece, the jobs' kernel against the plain one.
TEST(SurfaceCache, KernelMatchesThePlainOneWhereLinesLeaveTheGrid) {
    const auto context = prepared(default_settings(), full_request(400, 300));
    context->noise.noise_step = 1;
    context->noise.swirl_strength = 2000;
    const int32_t x0 = int32_t(context->rings.centre_x), y0 = int32_t(context->rings.centre_y);
    const RenderRect piece{x0 - 20, y0 - 15, x0 + 20, y0 + 15};
    OwnedCellBuffer plain(piece), fast(piece);
    render_piece(*context, piece, plain.buffer);
    render_piece_fast(*context, piece, fast.buffer);
    ASSERT_EQ(plain.cells.size(), fast.cells.size());
    EXPECT_EQ(std::memcmp(plain.cells.data(), fast.cells.data(), plain.cells.size() * sizeof(Cell)), 0);

    // Some of those lines do leave the grid, and some stay in it.
    SurfaceCache cache(context->noise);
    place_piece_grid(*context, piece, cache);
    int inside = 0, outside = 0;
    for (int32_t y = piece.top; y < piece.bottom; ++y)
        for (int32_t x = piece.left; x < piece.right; ++x) {
            const int64_t dx = context->rings.centre_x - x, dy = context->rings.centre_y - y;
            const int64_t F = int64_t(std::sqrt(16.0 * double(dx * dx + dy * dy)));
            ASSERT_LT(F, context->rings.rim_outer);
            const TexturePosition p = disc_texture_position(*context, x, y, F);
            const SwirlPush push = swirl_push(context->noise, p.a, p.b);
            (cache.holds(wrap_add(p.a, push.x), wrap_add(p.b, push.y)) ? inside : outside) += 1;
        }
    EXPECT_GT(inside, 0);
    EXPECT_GT(outside, 0);
}

}  // namespace
}  // namespace corvanthe
