#include "apps/cli/image_formats/jpeg_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "image_test_support.h"
#include "scratch_folder.h"

namespace corvanthe::cli {
namespace {

namespace fs = std::filesystem;
using hosting::ColourKind;

fs::path scratch(const std::string& name) { return scratch_folder() / name; }

TEST(JpegFile, GreyAndColourComeBackCloseToTheOriginal) {
    for (ColourKind colour : {ColourKind::grey, ColourKind::rgb}) {
        const hosting::Document doc = gradient_picture(64, 40, colour);
        std::string error;
        ASSERT_TRUE(write_jpeg_file(scratch("round.jpg").string(), doc, error)) << error;
        hosting::Document back;
        ASSERT_TRUE(read_jpeg_file(scratch("round.jpg").string(), back, error)) << error;
        ASSERT_EQ(back.colour, colour);
        ASSERT_EQ(back.pixels.size(), doc.pixels.size());
        int worst = 0;
        for (std::size_t i = 0; i < doc.pixels.size(); ++i) worst = std::max(worst, std::abs(back.pixels[i] - doc.pixels[i]));
        EXPECT_LE(worst, 4) << (colour == ColourKind::rgb ? "RGB" : "grey");
    }
}

TEST(JpegFile, RefusesCmykAndDamagedFiles) {
    // A 2 x 2 CMYK file from libjpeg itself.
    const uint8_t cmyk[8] = {0, 50, 100, 150, 200, 250, 30, 60};
    ASSERT_TRUE(write_with_libjpeg(scratch("cmyk.jpg").string(), 2, 2, 4, JCS_CMYK, cmyk, 0, false));
    hosting::Document doc;
    std::string error;
    EXPECT_FALSE(read_jpeg_file(scratch("cmyk.jpg").string(), doc, error));
    EXPECT_NE(error.find("CMYK"), std::string::npos) << error;

    ASSERT_TRUE(write_jpeg_file(scratch("whole.jpg").string(), gradient_picture(200, 160, ColourKind::rgb), error));
    const std::string bytes = file_bytes(scratch("whole.jpg"));
    // Cut in the headers and in the compressed data: the library itself would pad the
    // latter with grey and call it a picture.
    // With the end marker put back after a cut in the compressed data, the library pads
    // the rest with zeros and only warns.
    const std::string end_marker = "\xff\xd9";
    const std::string cuts[] = {bytes.substr(0, 20), bytes.substr(0, bytes.size() / 2),
                                bytes.substr(0, bytes.size() - 2), bytes.substr(0, bytes.size() / 2) + end_marker,
                                bytes.substr(0, bytes.size() - 40) + end_marker};
    for (const std::string& cut : cuts) {
        write_bytes(scratch("cut.jpg"), cut);
        error.clear();
        EXPECT_FALSE(read_jpeg_file(scratch("cut.jpg").string(), doc, error)) << cut.size() << " bytes";
        EXPECT_NE(error.find("damaged JPEG file"), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace corvanthe::cli
