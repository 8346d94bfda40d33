#include "apps/cli/image_formats/tiff_file.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <filesystem>

#include "image_test_support.h"
#include "scratch_folder.h"

namespace corvanthe::cli {
namespace {

namespace fs = std::filesystem;
using hosting::ColourKind;

fs::path scratch(const std::string& name) { return scratch_folder() / name; }

TEST(TiffFile, ReadsTheLayoutsOtherWritersUse) {
    struct Case {
        const char* what;
        int depth;
        ColourKind colour;
        bool alpha;
        void (*configure)(OIIO::ImageSpec&);
    };
    const Case cases[] = {
        {"tiles of separate planes, LZW", 16, ColourKind::rgb, true,
         [](OIIO::ImageSpec& s) {
             s.tile_width = s.tile_height = 16;
             s.attribute("planarconfig", "separate");
             s.attribute("compression", "lzw");
         }},
        {"strips of separate planes", 8, ColourKind::grey, true,
         [](OIIO::ImageSpec& s) { s.attribute("planarconfig", "separate"); }},
        {"deflated float strips", 32, ColourKind::rgb, false,
         [](OIIO::ImageSpec& s) { s.attribute("compression", "zip"); }},
        {"float tiles with alpha", 32, ColourKind::grey, true,
         [](OIIO::ImageSpec& s) { s.tile_width = s.tile_height = 16; }},
        // Associated alpha: the samples are kept as the file stores them.
        {"associated alpha", 8, ColourKind::rgb, true,
         [](OIIO::ImageSpec& s) { s.attribute("oiio:UnassociatedAlpha", 0); }},
    };
    for (const Case& c : cases) {
        const hosting::Document doc = noise_picture(37, 21, c.depth, c.colour, c.alpha);
        const std::string path = scratch("layout.tif").string();
        ASSERT_TRUE(write_with_oiio(path, doc, c.configure)) << c.what;
        hosting::Document back;
        std::string error;
        ASSERT_TRUE(read_tiff_file(path, back, error)) << c.what << ": " << error;
        expect_same_picture(back, doc, c.what);
    }
}

// A 2 x 2 file of the given kind written by libtiff itself.
bool write_raw_tiff(const fs::path& path, uint16_t photometric, uint16_t samples, uint16_t bits, uint16_t format) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (!tiff) return false;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 2u);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 2u);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, format);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 2u);
    std::vector<uint8_t> strip(std::size_t(4) * samples * ((bits + 7) / 8), 0x55);
    const bool ok = TIFFWriteEncodedStrip(tiff, 0, strip.data(), tmsize_t(strip.size())) >= 0;
    TIFFClose(tiff);
    return ok;
}

TEST(TiffFile, RefusesWhatItCannotKeepAndSaysWhy) {
    struct Case {
        const char* what;
        uint16_t photometric, samples, bits, format;
        const char* says;
    };
    const Case cases[] = {
        {"CMYK", PHOTOMETRIC_SEPARATED, 4, 8, SAMPLEFORMAT_UINT, "grey"},
        {"double precision", PHOTOMETRIC_MINISBLACK, 1, 64, SAMPLEFORMAT_IEEEFP, "64 bits"},
        {"signed integers", PHOTOMETRIC_RGB, 3, 16, SAMPLEFORMAT_INT, "16 bits"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(write_raw_tiff(scratch("refused.tif"), c.photometric, c.samples, c.bits, c.format)) << c.what;
        hosting::Document doc;
        std::string error;
        EXPECT_FALSE(read_tiff_file(scratch("refused.tif").string(), doc, error)) << c.what;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
    }
    // The same writer's 8-bit RGB is read, so the refusals above are about the kind.
    ASSERT_TRUE(write_raw_tiff(scratch("plain.tif"), PHOTOMETRIC_RGB, 3, 8, SAMPLEFORMAT_UINT));
    hosting::Document doc;
    std::string error;
    ASSERT_TRUE(read_tiff_file(scratch("plain.tif").string(), doc, error)) << error;
    EXPECT_EQ(doc.pixels, std::vector<uint8_t>(12, 0x55));
}

TEST(TiffFile, DamagedFilesFailWithAReason) {
    std::string error;
    const hosting::Document doc = noise_picture(300, 200, 16, ColourKind::rgb, false);
    ASSERT_TRUE(write_tiff_file(scratch("whole.tif").string(), doc, error)) << error;
    const std::string bytes = file_bytes(scratch("whole.tif"));
    for (std::size_t keep : {std::size_t(6), bytes.size() / 2, bytes.size() - 100}) {
        write_bytes(scratch("cut.tif"), bytes.substr(0, keep));
        hosting::Document back;
        error.clear();
        EXPECT_FALSE(read_tiff_file(scratch("cut.tif").string(), back, error)) << keep << " bytes";
        EXPECT_NE(error.find("TIFF"), std::string::npos) << error;
    }
    // The directory is whole but the compressed samples are not.
    std::string garbled = bytes;
    std::fill_n(garbled.begin() + std::ptrdiff_t(bytes.size() / 3), 64, '\xff');
    write_bytes(scratch("garbled.tif"), garbled);
    hosting::Document back;
    EXPECT_FALSE(read_tiff_file(scratch("garbled.tif").string(), back, error));
    EXPECT_NE(error.find("damaged TIFF file"), std::string::npos) << error;
}

}  // namespace
}  // namespace corvanthe::cli
