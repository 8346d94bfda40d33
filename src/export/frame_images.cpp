#include "export/frame_images.h"

#include <algorithm>
#include <cstdio>

#include "platform/files.h"

namespace corvanthe {

const FrameImage kFrameImages[4] = {
    {"top.gif", 94, 2, false},
    {"left.gif", 3, 88, false},
    {"right.gif", 3, 88, false},
    {"bottom.gif", 94, 5, true},
};

namespace {

// Four greys: the page's white, a light rule, a mid shadow and a dark shadow.
constexpr uint8_t kPalette[4][3] = {{255, 255, 255}, {214, 214, 214}, {160, 160, 160}, {96, 96, 96}};

// Palette index of pixel (x, y): light rules at top and sides, a shadow that fades
// downwards at the bottom.
uint8_t frame_pixel(const FrameImage& frame, int x, int y) {
    static constexpr uint8_t kShadow[5] = {3, 2, 1, 1, 0};
    return frame.shadow ? (x < 3 ? 0 : kShadow[y]) : 1;
}

void put16(std::vector<uint8_t>& out, int v) {
    out.push_back(uint8_t(v & 0xFF));
    out.push_back(uint8_t(v >> 8));
}

// LZW data with a two-bit minimum code size, kept at three-bit codes by sending a
// clear code before every pair of pixels, so no code table is ever built up.
std::vector<uint8_t> lzw_codes(const FrameImage& frame) {
    constexpr unsigned kClear = 4, kEnd = 5, kBits = 3;
    std::vector<uint8_t> bytes;
    uint32_t accumulator = 0;
    unsigned filled = 0;
    auto emit = [&](unsigned code) {
        accumulator |= code << filled;
        filled += kBits;
        while (filled >= 8) {
            bytes.push_back(uint8_t(accumulator & 0xFF));
            accumulator >>= 8;
            filled -= 8;
        }
    };
    int n = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x, ++n) {
            if (n % 2 == 0) emit(kClear);
            emit(frame_pixel(frame, x, y));
        }
    emit(kEnd);
    if (filled) bytes.push_back(uint8_t(accumulator & 0xFF));
    return bytes;
}

}  // namespace


std::vector<uint8_t> frame_image_gif(const FrameImage& frame) {
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    put16(out, frame.width);
    put16(out, frame.height);
    out.push_back(0x81);  // global colour table of 4 entries
    out.push_back(0);     // background colour index
    out.push_back(0);     // square pixels
    for (const auto& rgb : kPalette) out.insert(out.end(), rgb, rgb + 3);

    out.push_back(0x2C);  // image descriptor
    put16(out, 0);
    put16(out, 0);
    put16(out, frame.width);
    put16(out, frame.height);
    out.push_back(0);
    out.push_back(2);  // minimum code size

    const std::vector<uint8_t> codes = lzw_codes(frame);
    for (std::size_t at = 0; at < codes.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, codes.size() - at);
        out.push_back(uint8_t(n));
        out.insert(out.end(), codes.begin() + long(at), codes.begin() + long(at + n));
    }
    out.push_back(0);     // block terminator
    out.push_back(0x3B);  // trailer
    return out;
}

bool write_frame_images(const std::string& folder) {
    bool all = true;
    for (const FrameImage& frame : kFrameImages) {
        const std::vector<uint8_t> gif = frame_image_gif(frame);
        std::FILE* f = open_file(folder + frame.file_name, "wb");
        if (!f) {
            all = false;
            continue;
        }
        all = std::fwrite(gif.data(), 1, gif.size(), f) == gif.size() && all;
        all = std::fclose(f) == 0 && all;
    }
    return all;
}

}  // namespace corvanthe
