#pragma once
// Element types of a LayerStore. The codes are stored in the store and decide every access.
#include <cstdint>

namespace corvanthe {

enum class PixelKind : int32_t {
    rgba8 = 3,       // one 32-bit word: red bits 24-31, green 16-23, blue 8-15, alpha 0-7
    rgba16 = 4,      // four unsigned 16-bit values red, green, blue, alpha
    rgba_float = 9,  // four floats red, green, blue, alpha
};

struct PixelKindInfo {
    int32_t channels;
    int32_t bytes_per_channel;
    int32_t bytes_per_pixel;
    float scale;  // the stored value of one
};

// The layout of a kind, or null for a code the program creates no store of.
const PixelKindInfo* pixel_kind_info(PixelKind kind);

}  // namespace corvanthe
