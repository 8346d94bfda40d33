#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "layers/glue_kernel.h"
#include "layers/glue_mode.h"
#include "layers/hsl.h"

namespace corvanthe {
namespace {

PixelValue grey(float v, float alpha = 1) { return {v, v, v, alpha}; }

float kernel_channel(int32_t mode, float s, float h, int32_t k = 4) {
    return glue_kernel(grey(s), grey(h), mode, k, false).red;
}

// The modes in real arithmetic, as their definitions read without fixed point.
double overlay_real(double base, double top) {
    return base < 0.5 ? 2 * base * top : 1 - 2 * (1 - base) * (1 - top);
}

struct RealMode {
    int32_t mode;
    std::function<double(double s, double h)> formula;
    double tolerance;  // truncations of the fixed-point shifts, in units of 2^-15
    int sun_limit = 4;  // brightest sun channel compared
};

const RealMode kRealModes[] = {
    {kGlueNormal, [](double s, double) { return s; }, 0},
    {kGlueProceduralPlus,
     [](double s, double h) {
         const double t = std::min(h, 1 - h);
         return s * t + h * (1 - t);
     },
     1},
    {kGlueProceduralMinus, [](double s, double h) { return std::min(s + h * s, 1.0); }, 1},
    {kGlueDifference, [](double s, double h) { return s + h - 2 * s * h; }, 1},
    {kGlueLighten, [](double s, double h) { return std::max(s, h); }, 0},
    {kGlueDarken, [](double s, double h) { return std::min(s, h); }, 0},
    {kGlueAdd, [](double s, double h) { return std::min(s + h, 1.0); }, 0},
    {kGlueSubtract, [](double s, double h) { return std::max(s - h, 0.0); }, 0},
    {kGlueMultiply, [](double s, double h) { return s * h; }, 1},
    {kGlueScreen, [](double s, double h) { return s + (1 - s) * h; }, 1},
    {kGlueComposite, [](double s, double h) { return std::min(s + h, 1.0); }, 1},  // k = 4
    {kGlueHardLight, [](double s, double h) { return overlay_real(s, h); }, 1},
    {kGlueOverlay, [](double s, double h) { return overlay_real(h, s); }, 1},
    {kGlueSuperlay,
     [](double s, double h) {
         const double c = 1 - (1 - s * h) * (1 - s * h);
         const double v = (1 - s) * (1 - h) * (1 - s) * (1 - h);
         return std::max(c < 0.5 ? 2 * (1 - v) * c : 1 - 2 * v * (1 - c), 0.0);
     },
     // Five chained truncations; above 2 the later products magnify them many times.
     3, 2},
    {kGlueExclusion, [](double s, double h) { return s + h - 2 * s * h; }, 1},
    {kGlueLinearLight,
     [](double s, double h) {
         const double v = h + 2 * s - 1;
         return s >= 0.5 ? std::min(v, 1.0) : std::max(v, 0.0);
     },
     0},
    {kGluePinLight, [](double s, double h) { return s < 0.5 ? std::min(h, 2 * s) : std::max(h, 2 * s - 1); }, 0},
};

// Sun channels 0..4 and image channels 0..2 in steps of 1/64, exact in fixed point. The
// bright end makes 32-bit products overflow (2.0 × 2.0 × 2^30 = 2^32).
TEST(GlueKernel, EveryChannelModeMatchesItsRealFormulaIncludingBrightLight) {
    for (const RealMode& m : kRealModes) {
        double worst = 0;
        for (int si = 0; si <= 64 * m.sun_limit; ++si)
            for (int hi = 0; hi <= 128; ++hi) {
                const double s = si / 64.0, h = hi / 64.0;
                const double got = kernel_channel(m.mode, float(s), float(h));
                worst = std::max(worst, std::abs(got - m.formula(s, h)));
            }
        EXPECT_LE(worst, m.tolerance / 32768 + 1e-12) << "mode " << m.mode;
    }
}

TEST(GlueKernel, DifferenceAndExclusionAgreeEverywhere) {
    for (int si = 0; si <= 300; ++si)
        for (int hi = 0; hi <= 300; ++hi) {
            const PixelValue s{si / 211.0f, si / 97.0f, 1 - si / 300.0f, 0.5f};
            const PixelValue h{hi / 173.0f, hi / 300.0f, hi / 151.0f, 1};
            const PixelValue d = glue_kernel(s, h, kGlueDifference, 4, false);
            const PixelValue e = glue_kernel(s, h, kGlueExclusion, 4, false);
            ASSERT_EQ(d.red, e.red);
            ASSERT_EQ(d.green, e.green);
            ASSERT_EQ(d.blue, e.blue);
        }
}

TEST(GlueKernel, ModesOutsideTheRangeAreNormal) {
    const PixelValue s{0.25f, 0.5f, 0.75f, 0.6f};
    const PixelValue h{0.9f, 0.1f, 0.4f, 1};
    const PixelValue normal = glue_kernel(s, h, kGlueNormal, 2, false);
    EXPECT_FLOAT_EQ(normal.red, 0.25f);
    EXPECT_FLOAT_EQ(normal.blue, 0.75f);
    EXPECT_FLOAT_EQ(normal.alpha, 0.6f);
    for (int32_t mode : {0, -1, -2147483647 - 1, 20, 1000}) {
        const PixelValue r = glue_kernel(s, h, mode, 2, true);
        EXPECT_EQ(r.red, normal.red) << mode;
        EXPECT_EQ(r.green, normal.green) << mode;
        EXPECT_EQ(r.blue, normal.blue) << mode;
        EXPECT_EQ(r.alpha, normal.alpha) << mode;
    }
}

TEST(GlueKernel, SubtractFloorsAtBlackAndSuperlayNeverGoesNegative) {
    EXPECT_EQ(kernel_channel(kGlueSubtract, 0.2f, 0.9f), 0.0f);
    // Real terms: C = 1 - (1 - 2.5)^2 = -1.25, V = 0, so 2(1 - V)C = -2.5.
    EXPECT_EQ(kernel_channel(kGlueSuperlay, 2.5f, 1.0f), 0.0f);
}

TEST(GlueKernel, CompositeLetsTheImageThroughByCoverage) {
    // Without a transparency plane: s + k/4 · h, capped at one.
    EXPECT_FLOAT_EQ(kernel_channel(kGlueComposite, 0.25f, 0.5f, 0), 0.25f);
    EXPECT_FLOAT_EQ(kernel_channel(kGlueComposite, 0.25f, 0.5f, 2), 0.5f);
    EXPECT_FLOAT_EQ(kernel_channel(kGlueComposite, 0.75f, 0.5f, 4), 1.0f);

    // With one: grey 0.25 has L = 0.5. Inside the disc P = 1, Q = 1: nothing changes.
    const PixelValue inside = glue_kernel(grey(0.25f, 0.3f), grey(0.9f), kGlueComposite, 0, true);
    EXPECT_FLOAT_EQ(inside.red, 0.25f);
    EXPECT_FLOAT_EQ(inside.alpha, 1.0f);
    // Outside, P = 0 and Q = L = 0.5: the light is unmixed from black and covers half.
    const PixelValue outside = glue_kernel(grey(0.25f, 0.3f), grey(0.9f), kGlueComposite, 4, true);
    EXPECT_FLOAT_EQ(outside.red, 0.5f);
    EXPECT_FLOAT_EQ(outside.alpha, 0.5f);
    // A black sun outside the disc: Q = 0, no division, fully transparent.
    const PixelValue black = glue_kernel(grey(0), grey(0.9f), kGlueComposite, 4, true);
    EXPECT_EQ(black.red, 0.0f);
    EXPECT_EQ(black.alpha, 0.0f);
    // Red light 0.9 has L = 0.54; outside the disc 0.9 / 0.54 is capped at one.
    const PixelValue red = glue_kernel({0.9f, 0, 0, 1}, grey(0), kGlueComposite, 4, true);
    EXPECT_FLOAT_EQ(red.red, 1.0f);
    EXPECT_NEAR(red.alpha, 0.54f, 1e-4);
}

double luma_real(const PixelValue& p) { return (77 * p.red + 150 * p.green + 28 * p.blue) / 256.0; }

TEST(GlueKernel, ColorTakesTheSunsHueWithTheImagesLightness) {
    const PixelValue sun{0.8f, 0.4f, 0.2f, 1};  // hue 1/18, saturation 0.6
    const PixelValue image{0.2f, 0.6f, 0.4f, 1};
    const PixelValue r = glue_kernel(sun, image, kGlueColor, 4, false);
    const Hsl hsl = rgb_to_hsl({r.red, r.green, r.blue});
    EXPECT_NEAR(hsl.hue, 1.0 / 18, 2e-4);
    EXPECT_NEAR(hsl.saturation, 0.6, 2e-4);
    EXPECT_NEAR(perceptual_lightness(hsl), luma_real(image), 2e-4);

    // A grey sun carries no hue: the result is the image's luma as grey.
    const PixelValue g = glue_kernel(grey(0.7f), image, kGlueColor, 4, false);
    EXPECT_NEAR(g.red, luma_real(image), 1e-4);
    EXPECT_EQ(g.red, g.green);
    EXPECT_EQ(g.red, g.blue);
}

TEST(GlueKernel, LuminanceTakesTheImagesHueWithTheSunsLightness) {
    const PixelValue image{0.8f, 0.4f, 0.2f, 1};
    const PixelValue sun{0.3f, 0.9f, 0.5f, 0.4f};
    const PixelValue r = glue_kernel(sun, image, kGlueLuminance, 4, false);
    const Hsl hsl = rgb_to_hsl({r.red, r.green, r.blue});
    EXPECT_NEAR(hsl.hue, 1.0 / 18, 2e-4);
    EXPECT_NEAR(hsl.saturation, 0.6, 2e-4);
    EXPECT_NEAR(perceptual_lightness(hsl), luma_real(sun), 2e-4);
    EXPECT_FLOAT_EQ(r.alpha, 0.4f);
}

// The colour with a new perceptual lightness, each channel times 32768 truncated from the
// exact value.
std::array<double, 3> relit(const PixelValue& colour, double lightness) {
    Hsl hsl = rgb_to_hsl({colour.red, colour.green, colour.blue});
    hsl.lightness = lightness_from_perceptual(hsl, lightness);
    const Rgb c = hsl_to_rgb(hsl);
    return {std::trunc(c.red * 32768), std::trunc(c.green * 32768), std::trunc(c.blue * 32768)};
}

TEST(GlueKernel, ColorAndLuminanceTruncateTheExactColour) {
    uint32_t state = 7;
    auto channel = [&state] {  // n / 32768, which the fixed point holds exactly
        state = state * 1664525u + 1013904223u;
        return float(state >> 17) / 32768.0f;
    };
    auto luma_fixed = [](const PixelValue& p) {
        const int64_t r = int64_t(p.red * 32768), g = int64_t(p.green * 32768), b = int64_t(p.blue * 32768);
        return double((77 * r + 150 * g + 28 * b) >> 8) / 32768;
    };
    int compared = 0, wrong = 0;
    for (int i = 0; i < 20000; ++i) {
        const PixelValue sun{channel(), channel(), channel(), 1}, image{channel(), channel(), channel(), 1};
        const PixelValue color = glue_kernel(sun, image, kGlueColor, 4, false);
        const PixelValue luminance = glue_kernel(sun, image, kGlueLuminance, 4, false);
        const std::array<double, 3> want_color = relit(sun, luma_fixed(image)), want_luminance = relit(image, luma_fixed(sun));
        const float got_color[3] = {color.red, color.green, color.blue};
        const float got_luminance[3] = {luminance.red, luminance.green, luminance.blue};
        for (int c = 0; c < 3; ++c) {
            wrong += double(got_color[c]) * 32768 != want_color[size_t(c)];
            wrong += double(got_luminance[c]) * 32768 != want_luminance[size_t(c)];
            compared += 2;
        }
    }
    EXPECT_EQ(wrong, 0) << "of " << compared;
}

TEST(GlueKernel, FixedPointConversionTruncatesAndStaysFinite) {
    EXPECT_EQ(to_fixed(1.0f), 32768);
    EXPECT_EQ(to_fixed(0.5f), 16384);
    EXPECT_EQ(to_fixed(0.99999f), 32767);
    EXPECT_EQ(to_fixed(-0.99999f), -32767);
    EXPECT_EQ(to_fixed(1e30f), 8 * 32768);
    EXPECT_EQ(to_fixed(std::nanf("")), 0);
}

}  // namespace
}  // namespace corvanthe
