#include "layers/level_geometry.h"

namespace corvanthe {

int32_t next_level_size(int32_t s) {
    int32_t half = s / 2 + s % 2;
    if (half > 2 && half % 2 == 1) ++half;
    return half;
}

int32_t level_sizes(int32_t width, int32_t height, LevelSize (&sizes)[kMaxLevels]) {
    sizes[0] = {width, height};
    int32_t last = 1;
    for (; last < kMaxLevels; ++last) {
        sizes[last] = {next_level_size(sizes[last - 1].width), next_level_size(sizes[last - 1].height)};
        if (sizes[last].width == 1 && sizes[last].height == 1) break;
    }
    return last < kMaxLevels ? last : kMaxLevels - 1;
}

}  // namespace corvanthe
