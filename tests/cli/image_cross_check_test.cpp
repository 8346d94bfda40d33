// Our codecs against OpenImageIO's: what one writes, the other reads the same.
#include <gtest/gtest.h>

#include <filesystem>

#include "apps/cli/image_file.h"
#include "image_test_support.h"
#include "scratch_folder.h"

namespace corvanthe::cli {
namespace {

namespace fs = std::filesystem;
using hosting::ColourKind;

fs::path scratch(const std::string& name) { return scratch_folder() / name; }

struct Kind {
    const char* name;
    int depth;
    ColourKind colour;
    bool alpha;
};

constexpr Kind kKinds[] = {
    {"g8.png", 8, ColourKind::grey, false},   {"ga8.png", 8, ColourKind::grey, true},
    {"rgb8.png", 8, ColourKind::rgb, false},  {"rgba8.png", 8, ColourKind::rgb, true},
    {"g16.png", 16, ColourKind::grey, false}, {"ga16.png", 16, ColourKind::grey, true},
    {"rgb16.png", 16, ColourKind::rgb, false}, {"rgba16.png", 16, ColourKind::rgb, true},
    {"f.tif", 32, ColourKind::rgb, false},     {"g16a.tif", 16, ColourKind::grey, true},
    {"rgb8.tif", 8, ColourKind::rgb, false},
};

TEST(ImageCrossCheck, WeReadWhatOpenImageIOWrites) {
    for (const Kind& k : kKinds) {
        const hosting::Document doc = noise_picture(150, 140, k.depth, k.colour, k.alpha, 7);
        const std::string path = scratch(std::string("oiio-") + k.name).string();
        ASSERT_TRUE(write_with_oiio(path, doc)) << k.name;
        hosting::Document ours;
        std::string error;
        ASSERT_TRUE(read_image_file(path, ours, error)) << error;
        expect_same_picture(ours, doc, k.name);
    }
    // JPEG: both decoders give the same samples.
    ASSERT_TRUE(write_with_oiio(scratch("oiio.jpg").string(), noise_picture(50, 30, 8, ColourKind::rgb, false)));
    hosting::Document ours, theirs;
    std::string error;
    ASSERT_TRUE(read_image_file(scratch("oiio.jpg").string(), ours, error)) << error;
    ASSERT_TRUE(read_with_oiio(scratch("oiio.jpg").string(), theirs));
    expect_same_picture(ours, theirs, "oiio.jpg");
}

TEST(ImageCrossCheck, OpenImageIOReadsWhatWeWrite) {
    for (const Kind& k : kKinds) {
        const hosting::Document doc = noise_picture(150, 140, k.depth, k.colour, k.alpha, 11);
        const std::string path = scratch(std::string("ours-") + k.name).string();
        std::string error;
        ASSERT_TRUE(write_image_file(path, doc, error)) << error;
        hosting::Document theirs;
        ASSERT_TRUE(read_with_oiio(path, theirs)) << k.name;
        expect_same_picture(theirs, doc, k.name);
    }
    for (ColourKind colour : {ColourKind::grey, ColourKind::rgb}) {
        std::string error;
        ASSERT_TRUE(write_image_file(scratch("ours.jpg").string(), gradient_picture(40, 30, colour), error)) << error;
        hosting::Document ours, theirs;
        ASSERT_TRUE(read_image_file(scratch("ours.jpg").string(), ours, error)) << error;
        ASSERT_TRUE(read_with_oiio(scratch("ours.jpg").string(), theirs));
        expect_same_picture(theirs, ours, "ours.jpg");
    }
}

// An RGB display profile with one private tag filling it: the header fields that PNG
// readers check, the rest any bytes.
std::vector<uint8_t> display_profile(uint32_t size) {
    std::vector<uint8_t> profile(size);
    for (std::size_t i = 0; i < profile.size(); ++i) profile[i] = uint8_t(i * 7 + i / 256);
    const auto put = [&](std::size_t at, const std::vector<uint8_t>& bytes) {
        std::copy(bytes.begin(), bytes.end(), profile.begin() + std::ptrdiff_t(at));
    };
    const auto be32 = [](uint32_t v) {
        return std::vector<uint8_t>{uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    };
    put(0, be32(size));
    put(4, std::vector<uint8_t>(124, 0));
    put(8, {2, 0x10, 0, 0, 'm', 'n', 't', 'r', 'R', 'G', 'B', ' ', 'X', 'Y', 'Z', ' '});
    put(36, {'a', 'c', 's', 'p'});
    put(68, {0, 0, 0xf6, 0xd6, 0, 1, 0, 0, 0, 0, 0xd3, 0x2d});  // the D50 white point
    put(128, {0, 0, 0, 1, 'z', 'z', 'z', 'z', 0, 0, 0, 144});  // one tag, from byte 144 to the end
    put(140, be32(size - 144));
    return profile;
}

TEST(ImageCrossCheck, TheIccProfileTravelsWithThePicture) {
    // Larger than one JPEG segment (65519 bytes).
    for (const char* name : {"icc.png", "icc.tif", "icc.jpg"}) {
        const std::vector<uint8_t> profile = display_profile(70000);
        hosting::Document doc = gradient_picture(20, 10, ColourKind::rgb);
        doc.icc_profile = profile;
        std::string error;
        ASSERT_TRUE(write_image_file(scratch(name).string(), doc, error)) << error;
        hosting::Document ours, theirs;
        ASSERT_TRUE(read_image_file(scratch(name).string(), ours, error)) << error;
        EXPECT_TRUE(ours.icc_profile == profile) << name << ": our reader";
        ASSERT_TRUE(read_with_oiio(scratch(name).string(), theirs)) << name;
        EXPECT_TRUE(theirs.icc_profile == profile) << name << ": OpenImageIO";

        // OpenImageIO's JPEG writer misplaces the bytes after the first of several APP2
        // segments, so it gets a profile that fits in one.
        if (std::string(name) == "icc.jpg") doc.icc_profile = display_profile(60000);
        const std::string other = std::string("oiio-") + name;
        ASSERT_TRUE(write_with_oiio(scratch(other).string(), doc)) << other;
        ASSERT_TRUE(read_image_file(scratch(other).string(), ours, error)) << error;
        EXPECT_TRUE(ours.icc_profile == doc.icc_profile) << other;
    }
}

}  // namespace
}  // namespace corvanthe::cli
