// Spectral colours. Expected entries were worked out with an independent script
// (Gauss-Jordan inverse of the primaries, the same locus) from the definitions.
#include <gtest/gtest.h>

#include "render/spectral_colours.h"
#include "render/spectral_locus.h"
#include "render/render_fixture.h"

namespace corvanthe {
namespace {

SunSettings white_settings() {
    SunSettings s = testing::default_settings();
    s.sun_colour = {0xFFFF, 0xFFFF, 0xFFFF};
    s.spike_colour = {0xFFFF, 0xFFFF, 0xFFFF};
    return s;
}

TEST(SpectralLocus, HoldsThePublishedCoordinates) {
    EXPECT_DOUBLE_EQ(kSpectralLocus[0].x, 0.1741);
    EXPECT_DOUBLE_EQ(kSpectralLocus[0].y, 0.0050);
    EXPECT_DOUBLE_EQ(kSpectralLocus[(520 - 380) / 5].x, 0.0743);
    EXPECT_DOUBLE_EQ(kSpectralLocus[(520 - 380) / 5].y, 0.8338);
    for (int nm = 700; nm <= 780; nm += 5) {
        EXPECT_DOUBLE_EQ(kSpectralLocus[(nm - 380) / 5].x, 0.7347) << nm;
        EXPECT_DOUBLE_EQ(kSpectralLocus[(nm - 380) / 5].y, 0.2653) << nm;
    }
}

TEST(Spectrum, SpikeAndBowShapes) {
    int32_t spikes[3][kSpectrumSize];
    build_spectrum(SpectrumShape::Spikes, spikes);
    auto at = [](const int32_t (&w)[3][kSpectrumSize], int nm, int c) { return w[c][(nm - 380) / 5]; };
    EXPECT_EQ(at(spikes, 380, 0), 146);
    EXPECT_EQ(at(spikes, 380, 1), 0);  // negative green becomes 0
    EXPECT_EQ(at(spikes, 380, 2), 188);
    EXPECT_EQ(at(spikes, 520, 1), 196);
    EXPECT_EQ(at(spikes, 700, 0), 190);
    for (int i = 81; i < kSpectrumSize; ++i) EXPECT_EQ(spikes[0][i], 0);

    int32_t bow[3][kSpectrumSize];
    build_spectrum(SpectrumShape::Bow, bow);
    EXPECT_EQ(at(bow, 380, 2), 0);  // the envelope closes both ends
    EXPECT_EQ(at(bow, 780, 0), 0);
    EXPECT_EQ(at(bow, 430, 0), 89);
    EXPECT_EQ(at(bow, 430, 2), 157);
    EXPECT_EQ(at(bow, 520, 1), 187);
    EXPECT_EQ(at(bow, 700, 0), 84);
}

TEST(SpikeColours, DiffractionOrdersAddUpAlongTheSpike) {
    SunSettings s = white_settings();
    s.spike_diffraction = 100;
    s.spike_brightness = 100;
    SpectralTables t;
    build_spike_colours(s, t);
    // Below p = 19 every order's wavelength is under 380 nm: nothing.
    for (int p = 0; p <= 18; ++p)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(t.spike[c][p], 0) << p;
    EXPECT_EQ(t.spike[0][30], 183);
    EXPECT_EQ(t.spike[1][30], 147);
    EXPECT_EQ(t.spike[2][30], 0);
    EXPECT_EQ(t.spike[0][100], 304);
    EXPECT_EQ(t.spike[1][100], 188);
    EXPECT_EQ(t.spike[2][100], 292);
    EXPECT_EQ(t.spike[0][599], 306);
}

TEST(SpikeColours, NoDiffractionGivesThePlainSpikeColour) {
    SunSettings s = testing::default_settings();  // spike colour (191, 153, 88), brightness 61
    s.spike_diffraction = 0;
    SpectralTables t;
    build_spike_colours(s, t);
    for (int p = 0; p < kSpikeSteps; ++p) {
        ASSERT_EQ(t.spike[0][p], 115) << p;  // (191 * 255 >> 8) * 61 / 100
        ASSERT_EQ(t.spike[1][p], 92) << p;
        ASSERT_EQ(t.spike[2][p], 53) << p;
    }
}

SpectralTables bow_tables(const SunSettings& s) {
    SpectralTables t;
    build_spectrum(SpectrumShape::Bow, t.working);
    build_bow_colours(s, t);
    return t;
}

TEST(BowColours, UnsmearedRainbowFillsTheInner93Steps) {
    SunSettings s = white_settings();
    s.bow_brightness = 64;  // >> 6 leaves it unchanged
    s.bow_smear = 0;
    s.flip_bow = 0;
    const SpectralTables t = bow_tables(s);
    EXPECT_EQ(t.bow[0][13], 27);
    EXPECT_EQ(t.bow[2][13], 53);
    EXPECT_EQ(t.bow[1][40], 78);
    EXPECT_EQ(t.bow[0][70], 42);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(t.bow[c][0], 0);  // nothing spreads into the first step
        for (int e = 93; e < kBowSteps; ++e) ASSERT_EQ(t.bow[c][e], 0) << "outer step " << e;
    }
}

TEST(BowColours, FlipReversesTheRainbow) {
    SunSettings s = testing::default_settings();
    s.bow_smear = 0;
    s.flip_bow = 0;
    const SpectralTables plain = bow_tables(s);
    s.flip_bow = 1;
    const SpectralTables flipped = bow_tables(s);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < kSpectrumSize; ++i) ASSERT_EQ(flipped.bow[c][i], plain.bow[c][92 - i]) << c << " " << i;
    // Red lies outside violet unflipped, inside it flipped.
    EXPECT_GT(plain.bow[0][70], plain.bow[2][70]);
    EXPECT_GT(flipped.bow[2][70], flipped.bow[0][70]);
}

TEST(BowColours, SmearPushesTheColoursOutward) {
    SunSettings s = white_settings();
    s.bow_brightness = 64;
    s.flip_bow = 0;
    s.bow_smear = 100;
    SpectralTables t = bow_tables(s);
    EXPECT_EQ(t.bow[0][0], 0);
    EXPECT_EQ(t.bow[0][100], 39);
    EXPECT_EQ(t.bow[1][100], 32);
    EXPECT_EQ(t.bow[2][100], 19);
    EXPECT_EQ(t.bow[0][150], 12);
    EXPECT_EQ(t.bow[0][200], 0);
    s.bow_smear = 50;
    t = bow_tables(s);
    EXPECT_EQ(t.bow[0][60], 28);
    EXPECT_EQ(t.bow[1][60], 55);
    EXPECT_EQ(t.bow[2][60], 40);
    EXPECT_EQ(t.bow[0][120], 5);
}

}  // namespace
}  // namespace corvanthe
