#include "export/page_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

#include "layers/jpeg_codec.h"
#include "layers/jpeg_reader.h"
#include "layers/jpeg_writer.h"
#include "settings/settings_file.h"

namespace corvanthe::page_test {
namespace {

class OneColourThumbnail final : public ThumbnailPort {
public:
    OneColourThumbnail(uint8_t r, uint8_t g, uint8_t b) : store_(create_store(&store_, 128, 128, PixelKind::rgba8)) {
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) set_pixel(*store_, x, y, 0, {float(r), float(g), float(b), 255.0f});
    }
    ~OneColourThumbnail() { free_store(store_); }
    bool compress(ThumbnailJpeg& out) override {
        if (encode_jpeg(store_, 80, JpegSegments{}, bytes_) != kJpegOk) return false;
        out = {bytes_.data(), bytes_.size(), 128, 128};
        return true;
    }
    bool can_show() const override { return false; }
    bool show(const uint8_t*, std::size_t, int32_t, int32_t) override { return false; }

private:
    LayerStore* store_;
    JpegBytes bytes_;
};

struct SizeSink {
    int width = 0;
    int height = 0;
};

bool measure(void* context, int row, const uint8_t*, int width, int) {
    auto& size = *static_cast<SizeSink*>(context);
    size.width = width;
    size.height = row + 1;
    return true;
}

}  // namespace

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int count(const std::string& text, const std::string& piece) {
    int n = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

void write_preset(const std::filesystem::path& path, const SunSettings& settings, uint8_t r, uint8_t g, uint8_t b) {
    OneColourThumbnail thumbnail(r, g, b);
    ASSERT_EQ(write_settings_file(path.string(), settings, &thumbnail), kFileOk) << path;
}

bool decode_picture(const std::filesystem::path& path, DecodedPicture& out) {
    const std::string bytes = read_file(path);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    SizeSink size;
    if (bytes.empty() || !decompress_jpeg(data, bytes.size(), measure, &size)) return false;
    LayerStore* store = create_store(nullptr, size.width, size.height, PixelKind::rgba8);
    const bool decoded = store && decode_jpeg(data, bytes.size(), *store);
    if (decoded) {
        out.width = size.width;
        out.height = size.height;
        out.centre = get_pixel(*store, size.width / 2, size.height / 2, 0);
    }
    free_store(store);
    return decoded;
}

bool have_exiftool() { return std::system("exiftool -ver >/dev/null 2>&1") == 0; }

std::string exif_tag(const std::filesystem::path& path, const std::string& tag) {
    const std::string command = "exiftool -s3 -" + tag + " '" + path.string() + "' 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

std::string today_exif_date() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[40];
    std::snprintf(text, sizeof text, "%04d:%02d:%02d", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
    return text;
}

}  // namespace corvanthe::page_test
