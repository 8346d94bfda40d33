// The tables built by truncating pow, sin, cos, asin and friends, entry by entry
// against the same definitions evaluated in long double. An entry may only differ
// where the exact value lies within a few ulps of a whole number: there the double
// arithmetic around the function decides, and with it any libm's last bit. The
// counts of such entries are printed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdint>

#include "layers/interpolation_tables.h"
#include "platform/portable_math.h"
#include "render/integer_math.h"
#include "render/render_fixture.h"
#include "render/spectral_colours.h"
#include "render/spectral_locus.h"

namespace corvanthe {
namespace {

using testing::default_settings;
using testing::full_request;
using testing::prepared;

struct Agreement {
    int64_t entries = 0, near_whole = 0, differing_near = 0, differing_far = 0, library_entries = 0, unlike_library = 0;
    // `window` ulps of the value: how many roundings may stand between the
    // definition and the double the code truncates. `library` is the entry the C
    // library's double function gives, where the test forms it.
    void check(int64_t entry, long double exact, double window = 4, int64_t library = INT64_MIN) {
        ++entries;
        if (library != INT64_MIN) {
            ++library_entries;
            unlike_library += library != entry;
        }
        const long double nearest = std::round(exact);
        const long double ulp = std::ldexp(1.0L, std::ilogb(double(exact == 0 ? 1 : exact)) - 52);
        const bool near = std::fabs(exact - nearest) <= window * ulp;
        near_whole += near;
        if (entry != int64_t(std::trunc(exact))) (near ? differing_near : differing_far) += 1;
    }
    void expect(const char* table) const {
        std::printf("%-14s %8lld entries, %lld within a few ulps of a whole number, %lld of those differ; %lld of %lld unlike libm\n",
                    table, (long long)entries, (long long)near_whole, (long long)differing_near, (long long)unlike_library,
                    (long long)library_entries);
        EXPECT_GT(entries, 0) << table;
        EXPECT_EQ(differing_far, 0) << table;
    }
};

long double gamma_exponent(long double e) { return e >= 0 ? 1 + e : 1 / (1 - e); }

TEST(TableMath, HaloAndSpikeProfile) {
    Agreement halo, profile;
    const Colour16 colours[] = {default_settings().halo_colour, {65535, 65535, 65535}, {0x3100, 0x7f00, 0xc800}};
    for (const Colour16& colour : colours)
        for (int32_t v = 0; v <= 100; ++v) {
            SunSettings s = default_settings();
            s.halo_colour = colour;
            s.halo_brightness = v;
            s.spike_gamma = v;
            const auto c = prepared(s, full_request(32, 32));
            const long double kh = gamma_exponent((50 - v) * 8 / 50.0L), ks = gamma_exponent((v - 25) * 2 / 50.0L);
            const int32_t rgb[3] = {colour.red >> 8, colour.green >> 8, colour.blue >> 8};
            const double khd = double(kh), ksd = double(ks);
            for (int32_t i = 0; i < 256; ++i) {
                const long double g = std::pow(i / 256.0L, kh);
                const double gd = std::pow(i / 256.0, khd);
                const int32_t factor[3] = {(rgb[0] * i) >> 1, (rgb[1] * (i * i / 256)) >> 1, (rgb[2] * (i * i * i / 65536)) >> 1};
                for (int ch = 0; ch < 3; ++ch) halo.check(c->halo[ch][i], g * factor[ch], 4, trunc_int32(gd * factor[ch]));
            }
            for (int32_t i = 0; i < kSpikeProfileSize; ++i)
                profile.check(c->spike_profile[i], 300 * std::pow(i / 300.0L, ks), 4, trunc_int32(300 * std::pow(i / 300.0, ksd)));
        }
    halo.expect("halo");
    profile.expect("spike profile");
}

TEST(TableMath, SpikeLineDirections) {
    // Every direction a spike line can take: the quantised angle plus a jitter of
    // -512..511 scaled by the spread, as the renderer forms it; its sine and cosine
    // are truncated at a scale of 255.
    Agreement lines;
    for (int32_t angle = 0; angle < 360; ++angle)
        for (int32_t jitter = -512; jitter < 512; ++jitter)
            for (double spread : {1.0, 0.37, 0.0}) {
                if (spread == 0.0 && jitter != 0) continue;
                double theta = (angle * 2048 / 360) * 0.003067931700874575 + jitter * spread * 3.1415926 / 1024.01;
                if (theta < 0) theta += 6.283185307;
                if (theta > 6.283185307) theta -= 6.283185307;
                theta -= 1.5707963267948966;
                lines.check(trunc_int32(255 * pmath::sin(theta)), 255 * std::sin((long double)theta), 2,
                            trunc_int32(255 * std::sin(theta)));
                lines.check(trunc_int32(255 * pmath::cos(theta)), 255 * std::cos((long double)theta), 2,
                            trunc_int32(255 * std::cos(theta)));
            }
    lines.expect("spike lines");
}

TEST(TableMath, SphereMap) {
    Agreement sphere;
    for (int32_t side : {100, 400, 1000})
        for (int32_t radius : {10, 30, 50, 100})
            for (int32_t detail : {0, 25, 50, 70, 100}) {
                SunSettings s = default_settings();
                s.sun_radius = radius;
                s.sun_detail = detail;
                const auto c = prepared(s, full_request(side, side));
                const int32_t R = c->disc_radius;
                for (int32_t i = 0; i <= R; ++i) {
                    const long double t = (long double)i / R;
                    const long double ratio = i == 0 ? 0 : std::asin(t) / t;
                    const double td = double(i) / R;
                    const int32_t library = trunc_int32(std::asin(td) * 512 / 1.57079632679489 * (4 * c->noise_scale) / (td == 0 ? 1 : td));
                    sphere.check(c->sphere_map[i], ratio * 512 / 1.57079632679489L * (4 * (long double)c->noise_scale), 4, library);
                }
            }
    sphere.expect("sphere map");
}

TEST(TableMath, SpectralLocusPowers) {
    // Rows x, y, z; columns red, green, blue. The inverse by Cramer's rule.
    constexpr long double p[3][3] = {{0.64L, 0.29L, 0.15L}, {0.33L, 0.60L, 0.06L}, {0.03L, 0.11L, 0.79L}};
    long double inv[3][3];
    const long double det = p[0][0] * (p[1][1] * p[2][2] - p[1][2] * p[2][1]) - p[0][1] * (p[1][0] * p[2][2] - p[1][2] * p[2][0]) +
                            p[0][2] * (p[1][0] * p[2][1] - p[1][1] * p[2][0]);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            inv[r][c] = (p[(c + 1) % 3][(r + 1) % 3] * p[(c + 2) % 3][(r + 2) % 3] -
                         p[(c + 1) % 3][(r + 2) % 3] * p[(c + 2) % 3][(r + 1) % 3]) / det;
    Agreement spectrum;
    for (SpectrumShape shape : {SpectrumShape::Spikes, SpectrumShape::Bow}) {
        int32_t table[3][kSpectrumSize];
        build_spectrum(shape, table);
        for (int i = 0; i < kLocusCount; ++i) {
            const int nm = kLocusFirstNanometre + kLocusStepNanometres * i;
            const long double x = kSpectralLocus[i].x, y = kSpectralLocus[i].y, z = 1 - x - y;
            long double envelope = 1, exponent[3] = {0.1L, 0.1L, 0.3L};
            if (shape == SpectrumShape::Bow) {
                if (nm > 600) envelope = (780 - nm) / 180.0L;
                if (nm < 440) envelope = (nm - 380) / 60.0L;
                exponent[0] = nm < 500 ? (500 - nm) / 120.0L * 0.2L + 0.1L : 0.1L;
                exponent[1] = 0.02L;
            }
            for (int c = 0; c < 3; ++c) {
                const long double component = inv[c][0] * x + inv[c][1] * y + inv[c][2] * z;
                if (component > 0) spectrum.check(table[c][i], std::pow(component, exponent[c]) * envelope * (long double)185.78f);
            }
        }
    }
    spectrum.expect("spectrum");
}

TEST(TableMath, InterpolationTaps) {
    // The sinc windowed by a sinc twice as wide, averaged over 20 sub-positions per tap.
    auto kernel = [](long double x) -> long double {
        if (x == 0) return 1;
        if (std::fabs(x) >= 2) return 0;
        const long double a = 3.141592653L * x, b = a / 2;
        return std::sin(a) / a * (std::sin(b) / b);
    };
    const InterpolationTables& t = interpolation_tables();
    Agreement taps;
    for (int32_t i = 0; i < kPhases; ++i) {
        long double w[kTaps], total = 0;
        for (int32_t k = 0; k < kTaps; ++k) {
            w[k] = 0;
            for (int32_t d = 0; d < 20; ++d) w[k] += kernel(i / 128.0L - 2 - d / 21.0L + k);
            total += w[k];
        }
        // The last tap takes the rest; the first four are truncated.
        for (int32_t k = 0; k < kTaps - 1; ++k) {
            taps.check(t.weights_2048[i][k], w[k] / total * 2048, 64);
            taps.check(t.weights_32768[i][k], w[k] / total * 32768, 64);
        }
    }
    taps.expect("interpolation");
}

// The division that takes 32 bits where it can: truncation toward zero on both sides of
// the 32-bit range, and the one 32-bit quotient that overflows (INT32_MIN / -1) in 64 bits.
TEST(IntegerMath, DivideTruncatesTowardZeroInAndBeyond32Bits) {
    constexpr int64_t kCases[][3] = {
        {7, 2, 3},
        {-7, 2, -3},
        {7, -2, -3},
        {-7, -2, 3},
        {INT32_MIN, -1, int64_t(1) << 31},
        {INT32_MIN, 1, INT32_MIN},
        {INT32_MAX, -1, -int64_t(INT32_MAX)},
        {int64_t(1) << 40, 3, 366503875925},
        {-(int64_t(1) << 40), int64_t(1) << 33, -128},
        {5, int64_t(1) << 35, 0},
    };
    for (const auto& c : kCases) EXPECT_EQ(divide(c[0], c[1]), c[2]) << c[0] << " / " << c[1];
}

}  // namespace
}  // namespace corvanthe
