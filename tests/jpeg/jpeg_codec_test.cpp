#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "jpeg/jpeg_stream.h"
#include "layers/jpeg_codec.h"
#include "platform/product.h"

namespace corvanthe {
namespace {

using testing::Segment;

// A picture given as a function of (x, y), row-major RGB.
struct Pattern {
    int width;
    int height;
    std::vector<uint8_t> rgb;
};

Pattern gradient(int width, int height) {
    Pattern p{width, height, std::vector<uint8_t>(static_cast<std::size_t>(width) * height * 3)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* px = &p.rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            px[0] = static_cast<uint8_t>(x * 255 / (width > 1 ? width - 1 : 1));
            px[1] = static_cast<uint8_t>(y * 255 / (height > 1 ? height - 1 : 1));
            px[2] = 90;
        }
    return p;
}

void pattern_row(const void* context, int y, uint8_t* rgb, int width) {
    const Pattern& p = *static_cast<const Pattern*>(context);
    std::memcpy(rgb, &p.rgb[static_cast<std::size_t>(y) * p.width * 3], static_cast<std::size_t>(width) * 3);
}

std::vector<uint8_t> compress(const Pattern& p, int quality, const JpegSegments& segments = {}) {
    JpegBytes out;
    EXPECT_TRUE(compress_jpeg(p.width, p.height, pattern_row, &p, quality, segments, out));
    return std::vector<uint8_t>(out.data(), out.data() + out.size());
}

std::vector<Segment> segments(const std::vector<uint8_t>& stream) {
    return testing::segments_of(stream.data(), stream.size());
}

std::vector<int> first_rows(const std::vector<int>& table, int rows) {
    return std::vector<int>(table.begin(), table.begin() + std::min<std::size_t>(table.size(), rows * 8));
}

}  // namespace

TEST(JpegQuality, OutOfRangeQualitiesUseTheEndDeciles) {
    const Pattern p = gradient(40, 24);
    EXPECT_EQ(compress(p, 150), compress(p, 99));
    EXPECT_EQ(compress(p, -5), compress(p, 0));
    EXPECT_NE(compress(p, 99), compress(p, 89));
}

TEST(JpegQuality, TablesOfTheKnownDeciles) {
    const Pattern p = gradient(16, 16);
    const auto q80 = segments(compress(p, 80));
    EXPECT_EQ(first_rows(testing::quant_table(q80, 0), 2),
              (std::vector<int>{2, 2, 2, 2, 3, 4, 5, 6, 2, 2, 2, 2, 3, 4, 5, 6}));
    EXPECT_EQ(first_rows(testing::quant_table(q80, 1), 2),
              (std::vector<int>{3, 3, 5, 9, 10, 15, 15, 15, 3, 4, 6, 13, 14, 12, 12, 12}));
    EXPECT_EQ(first_rows(testing::quant_table(segments(compress(p, 95)), 0), 1),
              (std::vector<int>{1, 1, 1, 1, 2, 2, 2, 3}));
    EXPECT_EQ(first_rows(testing::quant_table(segments(compress(p, 3)), 0), 1),
              (std::vector<int>{20, 17, 26, 41, 51, 39, 34, 17}));
}

TEST(JpegQuality, TablesCoarsenAsQualityFalls) {
    const Pattern p = gradient(16, 16);
    long previous_luma = 0, previous_chroma = 0;
    for (int decile = 9; decile >= 0; --decile) {
        const auto s = segments(compress(p, decile * 10));
        long luma = 0, chroma = 0;
        for (int v : testing::quant_table(s, 0)) luma += v;
        for (int v : testing::quant_table(s, 1)) chroma += v;
        EXPECT_GT(luma, previous_luma) << "decile " << decile;
        EXPECT_GT(chroma, previous_chroma) << "decile " << decile;
        previous_luma = luma;
        previous_chroma = chroma;
    }
}

TEST(JpegQuality, LuminanceSamplingSwitchesAtFifty) {
    const Pattern p = gradient(32, 32);
    const auto q49 = segments(compress(p, 49));
    const auto q50 = segments(compress(p, 50));
    EXPECT_EQ(testing::sampling_of(q49, 0), 0x22);
    EXPECT_EQ(testing::sampling_of(q50, 0), 0x11);
    for (const auto* s : {&q49, &q50}) {
        EXPECT_EQ(testing::sampling_of(*s, 1), 0x11);
        EXPECT_EQ(testing::sampling_of(*s, 2), 0x11);
    }
}

TEST(JpegMarkers, ThumbnailCarriesOnlyJfifAndComment) {
    const auto s = segments(compress(gradient(16, 16), 80));
    ASSERT_GE(s.size(), 3u);
    EXPECT_EQ(s[0].marker, 0xE0);
    EXPECT_EQ(std::string(s[0].payload.begin(), s[0].payload.begin() + 5), std::string("JFIF\0", 5));
    EXPECT_EQ(s[1].marker, 0xFE);
    EXPECT_EQ(std::string(s[1].payload.begin(), s[1].payload.end()),
              std::string(product::kWebAddress) + '\0');
    EXPECT_EQ(s[1].payload.back(), 0);
    EXPECT_EQ(s[2].marker, 0xDB);  // then the tables
    for (const Segment& seg : s) EXPECT_FALSE(seg.marker >= 0xE1 && seg.marker <= 0xEF) << seg.marker;
}

TEST(JpegMarkers, AllSegmentsInOrderWithProfileChunks) {
    // Three chunks: two full ones of 65519 bytes and a remainder of 5.
    std::vector<uint8_t> profile(65519 * 2 + 5);
    for (std::size_t i = 0; i < profile.size(); ++i) profile[i] = static_cast<uint8_t>(i * 7);
    const std::vector<uint8_t> iptc = {'P', 'h', 'o', 't', 'o', 's', 'h', 'o', 'p', ' ', '3', '.', '0', 0, '8', 'B'};
    JpegSegments extra;
    extra.exif = true;
    extra.icc_profile = profile.data();
    extra.icc_profile_size = profile.size();
    extra.iptc = iptc.data();
    extra.iptc_size = iptc.size();
    // A 16 x 16 picture: far smaller than its headers.
    const auto stream = compress(gradient(16, 16), 80, extra);
    const auto s = segments(stream);
    ASSERT_GE(s.size(), 8u);
    const int expected[] = {0xE0, 0xFE, 0xE1, 0xE2, 0xE2, 0xE2, 0xED, 0xDB};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(s[i].marker, expected[i]) << "segment " << i;

    // The Exif payload: signature, big-endian TIFF header, one Software entry, the name.
    const std::vector<uint8_t>& exif = s[2].payload;
    ASSERT_EQ(exif.size(), 42u);
    EXPECT_EQ(std::string(exif.begin(), exif.begin() + 8), std::string("Exif\0\0MM", 8));
    EXPECT_EQ(exif[9], 42);
    EXPECT_EQ(exif[13], 8);                          // first directory at 8
    EXPECT_EQ(exif[15], 1);                          // one entry
    EXPECT_EQ(exif[16] << 8 | exif[17], 0x0131);     // Software
    EXPECT_EQ(exif[19], 2);                          // ASCII
    EXPECT_EQ(exif[23], 10);                         // ten characters
    EXPECT_EQ(exif[27], 26);                         // at offset 26 from the TIFF header
    EXPECT_EQ(std::string(exif.begin() + 6 + 26, exif.end()), std::string("Corvanthe\0", 10));

    std::vector<uint8_t> joined;
    const std::size_t lengths[] = {65519, 65519, 5};
    for (int c = 0; c < 3; ++c) {
        const std::vector<uint8_t>& chunk = s[3 + c].payload;
        ASSERT_EQ(chunk.size(), lengths[c] + 14);  // the length field, which counts itself, is chunk + 16
        EXPECT_EQ(std::string(chunk.begin(), chunk.begin() + 12), std::string("ICC_PROFILE\0", 12));
        EXPECT_EQ(chunk[12], c + 1);
        EXPECT_EQ(chunk[13], 3);
        joined.insert(joined.end(), chunk.begin() + 14, chunk.end());
    }
    EXPECT_EQ(joined, profile);
    EXPECT_EQ(s[6].payload, iptc);

    std::string error;
    const auto picture = testing::decode_with_djpeg(stream.data(), stream.size(), error);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(picture.width, 16);
}

TEST(JpegMarkers, ProfileOfOneFullChunk) {
    std::vector<uint8_t> profile(65519, 0x5A);
    JpegSegments extra;
    extra.icc_profile = profile.data();
    extra.icc_profile_size = profile.size();
    const auto s = segments(compress(gradient(16, 16), 80, extra));
    ASSERT_GE(s.size(), 4u);
    EXPECT_EQ(s[2].marker, 0xE2);
    EXPECT_EQ(s[2].payload[13], 1);
    EXPECT_EQ(s[3].marker, 0xDB);
}

TEST(JpegCodec, StandardDecoderReadsWhatWeWrite) {
    for (int quality : {0, 49, 50, 80, 99}) {
        const Pattern p = gradient(37, 21);
        const auto stream = compress(p, quality);
        std::string error;
        const auto picture = testing::decode_with_djpeg(stream.data(), stream.size(), error);
        ASSERT_TRUE(error.empty()) << error;
        ASSERT_EQ(picture.width, 37);
        ASSERT_EQ(picture.height, 21);
        // A smooth picture survives even the coarsest tables within a loose bound, the fine ones closely.
        const int bound = quality >= 80 ? 8 : 40;
        int worst = 0;
        for (std::size_t i = 0; i < p.rgb.size(); ++i) worst = std::max(worst, std::abs(p.rgb[i] - picture.rgb[i]));
        EXPECT_LE(worst, bound) << "quality " << quality;
    }
}

namespace {

struct Collected {
    int width = 0;
    int rows = 0;
    int components = 0;
    int stop_after = 1 << 30;
    std::vector<uint8_t> samples;
};

bool collect(void* context, int row, const uint8_t* samples, int width, int components) {
    Collected& c = *static_cast<Collected*>(context);
    EXPECT_EQ(row, c.rows);
    c.width = width;
    c.components = components;
    c.samples.insert(c.samples.end(), samples, samples + width * components);
    return ++c.rows < c.stop_after;
}

}  // namespace

TEST(JpegCodec, DecodesRowsInOrderAndCanStopEarly) {
    const Pattern p = gradient(20, 18);
    const auto stream = compress(p, 99);
    Collected all;
    ASSERT_TRUE(decompress_jpeg(stream.data(), stream.size(), collect, &all));
    EXPECT_EQ(all.rows, 18);
    EXPECT_EQ(all.width, 20);
    EXPECT_EQ(all.components, 3);
    Collected some;
    some.stop_after = 4;
    ASSERT_TRUE(decompress_jpeg(stream.data(), stream.size(), collect, &some));
    EXPECT_EQ(some.rows, 4);
    EXPECT_TRUE(std::equal(some.samples.begin(), some.samples.end(), all.samples.begin()));
}

TEST(JpegCodec, LibraryFailuresComeBackAsFalse) {
    // Garbage, an empty buffer, a stream cut inside its header: the library gives up, we carry on.
    const std::vector<uint8_t> garbage(100, 0x42);
    Collected c;
    EXPECT_FALSE(decompress_jpeg(garbage.data(), garbage.size(), collect, &c));
    EXPECT_FALSE(decompress_jpeg(garbage.data(), 0, collect, &c));
    const auto stream = compress(gradient(16, 16), 80);
    EXPECT_FALSE(decompress_jpeg(stream.data(), 40, collect, &c));
    EXPECT_EQ(c.rows, 0);

    // A picture wider than the format allows fails inside the library.
    const Pattern row{70000, 1, std::vector<uint8_t>(70000 * 3, 7)};
    JpegBytes out;
    EXPECT_FALSE(compress_jpeg(row.width, row.height, pattern_row, &row, 80, {}, out));
    EXPECT_EQ(out.data(), nullptr);
    EXPECT_EQ(out.size(), 0u);
    // So does a segment longer than a marker can carry; the codec is still usable afterwards.
    std::vector<uint8_t> huge(70000, 1);
    JpegSegments extra;
    extra.iptc = huge.data();
    extra.iptc_size = huge.size();
    const Pattern p = gradient(16, 16);
    EXPECT_FALSE(compress_jpeg(p.width, p.height, pattern_row, &p, 80, extra, out));
    EXPECT_TRUE(compress_jpeg(p.width, p.height, pattern_row, &p, 80, {}, out));
    EXPECT_GT(out.size(), 100u);
}

}  // namespace corvanthe
