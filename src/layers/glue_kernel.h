#pragma once
// The glue kernel: one sun pixel S blended onto one host pixel H by a glue mode, in
// 15-bit fixed point (one is 32768). Products are 64-bit, so colours above one keep
// their values until each mode caps its result.
//
// The per-channel formulas live here as inline functions so that a loop which keeps one
// mode for many pixels can have them compiled for that mode (glue_kernel_in<Mode>).
#include <algorithm>
#include <cstdint>

#include "layers/glue_mode.h"
#include "layers/pixel_value.h"

namespace corvanthe {

constexpr int32_t kFixedOne = 32768;

// v × 32768 truncated toward zero, held to ±8.0 so that no product of the kernel can
// leave the 64-bit range (real colours stay far below that); NaN gives 0. The product is
// taken in v's own type (float or double), so a double is truncated from its exact value.
template <typename Real>
inline int32_t to_fixed(Real v) {
    constexpr Real kFixedLimit = 8;
    if (!(v == v)) return 0;
    return int32_t(std::clamp(v, -kFixedLimit, kFixedLimit) * Real(kFixedOne));
}

namespace glue_detail {

using Wide = int64_t;
constexpr Wide kOne = kFixedOne;
constexpr Wide kHalf = kFixedOne / 2;
constexpr double kStep = 1.0 / 32768;  // 2^-15

struct Fixed3 {
    Wide c[3];
};

inline Wide capped(Wide v) { return std::min(v, kOne); }

// The overlay formula on a base b and a top t; "hard light" swaps their roles.
inline Wide overlay(Wide base, Wide top) {
    if (base < kHalf) return (base * top) >> 14;
    return kOne - (((kOne - base) * (kOne - top)) >> 14);
}

// Overlay of a softened multiply 1 - (1 - sh)^2 and a softened screen 1 - ((1 - s)(1 - h))^2.
inline Wide superlay(Wide s, Wide h) {
    const Wide m = (h * s) >> 15;
    const Wide a = ((kOne - m) * (kOne - m)) >> 15;
    const Wide c = kOne - a;
    const Wide u = ((kOne - s) * h) >> 15;
    const Wide q = kOne - u - s;
    const Wide v = (q * q) >> 15;
    const Wide r = c < kHalf ? ((kOne - v) * c) >> 14 : kOne - ((v * a) >> 14);
    return std::max<Wide>(r, 0);  // a sun channel above 2.0 can drive it negative
}

// Every mode that works on each channel by itself.
[[gnu::always_inline]] inline Wide blend_channel(int32_t mode, Wide s, Wide h, int32_t k) {
    switch (mode) {
        case kGlueProceduralPlus: {
            const Wide w = h < kHalf ? h / 2 : kHalf - h / 2;
            return (s * w + (kHalf - w) * h) >> 14;
        }
        case kGlueProceduralMinus: return capped(s + ((h * s) >> 15));
        case kGlueDifference:
        case kGlueExclusion: return ((kOne - s) * h + (kOne - h) * s) >> 15;
        case kGlueLighten: return h > s ? h : s;
        case kGlueDarken: return h < s ? h : s;
        case kGlueAdd: return capped(s + h);
        case kGlueSubtract: return std::max<Wide>(s - h, 0);
        case kGlueMultiply: return (h * s) >> 15;
        case kGlueScreen: return s + (((kOne - s) * h) >> 15);
        case kGlueComposite: return capped(s + ((k * h) >> 2));
        case kGlueHardLight: return overlay(s, h);
        case kGlueOverlay: return overlay(h, s);
        case kGlueSuperlay: return superlay(s, h);
        case kGlueLinearLight: {
            const Wide v = h + 2 * s - kOne;
            return s >= kHalf ? std::min(v, kOne) : std::max<Wide>(v, 0);
        }
        case kGluePinLight: return s < kHalf ? std::min(h, 2 * s) : std::max(h, 2 * s - kOne);
        default: return s;
    }
}

[[gnu::always_inline]] inline Fixed3 fixed_colour(const PixelValue& p) {
    return {{to_fixed(p.red), to_fixed(p.green), to_fixed(p.blue)}};
}

// Fixed-point luma on the 0..32768 scale, in real units.
inline double luma(const Fixed3& f) { return double((77 * f.c[0] + 150 * f.c[1] + 28 * f.c[2]) >> 8) * kStep; }

// The hue and saturation of `colour` with the perceptual lightness `lightness`.
Fixed3 with_perceptual_lightness(const Fixed3& colour, double lightness);

// "composite" over a transparency plane: the sun's light is unmixed from what lies behind
// it, and the alpha says how much of the pixel the sun covers.
Fixed3 composite_over_transparency(const Fixed3& s, int32_t k, float& alpha);

}  // namespace glue_detail

// glue_kernel with the mode fixed at compile time; Mode 0 takes it from `mode`.
template <int32_t Mode>
[[gnu::always_inline]] inline PixelValue glue_kernel_in(const PixelValue& sun, const PixelValue& host, int32_t mode,
                                                        int32_t k, bool editable_transparency) {
    using namespace glue_detail;
    const int32_t m = Mode != 0 ? Mode : mode;
    const Fixed3 s = fixed_colour(sun);
    const Fixed3 h = fixed_colour(host);
    float alpha = sun.alpha;
    Fixed3 r;
    if (m == kGlueColor) {
        r = with_perceptual_lightness(s, luma(h));
    } else if (m == kGlueLuminance) {
        r = with_perceptual_lightness(h, luma(s));
    } else if (m == kGlueComposite && editable_transparency) {
        r = composite_over_transparency(s, k, alpha);
    } else {
        for (int i = 0; i < 3; ++i) r.c[i] = blend_channel(m, s.c[i], h.c[i], k);
    }
    return {float(r.c[0] * kStep), float(r.c[1] * kStep), float(r.c[2] * kStep), alpha};
}

// R = kernel(S, H, mode, k). R's colour channels are the integer results × 2^-15; its
// alpha is S's alpha, which only "composite" with editable transparency changes. k is the
// disc coverage (0 inside, 1..3 on the rim, 4 outside). A mode outside 2..19 is "normal".
PixelValue glue_kernel(const PixelValue& sun, const PixelValue& host, int32_t mode, int32_t k,
                       bool editable_transparency);

}  // namespace corvanthe
