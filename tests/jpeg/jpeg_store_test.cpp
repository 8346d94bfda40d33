#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "jpeg/jpeg_stream.h"
#include "layers/jpeg_reader.h"
#include "layers/jpeg_thumbnail.h"
#include "layers/jpeg_writer.h"
#include "layers/level_filter.h"
#include "layers/thumbnail.h"
#include "platform/files.h"
#include "render/worker_pool.h"
#include "settings/settings_file.h"
#include "settings/settings_test_support.h"

namespace corvanthe {
namespace {

int g_owner;  // stands in for the plug-in context that owns the stores

struct StoreDeleter {
    void operator()(LayerStore* s) const { free_store(s); }
};
using Store = std::unique_ptr<LayerStore, StoreDeleter>;

Store make_store(int32_t w, int32_t h, PixelKind kind, void* owner = &g_owner) {
    return Store(create_store(owner, w, h, kind));
}

std::vector<uint8_t> encode(const LayerStore& store, int quality) {
    JpegBytes out;
    EXPECT_EQ(encode_jpeg(&store, quality, {}, out), kJpegOk);
    return std::vector<uint8_t>(out.data(), out.data() + out.size());
}

testing::Picture djpeg(const std::vector<uint8_t>& stream) {
    std::string error;
    testing::Picture p = testing::decode_with_djpeg(stream.data(), stream.size(), error);
    EXPECT_TRUE(error.empty()) << error;
    return p;
}

int at(const testing::Picture& p, int x, int y, int channel) {
    return p.rgb[(static_cast<std::size_t>(y) * p.width + x) * 3 + channel];
}

}  // namespace

TEST(JpegStore, SmallStoreRepeatsItsLastRowAndColumn) {
    // Red marks the last column, green the last row of a 10 x 10 picture.
    Store store = make_store(10, 10, PixelKind::rgba8);
    ASSERT_TRUE(store);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) write_texel(*store, x, y, 0, {x == 9 ? 1.0f : 0.0f, y == 9 ? 1.0f : 0.0f, 0, 1});
    const auto picture = djpeg(encode(*store, 99));
    ASSERT_EQ(picture.width, 16);
    ASSERT_EQ(picture.height, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            SCOPED_TRACE(::testing::Message() << x << ", " << y);
            if (x >= 9) { EXPECT_GT(at(picture, x, y, 0), 200); }
            if (x <= 7) { EXPECT_LT(at(picture, x, y, 0), 60); }
            if (y >= 9) { EXPECT_GT(at(picture, x, y, 1), 200); }
            if (y <= 7) { EXPECT_LT(at(picture, x, y, 1), 60); }
        }
    }
}

TEST(JpegStore, FloatsAboveOneEncodeAsFullAndBelowZeroAsNothing) {
    Store bright = make_store(24, 24, PixelKind::rgba_float);
    Store white = make_store(24, 24, PixelKind::rgba_float);
    Store mixed = make_store(24, 24, PixelKind::rgba_float);
    ASSERT_TRUE(bright && white && mixed);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            write_texel(*bright, x, y, 0, {3.0f, 1.5f, 1.0001f, 1});
            write_texel(*white, x, y, 0, {1.0f, 1.0f, 1.0f, 1});
            write_texel(*mixed, x, y, 0, {-2.0f, 0.0f, 70000.0f, 1});
        }
    EXPECT_EQ(encode(*bright, 80), encode(*white, 80));
    const auto picture = djpeg(encode(*mixed, 99));
    ASSERT_EQ(picture.width, 24);
    for (int i = 0; i < 24 * 24; ++i) {
        EXPECT_LE(picture.rgb[3 * i], 2);
        EXPECT_GE(picture.rgb[3 * i + 2], 253);
    }
}

TEST(JpegStore, MissingStoresAreRefusedBeforeAnythingIsWritten) {
    JpegBytes out;
    EXPECT_EQ(encode_jpeg(nullptr, 80, {}, out), kJpegNoStore);
    LayerStore empty{};
    attach_store(empty, &g_owner, nullptr);
    EXPECT_EQ(encode_jpeg(&empty, 80, {}, out), kJpegNoStore);

    const std::string path = (std::filesystem::temp_directory_path() /
                              ("corvanthe-jpeg-" + std::to_string(getpid()) + ".jpg")).string();
    EXPECT_EQ(write_jpeg_file(nullptr, path, 80, {}), kJpegNoStore);
    EXPECT_EQ(write_jpeg_file(&empty, path, 80, {}), kJpegNoTiles);
    Store orphan = make_store(20, 20, PixelKind::rgba8, nullptr);
    EXPECT_EQ(write_jpeg_file(orphan.get(), path, 80, {}), kJpegNoOwner);
    EXPECT_FALSE(file_exists(path));

    Store store = make_store(20, 20, PixelKind::rgba8);
    JpegSegments extra;
    extra.exif = true;
    ASSERT_EQ(write_jpeg_file(store.get(), path, 80, extra), kFileOk);
    std::ifstream f(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)), {});
    const auto s = testing::segments_of(bytes.data(), bytes.size());
    ASSERT_GE(s.size(), 3u);
    EXPECT_EQ(s[2].marker, 0xE1);
    std::filesystem::remove(path);
}

TEST(JpegStore, DecodesIntoAStoreOfThePictureSize) {
    Store source = make_store(40, 30, PixelKind::rgba8);
    ASSERT_TRUE(source);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) set_pixel(*source, x, y, 0, {float(x * 6), float(y * 8), 100.0f, 255.0f});
    const auto stream = encode(*source, 99);

    Store picture = make_store(40, 30, PixelKind::rgba8);
    ASSERT_TRUE(decode_jpeg(stream.data(), stream.size(), *picture));
    int worst = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const PixelValue a = get_pixel(*source, x, y, 0);
            const PixelValue b = get_pixel(*picture, x, y, 0);
            worst = std::max({worst, int(std::abs(a.red - b.red)), int(std::abs(a.green - b.green)),
                              int(std::abs(a.blue - b.blue))});
            ASSERT_EQ(b.alpha, 255.0f);
        }
    EXPECT_LE(worst, 8);

    // A store smaller than the picture takes what fits; other kinds and garbage are refused.
    Store small = make_store(8, 5, PixelKind::rgba8);
    ASSERT_TRUE(decode_jpeg(stream.data(), stream.size(), *small));
    EXPECT_NEAR(get_pixel(*small, 7, 4, 0).red, 42, 8);
    Store wide = make_store(40, 30, PixelKind::rgba16);
    EXPECT_FALSE(decode_jpeg(stream.data(), stream.size(), *wide));
    EXPECT_FALSE(decode_jpeg(stream.data(), 30, *picture));
}

TEST(JpegStore, GreyStreamsBecomeGreyPixels) {
    if (std::system("command -v cjpeg >/dev/null 2>&1") != 0) FAIL() << "cjpeg was not found (install libjpeg-turbo-progs)";
    const auto base = std::filesystem::temp_directory_path() / ("corvanthe-grey-" + std::to_string(getpid()));
    {
        std::ofstream pgm(base.string() + ".pgm", std::ios::binary);
        pgm << "P5 16 16 255\n";
        for (int i = 0; i < 256; ++i) pgm.put(static_cast<char>(i < 128 ? 60 : 200));
    }
    ASSERT_EQ(std::system(("cjpeg -grayscale -quality 100 -outfile '" + base.string() + ".jpg' '" + base.string() +
                           ".pgm'").c_str()),
              0);
    std::ifstream f(base.string() + ".jpg", std::ios::binary);
    std::vector<uint8_t> stream((std::istreambuf_iterator<char>(f)), {});
    std::filesystem::remove(base.string() + ".pgm");
    std::filesystem::remove(base.string() + ".jpg");

    Store picture = make_store(16, 16, PixelKind::rgba8);
    ASSERT_TRUE(decode_jpeg(stream.data(), stream.size(), *picture));
    const PixelValue top = get_pixel(*picture, 3, 2, 0);
    const PixelValue bottom = get_pixel(*picture, 3, 13, 0);
    EXPECT_NEAR(top.red, 60, 2);
    EXPECT_EQ(top.red, top.green);
    EXPECT_EQ(top.red, top.blue);
    EXPECT_NEAR(bottom.blue, 200, 2);
    EXPECT_EQ(bottom.alpha, 255.0f);
}

namespace {

// A stream made by cjpeg whose frame header then claims 60000 x 60000 pixels.
std::vector<uint8_t> oversized_stream(bool progressive) {
    const auto base = std::filesystem::temp_directory_path() / ("corvanthe-huge-" + std::to_string(getpid()));
    {
        std::ofstream ppm(base.string() + ".ppm", std::ios::binary);
        ppm << "P6 64 64 255\n";
        for (int i = 0; i < 64 * 64 * 3; ++i) ppm.put(static_cast<char>(i * 4));
    }
    const std::string command = std::string("cjpeg ") + (progressive ? "-progressive " : "") + "-outfile '" +
                                base.string() + ".jpg' '" + base.string() + ".ppm'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::ifstream f(base.string() + ".jpg", std::ios::binary);
    std::vector<uint8_t> stream((std::istreambuf_iterator<char>(f)), {});
    std::filesystem::remove(base.string() + ".ppm");
    std::filesystem::remove(base.string() + ".jpg");
    for (std::size_t i = 0; i + 9 < stream.size(); ++i)
        if (stream[i] == 0xFF && (stream[i + 1] == 0xC0 || stream[i + 1] == 0xC2)) {
            stream[i + 5] = stream[i + 7] = 60000 >> 8;
            stream[i + 6] = stream[i + 8] = 60000 & 0xFF;
            break;
        }
    return stream;
}

}  // namespace

TEST(JpegStore, HostileFrameSizesStayWithinBounds) {
    if (std::system("command -v cjpeg >/dev/null 2>&1") != 0) FAIL() << "cjpeg was not found (install libjpeg-turbo-progs)";
    // Baseline: only the rows the store holds are decoded. Progressive: the whole-image
    // buffers would exceed the decoder's memory limit, so the library gives up.
    Store picture = make_store(128, 128, PixelKind::rgba8);
    const auto baseline = oversized_stream(false);
    EXPECT_TRUE(decode_jpeg(baseline.data(), baseline.size(), *picture));
    const auto progressive = oversized_stream(true);
    EXPECT_FALSE(decode_jpeg(progressive.data(), progressive.size(), *picture));
}

TEST(JpegStore, ThumbnailPortCompressesAndShows) {
    Store thumbnail = make_store(kThumbnailSide, kThumbnailSide, PixelKind::rgba8);
    ASSERT_TRUE(thumbnail);
    clear_thumbnail(*thumbnail);
    WorkerPool pool;
    LayerStore* shown = nullptr;
    StoreThumbnails port(thumbnail.get(), shown, pool);
    EXPECT_TRUE(port.can_show());
    ThumbnailJpeg jpeg;
    ASSERT_TRUE(port.compress(jpeg));
    EXPECT_EQ(jpeg.width, 128);
    EXPECT_EQ(jpeg.height, 128);
    const auto s = testing::segments_of(jpeg.data, jpeg.size);
    ASSERT_GE(s.size(), 3u);
    EXPECT_EQ(s[1].marker, 0xFE);
    EXPECT_EQ(s[2].marker, 0xDB);  // no Exif, profile or IPTC in a thumbnail
    EXPECT_EQ(testing::quant_table(s, 0)[0], 2);  // quality 80

    const std::vector<uint8_t> bytes(jpeg.data, jpeg.data + jpeg.size);
    ASSERT_TRUE(port.show(bytes.data(), bytes.size(), 128, 128));
    ASSERT_NE(shown, nullptr);
    EXPECT_NEAR(get_pixel(*shown, 64, 0, 0).green, 255, 3);
    EXPECT_NEAR(get_pixel(*shown, 64, 127, 0).green, 128, 3);
    LayerStore* first = shown;
    EXPECT_FALSE(port.show(bytes.data(), 20, 128, 128));  // a broken one leaves the shown picture
    EXPECT_EQ(shown, first);
    free_store(shown);

    LayerStore* none = nullptr;
    StoreThumbnails without(nullptr, none, pool);
    EXPECT_FALSE(without.can_show());
    EXPECT_FALSE(without.compress(jpeg));
}

TEST(JpegStore, OtherSizesAreResampledBothWays) {
    // A 300 x 200 thumbnail, left half dark and right half light, goes into files at 128 x 128.
    Store wide = make_store(300, 200, PixelKind::rgba8);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) set_pixel(*wide, x, y, 0, {x < 150 ? 20.0f : 230.0f, 90, 90, 255});
    WorkerPool pool;
    ASSERT_TRUE(build_levels(*wide, 0, pool));
    Store dot = make_store(100, 100, PixelKind::rgba8);
    LayerStore* dot_preview = dot.get();
    StoreThumbnails port(wide.get(), dot_preview, pool, StoreThumbnails::Show::CopyInto);
    ThumbnailJpeg jpeg;
    ASSERT_TRUE(port.compress(jpeg));
    EXPECT_EQ(jpeg.width, 128);
    std::string error;
    const auto picture = testing::decode_with_djpeg(jpeg.data, jpeg.size, error);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_EQ(picture.width, 128);
    ASSERT_EQ(picture.height, 128);
    EXPECT_NEAR(at(picture, 20, 64, 0), 20, 8);
    EXPECT_NEAR(at(picture, 108, 64, 0), 230, 8);

    // Shown into the dot's 100 x 100 picture, which stays where it is.
    const std::vector<uint8_t> bytes(jpeg.data, jpeg.data + jpeg.size);
    ASSERT_TRUE(port.show(bytes.data(), bytes.size(), 128, 128));
    EXPECT_EQ(dot_preview, dot.get());
    EXPECT_NEAR(get_pixel(*dot, 10, 50, 0).red, 20, 10);
    EXPECT_NEAR(get_pixel(*dot, 90, 50, 0).red, 230, 10);
}

class JpegSettingsFile : public testing::ScratchFolder {};

TEST_F(JpegSettingsFile, ThumbnailTravelsWithTheSettings) {
    Store thumbnail = make_store(kThumbnailSide, kThumbnailSide, PixelKind::rgba8);
    clear_thumbnail(*thumbnail);
    WorkerPool pool;
    LayerStore* preview = nullptr;
    StoreThumbnails port(thumbnail.get(), preview, pool);
    SunSettings s{};
    initialise(s);
    ASSERT_EQ(write_settings_file(path("sun.q4q"), s, &port), kFileOk);

    const auto r = read_settings_file(path("sun.q4q"), SettingsReadMode::ThumbnailOnly, s, &port);
    EXPECT_EQ(r.error, kFileOk);
    ASSERT_TRUE(r.thumbnail_shown);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->levels[0].width, 128);
    EXPECT_NEAR(get_pixel(*preview, 5, 127, 0).blue, 128, 3);
    EXPECT_EQ(preview->level_state, kLevelsBuilt);
    free_store(preview);
}

}  // namespace corvanthe
