#include "hosting/tile_buffer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace corvanthe::hosting {
namespace {

// A grey document whose sample at (x, y) is x + 10·y: every position is recognisable.
Document numbered_grey(int32_t w, int32_t h) {
    Document doc = make_document(w, h, 8, ColourKind::grey, false);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) doc.set_sample(x, y, 0, x + 10 * y);
    return doc;
}

uint8_t byte_at(const TileBuffer& t, int32_t col, int32_t row, int sample = 0) {
    return t.bytes[size_t(row) * t.row_bytes + size_t(col) * t.pixel_bytes + sample];
}

int clampi(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

TEST(TileBuffer, RateOneDeliversTheAreaWithEdgeReplicationAround) {
    const Document doc = numbered_grey(10, 8);
    TileBuffer t;
    ASSERT_EQ(read_tile(doc, {{-2, -3, 3, 2}, 0, 0, 0x10000, -1}, 0, 1 << 20, t), 0);
    ASSERT_EQ(t.row_bytes, 5);
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 5; ++col)
            EXPECT_EQ(byte_at(t, col, row), clampi(col - 3, 0, 9) + 10 * clampi(row - 2, 0, 7)) << col << "," << row;
}

TEST(TileBuffer, RateFourDeliversEveryFourthPixelAndReplicatesBeyondTheImage) {
    const Document doc = numbered_grey(10, 8);
    TileBuffer t;
    // Sampled rectangle 0..3: image pixels 0, 4, 8 in each direction (row 8 is beyond the image).
    ASSERT_EQ(read_tile(doc, {{0, 0, 3, 3}, 0, 0, 4 << 16, -1}, 0, 1 << 20, t), 0);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) EXPECT_EQ(byte_at(t, col, row), 4 * col + 10 * clampi(4 * row, 0, 7));
    // A fractional rate of 1.5 samples 0, 1, 3, 4, 6 (floor of k·1.5).
    ASSERT_EQ(read_tile(doc, {{0, 0, 1, 5}, 0, 0, 0x18000, -1}, 0, 1 << 20, t), 0);
    const int expected[5] = {0, 1, 3, 4, 6};
    for (int col = 0; col < 5; ++col) EXPECT_EQ(byte_at(t, col, 0), expected[col]);
}

TEST(TileBuffer, ConstantPaddingFillsOutsideAndErrorPaddingRefuses) {
    const Document doc = numbered_grey(4, 4);
    TileBuffer t;
    ASSERT_EQ(read_tile(doc, {{-1, -1, 1, 1}, 0, 0, 0x10000, 200}, 0, 1 << 20, t), 0);
    EXPECT_EQ(byte_at(t, 0, 0), 200);
    EXPECT_EQ(byte_at(t, 1, 0), 200);
    EXPECT_EQ(byte_at(t, 0, 1), 200);
    EXPECT_EQ(byte_at(t, 1, 1), 0);  // image pixel (0, 0)
    EXPECT_EQ(read_tile(doc, {{-1, 0, 1, 1}, 0, 0, 0x10000, -3}, 0, 1 << 20, t), -30100);
    EXPECT_EQ(read_tile(doc, {{0, 0, 4, 4}, 0, 0, 0x10000, -3}, 0, 1 << 20, t), 0);

    // Padding 255 of a 16-bit document is the full value 32768; of a float document 1.0.
    Document deep = make_document(2, 2, 16, ColourKind::grey, false);
    ASSERT_EQ(read_tile(deep, {{0, 1, 1, 3}, 0, 0, 0x10000, 255}, 0, 1 << 20, t), 0);
    uint16_t v;
    std::memcpy(&v, t.bytes.data() + 2, 2);
    EXPECT_EQ(v, 32768);
    Document flt = make_document(2, 2, 32, ColourKind::grey, false);
    ASSERT_EQ(read_tile(flt, {{0, 1, 1, 3}, 0, 0, 0x10000, 255}, 0, 1 << 20, t), 0);
    float f;
    std::memcpy(&f, t.bytes.data() + 4, 4);
    EXPECT_EQ(f, 1.0f);
}

TEST(TileBuffer, RowsAreStridedAndPlaneRangesSelectSamples) {
    Document doc = make_document(3, 2, 16, ColourKind::rgb, true);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x)
            for (int p = 0; p < 4; ++p) doc.set_sample(x, y, p, 1000 * p + 10 * y + x);
    TileBuffer t;
    ASSERT_EQ(read_tile(doc, {{0, 0, 2, 3}, 1, 2, 0x10000, -1}, 6, 1 << 20, t), 0);
    EXPECT_EQ(t.pixel_bytes, 4);
    EXPECT_EQ(t.row_bytes, 3 * 4 + 6);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            for (int s = 0; s < 2; ++s) {
                uint16_t v;
                std::memcpy(&v, t.bytes.data() + row * t.row_bytes + col * 4 + s * 2, 2);
                EXPECT_EQ(v, 1000 * (s + 1) + 10 * row + col);
            }
    EXPECT_EQ(read_tile(doc, {{0, 0, 1, 1}, 2, 4, 0x10000, -1}, 0, 1 << 20, t), -30100);
    EXPECT_EQ(read_tile(doc, {{0, 0, 1, 1}, 0, 0, 0, -1}, 0, 1 << 20, t), -30100);
}

TEST(TileBuffer, EmptyAndOversizedRequests) {
    const Document doc = numbered_grey(4, 4);
    TileBuffer t;
    EXPECT_EQ(read_tile(doc, {{2, 2, 2, 5}, 0, 0, 0x10000, -1}, 0, 1 << 20, t), 0);
    EXPECT_EQ(t.data(), nullptr);
    EXPECT_EQ(read_tile(doc, {{0, 0, 30000, 30000}, 0, 0, 0x10000, -1}, 0, 1 << 20, t), -108);
    EXPECT_EQ(read_tile(doc, {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 0, 0, 0x10000, -1}, 0, 1 << 20, t),
              -108);
}

// Full-rate areas inside the image with every plane are the document's own samples; every other
// request gets the same buffer, or the same error, as read_tile.
TEST(TileBuffer, WholePixelAreasInsideTheImageAreHandedOutInPlace) {
    Document doc = make_document(6, 4, 16, ColourKind::rgb, true);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 6; ++x)
            for (int p = 0; p < 4; ++p) doc.set_sample(x, y, p, 1000 * p + x + 10 * y);
    TileBuffer t;
    ASSERT_EQ(view_tile(doc, {{1, 1, 3, 4}, 0, 3, 0x10000, -1}, 0, 1 << 20, t), 0);  // top, left, bottom, right
    EXPECT_EQ(t.data(), doc.sample_address(1, 1, 0));
    EXPECT_EQ(t.row_bytes, 6 * 8);
    EXPECT_EQ(t.pixel_bytes, 8);
    EXPECT_TRUE(t.bytes.empty());
    const uint16_t written = 777;
    std::memcpy(static_cast<uint8_t*>(t.data()) + t.row_bytes + 2 * t.pixel_bytes + 2, &written, 2);
    EXPECT_EQ(doc.sample(3, 2, 1), 777);  // in place at once
    const Document before = doc;
    write_tile(t, doc);
    EXPECT_EQ(doc.pixels, before.pixels);

    const TileRequest copied[] = {
        {{1, 1, 3, 4}, 0, 2, 0x10000, -1},   // some planes only
        {{1, 1, 3, 4}, 0, 3, 0x20000, -1},   // another rate
        {{1, -1, 3, 4}, 0, 3, 0x10000, -1},  // beyond the image
        {{0, 0, 4, 6}, 0, 3, 0x10000, 300},  // no such padding
        {{0, 0, 5, 6}, 0, 3, 0x10000, -3},   // beyond the image, refused
        {{2, 2, 4, 2}, 0, 3, 0x10000, -1},   // empty
    };
    for (const TileRequest& request : copied) {
        for (int32_t padding : {0, 3}) {
            TileBuffer viewed, read;
            const size_t limit = 1 << 20;
            EXPECT_EQ(view_tile(doc, request, padding, limit, viewed), read_tile(doc, request, padding, limit, read));
            EXPECT_EQ(viewed.view, nullptr);
            EXPECT_EQ(viewed.bytes, read.bytes);
            EXPECT_EQ(viewed.row_bytes, read.row_bytes);
        }
    }
    TileBuffer padded, small;
    ASSERT_EQ(view_tile(doc, {{1, 1, 3, 4}, 0, 3, 0x10000, -1}, 2, 1 << 20, padded), 0);  // padded rows
    EXPECT_EQ(padded.view, nullptr);
    EXPECT_EQ(padded.row_bytes, 3 * 8 + 2);
    EXPECT_EQ(view_tile(doc, {{0, 0, 4, 6}, 0, 3, 0x10000, -1}, 0, 100, small), -108);  // over the limit
}

TEST(TileBuffer, MaskIsDeliveredAtItsRateAndAbsentWithoutSelection) {
    Document doc = numbered_grey(6, 6);
    TileBuffer t;
    ASSERT_EQ(read_mask_tile(doc, {{0, 0, 2, 2}, 0, 0, 0x10000, -1}, 0, 1 << 20, t), 0);
    EXPECT_EQ(t.data(), nullptr);
    doc.mask.resize(36);
    for (int i = 0; i < 36; ++i) doc.mask[i] = uint8_t(7 * i);
    ASSERT_EQ(read_mask_tile(doc, {{0, 0, 3, 3}, 0, 0, 2 << 16, -1}, 1, 1 << 20, t), 0);
    EXPECT_EQ(t.row_bytes, 4);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) EXPECT_EQ(byte_at(t, col, row), 7 * (2 * col + 6 * 2 * row));
}

// Writes come back inside the image and into the requested planes only, at every depth.
TEST(TileBuffer, WritesLandInsideTheImageAndTheRequestedPlanes) {
    for (int depth : {8, 16, 32}) {
        Document doc = make_document(3, 3, depth, ColourKind::rgb, false);
        TileBuffer t;
        ASSERT_EQ(read_tile(doc, {{-1, -1, 2, 2}, 1, 2, 0x10000, -1}, 2, 1 << 20, t), 0);
        const double value = depth == 32 ? 0.5 : 100.0;
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                for (int s = 0; s < 2; ++s) {
                    uint8_t* p = t.bytes.data() + row * t.row_bytes + col * t.pixel_bytes + s * t.sample_bytes;
                    if (depth == 8) *p = uint8_t(value);
                    if (depth == 16) { const uint16_t v = uint16_t(value); std::memcpy(p, &v, 2); }
                    if (depth == 32) { const float v = float(value); std::memcpy(p, &v, 4); }
                }
        write_tile(t, doc);
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 3; ++x) {
                const bool inside = x < 2 && y < 2;
                EXPECT_EQ(doc.sample(x, y, 0), 0) << depth;
                EXPECT_EQ(doc.sample(x, y, 1), inside ? value : 0) << depth << " " << x << "," << y;
                EXPECT_EQ(doc.sample(x, y, 2), inside ? value : 0) << depth;
            }
    }
}

TEST(TileBuffer, AutomaticMaskingBlendsBySelection) {
    Document doc = make_document(3, 1, 8, ColourKind::grey, false);
    for (int32_t x = 0; x < 3; ++x) doc.set_sample(x, 0, 0, 100);
    doc.mask = {0, 255, 128};
    const Document before = doc;
    TileBuffer t;
    ASSERT_EQ(read_tile(doc, {{0, 0, 1, 3}, 0, 0, 0x10000, -1}, 0, 1 << 20, t), 0);
    std::memset(t.bytes.data(), 200, 3);
    write_tile(t, doc, &before);
    EXPECT_EQ(doc.sample(0, 0, 0), 100);
    EXPECT_EQ(doc.sample(1, 0, 0), 200);
    EXPECT_EQ(doc.sample(2, 0, 0), 150);  // 100 + 100 × 128/255 = 150.2
}

}  // namespace
}  // namespace corvanthe::hosting
