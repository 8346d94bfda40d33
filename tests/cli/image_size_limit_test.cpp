// A header that claims a huge image is refused before anything is allocated for it;
// files that really hold large images at the best compression still read.
#include "apps/cli/image_formats/image_size_limit.h"

#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>

#include "apps/cli/image_formats/jpeg_file.h"
#include "apps/cli/image_formats/png_file.h"
#include "apps/cli/image_formats/tiff_file.h"
#include "image_test_support.h"
#include "scratch_folder.h"

namespace corvanthe::cli {
namespace {

namespace fs = std::filesystem;
using hosting::ColourKind;

fs::path scratch(const std::string& name) { return scratch_folder() / name; }

void put_be32(std::string& bytes, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = char(v >> (24 - 8 * i));
}

// Expects the read to fail with a message holding `says`, with no document made.
template <typename Reader>
void expect_refused(Reader read, const fs::path& path, const std::string& says) {
    hosting::Document doc;
    std::string error;
    EXPECT_FALSE(read(path.string(), doc, error)) << path;
    EXPECT_NE(error.find(says), std::string::npos) << path << ": " << error;
    EXPECT_TRUE(doc.pixels.empty()) << path;
}

TEST(ImageSizeLimit, PngHeaderClaimingMoreThanTheFileHolds) {
    std::string error;
    ASSERT_TRUE(write_png_file(scratch("small.png").string(), noise_picture(16, 16, 8, ColourKind::rgb, true), 1, error));
    std::string bytes = file_bytes(scratch("small.png"));
    // IHDR's width and height, then its CRC over the type and the data.
    put_be32(bytes, 16, 60000);
    put_be32(bytes, 20, 60000);
    put_be32(bytes, 29, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 12), 17)));
    write_bytes(scratch("huge.png"), bytes);
    expect_refused(read_png_file, scratch("huge.png"), "claims a 60000 x 60000 image");
}

// 4000 x 4000 1-bit zeros deflated at level 9: about 1000 filtered bytes per file
// byte, close to what deflate can reach at all.
TEST(ImageSizeLimit, TheBestCompressedPngStillReads) {
    const fs::path path = scratch("zeros.png");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    constexpr uint32_t kSide = 4000;
    std::vector<uint8_t> row(kSide / 8, 0);
    volatile bool written = false;  // set between setjmp and a possible longjmp
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_compression_level(png, 9);
        png_set_IHDR(png, info, kSide, kSide, 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (uint32_t y = 0; y < kSide; ++y) png_write_row(png, row.data());
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    ASSERT_EQ(std::fclose(file), 0);
    ASSERT_TRUE(written);
    const double ratio = double(kSide) * (1 + kSide / 8) / double(fs::file_size(path));
    ASSERT_GT(ratio, 900) << "the file is not compressed as far as the test needs";

    hosting::Document doc;
    std::string error;
    ASSERT_TRUE(read_png_file(path.string(), doc, error)) << error;
    EXPECT_EQ(doc.width, int32_t(kSide));
    EXPECT_EQ(doc.height, int32_t(kSide));
}

// A little-endian TIFF of one grey 8-bit strip or tile of 16 stored bytes, with the
// directory's size fields as given.
std::string tiny_tiff(uint32_t width, uint32_t height, uint16_t compression, uint32_t tile_side) {
    struct Entry {
        uint16_t tag, type;
        uint32_t value;
    };
    const uint32_t data_at = 8;
    std::vector<Entry> entries = {{TIFFTAG_IMAGEWIDTH, TIFF_LONG, width},
                                  {TIFFTAG_IMAGELENGTH, TIFF_LONG, height},
                                  {TIFFTAG_BITSPERSAMPLE, TIFF_SHORT, 8},
                                  {TIFFTAG_COMPRESSION, TIFF_SHORT, compression},
                                  {TIFFTAG_PHOTOMETRIC, TIFF_SHORT, PHOTOMETRIC_MINISBLACK}};
    if (tile_side == 0) {
        entries.insert(entries.end(), {{TIFFTAG_STRIPOFFSETS, TIFF_LONG, data_at},
                                       {TIFFTAG_SAMPLESPERPIXEL, TIFF_SHORT, 1},
                                       {TIFFTAG_ROWSPERSTRIP, TIFF_LONG, height},
                                       {TIFFTAG_STRIPBYTECOUNTS, TIFF_LONG, 16}});
    } else {
        entries.insert(entries.end(), {{TIFFTAG_SAMPLESPERPIXEL, TIFF_SHORT, 1},
                                       {TIFFTAG_TILEWIDTH, TIFF_LONG, tile_side},
                                       {TIFFTAG_TILELENGTH, TIFF_LONG, tile_side},
                                       {TIFFTAG_TILEOFFSETS, TIFF_LONG, data_at},
                                       {TIFFTAG_TILEBYTECOUNTS, TIFF_LONG, 16}});
    }
    std::string bytes = "II*";
    bytes += '\0';
    const auto le = [&bytes](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bytes += char(v >> (8 * i));
    };
    le(data_at + 16, 4);  // the directory follows the data
    bytes.append(16, '\0');
    le(uint32_t(entries.size()), 2);
    for (const Entry& e : entries) {
        le(e.tag, 2);
        le(e.type, 2);
        le(1, 4);
        le(e.value, 4);  // a SHORT sits in the first two bytes
    }
    le(0, 4);
    return bytes;
}

TEST(ImageSizeLimit, TiffHeadersClaimingMoreThanTheFileHolds) {
    // The same file read well at its real size: the refusals below come from the claims.
    write_bytes(scratch("tiny.tif"), tiny_tiff(4, 4, COMPRESSION_NONE, 0));
    hosting::Document doc;
    std::string error;
    ASSERT_TRUE(read_tiff_file(scratch("tiny.tif").string(), doc, error)) << error;
    EXPECT_EQ(doc.pixels.size(), 16u);

    write_bytes(scratch("huge.tif"), tiny_tiff(60000, 60000, COMPRESSION_ADOBE_DEFLATE, 0));
    expect_refused(read_tiff_file, scratch("huge.tif"), "claims a 60000 x 60000 image");
    write_bytes(scratch("huge-stored.tif"), tiny_tiff(20000, 30000, COMPRESSION_NONE, 0));
    expect_refused(read_tiff_file, scratch("huge-stored.tif"), "claims a 20000 x 30000 image");
    // A small image in one enormous tile: the tile is stored whole, so it must fit too.
    write_bytes(scratch("huge-tile.tif"), tiny_tiff(16, 16, COMPRESSION_ADOBE_DEFLATE, 65536));
    expect_refused(read_tiff_file, scratch("huge-tile.tif"), "claims a 65536 x 65536 tile");
    // A compression without a known best ratio: a fixed limit.
    write_bytes(scratch("huge-zstd.tif"), tiny_tiff(30000, 20000, COMPRESSION_ZSTD, 0));
    expect_refused(read_tiff_file, scratch("huge-zstd.tif"), "too large");
}

// A 16 x 16 RGB file, baseline from our writer or progressive from libjpeg.
std::string small_jpeg(bool progressive) {
    const hosting::Document doc = gradient_picture(16, 16, ColourKind::rgb);
    const fs::path path = scratch("small.jpg");
    std::string error;
    if (!progressive) {
        EXPECT_TRUE(write_jpeg_file(path.string(), doc, error)) << error;
        return file_bytes(path);
    }
    EXPECT_TRUE(write_with_libjpeg(path.string(), 16, 16, 3, JCS_RGB, doc.pixels.data(), doc.row_bytes(), true));
    return file_bytes(path);
}

TEST(ImageSizeLimit, JpegHeaderClaimingAHugeImage) {
    // 16384 x 16384 RGB is 768 MB, more than the fixed limit; 8192 x 8192 is 192 MB read
    // row by row, but a progressive file also keeps 6 bytes of coefficients a pixel
    // until its last scan: 576 MB.
    const struct {
        bool progressive;
        uint32_t side;
        bool refused;
    } cases[] = {{false, 16384, true}, {false, 8192, false}, {true, 8192, true}, {true, 4096, false}};
    for (const auto& c : cases) {
        std::string bytes = small_jpeg(c.progressive);
        const std::size_t frame = bytes.find(c.progressive ? "\xff\xc2" : "\xff\xc0");
        ASSERT_NE(frame, std::string::npos);
        // The frame header: length, precision, then height and width, 16 bits each.
        for (const std::size_t at : {frame + 5, frame + 7}) {
            bytes[at] = char(c.side >> 8);
            bytes[at + 1] = char(c.side);
        }
        write_bytes(scratch("claimed.jpg"), bytes);
        hosting::Document doc;
        std::string error;
        const std::string what = std::to_string(c.side) + (c.progressive ? " progressive" : " baseline");
        // The data is a small picture's either way: what is not refused is damaged.
        EXPECT_FALSE(read_jpeg_file(scratch("claimed.jpg").string(), doc, error)) << what;
        const std::string size = std::to_string(c.side) + " x " + std::to_string(c.side);
        const bool refused = error.find(size + " image is too large") != std::string::npos;
        EXPECT_EQ(refused, c.refused) << what << ": " << error;
    }
}

}  // namespace
}  // namespace corvanthe::cli
