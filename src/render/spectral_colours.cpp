#include "render/spectral_colours.h"

#include <algorithm>
#include <utility>

#include "platform/portable_math.h"
#include "render/integer_math.h"
#include "render/spectral_locus.h"

namespace corvanthe {

namespace {

constexpr double kSpectrumScale = double(185.78f);

// Rows x, y, z; columns red, green, blue.
constexpr double kPrimaries[3][3] = {
    {0.64, 0.29, 0.15},
    {0.33, 0.60, 0.06},
    {0.03, 0.11, 0.79},
};

struct Matrix {
    double m[3][3];
};

Matrix inverse_primaries() {
    const auto& p = kPrimaries;
    const double det = p[0][0] * (p[1][1] * p[2][2] - p[1][2] * p[2][1]) -
                       p[0][1] * (p[1][0] * p[2][2] - p[1][2] * p[2][0]) +
                       p[0][2] * (p[1][0] * p[2][1] - p[1][1] * p[2][0]);
    Matrix inv{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            // Cofactor of p[c][r] (the transpose gives the adjugate).
            const int r0 = (c + 1) % 3, r1 = (c + 2) % 3, c0 = (r + 1) % 3, c1 = (r + 2) % 3;
            inv.m[r][c] = (p[r0][c0] * p[r1][c1] - p[r0][c1] * p[r1][c0]) / det;
        }
    return inv;
}

struct Shaping {
    double envelope;
    double exponent[3];
};

Shaping shaping(SpectrumShape shape, int nm) {
    if (shape == SpectrumShape::Spikes) return {1.0, {0.1, 0.1, 0.3}};
    double envelope = 1.0;
    if (nm > 600) envelope = (780 - nm) / 180.0;
    if (nm < 440) envelope = (nm - 380) / 60.0;
    const double red = nm < 500 ? (500 - nm) / 120.0 * 0.2 + 0.1 : 0.1;
    return {envelope, {red, 0.02, 0.3}};
}

// Spike spectrum sample at a wavelength in tenths of a nanometre; 0 outside 380..780 nm.
int32_t spike_sample(const int32_t (&w)[kSpectrumSize], int32_t tenths) {
    if (tenths < 3800 || (tenths - 3800) / 50 > 80) return 0;
    const int32_t b = (tenths - 3800) / 50, f = (tenths - 3800) % 50;
    const int32_t next = b + 1 < 80 ? b + 1 : 80;
    return ((50 - f) * w[b] + f * w[next]) / 50;
}

// Each step e of the bow takes the triangle-weighted mean of the spectrum over a window
// ending at e, so the smear also pushes colours outward: the weights
// max(0, half - |middle - j|) for j in [e - span, e], with middle = (2 e - span) / 2 rounded
// towards zero. The window always holds the whole triangle, so the weights total half
// squared; the triangle is two boxes of `half` values one after the other, so its weighted
// sum is a difference of sums of box sums, with the spectrum taken as 0 outside its steps.
// The smear is the setting's 0..100 (held there, so the positions stay inside the sums).
void smear_bow(int32_t smear, const int32_t (&spectrum)[3][kSpectrumSize], int32_t (&bow)[3][kBowSteps]) {
    const int32_t reach = std::clamp(smear, 0, 100) * 108, half = reach / 200, span = reach / 100;
    // Positions j run from -2 half to kBowSteps + half; they sit at j + kOffset.
    constexpr int32_t kOffset = 128, kLength = 512;
    static_assert(kOffset > 2 * (100 * 108 / 200) && kBowSteps + kOffset + 100 * 108 / 200 < kLength);
    for (int c = 0; c < 3; ++c) {
        if (half == 0) {
            std::fill_n(bow[c], kBowSteps, 0);
            continue;
        }
        // values[i] = sum of the spectrum below position i - kOffset, boxes[i] = sum of the
        // boxes [s, s + half) for s below i - kOffset.
        int64_t values[kLength + 1] = {}, boxes[kLength + 1] = {};
        for (int32_t i = 0; i < kLength; ++i) {
            const int32_t j = i - kOffset;
            values[i + 1] = values[i] + (j >= 0 && j < kSpectrumSize ? spectrum[c][j] : 0);
        }
        for (int32_t i = 0; i + half <= kLength; ++i) boxes[i + 1] = boxes[i] + values[i + half] - values[i];
        for (int32_t e = 0; e < kBowSteps; ++e) {
            const int32_t middle = (2 * e - span) / 2;
            const int64_t sum = boxes[middle + 1 + kOffset] - boxes[middle - half + 1 + kOffset];
            bow[c][e] = int32_t(sum / (int64_t(half) * half));
        }
    }
}

}  // namespace

void build_spectrum(SpectrumShape shape, int32_t (&spectrum)[3][kSpectrumSize]) {
    const Matrix inv = inverse_primaries();
    for (auto& channel : spectrum)
        for (int32_t& v : channel) v = 0;
    for (int i = 0; i < kLocusCount; ++i) {
        const int nm = kLocusFirstNanometre + kLocusStepNanometres * i;
        const double x = kSpectralLocus[i].x, y = kSpectralLocus[i].y, z = 1 - x - y;
        const Shaping shaped = shaping(shape, nm);
        for (int c = 0; c < 3; ++c) {
            const double component = inv.m[c][0] * x + inv.m[c][1] * y + inv.m[c][2] * z;
            if (component <= 0) continue;
            spectrum[c][i] = trunc_int32(pmath::pow(component, shaped.exponent[c]) * shaped.envelope * kSpectrumScale);
        }
    }
}

void build_spike_colours(const SunSettings& s, SpectralTables& tables) {
    int32_t w[3][kSpectrumSize];
    build_spectrum(SpectrumShape::Spikes, w);
    for (auto& channel : w) {
        for (int j = 0; j <= 5; ++j) channel[j] = channel[j] * j / 5;
        for (int j = 0; j <= 10; ++j) channel[80 - j] = channel[80 - j] * j / 10;
    }
    const int32_t tint[3] = {s.spike_colour.red >> 8, s.spike_colour.green >> 8, s.spike_colour.blue >> 8};
    for (int c = 0; c < 3; ++c)
        for (int32_t p = 0; p < kSpikeSteps; ++p) {
            // Diffraction order k puts the wavelength L nm at p = L * k / 20.
            int32_t sum = 0;
            for (int32_t k = 1; k <= 17; ++k) sum += spike_sample(w[c], 200 * p / k);
            int32_t v = (s.spike_diffraction * (sum - 255) + 25500) / 100;
            v = (tint[c] * v) >> 8;
            tables.spike[c][p] = v * s.spike_brightness / 100;
        }
}

void build_bow_colours(const SunSettings& s, SpectralTables& tables) {
    auto& w = tables.working;
    const int32_t tint[3] = {s.sun_colour.red >> 9, s.sun_colour.green >> 9, s.sun_colour.blue >> 9};
    constexpr int32_t kBalance[3] = {256, 222, 275};
    for (int c = 0; c < 3; ++c) {
        int32_t spread[kSpectrumSize];
        for (int i = 0; i < kSpectrumSize; ++i) {
            int32_t sum = 0;
            for (int j = i - 12; j <= i - 1; ++j)
                if (j >= 0 && j <= 80) sum += w[c][j];
            spread[i] = sum / 12;
        }
        for (int i = 0; i < kSpectrumSize; ++i) {
            int32_t v = (tint[c] * spread[i]) >> 8;
            v = (v * s.bow_brightness) >> 6;
            if (c > 0) v = (v * kBalance[c]) >> 8;
            w[c][i] = v;
        }
        if (s.flip_bow != 0)
            for (int i = 0; i < kSpectrumSize / 2; ++i) std::swap(w[c][i], w[c][kSpectrumSize - 1 - i]);

        for (int e = 0; e < kBowSteps; ++e) tables.bow[c][e] = e < kSpectrumSize ? w[c][e] : 0;
    }
    if (s.bow_smear != 0) smear_bow(s.bow_smear, w, tables.bow);
}

}  // namespace corvanthe
