#include <gtest/gtest.h>

#include "layers/hsl.h"

namespace corvanthe {
namespace {

TEST(Hsl, PrimaryAndGreyColoursHaveTheirTextbookCoordinates) {
    const Hsl red = rgb_to_hsl({1, 0, 0});
    EXPECT_DOUBLE_EQ(red.hue, 0);
    EXPECT_DOUBLE_EQ(red.saturation, 1);
    EXPECT_DOUBLE_EQ(red.lightness, 0.5);

    const Hsl blue = rgb_to_hsl({0, 0, 0.5});
    EXPECT_DOUBLE_EQ(blue.hue, 4.0 / 6);
    EXPECT_DOUBLE_EQ(blue.saturation, 1);
    EXPECT_DOUBLE_EQ(blue.lightness, 0.25);

    // Magenta sits at 5/6: the negative hue of the red sector wraps into [0, 1).
    EXPECT_DOUBLE_EQ(rgb_to_hsl({1, 0, 1}).hue, 5.0 / 6);

    const Hsl grey = rgb_to_hsl({0.3, 0.3, 0.3});
    EXPECT_EQ(grey.hue, 0);
    EXPECT_EQ(grey.saturation, 0);
    EXPECT_DOUBLE_EQ(grey.lightness, 0.3);

    // Light above the HSL range whose second denominator vanishes keeps no saturation.
    EXPECT_EQ(rgb_to_hsl({1.5, 0.5, 0.5}).saturation, 0);
}

TEST(Hsl, ConversionRoundTripsOnAGrid) {
    for (int r = 0; r <= 8; ++r)
        for (int g = 0; g <= 8; ++g)
            for (int b = 0; b <= 8; ++b) {
                const Rgb in{r / 8.0, g / 8.0, b / 8.0};
                const Rgb out = hsl_to_rgb(rgb_to_hsl(in));
                EXPECT_NEAR(out.red, in.red, 1e-12) << r << g << b;
                EXPECT_NEAR(out.green, in.green, 1e-12) << r << g << b;
                EXPECT_NEAR(out.blue, in.blue, 1e-12) << r << g << b;
            }
}

TEST(Hsl, PerceptualLightnessWeighsTheHueAndInvertsBack) {
    // At HSL lightness 0.5 a pure hue looks as bright as its weight: red 0.28, green 0.52.
    EXPECT_NEAR(perceptual_lightness({0, 1, 0.5}), 0.28, 1e-12);
    EXPECT_NEAR(perceptual_lightness({1.0 / 3, 1, 0.5}), 0.52, 1e-12);
    // Grey is unchanged: d = 0.5 makes both halves linear.
    EXPECT_NEAR(perceptual_lightness({0, 0, 0.2}), 0.2, 1e-12);
    EXPECT_NEAR(perceptual_lightness({0, 0, 0.9}), 0.9, 1e-12);
    // Red at 0.75 is halfway from 0.28 to white.
    EXPECT_NEAR(perceptual_lightness({0, 1, 0.75}), 0.28 + 0.5 * 0.72, 1e-12);

    for (int h = 0; h < 12; ++h)
        for (int s = 0; s <= 4; ++s)
            for (int l = 1; l < 20; ++l) {
                const Hsl c{h / 12.0, s / 4.0, l / 20.0};
                EXPECT_NEAR(lightness_from_perceptual(c, perceptual_lightness(c)), c.lightness, 1e-12);
            }
    EXPECT_EQ(lightness_from_perceptual({0, 1, 0.5}, 1.3), 1);
    EXPECT_EQ(lightness_from_perceptual({0, 1, 0.5}, -0.1), 0);
}

}  // namespace
}  // namespace corvanthe
