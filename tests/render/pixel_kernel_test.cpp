// The pixel kernel on whole renders, with the parts that are not under test switched
// dark so that expected colours can be worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "render/fast_kernel.h"
#include "render/pixel_kernel.h"
#include "render/render_fixture.h"

namespace corvanthe {
namespace {

using testing::OwnedCellBuffer;
using testing::render_area;

// Only the disc gives light: no spikes, a black halo, no flares, a dark bow.
SunSettings disc_only() {
    SunSettings s = testing::default_settings();
    s.spike_count = 0;
    s.halo_colour = {0, 0, 0};
    s.flare_count = 0;
    s.bow_brightness = 0;
    s.master_brightness = 25;
    s.x_center = 0.5f;
    s.y_center = 0.5f;
    return s;
}

// Flat sun of colour (100, 60, 20): ramp tops 199, 119, 39, taken to 16 bits.
SunSettings flat_sun() {
    SunSettings s = disc_only();
    s.sun_type = kSunFlat;
    s.sun_cold_hot = 50;
    s.sun_colour = {100 << 8, 60 << 8, 20 << 8};
    return s;
}
constexpr int32_t kFlatRed = (199 << 7) | 99, kFlatGreen = (119 << 7) | 59, kFlatBlue = (39 << 7) | 19;

const RenderRect kImage{0, 0, 100, 100};

TEST(TableLookup, InterpolatesInSevenBitSteps) {
    int32_t table[256];
    for (int i = 0; i < 256; ++i) table[i] = 2 * i;
    EXPECT_EQ(table_lookup(table, 1280), 2560);        // entry 10 exactly
    EXPECT_EQ(table_lookup(table, 1290), 2580);        // 118 * 20 + 10 * 22
    EXPECT_EQ(table_lookup(table, 127), 510);          // index (m + 1) >> 7 = 1
    EXPECT_EQ(table_lookup(table, 32767), 65280);      // bit 15 of m + 1: the top entry
    EXPECT_EQ(table_lookup(table, 32895), 65280);      // the largest disc value
    EXPECT_EQ(table_lookup(table, -5), 0);
    EXPECT_EQ(table_lookup(table, 65536 + 1280), 2560);  // taken as 16 bits
    EXPECT_EQ(table_lookup(table, 65535), 65280);
}

TEST(PixelKernel, CentrePixelTakesTheDiscColour) {
    auto c = testing::prepared(flat_sun(), testing::full_request(100, 100));
    auto out = render_area(*c, kImage);
    const Cell& centre = out->at(50, 50);
    EXPECT_EQ(centre.colour[0], float(kFlatRed) / 32768.0f);
    EXPECT_EQ(centre.colour[1], float(kFlatGreen) / 32768.0f);
    EXPECT_EQ(centre.colour[2], float(kFlatBlue) / 32768.0f);
    EXPECT_EQ(centre.colour[3], 32768.0f);
    EXPECT_EQ(centre.aux[2], 0u);

    // With a disc edge of 0 the centre lies in the rim band with k = 0: the same colour.
    SunSettings s = flat_sun();
    s.sun_radius = 0;
    RenderRequest r = testing::full_request(100, 100);
    r.scale_divisor = 5;  // edge 4 div 5 = 0
    c = testing::prepared(s, r);
    ASSERT_EQ(c->rings.disc_edge, 0);
    out = render_area(*c, {0, 0, 20, 20});
    EXPECT_EQ(out->at(10, 10).colour[0], float(kFlatRed) / 32768.0f);
    EXPECT_EQ(out->at(10, 10).aux[2], 0u);
}

TEST(PixelKernel, RimPixelsMixQuartersOfDiscAndOutside) {
    auto c = testing::prepared(flat_sun(), testing::full_request(100, 100));
    auto out = render_area(*c, kImage);
    int seen[5] = {};
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 100; ++x) {
            const Cell& cell = out->at(x, y);
            const uint32_t k = cell.aux[2];
            ASSERT_LE(k, 4u);
            ++seen[k];
            // Outside is black here, so a pixel holds 4 - k quarters of the disc.
            const int32_t red = kFlatRed * int32_t(4 - k) / 4;
            ASSERT_EQ(cell.colour[0], float(red) / 32768.0f) << x << "," << y << " k " << k;
        }
    for (int k = 0; k <= 4; ++k) EXPECT_GT(seen[k], 0) << "no pixel with k = " << k;
}

TEST(PixelKernel, NeutralColdHotKeepsTheChannelsProportional) {
    SunSettings s = disc_only();
    s.sun_cold_hot = 50;
    s.sun_colour = {100 << 8, 50 << 8, 25 << 8};  // ramps i * 200, 100, 50 / 256: no overflow
    auto c = testing::prepared(s, testing::full_request(100, 100));
    auto out = render_area(*c, kImage);
    int checked = 0;
    for (int32_t y = 40; y < 60; ++y)
        for (int32_t x = 40; x < 60; ++x) {
            const Cell& cell = out->at(x, y);
            if (cell.aux[2] != 0) continue;
            // Each ramp entry is truncated on its own: red - 2 green lies in 0..128 and
            // red - 4 blue in 0..384 (128 per unit the entries can differ by).
            const int32_t red = int32_t(cell.colour[0] * 32768), green = int32_t(cell.colour[1] * 32768),
                          blue = int32_t(cell.colour[2] * 32768);
            EXPECT_GE(red - 2 * green, 0);
            EXPECT_LE(red - 2 * green, 128);
            EXPECT_GE(red - 4 * blue, 0);
            EXPECT_LE(red - 4 * blue, 384);
            checked += red > 3000;
        }
    EXPECT_GT(checked, 50);
    // The centre samples the surface at texture (0, 0).
    const int64_t O = int64_t(disc_surface(c->noise, 0, 0)) * 129;
    EXPECT_EQ(out->at(50, 50).colour[0], float(table_lookup(c->disc[0], O)) / 32768.0f);
}

TEST(PixelKernel, EclipseIsABlackDiscWithEverythingElseAround) {
    SunSettings s = testing::default_settings();
    s.bow_radius = 60;  // keep the bow outside the disc
    auto normal = render_area(*testing::prepared(s, testing::full_request(100, 100)), kImage);
    s.sun_type = kSunEclipse;
    auto eclipse = render_area(*testing::prepared(s, testing::full_request(100, 100)), kImage);
    int inside = 0, lit_outside = 0;
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 100; ++x) {
            const Cell& a = normal->at(x, y);
            const Cell& b = eclipse->at(x, y);
            ASSERT_EQ(a.aux[2], b.aux[2]);
            if (b.aux[2] == 0) {
                ++inside;
                ASSERT_EQ(b.colour[0] + b.colour[1] + b.colour[2], 0.0f) << x << "," << y;
            } else if (b.aux[2] == 4) {
                ASSERT_EQ(std::memcmp(a.colour, b.colour, sizeof a.colour), 0) << x << "," << y;
                lit_outside += b.colour[0] > 0;
            } else {
                ASSERT_LE(b.colour[0], a.colour[0] + 1e-6f);  // black blended in
            }
        }
    EXPECT_GT(inside, 100);
    EXPECT_GT(lit_outside, 1000);
}

TEST(PixelKernel, MasterBrightnessZeroIsBlack) {
    SunSettings s = testing::default_settings();
    s.master_brightness = 0;
    auto out = render_area(*testing::prepared(s, testing::full_request(100, 100)), kImage);
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 100; ++x) {
            const Cell& cell = out->at(x, y);
            ASSERT_EQ(cell.colour[0] + cell.colour[1] + cell.colour[2], 0.0f);
            ASSERT_EQ(cell.colour[3], 32768.0f);
        }
}

TEST(PixelKernel, OverdrivenRedBleedsIntoGreenAndBlue) {
    SunSettings s = flat_sun();
    s.sun_colour = {255 << 8, 0, 0};  // ramp top 508: full 32768
    s.master_brightness = 30;         // red 39321: 6553 over the ceiling
    auto out = render_area(*testing::prepared(s, testing::full_request(100, 100)), kImage);
    // X = (3 * 6553 * 60) >> 8 = 4607; each other channel gains X >> 1.
    EXPECT_EQ(out->at(50, 50).colour[0], 1.0f);
    EXPECT_EQ(out->at(50, 50).colour[1], 2303 / 32768.0f);
    EXPECT_EQ(out->at(50, 50).colour[2], 2303 / 32768.0f);

    // 8-bit: 32768 * 30 div 3225 = 304, 49 over 255: X = 34, Y = 17.
    out = render_area(*testing::prepared(s, testing::full_request(100, 100, DepthClass::Eight)), kImage);
    EXPECT_EQ(out->at(50, 50).colour[0], 1.0f);
    EXPECT_EQ(out->at(50, 50).colour[1], 17 / 255.0f);
    EXPECT_EQ(out->at(50, 50).colour[3], 255.0f);

    // Float: the ceiling is 65535, so red keeps its light above full intensity, on the
    // 16-bit scale over 32768.
    out = render_area(*testing::prepared(s, testing::full_request(100, 100, DepthClass::Float)), kImage);
    EXPECT_EQ(out->at(50, 50).colour[0], 39321 / 32768.0f);
    EXPECT_EQ(out->at(50, 50).colour[1], 0.0f);
    EXPECT_EQ(out->at(50, 50).colour[3], 1.0f);
}

TEST(PixelKernel, SpikesAreLinesThroughTheCentre) {
    SunSettings s = disc_only();
    s.spike_count = 100;
    s.spike_brightness = 100;
    auto c = testing::prepared(s, testing::full_request(101, 101));
    auto out = render_area(*c, {0, 0, 101, 101});
    int lit = 0;
    for (int32_t v = -50; v <= 50; ++v)
        for (int32_t u = -50; u <= 50; ++u) {
            const Cell& a = out->at(50 + u, 50 + v);
            const Cell& b = out->at(50 - u, 50 - v);
            if (a.aux[2] != 4) continue;
            ASSERT_EQ(std::memcmp(a.colour, b.colour, sizeof a.colour), 0) << u << "," << v;
            lit += a.colour[0] > 0;
        }
    EXPECT_GT(lit, 200);
}

TEST(PixelKernel, AFlareSpanningAngleZeroIsFound) {
    SunSettings s = disc_only();
    s.flare_count = 1;
    s.flare_brightness = 100;
    auto c = testing::prepared(s, testing::full_request(100, 100));
    // Pixels straight left of the centre have angle 0; outside the rim (15 px) and inside
    // the flare reach (36 px).
    auto lit_pixels = [&](int32_t start_angle, int32_t x_from, int32_t x_to) {
        c->flare_angles[0] = start_angle;
        auto out = render_area(*c, kImage);
        int lit = 0;
        for (int32_t x = x_from; x <= x_to; ++x) lit += out->at(x, 50).colour[0] > 0;
        return lit;
    };
    const int32_t middle_at_zero = 16384 - 2007 / 2;  // the span runs 15381..17388
    EXPECT_GT(lit_pixels(middle_at_zero, 15, 35), 0);
    EXPECT_EQ(lit_pixels(middle_at_zero, 65, 85), 0);  // angle 8192, outside the span
    EXPECT_EQ(lit_pixels(8000, 15, 35), 0);
}

// A flare's start jitters up to a quarter turn either way, so default suns have flares that
// start below angle 0 (and above a full turn); each must light the angles on both sides of
// the left ray just as the same flare started a turn on or back does, in either kernel.
TEST(PixelKernel, FlareStartsATurnApartDrawTheSameLight) {
    auto c = testing::prepared(testing::default_settings(), testing::full_request(400, 250));
    const RenderRect image{0, 0, 400, 250};
    int below_zero = 0;
    for (int n = 0; n < c->rings.flare_count; ++n) below_zero += c->flare_angles[n] < 0;
    ASSERT_GT(below_zero, 0);
    const auto as_prepared = render_area(*c, image);
    OwnedCellBuffer fast(image);
    render_piece_fast(*c, image, fast.buffer);
    for (int n = 0; n < c->rings.flare_count; ++n) {
        int32_t& s = c->flare_angles[n];
        s = s < 0 ? s + 16384 : s >= 16384 ? s - 16384 : s;
    }
    const auto within_a_turn = render_area(*c, image);
    for (int32_t y = 0; y < 250; ++y)
        for (int32_t x = 0; x < 400; ++x) {
            ASSERT_EQ(std::memcmp(&as_prepared->at(x, y), &within_a_turn->at(x, y), sizeof(Cell)), 0) << x << "," << y;
            ASSERT_EQ(std::memcmp(&fast.at(x, y), &within_a_turn->at(x, y), sizeof(Cell)), 0) << x << "," << y;
        }
}

TEST(PixelKernel, WritesOnlyThePieceAndItsCells) {
    auto c = testing::prepared(testing::default_settings(), testing::full_request(100, 100));
    const RenderRect piece{10, 20, 30, 25};
    OwnedCellBuffer cells(piece);
    render_piece(*c, piece, cells.buffer);
    for (int32_t y = piece.top - 1; y <= piece.bottom; ++y)
        for (int32_t x = piece.left - 1; x <= piece.right; ++x) {
            const bool inside = x >= piece.left && x < piece.right && y >= piece.top && y < piece.bottom;
            EXPECT_EQ(cells.at(x, y).colour[3], inside ? 32768.0f : 0.0f) << x << "," << y;
        }
}

}  // namespace
}  // namespace corvanthe
