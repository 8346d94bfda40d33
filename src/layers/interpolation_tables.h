#pragma once
// Tap weights of the 5 x 5 windowed-sinc interpolation: 128 sub-pixel phases, five taps each, in
// three precisions. Built once for the process and shared by every store.
#include <cstdint>

namespace corvanthe {

inline constexpr int32_t kPhases = 128;
inline constexpr int32_t kTaps = 5;

struct InterpolationTables {
    float weights[kPhases][kTaps];         // sum to 1 (float stores)
    int32_t weights_2048[kPhases][kTaps];  // sum to exactly 2048 (8-bit stores)
    int32_t weights_32768[kPhases][kTaps];  // sum to exactly 32768 (16-bit stores)
};

// The shared tables, built on first use.
const InterpolationTables& interpolation_tables();

}  // namespace corvanthe
