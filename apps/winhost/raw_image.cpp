#include "apps/winhost/raw_image.h"

#include <cstdio>
#include <cstring>

namespace corvanthe::winhost {
namespace {

constexpr char kMagic[4] = {'C', 'V', 'R', 'W'};
constexpr std::size_t kHeaderBytes = 16;
// Larger pictures are no use for comparing two runs and would only invite overflow.
constexpr uint32_t kMaxSide = 1 << 15;

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

uint32_t get_u32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

std::vector<uint8_t> encode_raw_image(const hosting::Document& document) {
    std::vector<uint8_t> out(kMagic, kMagic + 4);
    put_u32(out, uint32_t(document.width));
    put_u32(out, uint32_t(document.height));
    out.push_back(uint8_t(document.depth));
    out.push_back(uint8_t(document.colour_planes()));
    out.push_back(document.transparency ? 1 : 0);
    out.push_back(document.has_mask() ? 1 : 0);
    out.insert(out.end(), document.pixels.begin(), document.pixels.end());
    out.insert(out.end(), document.mask.begin(), document.mask.end());
    return out;
}

std::optional<hosting::Document> decode_raw_image(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic, 4) != 0) return std::nullopt;
    const uint32_t width = get_u32(&bytes[4]);
    const uint32_t height = get_u32(&bytes[8]);
    const uint8_t depth = bytes[12], colour_planes = bytes[13], transparency = bytes[14], mask = bytes[15];
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return std::nullopt;
    if ((depth != 8 && depth != 16 && depth != 32) || (colour_planes != 1 && colour_planes != 3) ||
        transparency > 1 || mask > 1)
        return std::nullopt;

    hosting::Document document;
    document.width = int32_t(width);
    document.height = int32_t(height);
    document.depth = depth;
    document.colour = colour_planes == 1 ? hosting::ColourKind::grey : hosting::ColourKind::rgb;
    document.transparency = transparency == 1;
    const std::size_t pixel_bytes = std::size_t(height) * document.row_bytes();
    const std::size_t mask_bytes = mask ? std::size_t(width) * height : 0;
    if (bytes.size() != kHeaderBytes + pixel_bytes + mask_bytes) return std::nullopt;
    const auto pixels = bytes.begin() + kHeaderBytes;
    document.pixels.assign(pixels, pixels + std::ptrdiff_t(pixel_bytes));
    document.mask.assign(pixels + std::ptrdiff_t(pixel_bytes), bytes.end());
    return document;
}

std::optional<std::vector<uint8_t>> read_file(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return std::nullopt;
    return bytes;
}

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace corvanthe::winhost
