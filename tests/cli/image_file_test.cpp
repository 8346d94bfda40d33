#include "apps/cli/image_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "apps/cli/document_conversion.h"
#include "image_test_support.h"
#include "scratch_folder.h"

namespace corvanthe::cli {
namespace {

namespace fs = std::filesystem;
using hosting::ColourKind;

fs::path scratch(const std::string& name) { return scratch_folder() / name; }

TEST(ImageFile, SixteenBitSamplesMapOntoTheHostRange) {
    EXPECT_EQ(host16_from_file(0), 0);
    EXPECT_EQ(host16_from_file(65535), 32768);
    EXPECT_EQ(file16_from_host(32768), 65535);
    EXPECT_EQ(file16_from_host(40000), 65535);  // beyond the host's full value
    EXPECT_EQ(file16_from_host(16384), 32768);
    for (uint32_t h = 0; h <= 32768; ++h) ASSERT_EQ(host16_from_file(file16_from_host(uint16_t(h))), h);
}

TEST(ImageFile, PngAndTiffKeepEveryKindExactly) {
    struct Format { const char* name; int deepest; };
    for (const Format format : {Format{"a.png", 16}, Format{"b.TIF", 32}, Format{"c.tiff", 32}, Format{"D.PNG", 16}})
        for (int depth : {8, 16, 32})
            for (ColourKind colour : {ColourKind::grey, ColourKind::rgb})
                for (bool alpha : {false, true}) {
                    if (depth > format.deepest) continue;
                    hosting::Document doc = noise_picture(7, 5, depth, colour, alpha, uint32_t(depth + alpha));
                    // A transparent pixel keeps its colour (no premultiplication).
                    if (alpha) {
                        doc.set_sample(1, 1, 0, hosting::full_scale(depth));
                        doc.set_sample(1, 1, doc.planes() - 1, 0);
                    }
                    const std::string what = std::string(format.name) + " " + std::to_string(depth) + " bits" +
                                             (colour == ColourKind::rgb ? " RGB" : " grey") + (alpha ? "A" : "");
                    std::string error;
                    ASSERT_TRUE(write_image_file(scratch(format.name).string(), doc, error)) << what << ": " << error;
                    hosting::Document back;
                    ASSERT_TRUE(read_image_file(scratch(format.name).string(), back, error)) << what << ": " << error;
                    expect_same_picture(back, doc, what);
                }
}

TEST(ImageFile, FormatsWithoutTheDepthOrAlphaGetEightBitColour) {
    // JPEG keeps neither alpha nor more than 8 bits; PNG keeps no floats.
    hosting::Document doc = hosting::make_document(16, 8, 16, ColourKind::rgb, true);
    const hosting::Document smooth = gradient_picture(16, 8, ColourKind::rgb);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 16; ++x) {
            for (int p = 0; p < 3; ++p) doc.set_sample(x, y, p, smooth.sample(x, y, p) * 32768 / 255);
            doc.set_sample(x, y, 3, 0);
        }
    std::string error;
    ASSERT_TRUE(write_image_file(scratch("deep.jpg").string(), doc, error)) << error;
    hosting::Document back;
    ASSERT_TRUE(read_image_file(scratch("deep.jpg").string(), back, error)) << error;
    EXPECT_EQ(back.depth, 8);
    EXPECT_EQ(back.colour, ColourKind::rgb);
    EXPECT_FALSE(back.transparency);
    for (std::size_t i = 0; i < back.pixels.size(); ++i)
        ASSERT_NEAR(back.pixels[i], smooth.pixels[i], 6) << "sample " << i;

    // Grey with alpha stays grey, without its alpha.
    const hosting::Document grey = gradient_picture(16, 8, ColourKind::grey);
    hosting::Document grey_alpha = hosting::make_document(16, 8, 8, ColourKind::grey, true);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 16; ++x) grey_alpha.set_sample(x, y, 0, grey.sample(x, y, 0));
    ASSERT_TRUE(write_image_file(scratch("ga.jpeg").string(), grey_alpha, error)) << error;
    ASSERT_TRUE(read_image_file(scratch("ga.jpeg").string(), back, error)) << error;
    EXPECT_EQ(back.colour, ColourKind::grey);
    EXPECT_FALSE(back.transparency);
    for (std::size_t i = 0; i < back.pixels.size(); ++i) ASSERT_NEAR(back.pixels[i], grey.pixels[i], 3) << i;

    const hosting::Document floats = noise_picture(9, 4, 32, ColourKind::rgb, false);
    ASSERT_TRUE(write_image_file(scratch("float.png").string(), floats, error)) << error;
    ASSERT_TRUE(read_image_file(scratch("float.png").string(), back, error)) << error;
    expect_same_picture(back, convert_depth(floats, 8), "float.png");
}

TEST(ImageFile, TheFormatComesFromTheFileItself) {
    const hosting::Document doc = noise_picture(5, 3, 8, ColourKind::rgb, false);
    std::string error;
    ASSERT_TRUE(write_image_file(scratch("named.png").string(), doc, error)) << error;
    fs::rename(scratch("named.png"), scratch("misnamed.jpg"));
    hosting::Document back;
    ASSERT_TRUE(read_image_file(scratch("misnamed.jpg").string(), back, error)) << error;
    expect_same_picture(back, doc, "a PNG named .jpg");

    write_bytes(scratch("text.png"), "not a picture at all");
    EXPECT_FALSE(read_image_file(scratch("text.png").string(), back, error));
    EXPECT_NE(error.find("text.png"), std::string::npos) << error;
    EXPECT_NE(error.find("PNG, TIFF, JPEG and OpenEXR"), std::string::npos) << error;
}

TEST(ImageFile, FailuresLeaveNothingBehind) {
    std::string error;
    hosting::Document doc;
    EXPECT_FALSE(read_image_file(scratch("missing.png").string(), doc, error));
    EXPECT_NE(error.find("no such file"), std::string::npos) << error;

    for (const char* name : {"truncated.png", "truncated.tif", "truncated.jpg", "truncated.exr"}) {
        const fs::path truncated = scratch(name);
        ASSERT_TRUE(write_image_file(truncated.string(), noise_picture(64, 64, 8, ColourKind::rgb, false), error));
        fs::resize_file(truncated, fs::file_size(truncated) / 2);
        EXPECT_FALSE(read_image_file(truncated.string(), doc, error)) << name;
        EXPECT_NE(error.find(name), std::string::npos) << error;
    }

    EXPECT_FALSE(can_write_image_file(scratch("out.notaformat").string(), error));
    EXPECT_NE(error.find(".tiff"), std::string::npos) << error;
    EXPECT_FALSE(write_image_file(scratch("out.gif").string(), doc, error));
    const fs::path nowhere = scratch("no-such-folder") / "out.png";
    EXPECT_FALSE(write_image_file(nowhere.string(), hosting::make_document(2, 2, 8, ColourKind::grey, false), error));
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));
    for (const auto& entry : fs::directory_iterator(scratch("").parent_path()))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

// Writing over a file keeps what the user made of it: a link still leads to the file, which
// holds the new picture and keeps its permissions, and its other hard link sees the picture too.
TEST(ImageFile, ReplacingAFileKeepsItsLinksAndPermissions) {
    const fs::path real = scratch("kept.png"), link = scratch("link to kept.png"), second = scratch("kept too.png");
    for (const fs::path& name : {real, link, second}) fs::remove(name);
    std::string error;
    ASSERT_TRUE(write_image_file(real.string(), hosting::make_document(2, 2, 8, ColourKind::grey, false), error));
    const fs::perms chosen = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(real, chosen);
    fs::create_symlink(real.filename(), link);
    fs::create_hard_link(real, second);

    const hosting::Document picture = noise_picture(16, 16, 8, ColourKind::rgb, false);
    ASSERT_TRUE(write_image_file(link.string(), picture, error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status(real).permissions(), chosen);
    for (const fs::path& name : {real, second}) {
        hosting::Document back;
        ASSERT_TRUE(read_image_file(name.string(), back, error)) << error;
        EXPECT_EQ(back.pixels, picture.pixels) << name;
    }
}

}  // namespace
}  // namespace corvanthe::cli
