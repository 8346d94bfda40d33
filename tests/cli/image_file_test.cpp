#include "apps/cli/image_file.h"
#include "apps/cli/sanitizer_options.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace corvanthe::cli {
namespace {

namespace fs = std::filesystem;

fs::path scratch(const std::string& name) { return scratch_folder() / name; }

TEST(ImageFile, SixteenBitSamplesMapOntoTheHostRange) {
    EXPECT_EQ(host16_from_file(0), 0);
    EXPECT_EQ(host16_from_file(65535), 32768);
    EXPECT_EQ(file16_from_host(32768), 65535);
    EXPECT_EQ(file16_from_host(40000), 65535);  // beyond the host's full value
    EXPECT_EQ(file16_from_host(16384), 32768);
    for (uint32_t h = 0; h <= 32768; ++h) ASSERT_EQ(host16_from_file(file16_from_host(uint16_t(h))), h);
}

TEST(ImageFile, RoundTripsEveryDepthWithUnassociatedAlpha) {
    struct Case { int depth; hosting::ColourKind colour; bool alpha; const char* name; };
    const Case cases[] = {{8, hosting::ColourKind::rgb, true, "a.png"},
                          {16, hosting::ColourKind::grey, true, "b.png"},
                          {16, hosting::ColourKind::rgb, false, "c.tif"},
                          {32, hosting::ColourKind::rgb, false, "d.tif"}};
    for (const Case& c : cases) {
        hosting::Document doc = hosting::make_document(5, 4, c.depth, c.colour, c.alpha);
        const double full = hosting::full_scale(c.depth);
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 5; ++x)
                for (int p = 0; p < doc.planes(); ++p) doc.set_sample(x, y, p, full * ((x + 2 * y + p) % 9) / 8);
        // A transparent pixel keeps its colour (no premultiplication).
        if (c.alpha) {
            doc.set_sample(1, 1, 0, full);
            doc.set_sample(1, 1, doc.planes() - 1, 0);
        }
        const fs::path path = scratch(c.name);
        std::string error;
        ASSERT_TRUE(write_image_file(path.string(), doc, error)) << error;
        hosting::Document back;
        ASSERT_TRUE(read_image_file(path.string(), back, error)) << error;
        EXPECT_EQ(back.depth, c.depth) << c.name;
        EXPECT_EQ(back.colour, c.colour) << c.name;
        EXPECT_EQ(back.transparency, c.alpha) << c.name;
        EXPECT_EQ(back.pixels, doc.pixels) << c.name;
    }
}

TEST(ImageFile, FailuresLeaveNothingBehind) {
    std::string error;
    hosting::Document doc;
    EXPECT_FALSE(read_image_file(scratch("missing.png").string(), doc, error));
    EXPECT_NE(error.find("no such file"), std::string::npos) << error;

    const fs::path truncated = scratch("truncated.png");
    ASSERT_TRUE(write_image_file(truncated.string(), hosting::make_document(64, 64, 8, hosting::ColourKind::rgb, false),
                                 error));
    fs::resize_file(truncated, fs::file_size(truncated) / 2);
    EXPECT_FALSE(read_image_file(truncated.string(), doc, error));

    EXPECT_FALSE(can_write_image_file(scratch("out.notaformat").string(), error));
    const fs::path nowhere = scratch("no-such-folder") / "out.png";
    EXPECT_FALSE(write_image_file(nowhere.string(), hosting::make_document(2, 2, 8, hosting::ColourKind::grey, false),
                                  error));
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));
    for (const auto& entry : fs::directory_iterator(scratch("").parent_path()))
        EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace corvanthe::cli
