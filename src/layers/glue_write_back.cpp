#include "layers/glue_write_back.h"

#include <algorithm>
#include <array>
#include <utility>

#include "layers/glue_kernel.h"

namespace corvanthe {

namespace {

constexpr float kAlphaGain = 1.007f;
constexpr float kFloatCeiling = 65535.0f;

PixelValue mix(const PixelValue& from, const PixelValue& to, float weight) {
    return {from.red + (to.red - from.red) * weight, from.green + (to.green - from.green) * weight,
            from.blue + (to.blue - from.blue) * weight, from.alpha + (to.alpha - from.alpha) * weight};
}

// R over the opaque backdrop C: C's colour moves toward R by R's alpha and stays opaque.
PixelValue over_checkerboard(const PixelValue& r, const PixelValue& c) {
    const float a = r.alpha;
    if (!(a > 0)) return c;
    const float d = a / (a + c.alpha - a * c.alpha);
    PixelValue out = mix(c, r, d);
    out.alpha = c.alpha + a * (1 - c.alpha);
    return out;
}

// glue_pixel, inlined into the loop of the runs; Mode as for glue_kernel_in.
template <int32_t Mode>
[[gnu::always_inline]] inline PixelValue glue_one(int32_t x, int32_t y, PixelValue sun, int32_t k, const PixelValue& host,
                                                 float mask, const GlueSetup& setup) {
    if (!setup.float_destination) sun.alpha *= kAlphaGain;
    sun.alpha = std::clamp(sun.alpha, 0.0f, 1.0f);
    for (float* c : {&sun.red, &sun.green, &sun.blue}) *c = std::max(*c, 0.0f);
    // The bleed changes nothing unless a channel is above 1.
    if (!setup.float_destination && (sun.red > 1.0f || sun.green > 1.0f || sun.blue > 1.0f)) overflow_bleed(sun);
    if (setup.grey) sun.red = sun.green = sun.blue = 0.3f * sun.red + 0.59f * sun.green + 0.11f * sun.blue;

    PixelValue r;
    if (setup.float_destination) {
        r = sun;
        for (float* c : {&r.red, &r.green, &r.blue}) *c = std::min(*c, kFloatCeiling);
    } else {
        r = glue_kernel_in<Mode>(sun, host, setup.mode, k, setup.editable_transparency);
        for (float* c : {&r.red, &r.green, &r.blue}) *c = std::min(*c, 1.0f);
    }

    PixelValue under = host;
    if (setup.render_mode == 1) {
        under = checkerboard(x, y);
        r = over_checkerboard(r, under);
    }
    if (mask < 1) r = mix(under, r, mask);
    return r;
}

// The loop of glue_run with the kernel compiled for one mode.
template <int32_t Mode>
void glue_pixels(int32_t x0, int32_t y, int32_t count, const PixelValue* suns, const int32_t* k,
                 const PixelValue* hosts, const float* masks, const GlueSetup& setup, PixelValue* out) {
    for (int32_t i = 0; i < count; ++i) out[i] = glue_one<Mode>(x0 + i, y, suns[i], k[i], hosts[i], masks[i], setup);
}

using GluePixels = void (*)(int32_t, int32_t, int32_t, const PixelValue*, const int32_t*, const PixelValue*,
                            const float*, const GlueSetup&, PixelValue*);

// glue_pixels for each mode 0..kGlueModeCount; entry 0 takes the mode from the setup.
template <int32_t... Modes>
constexpr auto make_glue_loops(std::integer_sequence<int32_t, Modes...>) {
    return std::array<GluePixels, sizeof...(Modes)>{&glue_pixels<Modes>...};
}
constexpr auto kGlueLoops = make_glue_loops(std::make_integer_sequence<int32_t, kGlueModeCount + 1>());

}  // namespace

void overflow_bleed(PixelValue& sun) {
    float* channels[3] = {&sun.red, &sun.green, &sun.blue};
    float excess = 0;
    int over = 0;
    int count = 0;
    for (int i = 0; i < 3; ++i) {
        if (*channels[i] > 1.0f) {
            excess += *channels[i] - 1.0f;
            over |= 1 << i;
            ++count;
        }
    }
    const float spill = excess * 60.0f / 256.0f;
    if (count == 1) {
        // The other two in red, green, blue order: Y first, then Z.
        float* rest[2];
        int n = 0;
        for (int i = 0; i < 3; ++i)
            if (!(over & (1 << i))) rest[n++] = channels[i];
        float& y = *rest[0];
        float& z = *rest[1];
        y += spill / 2;
        z += spill / 2;
        if (y > 1.0f) z += y - 1.0f;
        if (z > 1.0f) y += z - 1.0f;
    } else if (count == 2) {
        for (int i = 0; i < 3; ++i)
            if (!(over & (1 << i))) *channels[i] += spill;
    }
}

PixelValue checkerboard(int32_t x, int32_t y) {
    const float grey = ((x ^ y) & 8) == 0 ? 1.0f : 0.8f;
    return {grey, grey, grey, 1.0f};
}

PixelValue glue_pixel(int32_t x, int32_t y, PixelValue sun, int32_t k, const PixelValue& host, float mask,
                      const GlueSetup& setup) {
    return glue_one<0>(x, y, sun, k, host, mask, setup);
}

void glue_write_back(int32_t x, int32_t y, const PixelValue& sun, int32_t k, const GlueSetup& setup,
                     GlueDestination& destination) {
    glue_run(x, y, 1, &sun, &k, setup, destination);
}

void glue_run(int32_t x0, int32_t y, int32_t count, const PixelValue* suns, const int32_t* k, const GlueSetup& setup,
              GlueDestination& destination) {
    count = std::clamp(count, 0, kGlueRunLength);
    PixelValue hosts[kGlueRunLength];
    float masks[kGlueRunLength];
    destination.read_run(x0, y, count, hosts, masks);
    PixelValue out[kGlueRunLength];
    // Modes outside 1..19 blend as "normal"; the generic loop handles them.
    const int32_t mode = setup.mode >= 1 && setup.mode <= kGlueModeCount ? setup.mode : 0;
    kGlueLoops[size_t(mode)](x0, y, count, suns, k, hosts, masks, setup, out);
    destination.write_run(x0, y, count, out);
}

}  // namespace corvanthe
