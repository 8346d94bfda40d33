#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "layers/interpolated_read.h"
#include "layers/interpolation_tables.h"
#include "layers/level_filter.h"
#include "layers/resample.h"
#include "layers/thumbnail.h"
#include "render/worker_pool.h"

namespace corvanthe {
namespace {

struct Store {
    LayerStore s;
    Store() { attach_store(s, nullptr, &interpolation_tables()); }
    Store(int32_t w, int32_t h, PixelKind kind) : Store() { EXPECT_TRUE(init_store(s, w, h, kind)); }
    ~Store() { free_store(&s); }
};

struct Processors {
    explicit Processors(int32_t n) { set_processor_override(n); }
    ~Processors() { set_processor_override(0); }
};

void fill(LayerStore& store, int32_t level, PixelValue v) {
    for (int32_t y = 0; y < store.levels[level].height; ++y)
        for (int32_t x = 0; x < store.levels[level].width; ++x) set_pixel(store, x, y, level, v);
}

// A deterministic pattern of element values, noisy enough to show any misplaced pixel.
void fill_pattern(LayerStore& store, float scale) {
    uint32_t seed = 12345;
    for (int32_t y = 0; y < store.levels[0].height; ++y)
        for (int32_t x = 0; x < store.levels[0].width; ++x) {
            float c[4];
            for (float& v : c) {
                seed = seed * 1103515245u + 12345u;
                v = float((seed >> 16) % 256) * scale;
            }
            set_pixel(store, x, y, 0, {c[0], c[1], c[2], c[3]});
        }
}

bool all_equal(const LayerStore& store, int32_t level, PixelValue v) {
    for (int32_t y = 0; y < store.levels[level].height; ++y)
        for (int32_t x = 0; x < store.levels[level].width; ++x) {
            const PixelValue p = get_pixel(store, x, y, level);
            if (p.red != v.red || p.green != v.green || p.blue != v.blue || p.alpha != v.alpha) return false;
        }
    return true;
}

TEST(LevelsTables, IntegerWeightsSumExactlyPerPhase) {
    const InterpolationTables& t = interpolation_tables();
    EXPECT_EQ(&t, &interpolation_tables());  // one set for the process
    for (int32_t i = 0; i < kPhases; ++i) {
        int32_t small = 0, large = 0;
        float real = 0.0f;
        for (int32_t k = 0; k < kTaps; ++k) {
            small += t.weights_2048[i][k];
            large += t.weights_32768[i][k];
            real += t.weights[i][k];
            // the three precisions describe the same kernel: taps 0..3 are truncated (less than a unit
            // off), the last takes up what the others lost
            const double units = k < kTaps - 1 ? 1.001 : 4.001;
            EXPECT_NEAR(t.weights_2048[i][k] / 2048.0, t.weights[i][k], units / 2048) << i << " " << k;
            EXPECT_NEAR(t.weights_32768[i][k] / 32768.0, t.weights[i][k], units / 32768) << i << " " << k;
        }
        EXPECT_EQ(small, 2048) << i;
        EXPECT_EQ(large, 32768) << i;
        EXPECT_NEAR(real, 1.0f, 1e-6f) << i;
    }
}

TEST(LevelsFilter, UniformStoresStayUniform) {
    WorkerPool pool;
    Store f(37, 23, PixelKind::rgba_float);
    fill(f.s, 0, {0.3f, 1.7f, 0.0f, 1.0f});
    ASSERT_TRUE(build_levels(f.s, 0, pool));
    EXPECT_EQ(f.s.level_state, kLevelsBuilt);
    for (int32_t level = 1; level <= f.s.last_level; ++level)
        EXPECT_TRUE(all_equal(f.s, level, {0.3f, 1.7f, 0.0f, 1.0f})) << level;

    // integer kinds divide by 1630 instead of 1640: v becomes trunc(v * 164 / 163), capped at one
    Store b(40, 40, PixelKind::rgba8);
    fill(b.s, 0, {200, 255, 0, 163});
    ASSERT_TRUE(build_levels(b.s, 0, pool));
    EXPECT_TRUE(all_equal(b.s, 1, {201, 255, 0, 164}));
    EXPECT_TRUE(all_equal(b.s, 2, {202, 255, 0, 164 * 164 / 163}));

    Store w(9, 30, PixelKind::rgba16);
    fill(w.s, 0, {32768, 16000, 65535, 1});
    ASSERT_TRUE(build_levels(w.s, 0, pool));
    EXPECT_TRUE(all_equal(w.s, 1, {32768, 16000 * 164 / 163, 32768, 1}));
}

TEST(LevelsFilter, TwoByTwoGivesTheMean) {
    WorkerPool pool;
    const float a[4] = {10, 200, 33, 255}, b[4] = {0, 17, 250, 1}, c[4] = {99, 99, 99, 99}, d[4] = {255, 3, 128, 64};
    for (PixelKind kind : {PixelKind::rgba8, PixelKind::rgba16}) {
        Store s(2, 2, kind);
        set_pixel(s.s, 0, 0, 0, {a[0], a[1], a[2], a[3]});
        set_pixel(s.s, 1, 0, 0, {b[0], b[1], b[2], b[3]});
        set_pixel(s.s, 0, 1, 0, {c[0], c[1], c[2], c[3]});
        set_pixel(s.s, 1, 1, 0, {d[0], d[1], d[2], d[3]});
        ASSERT_TRUE(build_levels(s.s, 0, pool));
        ASSERT_EQ(s.s.last_level, 1);
        const PixelValue m = get_pixel(s.s, 0, 0, 1);
        const float got[4] = {m.red, m.green, m.blue, m.alpha};
        for (int32_t ch = 0; ch < 4; ++ch)  // each pixel weighs 410 of 1640; the divisor is 1630
            EXPECT_EQ(got[ch], float(int32_t(410 * (a[ch] + b[ch] + c[ch] + d[ch])) / 1630)) << ch;
    }
    Store f(2, 2, PixelKind::rgba_float);
    set_pixel(f.s, 0, 0, 0, {0.1f, 2, 0, 0});
    set_pixel(f.s, 1, 0, 0, {0.2f, 4, 0, 0});
    set_pixel(f.s, 0, 1, 0, {0.3f, 6, 0, 0});
    set_pixel(f.s, 1, 1, 0, {0.4f, 8, 0, 0});
    ASSERT_TRUE(build_levels(f.s, 0, pool));
    EXPECT_FLOAT_EQ(get_pixel(f.s, 0, 0, 1).red, 0.25f);
    EXPECT_EQ(get_pixel(f.s, 0, 0, 1).green, 65535.0f / 32768.0f);  // the mean 5 held to the float ceiling
}

// The 6 x 6 filter written out plainly from the kernel table.
PixelValue reference_filter(const LayerStore& s, int32_t a, int32_t x, int32_t y) {
    static const int32_t w[6][6] = {{0, 1, 4, 4, 1, 0},       {1, 16, 64, 64, 16, 1}, {4, 64, 256, 256, 64, 4},
                                    {4, 64, 256, 256, 64, 4}, {1, 16, 64, 64, 16, 1}, {0, 1, 4, 4, 1, 0}};
    double sum[4] = {};  // exact here: integer elements, or floats times small integers
    for (int32_t r = 0; r < 6; ++r)
        for (int32_t c = 0; c < 6; ++c) {
            const int32_t sx = std::clamp(2 * x - 2 + c, 0, s.levels[a].width - 1);
            const int32_t sy = std::clamp(2 * y - 2 + r, 0, s.levels[a].height - 1);
            const PixelValue p = get_pixel(s, sx, sy, a);
            sum[0] += w[r][c] * double(p.red), sum[1] += w[r][c] * double(p.green);
            sum[2] += w[r][c] * double(p.blue), sum[3] += w[r][c] * double(p.alpha);
        }
    float out[4];
    for (int32_t ch = 0; ch < 4; ++ch) {
        if (s.kind == PixelKind::rgba_float)
            out[ch] = float(std::clamp(sum[ch] / 1640, 0.0, 65535.0 / 32768.0));
        else
            out[ch] = float(std::min(int64_t(sum[ch]) / 1630, s.kind == PixelKind::rgba8 ? int64_t(255) : int64_t(32768)));
    }
    return {out[0], out[1], out[2], out[3]};
}

std::vector<uint8_t> all_bytes(const LayerStore& s) {
    std::vector<uint8_t> bytes;
    for (int32_t i = 0; i < s.tile_count; ++i) {
        const auto* p = static_cast<const uint8_t*>(s.tiles[i].block);
        bytes.insert(bytes.end(), p, p + size_t(s.tiles[i].width) * s.tiles[i].height * s.bytes_per_pixel);
    }
    return bytes;
}

TEST(LevelsFilter, MatchesThePlainFilterAcrossTilesAndThreads) {
    for (PixelKind kind : {PixelKind::rgba8, PixelKind::rgba16, PixelKind::rgba_float}) {
        // Level 1 is 516 x 36: two tiles across, and pieces of 256 meet inside them.
        Store one(1031, 70, kind), many(1031, 70, kind), serial(1031, 70, kind);
        const float scale = kind == PixelKind::rgba16 ? 200.0f : kind == PixelKind::rgba_float ? 0.37f : 1.0f;
        for (LayerStore* s : {&one.s, &many.s, &serial.s}) fill_pattern(*s, scale);
        {
            Processors p(1);
            WorkerPool pool;
            ASSERT_TRUE(build_levels(one.s, 0, pool));
        }
        {
            Processors p(4);
            WorkerPool pool;
            ASSERT_TRUE(build_levels(many.s, 0, pool));
        }
        WorkerPool serial_pool(true);
        ASSERT_TRUE(build_levels(serial.s, 0, serial_pool));
        EXPECT_TRUE(all_bytes(one.s) == all_bytes(many.s));
        EXPECT_TRUE(all_bytes(one.s) == all_bytes(serial.s));
        int wrong = 0;
        for (int32_t a = 0; a < many.s.last_level; ++a)
            for (int32_t y = 0; y < many.s.levels[a + 1].height; ++y)
                for (int32_t x = 0; x < many.s.levels[a + 1].width; ++x) {
                    const PixelValue want = reference_filter(many.s, a, x, y), got = get_pixel(many.s, x, y, a + 1);
                    wrong += std::memcmp(&want, &got, sizeof want) != 0;
                }
        EXPECT_EQ(wrong, 0) << int(kind);
    }
}

// A plain interpolated read: every pixel through the clamping read, the arithmetic as stated.
PixelValue reference_read(const LayerStore& s, int32_t level, float x, float y) {
    const InterpolationTables& t = interpolation_tables();
    const int32_t m = int32_t(std::floor(x + 0.5f)), n = int32_t(std::floor(y + 0.5f));
    const int32_t px = int32_t((x + 0.5f - float(m)) * 128), py = int32_t((y + 0.5f - float(n)) * 128);
    float out[4];
    for (int32_t ch = 0; ch < 4; ++ch) {
        auto value = [&](int32_t j, int32_t i) {
            const PixelValue p = get_pixel(s, m - 2 + j, n - 2 + i, level);
            const float c[4] = {p.red, p.green, p.blue, p.alpha};
            return c[ch];
        };
        if (s.kind == PixelKind::rgba8) {
            int64_t sum = 0;
            for (int32_t i = 0; i < 5; ++i)
                for (int32_t j = 0; j < 5; ++j)
                    sum += int64_t(t.weights_2048[px][4 - j]) * t.weights_2048[py][4 - i] * int64_t(value(j, i));
            out[ch] = float(std::ldexp(double(sum), -22));
        } else if (s.kind == PixelKind::rgba16) {
            int64_t sum = 0;
            for (int32_t i = 0; i < 5; ++i) {
                int64_t row = 0;
                for (int32_t j = 0; j < 5; ++j) row += int64_t(t.weights_32768[px][4 - j]) * int64_t(value(j, i));
                sum += t.weights_32768[py][4 - i] * (row / 32768);
            }
            out[ch] = float(std::ldexp(double(sum), -15));
        } else {
            float sum = 0;
            for (int32_t i = 0; i < 5; ++i) {
                float row = 0;
                for (int32_t j = 0; j < 5; ++j) row += t.weights[px][4 - j] * value(j, i);
                sum += t.weights[py][4 - i] * row;
            }
            out[ch] = sum;
        }
    }
    return {out[0], out[1], out[2], out[3]};
}

TEST(LevelsRead, DirectTilePathMatchesThePlainRead) {
    for (PixelKind kind : {PixelKind::rgba8, PixelKind::rgba16, PixelKind::rgba_float}) {
        Store s(1030, 520, kind);
        fill_pattern(s.s, kind == PixelKind::rgba16 ? 128.0f : kind == PixelKind::rgba_float ? 0.01f : 1.0f);
        int wrong = 0, checked = 0;
        // around tile seams (508..516), the image edges and plain interior positions, at many phases
        for (float y : {0.0f, 1.3f, 2.5f, 7.77f, 506.2f, 509.5f, 511.9f, 514.01f, 517.6f, 519.0f})
            for (float x = -3.0f; x < 1034.0f; x += 1.37f) {
                const PixelValue want = reference_read(s.s, 0, x, y), got = interpolated_read(s.s, 0, x, y);
                wrong += std::memcmp(&want, &got, sizeof want) != 0;
                ++checked;
            }
        EXPECT_EQ(wrong, 0) << int(kind) << " of " << checked;
    }
}

TEST(LevelsRead, UniformReadsExactlyAndAnImpulseSpreads) {
    Store b(20, 20, PixelKind::rgba8);
    fill(b.s, 0, {77, 0, 255, 255});
    const PixelValue u = interpolated_read(b.s, 0, 9.3f, 4.71f);
    EXPECT_EQ(u.red, 77.0f);  // the integer weights sum exactly to their scale
    EXPECT_EQ(u.blue, 255.0f);
    Store w(20, 20, PixelKind::rgba16);
    fill(w.s, 0, {12345, 0, 32768, 1});
    EXPECT_EQ(interpolated_read(w.s, 0, 3.9f, 15.2f).red, 12345.0f);

    fill(b.s, 0, {0, 0, 0, 0});
    set_pixel(b.s, 10, 10, 0, {255, 0, 0, 0});
    const PixelValue at = interpolated_read(b.s, 0, 10.0f, 10.0f);  // phase 0 on the pixel itself
    EXPECT_LT(at.red, 255.0f);
    EXPECT_GT(at.red, 0.0f);
    EXPECT_GT(interpolated_read(b.s, 0, 11.0f, 10.0f).red, 0.0f);
    // far outside reads the edge, no fault
    EXPECT_EQ(interpolated_read(b.s, 0, -1e30f, NAN).red, 0.0f);
}

TEST(LevelsRead, TrilinearBlendsTwoLevels) {
    Store s(64, 64, PixelKind::rgba8);
    fill(s.s, 1, {51, 0, 0, 255});
    fill(s.s, 2, {153, 0, 0, 255});
    const PixelValue at_1 = trilinear_read(s.s, 1, 0.0f, 0.3f, 0.6f);
    EXPECT_FLOAT_EQ(at_1.red, 0.2f);
    EXPECT_FLOAT_EQ(at_1.alpha, 1.0f);
    EXPECT_FLOAT_EQ(trilinear_read(s.s, 1, 0.5f, 0.9f, 0.1f).red, 0.4f);
    EXPECT_FLOAT_EQ(trilinear_read(s.s, 1, 0.25f, 0.5f, 0.5f).red, 0.3f);
    EXPECT_FLOAT_EQ(trilinear_read(s.s, -4, 0.0f, 0.5f, 0.5f).red, 0.0f);  // level 0, never filled
}

TEST(LevelsResample, ReductionByFourWithBiasHalfReadsLevelsOneAndTwo) {
    const LevelChoice choice = resample_level(1000.0f / 250.0f, 0.5f, 9);
    EXPECT_EQ(choice.level, 1);
    EXPECT_EQ(choice.fraction, 0.5f);
    EXPECT_EQ(resample_level(0.25f, 0.5f, 9).level, 0);  // enlargement reads level 0
    EXPECT_EQ(resample_level(1e9f, 0.0f, 5).level, 5);

    Store source(1000, 40, PixelKind::rgba_float), target(250, 10, PixelKind::rgba_float);
    fill(source.s, 1, {0.2f, 100000.0f, -3.0f, 1.0f});
    fill(source.s, 2, {0.6f, 100000.0f, -3.0f, 3.0f});
    source.s.level_state = kLevelsBuilt;  // levels of their own, to show which ones are read
    WorkerPool pool;
    ASSERT_TRUE(resample(source.s, target.s, level_rect(&source.s, 0), level_rect(&target.s, 0), 0.5f, pool));
    EXPECT_EQ(target.s.level_state, kLevelsBuilt);
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 250; ++x) {
            const PixelValue v = get_pixel(target.s, x, y, 0);
            ASSERT_NEAR(v.red, 0.4f, 1e-5f);
            ASSERT_EQ(v.green, 65535.0f / 32768.0f);  // colour capped just under 2 for float stores
            ASSERT_EQ(v.blue, 0.0f);
            ASSERT_EQ(v.alpha, 1.0f);  // alpha capped at 1
        }
}

// Reduced reads take the levels below 0, which hold the image only once they are built from
// level 0 after its last change; until then a reduction is refused and writes nothing.
TEST(LevelsResample, AReductionNeedsLevelsBuiltSinceLevelZeroChanged) {
    WorkerPool pool;
    Store source(400, 400, PixelKind::rgba8), target(100, 100, PixelKind::rgba8);
    fill(source.s, 0, {200, 100, 50, 255});
    fill(target.s, 0, {1, 2, 3, 4});
    EXPECT_FALSE(copy_store(source.s, target.s, pool));
    EXPECT_TRUE(all_equal(target.s, 0, {1, 2, 3, 4}));

    ASSERT_TRUE(build_levels(source.s, 0, pool));
    ASSERT_TRUE(copy_store(source.s, target.s, pool));
    EXPECT_NEAR(get_pixel(target.s, 50, 50, 0).red, 200.0f, 2.0f);

    set_pixel(source.s, 7, 7, 0, {0, 0, 0, 0});  // level 0 changed: the levels are stale
    EXPECT_FALSE(copy_store(source.s, target.s, pool));
    Store enlarged(800, 800, PixelKind::rgba8);  // level 0 alone serves an enlargement
    EXPECT_TRUE(copy_store(source.s, enlarged.s, pool));
}

TEST(LevelsCopy, SameSizeCopiesOtherwiseResamples) {
    WorkerPool pool;
    Store a(300, 200, PixelKind::rgba8), b(300, 200, PixelKind::rgba8);
    fill_pattern(a.s, 1.0f);
    ASSERT_TRUE(copy_store(a.s, b.s, pool));
    for (int32_t y = 0; y < 200; y += 7)
        for (int32_t x = 0; x < 300; x += 5) {
            const PixelValue p = get_pixel(a.s, x, y, 0), q = get_pixel(b.s, x, y, 0);
            ASSERT_EQ(std::memcmp(&p, &q, sizeof p), 0);
        }
    const PixelValue filtered = reference_filter(b.s, 0, 17, 9), built = get_pixel(b.s, 17, 9, 1);
    EXPECT_EQ(std::memcmp(&filtered, &built, sizeof built), 0);

    Store wide(300, 200, PixelKind::rgba16);  // same size, other kind: converted
    fill(a.s, 0, {255, 0, 51, 255});
    ASSERT_TRUE(copy_store(a.s, wide.s, pool));
    const PixelValue w = get_pixel(wide.s, 5, 5, 0);
    EXPECT_EQ(w.red, 32768.0f);
    EXPECT_EQ(w.blue, 6553.0f);  // 0.2 x 32768, truncated
    EXPECT_EQ(wide.s.level_state, kLevelsBuilt);

    Store f(256, 256, PixelKind::rgba_float), small(128, 64, PixelKind::rgba_float);
    fill(f.s, 0, {0.5f, 0.25f, 0.125f, 1.0f});
    ASSERT_TRUE(build_levels(f.s, 0, pool));
    ASSERT_TRUE(copy_store(f.s, small.s, pool));
    EXPECT_NEAR(get_pixel(small.s, 100, 60, 0).red, 0.5f, 1e-5f);
    EXPECT_NEAR(get_pixel(small.s, 0, 0, 0).blue, 0.125f, 1e-5f);

    Store none;
    EXPECT_FALSE(copy_store(none.s, small.s, pool));
}

TEST(LevelsThumbnail, CaptureTakesTheCentredSquare) {
    // 300 x 100 RGB preview: the centred square (columns 100..199) is green, the rest blue.
    const int32_t w = 300, h = 100, row_bytes = 304, plane_bytes = row_bytes * h;
    std::vector<uint8_t> planes(size_t(plane_bytes) * 3, 0);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const bool inside = x >= 100 && x < 200;
            planes[size_t(plane_bytes) + size_t(y) * row_bytes + x] = inside ? 180 : 0;
            planes[2 * size_t(plane_bytes) + size_t(y) * row_bytes + x] = inside ? 0 : 255;
        }
    Store thumb(kThumbnailSide, kThumbnailSide, PixelKind::rgba8);
    WorkerPool pool;
    ASSERT_TRUE(capture_thumbnail(thumb.s, {planes.data(), w, h, row_bytes, plane_bytes, 3}, pool));
    for (int32_t y = 0; y < kThumbnailSide; y += 3)
        for (int32_t x = 0; x < kThumbnailSide; x += 3) {
            const PixelValue v = get_pixel(thumb.s, x, y, 0);
            ASSERT_EQ(v.red, 0.0f);
            ASSERT_NEAR(v.green, 180.0f, 1.0f) << x << " " << y;
            ASSERT_EQ(v.blue, 0.0f) << x << " " << y;
            ASSERT_EQ(v.alpha, 255.0f);
        }

    // a grey preview gives equal channels
    std::vector<uint8_t> grey(size_t(50) * 50, 90);
    ASSERT_TRUE(capture_thumbnail(thumb.s, {grey.data(), 50, 50, 50, 0, 1}, pool));
    const PixelValue g = get_pixel(thumb.s, 64, 64, 0);
    EXPECT_NEAR(g.red, 90.0f, 1.0f);
    EXPECT_EQ(g.red, g.blue);

    // without a preview nothing changes
    EXPECT_FALSE(capture_thumbnail(thumb.s, {nullptr, 50, 50, 50, 0, 1}, pool));
    EXPECT_EQ(get_pixel(thumb.s, 64, 64, 0).green, g.green);
}

}  // namespace
}  // namespace corvanthe
