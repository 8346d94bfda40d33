#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <vector>

#include "layers/glue_mode.h"
#include "layers/glue_write_back.h"

namespace corvanthe {
namespace {

GlueSetup setup_for(int32_t mode) {
    GlueSetup s;
    s.mode = mode;
    return s;
}

void expect_pixel(const PixelValue& got, const PixelValue& want, float tolerance = 1e-6f) {
    EXPECT_NEAR(got.red, want.red, tolerance);
    EXPECT_NEAR(got.green, want.green, tolerance);
    EXPECT_NEAR(got.blue, want.blue, tolerance);
    EXPECT_NEAR(got.alpha, want.alpha, tolerance);
}

constexpr float kFixedStep = 1.0f / 32768;

TEST(OverflowBleed, SpillsTheExcessIntoTheOtherChannels) {
    // One channel over: E' = 0.5 × 60/256 = 0.1171875, half to each of the others.
    PixelValue one{1.5f, 0.2f, 0.2f, 1};
    overflow_bleed(one);
    expect_pixel(one, {1.5f, 0.25859375f, 0.25859375f, 1});

    // Two over: the third gets all of E' = (0.2 + 0.4) × 60/256.
    PixelValue two{1.2f, 0.1f, 1.4f, 1};
    overflow_bleed(two);
    expect_pixel(two, {1.2f, 0.1f + 0.140625f, 1.4f, 1});

    // Green over by 2: E'/2 = 0.234375 each; red passes one and hands its excess to blue.
    PixelValue chain{0.99f, 3.0f, 0.5f, 1};
    overflow_bleed(chain);
    expect_pixel(chain, {1.224375f, 3.0f, 0.5f + 0.234375f + 0.224375f, 1}, 1e-5f);

    // None or all three over: nothing moves.
    PixelValue none{1.0f, 0.3f, 0.0f, 1};
    overflow_bleed(none);
    expect_pixel(none, {1.0f, 0.3f, 0.0f, 1});
    PixelValue all{1.1f, 1.2f, 1.3f, 1};
    overflow_bleed(all);
    expect_pixel(all, {1.1f, 1.2f, 1.3f, 1});
}

TEST(GlueWriteBack, OpaqueNormalReplacesTheImageAndTakesTheSunsAlpha) {
    const PixelValue image{0.9f, 0.8f, 0.7f, 0.2f};
    const PixelValue opaque = glue_pixel(3, 4, {0.25f, 0.5f, 0.75f, 1.0f}, 0, image, 1, setup_for(kGlueNormal));
    expect_pixel(opaque, {0.25f, 0.5f, 0.75f, 1.0f});
    // The alpha is the sun's × 1.007, never the image's.
    const PixelValue half = glue_pixel(3, 4, {0.25f, 0.5f, 0.75f, 0.5f}, 0, image, 1, setup_for(kGlueNormal));
    EXPECT_NEAR(half.alpha, 0.5035f, 1e-6f);
}

TEST(GlueWriteBack, ClampsTheSunThenTheResult) {
    // Negative light becomes 0; alpha is held to 0..1.
    const PixelValue r = glue_pixel(0, 0, {-0.5f, 0.5f, -2.0f, 1.5f}, 4, {}, 1, setup_for(kGlueNormal));
    expect_pixel(r, {0, 0.5f, 0, 1});
    EXPECT_EQ(glue_pixel(0, 0, {0, 0, 0, -1}, 4, {}, 1, setup_for(kGlueNormal)).alpha, 0.0f);
    // Bright light is bled, then the blended result is capped at one: 1.5 red bleeds 0.0586
    // into green and blue before "add" puts the image on top.
    const PixelValue add = glue_pixel(0, 0, {1.5f, 0.2f, 0.2f, 1}, 4, {0.5f, 0.5f, 0.1f, 1}, 1, setup_for(kGlueAdd));
    expect_pixel(add, {1.0f, 0.75859375f, 0.35859375f, 1}, 2 * kFixedStep);
}

TEST(GlueWriteBack, GreyImagesSeeTheSunsLuminance) {
    GlueSetup setup = setup_for(kGlueNormal);
    setup.grey = true;
    const PixelValue r = glue_pixel(0, 0, {1, 0, 0, 1}, 0, {0.5f, 0.5f, 0.5f, 1}, 1, setup);
    expect_pixel(r, {0.3f, 0.3f, 0.3f, 1}, kFixedStep);
    // Color then has no hue to carry: grey with the image's luma, 255/256 of its grey value.
    setup.mode = kGlueColor;
    const PixelValue c = glue_pixel(0, 0, {0.1f, 0.9f, 0.2f, 1}, 0, {0.4f, 0.4f, 0.4f, 1}, 1, setup);
    expect_pixel(c, {0.4f * 255 / 256, 0.4f * 255 / 256, 0.4f * 255 / 256, 1}, 2 * kFixedStep);
}

TEST(GlueWriteBack, TheSelectionBlendsAllFourChannels) {
    const PixelValue image{0.2f, 0.4f, 0.6f, 0.0f};
    const PixelValue sun{1.0f, 0.0f, 0.5f, 1.0f};
    const float m = 128.0f / 255;
    const PixelValue r = glue_pixel(0, 0, sun, 0, image, m, setup_for(kGlueNormal));
    expect_pixel(r, {0.2f + m * 0.8f, 0.4f - m * 0.4f, 0.6f - m * 0.1f, m}, 1e-5f);
    // Outside the selection nothing changes.
    expect_pixel(glue_pixel(0, 0, sun, 0, image, 0, setup_for(kGlueNormal)), image);
}

TEST(GlueWriteBack, FloatImagesTakeTheSunAsItIs) {
    GlueSetup setup = setup_for(kGlueMultiply);
    setup.float_destination = true;
    // No × 1.007, no bleed (green would gain 0.05859 from red's excess), no glue mode; only
    // the cap at the renderer's ceiling 65535 over 32768 and the lower clamps.
    const PixelValue r = glue_pixel(0, 0, {70000.0f, 0.2f, -1.0f, 0.5f}, 4, {0.5f, 0.5f, 0.5f, 1}, 1, setup);
    expect_pixel(r, {1.999969482421875f, 0.2f, 0.0f, 0.5f});
    const PixelValue bright = glue_pixel(0, 0, {1.5f, 0.2f, 0.2f, 1}, 4, {}, 1, setup);
    expect_pixel(bright, {1.5f, 0.2f, 0.2f, 1});
}

TEST(GlueWriteBack, ThePreviewShowsTheCheckerboardThroughTransparentSun) {
    expect_pixel(checkerboard(0, 0), {1, 1, 1, 1});
    expect_pixel(checkerboard(7, 7), {1, 1, 1, 1});
    expect_pixel(checkerboard(8, 0), {0.8f, 0.8f, 0.8f, 1});
    expect_pixel(checkerboard(0, 15), {0.8f, 0.8f, 0.8f, 1});
    expect_pixel(checkerboard(8, 8), {1, 1, 1, 1});
    expect_pixel(checkerboard(16, 3), {1, 1, 1, 1});

    GlueSetup preview = setup_for(kGlueNormal);
    preview.render_mode = 1;
    const PixelValue image{0.1f, 0.2f, 0.3f, 1};
    expect_pixel(glue_pixel(9, 1, {0.5f, 0.5f, 0.5f, 0}, 4, image, 1, preview), {0.8f, 0.8f, 0.8f, 1});
    // Alpha 0.5 × 1.007 over white: the colour moves that far toward the sun; opaque result.
    const float a = 0.5f * 1.007f;
    expect_pixel(glue_pixel(1, 1, {0.0f, 0.5f, 1.0f, 0.5f}, 4, image, 1, preview),
                 {1 - a, 1 - a * 0.5f, 1, 1}, 1e-5f);
    // Unselected pixels of the preview show the checkerboard too, not the image.
    expect_pixel(glue_pixel(8, 1, {0.0f, 0.5f, 1.0f, 1}, 4, image, 0, preview), {0.8f, 0.8f, 0.8f, 1});
}

class RecordingDestination : public GlueDestination {
public:
    bool begin_piece(const sdk::VRect&) override { return true; }
    PixelValue read(int32_t x, int32_t y) override {
        read_at[0] = x;
        read_at[1] = y;
        return {0.5f, 0.5f, 0.5f, 1};
    }
    float mask(int32_t, int32_t) override { return 0.5f; }
    void write(int32_t x, int32_t y, const PixelValue& v) override {
        written_at[0] = x;
        written_at[1] = y;
        written = v;
    }
    int32_t read_at[2] = {-1, -1};
    int32_t written_at[2] = {-1, -1};
    PixelValue written;
};

TEST(GlueWriteBack, ReadsTheImageAndSelectionAtThePixelAndWritesThere) {
    RecordingDestination d;
    glue_write_back(17, 23, {1, 0, 0, 1}, 0, setup_for(kGlueMultiply), d);
    EXPECT_EQ(d.read_at[0], 17);
    EXPECT_EQ(d.read_at[1], 23);
    EXPECT_EQ(d.written_at[0], 17);
    EXPECT_EQ(d.written_at[1], 23);
    // Multiply gives (0.5, 0, 0) at alpha 1; half selected moves halfway back to the image.
    expect_pixel(d.written, {0.5f, 0.25f, 0.25f, 1});
}

// A row of image pixels and selection values, recording what a run writes.
class RowDestination : public GlueDestination {
public:
    explicit RowDestination(std::vector<PixelValue> image, std::vector<float> selection)
        : image_(std::move(image)), selection_(std::move(selection)), written(image_.size()) {}
    bool begin_piece(const sdk::VRect&) override { return true; }
    PixelValue read(int32_t x, int32_t) override { return image_[size_t(x)]; }
    float mask(int32_t x, int32_t) override { return selection_[size_t(x)]; }
    void write(int32_t x, int32_t, const PixelValue& v) override { written[size_t(x)] = v; }

private:
    std::vector<PixelValue> image_;
    std::vector<float> selection_;

public:
    std::vector<PixelValue> written;
};

bool same_bits(const PixelValue& a, const PixelValue& b) {
    return std::bit_cast<uint32_t>(a.red) == std::bit_cast<uint32_t>(b.red) &&
           std::bit_cast<uint32_t>(a.green) == std::bit_cast<uint32_t>(b.green) &&
           std::bit_cast<uint32_t>(a.blue) == std::bit_cast<uint32_t>(b.blue) &&
           std::bit_cast<uint32_t>(a.alpha) == std::bit_cast<uint32_t>(b.alpha);
}

// Runs compile the kernel for their mode; every mode, in and outside the range, on every
// kind of destination, must give exactly what the pixel-at-a-time glue gives. The values
// include the fixed-point halves and ones where the formulas switch, light above one,
// negatives and NaN.
TEST(GlueWriteBack, RunsMatchThePixelGlueBitForBitInEveryMode) {
    const float samples[] = {0.0f, 0.25f, 0.5f, 0.49999f, 1.0f, 0.75f, 1.5f, 3.0f, 9.0f, -0.5f, std::nanf(""), 0.1234f};
    std::mt19937 random(1234);
    auto any = [&](auto& list) { return list[random() % std::size(list)]; };
    auto value = [&]() { return random() % 2 ? any(samples) : float(random() % 70000) / 40000.0f; };
    constexpr int32_t kCount = 200;
    std::vector<PixelValue> suns(kCount), image(kCount);
    std::vector<int32_t> k(kCount);
    std::vector<float> selection(kCount);
    for (int32_t i = 0; i < kCount; ++i) {
        suns[size_t(i)] = {value(), value(), value(), value()};
        image[size_t(i)] = {value(), value(), value(), std::fabs(value())};
        k[size_t(i)] = int32_t(random() % 5);
        selection[size_t(i)] = i % 3 == 0 ? 1.0f : float(random() % 256) / 255.0f;
    }
    for (int32_t mode = -1; mode <= kGlueModeCount + 2; ++mode)
        for (int variant = 0; variant < 16; ++variant) {
            GlueSetup setup = setup_for(mode);
            setup.editable_transparency = variant & 1;
            setup.grey = variant & 2;
            setup.float_destination = variant & 4;
            setup.render_mode = variant & 8 ? 1 : 0;
            RowDestination d(image, selection);
            glue_run(0, 5, kCount, suns.data(), k.data(), setup, d);
            for (int32_t i = 0; i < kCount; ++i) {
                const PixelValue want = glue_pixel(i, 5, suns[size_t(i)], k[size_t(i)], image[size_t(i)],
                                                   selection[size_t(i)], setup);
                ASSERT_TRUE(same_bits(d.written[size_t(i)], want)) << "mode " << mode << " variant " << variant
                                                                   << " pixel " << i;
            }
        }
}

}  // namespace
}  // namespace corvanthe
