#pragma once
// Sizes of the levels of a pyramid: each level half the one before, a size above 2 made even,
// ending at the first 1 x 1 level after level 0 and never beyond level 19.
#include <cstdint>

namespace corvanthe {

inline constexpr int32_t kMaxLevels = 20;

struct LevelSize {
    int32_t width;
    int32_t height;
    bool operator==(const LevelSize&) const = default;
};

// The size of the level after one of size s along one axis (0 stays 0).
int32_t next_level_size(int32_t s);

// Fills sizes[0..L] for a w x h image and returns L (1..19); both sizes must be at least 1.
int32_t level_sizes(int32_t width, int32_t height, LevelSize (&sizes)[kMaxLevels]);

}  // namespace corvanthe
