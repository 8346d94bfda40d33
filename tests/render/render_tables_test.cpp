// The tables render_prepare derives from the settings, checked against values worked
// out by hand from their definitions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "render/pixel_kernel.h"
#include "render/render_fixture.h"
#include "render/render_prepare.h"
#include "render/render_settings.h"
#include "render/render_units.h"
#include "sdk/filter_record.h"

namespace corvanthe {
namespace {

using testing::default_settings;
using testing::full_request;
using testing::prepared;

TEST(RenderUnits, SizeIsQuadraticInTheShorterSideAndNeverBelowOnePixel) {
    EXPECT_EQ(size_px(100, 1000, 600), 600);
    EXPECT_EQ(size_px(50, 1000, 600), 150);  // 50 gives a quarter
    EXPECT_EQ(size_px(38, 1000, 1000), 144);
    EXPECT_EQ(size_px(0, 1000, 600), 1);
    EXPECT_EQ(size_px(3, 1000, 600), 1);     // 9 div 10 = 0
    EXPECT_EQ(size_px(100, 0, 0), 1);
    EXPECT_DOUBLE_EQ(base_length(1000, 600), 0.6);
    EXPECT_DOUBLE_EQ(base_length(0, 600), 0.000001);
}

TEST(RenderUnits, DirectionAngleRunsFromPlusXTowardsPlusY) {
    EXPECT_EQ(direction_of(1, 0).angle, 0);
    EXPECT_EQ(direction_of(0, 1).angle, 90);
    EXPECT_EQ(direction_of(-1, 0).angle, 180);
    EXPECT_EQ(direction_of(0, -1).angle, 270);
    EXPECT_EQ(direction_of(0.5f, 0.5f).angle, 45);
    // Cut to whole 33rds, (-9, -5) lies at 209.05 degrees; the arc tangent is truncated
    // toward zero (-60.9 to -60) before the quarter-turn shift, which gives 210.
    EXPECT_EQ(direction_of(-0.3f, -0.18f).angle, 210);
    EXPECT_EQ(direction_of(0, 0).angle, 270);
    EXPECT_DOUBLE_EQ(direction_of(0, 0).length, 0);
    EXPECT_NEAR(direction_of(0.6f, 0.8f).length, 1.0, 1e-6);
}

TEST(RenderSettings, InRangeValuesAreUntouched) {
    const SunSettings s = default_settings();
    const SunSettings r = settings_in_range(s);
    EXPECT_EQ(std::memcmp(&s, &r, sizeof s), 0);
}

TEST(RenderSettings, OutOfRangeValuesAreBroughtIn) {
    SunSettings s = default_settings();
    s.sun_radius = 1000;
    s.flare_count = -7;
    s.spike_count = INT32_MAX;
    s.vortices = 7;
    s.monopoles = -1;
    s.sun_type = 0;
    s.glue = 40;
    s.flare_x = std::numeric_limits<float>::quiet_NaN();
    s.spike_y = -std::numeric_limits<float>::infinity();
    s.x_center = std::numeric_limits<float>::infinity();
    s.random_seed = 70000;
    const SunSettings r = settings_in_range(s);
    EXPECT_EQ(r.sun_radius, 100);
    EXPECT_EQ(r.flare_count, 0);
    EXPECT_EQ(r.spike_count, 100);
    EXPECT_EQ(r.vortices, 1);
    EXPECT_EQ(r.monopoles, 1);
    EXPECT_EQ(r.sun_type, 1);
    EXPECT_EQ(r.glue, 19);
    EXPECT_EQ(r.flare_x, 0.0f);
    EXPECT_EQ(r.spike_y, 0.0f);
    EXPECT_EQ(r.x_center, 0.0f);
    EXPECT_EQ(r.y_center, s.y_center);
    EXPECT_EQ(r.random_seed, 70000);  // taken as unsigned 16-bit where it is used
}

TEST(RenderPrepare, RandomTableFollowsTheSeedAsAnUnsigned16BitValue) {
    SunSettings s = default_settings();
    s.random_seed = 3;
    const auto a = prepared(s, full_request(64, 64));
    s.random_seed = 65536 + 3;
    const auto b = prepared(s, full_request(64, 64));
    s.random_seed = 4;
    const auto c = prepared(s, full_request(64, 64));
    EXPECT_EQ(a->noise.random, b->noise.random);
    EXPECT_NE(a->noise.random, c->noise.random);
    for (int32_t v : a->noise.random) {
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 255);
    }
}

TEST(RenderPrepare, HaloTableReddensOutward) {
    SunSettings s = default_settings();  // halo colour (207, 151, 64)
    s.halo_brightness = 50;              // exponent 1: g = i / 256
    auto c = prepared(s, full_request(100, 100));
    EXPECT_EQ(c->halo[0][0], 0);
    EXPECT_EQ(c->halo[0][128], 6624);  // 0.5 * ((207 * 128) >> 1)
    EXPECT_EQ(c->halo[1][128], 2416);  // 0.5 * ((151 * 64) >> 1)
    EXPECT_EQ(c->halo[2][128], 512);   // 0.5 * ((64 * 32) >> 1)
    s.halo_brightness = 0;             // exponent 9
    c = prepared(s, full_request(100, 100));
    EXPECT_EQ(c->halo[0][255], 25478);  // (255/256)^9 * 26392
    EXPECT_EQ(c->halo[1][255], 18513);
    EXPECT_EQ(c->halo[2][255], 7815);
}

TEST(RenderPrepare, FlareTableAndSpikeProfile) {
    SunSettings s = default_settings();  // flare colour (185, 158, 58)
    s.spike_gamma = 75;                  // exponent 3
    auto c = prepared(s, full_request(100, 100));
    EXPECT_EQ(c->flare[0][255], 737);  // 185 * 255 >> 6
    EXPECT_EQ(c->flare[1][255], 628);  // 158 * (255 + 254) >> 7
    EXPECT_EQ(c->flare[2][255], 230);  // 58 * 254 >> 6
    EXPECT_EQ(c->spike_profile[0], 0);
    EXPECT_EQ(c->spike_profile[150], 37);  // 300 / 8
    EXPECT_EQ(c->spike_profile[300], 300);
    s.spike_gamma = 25;
    c = prepared(s, full_request(100, 100));
    EXPECT_EQ(c->spike_profile[150], 150);
}

TEST(RenderPrepare, DiscRampIsNeutralAt50AndLagsRedOrBlueOtherwise) {
    SunSettings s = default_settings();  // sun colour (142, 135, 191): r, g, b = 284, 270, 382
    s.sun_cold_hot = 50;
    auto c = prepared(s, full_request(100, 100));
    for (int i : {0, 17, 128, 200, 255}) {
        EXPECT_EQ(c->disc[0][i], i * 284 / 256);
        EXPECT_EQ(c->disc[1][i], i * 270 / 256);
        EXPECT_EQ(c->disc[2][i], i * 382 / 256);
    }
    s.sun_cold_hot = 0;
    c = prepared(s, full_request(100, 100));
    EXPECT_EQ(c->disc[0][128], 35);   // cubic: (128^3 >> 16) = 32, * 284 / 256
    EXPECT_EQ(c->disc[1][128], 67);   // quadratic: 64 * 270 / 256
    EXPECT_EQ(c->disc[2][128], 191);  // linear
    s.sun_cold_hot = 100;
    c = prepared(s, full_request(100, 100));
    EXPECT_EQ(c->disc[0][128], 142);
    EXPECT_EQ(c->disc[1][128], 67);
    EXPECT_EQ(c->disc[2][128], 47);   // 32 * 382 / 256
}

TEST(RenderPrepare, DirectionPairsCrossOver) {
    SunSettings s = default_settings();
    s.flare_x = 1;
    s.flare_y = 0;
    s.spike_x = 0;
    s.spike_y = 1;
    const auto c = prepared(s, full_request(100, 100));
    EXPECT_EQ(c->spike_direction.angle, 0);
    EXPECT_EQ(c->flare_direction.angle, 90);
}

TEST(RenderPrepare, FlareAnglesSpreadAtLengthZeroAndAlignFromOneOver1Point1) {
    SunSettings s = default_settings();  // flare width 49: 2007 units
    s.spike_x = 0;
    s.spike_y = 0;  // angle 270, full spread
    auto c = prepared(s, full_request(100, 100));
    const int32_t base = 270 * 16384 / 360 - 2007 / 2;  // 11285
    int32_t low = INT32_MAX, high = INT32_MIN;
    for (int n = 0; n < kFlareAngles; ++n) {
        const int32_t side = (n & 1) ? base + 8192 - 16384 : base;
        EXPECT_GE(c->flare_angles[n], side - 4096) << n;
        EXPECT_LT(c->flare_angles[n], side + 4096) << n;
        if (n % 2 == 0) {
            low = std::min(low, c->flare_angles[n]);
            high = std::max(high, c->flare_angles[n]);
        }
    }
    EXPECT_GT(high - low, 6000);

    s.spike_x = 0.91f;  // 1 - 1.1 * 0.91 < 0: no spread
    c = prepared(s, full_request(100, 100));
    for (int n = 0; n < kFlareAngles; ++n) EXPECT_EQ(c->flare_angles[n], (n & 1) ? 7189 : 15381) << n;

    s.spike_x = 0.89f;  // a little spread remains
    c = prepared(s, full_request(100, 100));
    EXPECT_FALSE(std::all_of(c->flare_angles, c->flare_angles + kFlareAngles, [](int32_t a) { return a == 15381 || a == 7189; }));

    s.flare_width = 0;  // still 2 units wide
    s.spike_x = 1;
    c = prepared(s, full_request(100, 100));
    EXPECT_EQ(c->flare_angles[0], 16383);  // 0 - 1, wrapped
    EXPECT_EQ(c->flare_angles[1], 8191);
}

TEST(RenderPrepare, SpikeLinesSpreadAtLengthZeroAndAlignAboveTheThreshold) {
    SunSettings s = default_settings();
    s.flare_x = 0;
    s.flare_y = 0;
    auto c = prepared(s, full_request(400, 400));
    int positive = 0, negative = 0;
    for (int k = 0; k < kSpikeLines; ++k) {
        positive += c->spike_a[k] > 0;
        negative += c->spike_a[k] < 0;
    }
    EXPECT_GT(positive, 50);  // directions spread over half a turn (a line has no sign)
    EXPECT_GT(negative, 50);

    s.flare_x = 0.95f;  // above 0.25 + 0.75 / 1.1: every spike along +x
    s.flare_y = 0;
    c = prepared(s, full_request(400, 400));
    for (int k = 0; k < kSpikeLines; ++k) {
        EXPECT_EQ(c->spike_b[k], 0) << k;
        EXPECT_EQ(c->spike_c[k], 0) << k;
        EXPECT_LT(c->spike_a[k], 0) << k;
        EXPECT_LT(c->spike_d[k], 0) << k;
    }
}

TEST(RenderPrepare, CentreRadiusNoiseScaleAndFade) {
    SunSettings s = default_settings();
    auto c = prepared(s, full_request(1000, 500));
    EXPECT_EQ(c->centre_x, 650);
    EXPECT_EQ(c->centre_y, 250);
    EXPECT_EQ(c->noise.fade[0], 0);
    EXPECT_EQ(c->noise.fade[128], 80);  // 512 * 1/16 * 5/2
    EXPECT_EQ(c->noise.fade[256], 256);
    EXPECT_EQ(c->noise.fade[511], 511);

    s.sun_radius = 0;
    c = prepared(s, full_request(1000, 1000));
    EXPECT_EQ(c->disc_radius, 1);
    EXPECT_EQ(c->rings.disc_edge, 4);

    s.sun_detail = 0;  // d = 200: v = 2 on a 1000 pixel side
    c = prepared(s, full_request(1000, 1000));
    EXPECT_DOUBLE_EQ(c->noise_scale, 2.0);
    EXPECT_EQ(c->noise.noise_step, 32);
    EXPECT_EQ(c->noise.octave_mode, 0);
    s.sun_detail = 70;  // d = 46
    c = prepared(s, full_request(1000, 1000));
    EXPECT_EQ(c->noise.octave_mode, 1);
    s.sun_detail = 100;  // d = 25
    s.sun_radius = 50;
    c = prepared(s, full_request(1000, 1000));
    EXPECT_DOUBLE_EQ(c->noise_scale, 0.25);
    EXPECT_EQ(c->noise.noise_step, 4);
    EXPECT_EQ(c->noise.octave_mode, 2);
    ASSERT_EQ(c->disc_radius, 250);
    EXPECT_EQ(c->sphere_map[0], 0);
    EXPECT_EQ(c->sphere_map[250], 512);  // asin(1) / (pi / 2) * 512 * 4v
    for (int i = 1; i <= 250; ++i) ASSERT_GE(c->sphere_map[i], c->sphere_map[i - 1]);
    // Swirl centres lie within U[R] * 4 * size_px >> 8 = 512 * 1000 / 256 of the centre.
    for (int n = 0; n < kSwirlCentres; ++n) {
        EXPECT_LE(std::abs(c->noise.swirl_x[n]), 2000);
        EXPECT_LE(std::abs(c->noise.swirl_y[n]), 2000);
    }
}

TEST(RenderPrepare, ScaleDivisorShrinksTheRings) {
    SunSettings s = default_settings();
    RenderRequest r = full_request(1000, 1000);
    auto full = prepared(s, r);
    r.scale_divisor = 4;
    auto reduced = prepared(s, r);
    EXPECT_EQ(full->rings.disc_edge, 576);  // 144 pixels
    EXPECT_EQ(reduced->rings.disc_edge, 144);
    EXPECT_EQ(reduced->disc_radius, 36);
    EXPECT_EQ(reduced->rings.rim_outer, 148);
    EXPECT_EQ(reduced->rings.limb_start, 118);
}

TEST(RenderPrepare, LayeredStoreRendersZoomByTheImageOverTheRectangle) {
    RenderRequest r = full_request(100, 80);
    r.render_mode = 2;
    r.image_width = 300;   // 300 div 100 = 3
    r.image_height = 170;  // 170 div 80 = 2
    auto c = prepared(default_settings(), r);
    EXPECT_EQ(c->rings.zoom, 3.0);
    EXPECT_EQ(c->rings.centre_x, 3 * 65);  // the centre stays at its fraction of the picture
    EXPECT_EQ(c->rings.centre_y, 3 * 40);
    r.render_mode = 0;
    c = prepared(default_settings(), r);
    EXPECT_EQ(c->rings.zoom, 1.0);
    EXPECT_EQ(c->rings.centre_x, 65);
}

TEST(RenderPrepare, ARadiusBufferBeyondReachFailsCleanly) {
    auto c = std::make_unique<RenderContext>();
    RenderRequest r = full_request(100, 1 << 30);
    EXPECT_EQ(render_prepare(*c, default_settings(), r), sdk::kMemFullErr);  // what the host is told
    EXPECT_FALSE(c->ready);
    testing::OwnedCellBuffer cells({0, 0, 4, 4});
    cells.cells[6].aux[2] = 77;
    render_piece(*c, {0, 0, 4, 4}, cells.buffer);
    EXPECT_EQ(cells.cells[6].aux[2], 77u);  // nothing drawn
}

}  // namespace
}  // namespace corvanthe
