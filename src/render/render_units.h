#pragma once
// Conversions from slider values to the renderer's units.
#include <cstdint>

#include "render/render_context.h"

namespace corvanthe {

// A size slider p (0..100) in pixels: quadratic, 100 gives the shorter side, never below 1.
int32_t size_px(int32_t p, int64_t width, int64_t height);

// One thousandth of the shorter side (at least 0.000001): spike and noise scales follow it.
double base_length(int64_t width, int64_t height);

// Angle (whole degrees from +x towards +y) and length of a direction pair.
Direction direction_of(float x, float y);

}  // namespace corvanthe
