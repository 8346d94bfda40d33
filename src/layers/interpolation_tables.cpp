#include "layers/interpolation_tables.h"

#include <cmath>

#include "platform/portable_math.h"

namespace corvanthe {
namespace {

constexpr double kPi = 3.141592653;

// sinc windowed by a sinc twice as wide, zero from |x| = 2 on.
double kernel(double x) {
    if (x == 0.0) return 1.0;
    if (std::fabs(x) >= 2.0) return 0.0;
    const double a = kPi * x, b = kPi * x / 2.0;
    return (pmath::sin(a) / a) * (pmath::sin(b) / b);
}

void fill_integer_taps(const double (&w)[kTaps], int32_t scale, int32_t (&taps)[kTaps]) {
    int32_t sum = 0;
    for (int32_t k = 0; k < kTaps - 1; ++k) {
        taps[k] = int32_t(w[k] * scale);
        sum += taps[k];
    }
    taps[kTaps - 1] = scale - sum;
}

InterpolationTables build() {
    InterpolationTables t{};
    for (int32_t i = 0; i < kPhases; ++i) {
        // The kernel is averaged over 20 sub-positions of each tap.
        double w[kTaps], total = 0.0;
        for (int32_t k = 0; k < kTaps; ++k) {
            double raw = 0.0;
            for (int32_t d = 0; d < 20; ++d) raw += kernel(i / 128.0 - 2.0 - d / 21.0 + k);
            w[k] = raw;
            total += raw;
        }
        float float_sum = 0.0f;
        for (int32_t k = 0; k < kTaps; ++k) w[k] /= total;
        for (int32_t k = 0; k < kTaps - 1; ++k) {
            t.weights[i][k] = float(w[k]);
            float_sum += t.weights[i][k];
        }
        t.weights[i][kTaps - 1] = 1.0f - float_sum;
        fill_integer_taps(w, 2048, t.weights_2048[i]);
        fill_integer_taps(w, 32768, t.weights_32768[i]);
    }
    return t;
}

}  // namespace

const InterpolationTables& interpolation_tables() {
    static const InterpolationTables tables = build();
    return tables;
}

}  // namespace corvanthe
