#pragma once
// Default settings and whole-image render requests, shared by the tests and the benchmarks.
#include <cstdint>

#include "render/render_context.h"
#include "settings/sun_settings.h"

namespace corvanthe::testing {

// Default settings (as after initialise).
inline SunSettings default_settings() {
    SunSettings s{};
    initialise(s);
    return s;
}

// A mode 0, scale divisor 1 request over a whole width x height image at (0, 0).
inline RenderRequest full_request(int32_t width, int32_t height, DepthClass depth = DepthClass::Sixteen) {
    RenderRequest r;
    r.rect = {0, 0, width, height};
    r.image_width = width;
    r.image_height = height;
    r.depth = depth;
    return r;
}

}  // namespace corvanthe::testing
