#pragma once
// One pixel as the glue and the image access see it: colour channels 0..1 for 8- and
// 16-bit images, the host's own floats for 32-bit images (1.0 is full intensity there too).
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace corvanthe {

// The brightest colour channel of a float image or store: the renderer's ceiling of 65535 on
// the 16-bit scale, where 32768 is full intensity, so just under 2.0 (room for light brighter
// than white, which integer images clip at 1).
inline constexpr float kFloatColourCeiling = 65535.0f / 32768.0f;

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

// One host sample of Bytes bytes as a channel value: 8-bit samples over 255, 16-bit samples
// over 32768, floats as they are.
template <int Bytes>
[[gnu::always_inline]] inline float load_sample(const uint8_t* at) {
    static_assert(Bytes == 1 || Bytes == 2 || Bytes == 4);
    if constexpr (Bytes == 1) {
        return kByteValues[at[0]];
    } else if constexpr (Bytes == 2) {
        uint16_t v;
        std::memcpy(&v, at, sizeof v);
        return v / 32768.0f;
    } else {
        float v;
        std::memcpy(&v, at, sizeof v);
        return v;
    }
}

// A channel value as a host sample: integer samples are scaled (255, 32768), held to
// 0..scale (NaN gives 0) and truncated toward zero; floats are stored as they are.
template <int Bytes>
[[gnu::always_inline]] inline void store_sample(uint8_t* at, float value) {
    static_assert(Bytes == 1 || Bytes == 2 || Bytes == 4);
    if constexpr (Bytes == 4) {
        std::memcpy(at, &value, sizeof value);
    } else {
        constexpr float scale = Bytes == 1 ? 255.0f : 32768.0f;
        float scaled = value * scale;
        if (!(scaled > 0.0f)) scaled = 0.0f;  // also NaN
        if (scaled > scale) scaled = scale;
        if constexpr (Bytes == 1) {
            at[0] = static_cast<uint8_t>(scaled);
        } else {
            const uint16_t v = static_cast<uint16_t>(scaled);
            std::memcpy(at, &v, sizeof v);
        }
    }
}

}  // namespace corvanthe
