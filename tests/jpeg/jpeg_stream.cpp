#include "jpeg/jpeg_stream.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace corvanthe::testing {

std::vector<Segment> segments_of(const uint8_t* data, std::size_t size) {
    std::vector<Segment> out;
    if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) return out;
    std::size_t i = 2;
    while (i + 4 <= size && data[i] == 0xFF) {
        const int marker = data[i + 1];
        const std::size_t length = data[i + 2] << 8 | data[i + 3];
        if (length < 2 || i + 2 + length > size) break;
        out.push_back({marker, std::vector<uint8_t>(data + i + 4, data + i + 2 + length)});
        if (marker == 0xDA) break;
        i += 2 + length;
    }
    return out;
}

std::vector<int> quant_table(const std::vector<Segment>& segments, int id) {
    // Zig-zag position k holds the coefficient at natural index kNatural[k].
    static const int kNatural[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                     12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                     35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                     58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
    for (const Segment& s : segments) {
        if (s.marker != 0xDB) continue;
        std::size_t i = 0;
        while (i < s.payload.size()) {
            const int precision = s.payload[i] >> 4;
            const int table = s.payload[i] & 15;
            ++i;
            std::vector<int> natural(64);
            for (int k = 0; k < 64; ++k) {
                natural[kNatural[k]] = precision ? (s.payload[i] << 8 | s.payload[i + 1]) : s.payload[i];
                i += precision ? 2 : 1;
            }
            if (table == id) return natural;
        }
    }
    return {};
}

int sampling_of(const std::vector<Segment>& segments, int index) {
    for (const Segment& s : segments) {
        if (s.marker != 0xC0) continue;
        const std::size_t at = 6 + 3 * static_cast<std::size_t>(index) + 1;
        return at < s.payload.size() ? s.payload[at] : -1;
    }
    return -1;
}

Picture decode_with_djpeg(const uint8_t* data, std::size_t size, std::string& error) {
    Picture picture;
    if (std::system("command -v djpeg >/dev/null 2>&1") != 0) {
        error = "djpeg was not found (install libjpeg-turbo-progs)";
        return picture;
    }
    const auto folder = std::filesystem::temp_directory_path();
    const std::string base = (folder / ("corvanthe-djpeg-" + std::to_string(getpid()))).string();
    {
        std::ofstream f(base + ".jpg", std::ios::binary);
        f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::string command = "djpeg -ppm -outfile '" + base + ".ppm' '" + base + ".jpg' 2>'" + base + ".err'";
    const int rc = std::system(command.c_str());
    std::ifstream ppm(base + ".ppm", std::ios::binary);
    std::ifstream err(base + ".err");
    std::stringstream messages;
    messages << err.rdbuf();
    if (rc != 0) {
        error = "djpeg failed: " + messages.str();
    } else {
        std::string magic;
        int maxval = 0;
        ppm >> magic >> picture.width >> picture.height >> maxval;
        ppm.get();
        picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
        ppm.read(reinterpret_cast<char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
        if (magic != "P6" || maxval != 255 || !ppm) {
            error = "djpeg wrote no RGB picture";
            picture = Picture{};
        }
    }
    std::filesystem::remove(base + ".jpg");
    std::filesystem::remove(base + ".ppm");
    std::filesystem::remove(base + ".err");
    return picture;
}

}  // namespace corvanthe::testing
