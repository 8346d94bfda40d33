#include "layers/glue_write_back.h"

#include <algorithm>

#include "layers/glue_one.h"

namespace corvanthe {

namespace {

using namespace glue_detail;

// The loop of glue_run with the kernel compiled for one mode.
template <int32_t Mode>
void glue_pixels(int32_t x0, int32_t y, int32_t count, const PixelValue* suns, const int32_t* k,
                 const PixelValue* hosts, const float* masks, const GlueSetup& setup, PixelValue* out) {
    for (int32_t i = 0; i < count; ++i) out[i] = glue_one<Mode>(x0 + i, y, suns[i], k[i], hosts[i], masks[i], setup);
}

template <int32_t Mode>
struct PixelLoop {
    static constexpr auto run = &glue_pixels<Mode>;
};

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
    kModeLoops<PixelLoop>[loop_index(setup.mode)](x0, y, count, suns, k, hosts, masks, setup, out);
    destination.write_run(x0, y, count, out);
}

}  // namespace corvanthe
