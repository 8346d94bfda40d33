#include "layers/glue_kernel.h"

#include <algorithm>

#include "layers/glue_mode.h"
#include "layers/hsl.h"

namespace corvanthe {

namespace {

using Wide = int64_t;
constexpr Wide kOne = kFixedOne;
constexpr Wide kHalf = kFixedOne / 2;
constexpr float kFixedLimit = 8.0f;
constexpr double kStep = 1.0 / 32768;  // 2^-15

Wide capped(Wide v) { return std::min(v, kOne); }

// The overlay formula on a base b and a top t; "hard light" swaps their roles.
Wide overlay(Wide base, Wide top) {
    if (base < kHalf) return (base * top) >> 14;
    return kOne - (((kOne - base) * (kOne - top)) >> 14);
}

// Overlay of a softened multiply 1 - (1 - sh)^2 and a softened screen 1 - ((1 - s)(1 - h))^2.
Wide superlay(Wide s, Wide h) {
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
Wide blend_channel(int32_t mode, Wide s, Wide h, int32_t k) {
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

struct Fixed3 {
    Wide c[3];
};

[[gnu::always_inline]] inline Fixed3 fixed_colour(const PixelValue& p) { return {{to_fixed(p.red), to_fixed(p.green), to_fixed(p.blue)}}; }

Rgb real_colour(const Fixed3& f) { return {f.c[0] * kStep, f.c[1] * kStep, f.c[2] * kStep}; }

// Fixed-point luma on the 0..32768 scale, in real units.
double luma(const Fixed3& f) { return double((77 * f.c[0] + 150 * f.c[1] + 28 * f.c[2]) >> 8) * kStep; }

// The hue and saturation of `colour` with the perceptual lightness `lightness`.
Fixed3 with_perceptual_lightness(const Fixed3& colour, double lightness) {
    Hsl hsl = rgb_to_hsl(real_colour(colour));
    hsl.lightness = lightness_from_perceptual(hsl, lightness);
    const Rgb out = hsl_to_rgb(hsl);
    return {{to_fixed(float(out.red)), to_fixed(float(out.green)), to_fixed(float(out.blue))}};
}

// "composite" over a transparency plane: the sun's light is unmixed from what lies behind
// it, and the alpha says how much of the pixel the sun covers.
Fixed3 composite_over_transparency(const Fixed3& s, int32_t k, float& alpha) {
    const float r = float(s.c[0] * kStep), g = float(s.c[1] * kStep), b = float(s.c[2] * kStep);
    const float l = std::clamp(2 * (0.3f * r + 0.59f * g + 0.11f * b), 0.0f, 1.0f);
    const float p = 1 - float(k) * 0.25f;
    const float q = l + p * (1 - l);
    float out[3] = {r, g, b};
    if (q != 0)
        for (float& c : out) c /= q;
    alpha = std::max(p, q);
    return {{capped(to_fixed(out[0])), capped(to_fixed(out[1])), capped(to_fixed(out[2]))}};
}

}  // namespace

int32_t to_fixed(float v) {
    if (!(v == v)) return 0;
    return int32_t(std::clamp(v, -kFixedLimit, kFixedLimit) * float(kFixedOne));
}

PixelValue glue_kernel(const PixelValue& sun, const PixelValue& host, int32_t mode, int32_t k,
                       bool editable_transparency) {
    const Fixed3 s = fixed_colour(sun);
    const Fixed3 h = fixed_colour(host);
    float alpha = sun.alpha;
    Fixed3 r;
    if (mode == kGlueColor) {
        r = with_perceptual_lightness(s, luma(h));
    } else if (mode == kGlueLuminance) {
        r = with_perceptual_lightness(h, luma(s));
    } else if (mode == kGlueComposite && editable_transparency) {
        r = composite_over_transparency(s, k, alpha);
    } else {
        for (int i = 0; i < 3; ++i) r.c[i] = blend_channel(mode, s.c[i], h.c[i], k);
    }
    return {float(r.c[0] * kStep), float(r.c[1] * kStep), float(r.c[2] * kStep), alpha};
}

}  // namespace corvanthe
