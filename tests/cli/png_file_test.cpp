#include "apps/cli/image_formats/png_file.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>

#include "apps/cli/image_formats/png_bands.h"
#include "image_test_support.h"
#include "scratch_folder.h"

namespace corvanthe::cli {
namespace {

namespace fs = std::filesystem;
using hosting::ColourKind;

fs::path scratch(const std::string& name) { return scratch_folder() / name; }

// A file as libpng itself writes it, for the kinds our writer never makes.
struct LibpngFile {
    uint32_t width, height;
    int bit_depth, colour_type;
    bool interlaced;
    std::vector<png_color> palette;
    std::vector<uint8_t> alphas;  // the palette's transparency table
    std::vector<uint8_t> rows;    // packed as the file stores them
};

bool write_with_libpng(const fs::path& path, const LibpngFile& f) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const std::size_t stride = png_uint_32(f.rows.size() / f.height);
    bool ok = false;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, f.width, f.height, f.bit_depth, f.colour_type,
                     f.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        if (!f.palette.empty()) png_set_PLTE(png, info, f.palette.data(), int(f.palette.size()));
        if (!f.alphas.empty()) png_set_tRNS(png, info, f.alphas.data(), int(f.alphas.size()), nullptr);
        png_write_info(png, info);
        if (f.bit_depth == 16) png_set_swap(png);
        std::vector<png_bytep> rows(f.height);
        for (uint32_t y = 0; y < f.height; ++y) rows[y] = const_cast<uint8_t*>(f.rows.data()) + y * stride;
        png_write_image(png, rows.data());
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

// The image data of a PNG file, inflated by zlib itself, which checks the stream's
// checksum; every chunk's CRC is checked on the way. Empty when anything is wrong.
std::string inflated_image_data(const std::string& file, std::size_t expected_size) {
    std::string stream;
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const auto byte = [&](std::size_t i) { return uint32_t(uint8_t(file[i])); };
        const uint32_t length = byte(at) << 24 | byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
        if (at + 12 + length > file.size()) return {};
        const auto* chunk = reinterpret_cast<const Bytef*>(file.data() + at + 4);
        const std::size_t end = at + 8 + length;
        const uint32_t crc = byte(end) << 24 | byte(end + 1) << 16 | byte(end + 2) << 8 | byte(end + 3);
        if (crc32(0, chunk, uInt(length + 4)) != crc) return {};
        if (file.compare(at + 4, 4, "IDAT") == 0) stream.append(file, at + 8, length);
        at = end + 4;
    }
    std::string data(expected_size + 1, '\0');
    uLongf size = uLongf(data.size());
    if (uncompress(reinterpret_cast<Bytef*>(data.data()), &size, reinterpret_cast<const Bytef*>(stream.data()),
                   uLong(stream.size())) != Z_OK || size != expected_size)
        return {};
    return data;
}

hosting::Document read_ok(const fs::path& path) {
    hosting::Document doc;
    std::string error;
    EXPECT_TRUE(read_png_file(path.string(), doc, error)) << path << ": " << error;
    return doc;
}

TEST(PngFile, ReadsPalettesLowBitGreyAndInterlacedFiles) {
    // Four palette entries, the last two partly transparent, the last with no alpha
    // entry (opaque).
    LibpngFile palette{3, 2, 8, PNG_COLOR_TYPE_PALETTE, false, {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {1, 2, 3}},
                       {255, 128, 0}, {0, 1, 2, 3, 2, 1}};
    ASSERT_TRUE(write_with_libpng(scratch("palette.png"), palette));
    hosting::Document expected = hosting::make_document(3, 2, 8, ColourKind::rgb, true);
    const uint8_t rgba[4][4] = {{10, 20, 30, 255}, {40, 50, 60, 128}, {70, 80, 90, 0}, {1, 2, 3, 255}};
    for (int i = 0; i < 6; ++i) std::memcpy(&expected.pixels[std::size_t(i) * 4], rgba[palette.rows[i]], 4);
    expect_same_picture(read_ok(scratch("palette.png")), expected, "palette with transparency");

    // 2-bit grey: 0..3 spread to 0, 85, 170, 255. One row of 5 pixels, packed 0 1 2 3 | 1.
    ASSERT_TRUE(write_with_libpng(scratch("grey2.png"), {5, 1, 2, PNG_COLOR_TYPE_GRAY, false, {}, {}, {0x1b, 0x40}}));
    expected = hosting::make_document(5, 1, 8, ColourKind::grey, false);
    expected.pixels = {0, 85, 170, 255, 85};
    expect_same_picture(read_ok(scratch("grey2.png")), expected, "2-bit grey");

    // Interlaced 16-bit RGBA: every pass lands where it belongs.
    const hosting::Document picture = noise_picture(13, 11, 16, ColourKind::rgb, true);
    LibpngFile interlaced{13, 11, 16, PNG_COLOR_TYPE_RGBA, true, {}, {}, picture.pixels};
    for (std::size_t i = 0; i < interlaced.rows.size(); i += 2) {
        uint16_t v;
        std::memcpy(&v, &interlaced.rows[i], 2);
        v = file16_from_host(v);
        std::memcpy(&interlaced.rows[i], &v, 2);
    }
    ASSERT_TRUE(write_with_libpng(scratch("interlaced.png"), interlaced));
    expect_same_picture(read_ok(scratch("interlaced.png")), picture, "interlaced 16-bit RGBA");
}

TEST(PngFile, TheBytesDoNotDependOnTheThreadCount) {
    // A single row, a picture shorter than a band, and one of several bands with a
    // short last one.
    const int32_t heights[] = {1, kPngBandRows - 28, 5 * kPngBandRows + 3};
    for (int32_t height : heights)
        for (bool sixteen : {false, true}) {
            const hosting::Document doc = noise_picture(37, height, sixteen ? 16 : 8,
                                                        sixteen ? ColourKind::grey : ColourKind::rgb, sixteen);
            const std::string what = std::to_string(height) + " rows" + (sixteen ? ", 16-bit grey + alpha" : "");
            std::string error;
            ASSERT_TRUE(write_png_file(scratch("one.png").string(), doc, 1, error)) << error;
            const std::string one = file_bytes(scratch("one.png"));
            for (int threads : {2, 3}) {
                ASSERT_TRUE(write_png_file(scratch("many.png").string(), doc, threads, error)) << error;
                EXPECT_TRUE(file_bytes(scratch("many.png")) == one) << what << ", " << threads << " threads";
            }
            // zlib takes the joined stream, checksum included, and another reader the picture.
            EXPECT_FALSE(inflated_image_data(one, std::size_t(height) * (doc.row_bytes() + 1)).empty()) << what;
            hosting::Document back;
            ASSERT_TRUE(read_with_oiio(scratch("many.png").string(), back)) << what;
            expect_same_picture(back, doc, what);
        }
}

TEST(PngFile, DamagedFilesFailWithAReason) {
    std::string error;
    ASSERT_TRUE(write_png_file(scratch("good.png").string(), noise_picture(200, 300, 8, ColourKind::rgb, false), 2, error));
    const std::string bytes = file_bytes(scratch("good.png"));
    std::string flipped = bytes;
    flipped[bytes.size() / 2] = char(flipped[bytes.size() / 2] ^ 0x10);
    const struct {
        const char* what;
        std::string content;
        const char* says;
    } cases[] = {
        {"header only", bytes.substr(0, 40), "ends before"},
        {"cut in the image data", bytes.substr(0, bytes.size() / 2), "ends before"},
        {"no end chunk", bytes.substr(0, bytes.size() - 12), "ends before"},
        {"a changed byte", flipped, "CRC"},
    };
    for (const auto& c : cases) {
        write_bytes(scratch("damaged.png"), c.content);
        hosting::Document doc;
        error.clear();
        EXPECT_FALSE(read_png_file(scratch("damaged.png").string(), doc, error)) << c.what;
        EXPECT_NE(error.find("damaged PNG file"), std::string::npos) << c.what << ": " << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
    }
}

}  // namespace
}  // namespace corvanthe::cli
