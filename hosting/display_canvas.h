#pragma once
// What the host's displayPixels service drew: an RGB canvas that grows to take every
// drawing, and the list of calls.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sdk/display.h"

namespace corvanthe::hosting {

struct DisplayCall {
    sdk::VRect source{};
    int32_t dst_row = 0;
    int32_t dst_col = 0;
    int32_t image_mode = 0;
    void* context = nullptr;
};

class DisplayCanvas {
public:
    // Copies the source rectangle of the map to (dst_row, dst_col). Returns 0, or -30100
    // for a map it cannot read (null, not 8-bit grey or RGB, rectangle outside its bounds).
    int16_t draw(const sdk::PSPixelMap& map, const sdk::VRect& source, int32_t dst_row, int32_t dst_col,
                 void* context);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    // Channel 0..2 of the canvas pixel; 0 where nothing was drawn.
    uint8_t at(int32_t x, int32_t y, int channel) const;
    const std::vector<DisplayCall>& calls() const { return calls_; }
    void clear();

private:
    void grow(int32_t width, int32_t height);

    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint8_t> rgb_;
    std::vector<DisplayCall> calls_;
};

}  // namespace corvanthe::hosting
