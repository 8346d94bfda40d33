#pragma once
// The fixed list of 2048 values in 0..2047 (with repeats) that every seeded random
// table of the renderer is shuffled from.
//
// The values were generated once by the 32-bit linear congruential generator
//   x = x * 1664525 + 1013904223 (mod 2^32), starting from x = 0x436F7276,
// taking the top 11 bits (x >> 21) of each of the first 2048 states. About two thirds
// of the values 0..2047 occur. The list is data now, not code: it must never change.
#include <array>
#include <cstdint>

namespace corvanthe {

constexpr int kRandomListSize = 2048;
extern const std::array<uint16_t, kRandomListSize> kRandomList;

}  // namespace corvanthe
