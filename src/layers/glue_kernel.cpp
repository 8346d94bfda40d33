#include "layers/glue_kernel.h"

#include "layers/hsl.h"

namespace corvanthe {

namespace glue_detail {

namespace {

Rgb real_colour(const Fixed3& f) { return {f.c[0] * kStep, f.c[1] * kStep, f.c[2] * kStep}; }

}  // namespace

Fixed3 with_perceptual_lightness(const Fixed3& colour, double lightness) {
    Hsl hsl = rgb_to_hsl(real_colour(colour));
    hsl.lightness = lightness_from_perceptual(hsl, lightness);
    const Rgb out = hsl_to_rgb(hsl);
    return {{to_fixed(out.red), to_fixed(out.green), to_fixed(out.blue)}};
}

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

}  // namespace glue_detail

PixelValue glue_kernel(const PixelValue& sun, const PixelValue& host, int32_t mode, int32_t k,
                       bool editable_transparency) {
    return glue_kernel_in<0>(sun, host, mode, k, editable_transparency);
}

}  // namespace corvanthe
