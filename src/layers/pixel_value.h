#pragma once
// One pixel as the glue and the image access see it: colour channels 0..1 for 8- and
// 16-bit images, the host's own floats for 32-bit images.
#include <array>
#include <cstddef>
#include <cstdint>

namespace corvanthe {

struct PixelValue {
    float red = 0;
    float green = 0;
    float blue = 0;
    float alpha = 0;
};

// Every 8-bit sample and selection value v as v / 255, the same floats the division gives,
// without a division per sample.
inline constexpr std::array<float, 256> kByteValues = [] {
    std::array<float, 256> values{};
    for (int v = 0; v < 256; ++v) values[size_t(v)] = float(v) / 255.0f;
    return values;
}();

// A channel value as an integer sample of `scale` (255 for 8 bits, 32768 for 16 bits):
// scaled, then held to 0..scale (NaN gives 0); the caller's conversion truncates it.
inline float scaled_sample(float value, float scale) {
    float scaled = value * scale;
    if (!(scaled > 0.0f)) scaled = 0.0f;  // also NaN
    if (scaled > scale) scaled = scale;
    return scaled;
}

inline uint8_t byte_sample(float value) { return static_cast<uint8_t>(scaled_sample(value, 255.0f)); }

}  // namespace corvanthe
