#pragma once
// The glue kernel: one sun pixel S blended onto one host pixel H by a glue mode, in
// 15-bit fixed point (one is 32768). Products are 64-bit, so colours above one keep
// their values until each mode caps its result.
#include <cstdint>

#include "layers/pixel_value.h"

namespace corvanthe {

constexpr int32_t kFixedOne = 32768;

// v × 32768 truncated toward zero, held to ±8.0 so that no product of the kernel can
// leave the 64-bit range (real colours stay far below that); NaN gives 0.
int32_t to_fixed(float v);

// R = kernel(S, H, mode, k). R's colour channels are the integer results × 2^-15; its
// alpha is S's alpha, which only "composite" with editable transparency changes. k is the
// disc coverage (0 inside, 1..3 on the rim, 4 outside). A mode outside 2..19 is "normal".
PixelValue glue_kernel(const PixelValue& sun, const PixelValue& host, int32_t mode, int32_t k,
                       bool editable_transparency);

}  // namespace corvanthe
