#pragma once
// The glue of one pixel as an inline template, shared by the loops of glue_run and of
// glue_byte_run so that each loop has it compiled for its mode and destination.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "layers/glue_kernel.h"
#include "layers/glue_write_back.h"

namespace corvanthe::glue_detail {

constexpr float kAlphaGain = 1.007f;

inline PixelValue mix(const PixelValue& from, const PixelValue& to, float weight) {
    return {from.red + (to.red - from.red) * weight, from.green + (to.green - from.green) * weight,
            from.blue + (to.blue - from.blue) * weight, from.alpha + (to.alpha - from.alpha) * weight};
}

// R over the opaque backdrop C: C's colour moves toward R by R's alpha and stays opaque.
inline PixelValue over_checkerboard(const PixelValue& r, const PixelValue& c) {
    const float a = r.alpha;
    if (!(a > 0)) return c;
    const float d = a / (a + c.alpha - a * c.alpha);
    PixelValue out = mix(c, r, d);
    out.alpha = c.alpha + a * (1 - c.alpha);
    return out;
}

// What a loop knows of its destination beforehand: nothing (the setup says it all), or a
// colour image without the preview backdrop with integer or float samples.
enum class Known { setup, integer_colour, float_colour };

// glue_pixel with Mode as for glue_kernel_in.
template <int32_t Mode, Known K = Known::setup>
[[gnu::always_inline]] inline PixelValue glue_one(int32_t x, int32_t y, PixelValue sun, int32_t k,
                                                 const PixelValue& host, float mask, const GlueSetup& setup) {
    constexpr bool colour_only = K != Known::setup;
    const bool float_destination = colour_only ? K == Known::float_colour : setup.float_destination;
    if (!float_destination) sun.alpha *= kAlphaGain;
    sun.alpha = std::clamp(sun.alpha, 0.0f, 1.0f);
    for (float* c : {&sun.red, &sun.green, &sun.blue}) *c = std::max(*c, 0.0f);
    // The bleed changes nothing unless a channel is above 1.
    if (!float_destination && (sun.red > 1.0f || sun.green > 1.0f || sun.blue > 1.0f)) overflow_bleed(sun);
    if (!colour_only && setup.grey)
        sun.red = sun.green = sun.blue = 0.3f * sun.red + 0.59f * sun.green + 0.11f * sun.blue;

    PixelValue r;
    if (float_destination) {
        r = sun;
        for (float* c : {&r.red, &r.green, &r.blue}) *c = std::min(*c, kFloatColourCeiling);
    } else {
        r = glue_kernel_in<Mode>(sun, host, setup.mode, k, setup.editable_transparency);
        for (float* c : {&r.red, &r.green, &r.blue}) *c = std::min(*c, 1.0f);
    }

    PixelValue under = host;
    if (!colour_only && setup.render_mode == 1) {
        under = checkerboard(x, y);
        r = over_checkerboard(r, under);
    }
    if (mask < 1) r = mix(under, r, mask);
    return r;
}

// A table of Loop<Mode>::run for each mode 0..kGlueModeCount, indexed by loop_index.
template <template <int32_t> class Loop, int32_t... Modes>
constexpr auto make_mode_loops(std::integer_sequence<int32_t, Modes...>) {
    return std::array{Loop<Modes>::run...};
}
template <template <int32_t> class Loop>
constexpr auto kModeLoops = make_mode_loops<Loop>(std::make_integer_sequence<int32_t, kGlueModeCount + 1>());

// Modes outside 1..19 blend as "normal"; entry 0, which takes the mode from the setup,
// handles them.
inline size_t loop_index(int32_t mode) { return mode >= 1 && mode <= kGlueModeCount ? size_t(mode) : 0; }

}  // namespace corvanthe::glue_detail
