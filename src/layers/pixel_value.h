#pragma once
// One pixel as the glue and the image access see it: colour channels 0..1 for 8- and
// 16-bit images, the host's own floats for 32-bit images.

namespace corvanthe {

struct PixelValue {
    float red = 0;
    float green = 0;
    float blue = 0;
    float alpha = 0;
};

}  // namespace corvanthe
