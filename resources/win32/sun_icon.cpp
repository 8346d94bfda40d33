// Writes the plug-in's icon: a sun disc, hot yellow at the centre running to orange at
// the rim, with a faint glow around it, at 16 × 16, 32 × 32 and 48 × 48 pixels in
// 32-bit colour with alpha. The icon is drawn here so that the build owns every byte.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

class Bytes {
public:
    void u8(uint32_t v) { data.push_back(uint8_t(v)); }
    void u16(uint32_t v) { u8(v); u8(v >> 8); }
    void u32(uint32_t v) { u16(v); u16(v >> 16); }
    std::vector<uint8_t> data;
};

uint8_t clamp_byte(double v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); }

// One image as the icon directory stores it: a bitmap header with doubled height, the
// colour rows bottom-up (blue, green, red, alpha), then the 1-bit AND mask.
std::vector<uint8_t> sun_image(int size) {
    Bytes out;
    out.u32(40);
    out.u32(uint32_t(size));
    out.u32(uint32_t(size * 2));
    out.u16(1);   // planes
    out.u16(32);  // bits per pixel
    out.u32(0);   // uncompressed
    out.u32(0);
    out.u32(0);
    out.u32(0);
    out.u32(0);
    out.u32(0);

    const double centre = size / 2.0;
    const double disc = size * 0.34;
    const double glow = size * 0.5;
    for (int row = size - 1; row >= 0; --row) {
        for (int col = 0; col < size; ++col) {
            const double dx = col + 0.5 - centre, dy = row + 0.5 - centre;
            const double r = std::sqrt(dx * dx + dy * dy);
            double red = 255, green, blue, alpha;
            if (r <= disc) {
                const double t = r / disc;  // 0 at the centre, 1 at the rim
                green = 240 - 110 * t * t;
                blue = 120 * (1 - t);
                alpha = 255 * std::fmin(1.0, disc - r + 0.5);  // smooth rim
            } else {
                const double t = (r - disc) / (glow - disc);
                green = 130;
                blue = 0;
                alpha = t >= 1 ? 0 : 110 * (1 - t) * (1 - t);
            }
            out.u8(clamp_byte(blue));
            out.u8(clamp_byte(green));
            out.u8(clamp_byte(red));
            out.u8(clamp_byte(alpha));
        }
    }
    const int mask_row_bytes = ((size + 31) / 32) * 4;
    for (int i = 0; i < mask_row_bytes * size; ++i) out.u8(0);  // alpha decides
    return out.data;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: corvanthe_sun_icon <icon file>\n");
        return 2;
    }
    const int sizes[] = {16, 32, 48};
    std::vector<std::vector<uint8_t>> images;
    for (int size : sizes) images.push_back(sun_image(size));

    Bytes out;
    out.u16(0);  // reserved
    out.u16(1);  // icon
    out.u16(uint32_t(images.size()));
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.u8(uint32_t(sizes[i]));
        out.u8(uint32_t(sizes[i]));
        out.u8(0);  // no palette
        out.u8(0);
        out.u16(1);
        out.u16(32);
        out.u32(uint32_t(images[i].size()));
        out.u32(offset);
        offset += uint32_t(images[i].size());
    }
    for (const auto& image : images) out.data.insert(out.data.end(), image.begin(), image.end());

    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::fprintf(stderr, "corvanthe_sun_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    const bool written = std::fwrite(out.data.data(), 1, out.data.size(), file) == out.data.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "corvanthe_sun_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
