// OpenEXR files: floats beyond 0..1 kept both ways, the format's associated alpha, halves
// from another writer, and headers that claim more than their file holds.
#include <gtest/gtest.h>

#include <OpenImageIO/imageio.h>

#include <csignal>
#include <filesystem>

#include <sys/resource.h>

#include "apps/cli/image_file.h"
#include "image_test_support.h"
#include "scratch_folder.h"

namespace corvanthe::cli {
namespace {

namespace fs = std::filesystem;
using hosting::ColourKind;

fs::path scratch(const std::string& name) { return scratch_folder() / name; }

// Floats far above 1, below 0 and fractions, different in every sample.
hosting::Document bright_picture(ColourKind colour, bool alpha) {
    hosting::Document doc = hosting::make_document(13, 7, 32, colour, alpha);
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x) {
            for (int p = 0; p < doc.colour_planes(); ++p) doc.set_sample(x, y, p, (x - 3) * 37.25 + y * 0.125 + p);
            if (alpha) doc.set_sample(x, y, doc.colour_planes(), x % 3 == 0 ? 1.0 : x % 3 == 1 ? 0.5 : 0.25);
        }
    return doc;
}

// Files may grow to `bytes` only; a write beyond fails (rather than raising SIGXFSZ).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, old_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_handler_);
    }

private:
    rlimit old_{};
    void (*old_handler_)(int) = nullptr;
};

// A file the disk cuts short leaves the old one as it was, even when only its last bytes are
// lost, which the format's own closing does not report.
TEST(ExrFile, AFileTheDiskCutsShortKeepsTheOldOne) {
    std::string error;
    const hosting::Document old_picture = bright_picture(ColourKind::rgb, false);
    hosting::Document new_picture = hosting::make_document(64, 64, 32, ColourKind::rgb, true);
    for (int32_t y = 0; y < new_picture.height; ++y)
        for (int32_t x = 0; x < new_picture.width; ++x)
            for (int p = 0; p < 4; ++p) new_picture.set_sample(x, y, p, (x * 7 + y * 3 + p) % 11 * 0.1);
    const std::string path = scratch("cut short.exr").string(), sized = scratch("whole size.exr").string();
    ASSERT_TRUE(write_image_file(sized, new_picture, error)) << error;
    const auto whole = fs::file_size(sized);
    ASSERT_TRUE(write_image_file(path, old_picture, error)) << error;
    {
        const FileSizeLimit limit(whole - 1);
        EXPECT_FALSE(write_image_file(path, new_picture, error));
    }
    hosting::Document back;
    ASSERT_TRUE(read_image_file(path, back, error)) << error;
    expect_same_picture(back, old_picture, "the old file");
}

TEST(ExrFile, FloatsBeyondOneComeBackAndTheFileHoldsAssociatedAlpha) {
    std::string error;
    for (const ColourKind colour : {ColourKind::rgb, ColourKind::grey})
        for (const bool alpha : {false, true}) {
            const hosting::Document doc = bright_picture(colour, alpha);
            const std::string path = scratch("bright.exr").string();
            ASSERT_TRUE(write_image_file(path, doc, error)) << error;
            hosting::Document back;
            ASSERT_TRUE(read_image_file(path, back, error)) << error;
            expect_same_picture(back, doc, alpha ? "with alpha" : "without alpha");

            // Another reader sees the format's channel names and colour times alpha.
            auto in = OIIO::ImageInput::open(path);
            ASSERT_TRUE(in);
            std::vector<std::string> names(in->spec().channelnames.begin(), in->spec().channelnames.end());
            std::vector<std::string> expected = colour == ColourKind::grey ? std::vector<std::string>{"Y"}
                                                                          : std::vector<std::string>{"R", "G", "B"};
            if (alpha) expected.push_back("A");
            EXPECT_EQ(names, expected);
            std::vector<float> stored(std::size_t(doc.width) * doc.height * doc.planes());
            ASSERT_TRUE(in->read_image(0, 0, 0, doc.planes(), OIIO::TypeDesc::FLOAT, stored.data()));
            const std::size_t pixel = std::size_t(1) * doc.width + 4;  // x 4: alpha 0.5
            const double a = alpha ? 0.5 : 1.0;
            EXPECT_EQ(stored[pixel * doc.planes()], float(doc.sample(4, 1, 0) * a));
        }

    // Halves written by another program, with a colour of 1000.
    hosting::Document halves = hosting::make_document(5, 3, 32, ColourKind::rgb, true);
    for (int32_t x = 0; x < 5; ++x) {
        halves.set_sample(x, 1, 0, 1000);
        halves.set_sample(x, 1, 1, 2.5);
        halves.set_sample(x, 1, 3, 1);
    }
    ASSERT_TRUE(write_with_oiio(scratch("halves.exr").string(), halves,
                                [](OIIO::ImageSpec& spec) { spec.set_format(OIIO::TypeDesc::HALF); }));
    hosting::Document back;
    ASSERT_TRUE(read_image_file(scratch("halves.exr").string(), back, error)) << error;
    expect_same_picture(back, halves, "halves");
}

// The file's bytes with the data window's four integers replaced (and the compression).
std::string with_window(std::string bytes, int32_t right, int32_t bottom, int compression) {
    const std::string window("dataWindow\0box2i\0", 17);
    const std::size_t at = bytes.find(window) + window.size() + 4;
    const int32_t values[4] = {0, 0, right, bottom};
    for (int i = 0; i < 4; ++i)
        for (int b = 0; b < 4; ++b) bytes[at + 4 * i + b] = char(uint32_t(values[i]) >> (8 * b));
    const std::string kind("compression\0compression\0", 24);
    bytes[bytes.find(kind) + kind.size() + 4] = char(compression);
    return bytes;
}

TEST(ExrFile, HeadersThatClaimMoreThanTheFileCanHoldAreRefusedUnread) {
    std::string error;
    ASSERT_TRUE(write_image_file(scratch("small.exr").string(), bright_picture(ColourKind::rgb, false), error));
    const std::string bytes = file_bytes(scratch("small.exr"));
    hosting::Document doc;
    write_bytes(scratch("huge.exr"), with_window(bytes, 99999, 99999, 3));  // deflated
    EXPECT_FALSE(read_image_file(scratch("huge.exr").string(), doc, error));
    EXPECT_NE(error.find("100000 x 100000 image, more than a file of"), std::string::npos) << error;
    write_bytes(scratch("huge-piz.exr"), with_window(bytes, 99999, 99999, 4));  // no bound of its coding
    EXPECT_FALSE(read_image_file(scratch("huge-piz.exr").string(), doc, error));
    EXPECT_NE(error.find("MB allowed for OpenEXR files"), std::string::npos) << error;
    write_bytes(scratch("empty.exr"), with_window(bytes, -1, 6, 3));
    EXPECT_FALSE(read_image_file(scratch("empty.exr").string(), doc, error));
    EXPECT_NE(error.find("data window"), std::string::npos) << error;
    write_bytes(scratch("cut.exr"), bytes.substr(0, bytes.size() - 40));
    EXPECT_FALSE(read_image_file(scratch("cut.exr").string(), doc, error));
    EXPECT_NE(error.find("cut.exr"), std::string::npos) << error;
}

}  // namespace
}  // namespace corvanthe::cli
