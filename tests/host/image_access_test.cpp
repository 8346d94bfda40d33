#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "host/host_context.h"
#include "host/host_queries.h"
#include "host/host_rects.h"
#include "host/pixel_access.h"
#include "host/tile_request.h"
#include "settings/sun_settings.h"

namespace corvanthe {
namespace {

using sdk::FilterRecord;
using sdk::VRect;

// A hand-filled record over one tile of interleaved samples at (left, top) = (10, 20).
struct Tile {
    FilterRecord record{};
    std::vector<unsigned char> in, out, mask;
    VRect area{20, 10, 23, 14};  // 4 x 3 pixels

    Tile(int16_t mode, int32_t depth, int16_t planes, int bytes_per_sample) {
        record.imageMode = mode;
        record.depth = depth;
        record.planes = planes;
        record.inLoPlane = 0;
        record.inHiPlane = planes - 1;
        record.filterCase = sdk::kFilterCaseFlatImageNoSelection;
        record.inRowBytes = record.outRowBytes = 4 * planes * bytes_per_sample + 8;  // padded rows
        in.assign(3 * record.inRowBytes, 0);
        out.assign(3 * record.outRowBytes, 0);
        record.inData = in.data();
        record.outData = out.data();
        set_rect(record, HostRect::kIn, area);
        set_rect(record, HostRect::kOut, area);
    }
    unsigned char* in_at(int x, int y, int plane, int bytes) {
        return in.data() + (y - 20) * record.inRowBytes + ((x - 10) * record.planes + plane) * bytes;
    }
    unsigned char* out_at(int x, int y, int plane, int bytes) {
        return out.data() + (y - 20) * record.outRowBytes + ((x - 10) * record.planes + plane) * bytes;
    }
};

uint16_t u16(const unsigned char* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

}  // namespace

TEST(HostDepth, FollowsImageModeAndDepth) {
    struct Case {
        int16_t mode;
        int32_t depth;
        HostDepth expected;
    } cases[] = {
        {sdk::kModeGrayScale, 8, HostDepth::k8},  {sdk::kModeRGBColor, 8, HostDepth::k8},
        {sdk::kModeRGBColor, 0, HostDepth::k8},   {sdk::kModeGray16, 16, HostDepth::k16},
        {sdk::kModeRGB48, 16, HostDepth::k16},    {sdk::kModeRGB96, 32, HostDepth::k32},
        {sdk::kModeGray32, 32, HostDepth::k32},   {sdk::kModeRGBColor, 32, HostDepth::k32},
        {sdk::kModeGrayScale, 16, HostDepth::kNone}, {sdk::kModeMultichannel, 8, HostDepth::kNone},
    };
    for (const Case& c : cases) {
        FilterRecord r{};
        r.imageMode = c.mode;
        r.depth = c.depth;
        EXPECT_EQ(depth_class(r), c.expected) << "mode " << c.mode << " depth " << c.depth;
    }
}

TEST(PixelAccess, SixteenBitFullScaleIs32768BothWays) {
    Tile t(sdk::kModeRGB48, 16, 3, 2);
    const uint16_t full = 32768, half = 16384;
    std::memcpy(t.in_at(11, 21, 0, 2), &full, 2);
    std::memcpy(t.in_at(11, 21, 2, 2), &half, 2);
    PixelValue p;
    ASSERT_TRUE(read_pixel(t.record, 11, 21, t.area, true, p));
    EXPECT_EQ(p.red, 1.0f);
    EXPECT_EQ(p.green, 0.0f);
    EXPECT_EQ(p.blue, 0.5f);
    EXPECT_EQ(p.alpha, 1.0f);

    ASSERT_TRUE(write_host_pixel(t.record, 13, 22, {1.0f, 0.5f, 1.5f, 1.0f}, true));
    EXPECT_EQ(u16(t.out_at(13, 22, 0, 2)), 32768);
    EXPECT_EQ(u16(t.out_at(13, 22, 1, 2)), 16384);
    EXPECT_EQ(u16(t.out_at(13, 22, 2, 2)), 32768);  // kept inside the 16-bit range
}

TEST(PixelAccess, EightBitWritesTruncateAndStayInRange) {
    Tile t(sdk::kModeRGBColor, 8, 3, 1);
    ASSERT_TRUE(write_host_pixel(t.record, 10, 20, {0.999f, 1.0f, -0.25f, 1.0f}, true));
    EXPECT_EQ(*t.out_at(10, 20, 0, 1), 254);  // 254.745 truncated
    EXPECT_EQ(*t.out_at(10, 20, 1, 1), 255);
    EXPECT_EQ(*t.out_at(10, 20, 2, 1), 0);
    ASSERT_TRUE(write_host_pixel(t.record, 11, 20, {std::nanf(""), 1e30f, 0.5f, 1.0f}, true));
    EXPECT_EQ(*t.out_at(11, 20, 0, 1), 0);
    EXPECT_EQ(*t.out_at(11, 20, 1, 1), 255);
    EXPECT_EQ(*t.out_at(11, 20, 2, 1), 127);  // 127.5 truncated
    *t.in_at(12, 22, 1, 1) = 51;
    PixelValue p;
    ASSERT_TRUE(read_pixel(t.record, 12, 22, t.area, true, p));
    EXPECT_FLOAT_EQ(p.green, 0.2f);
}

TEST(PixelAccess, AlphaComesFromTheTransparencyPlaneOnly) {
    Tile t(sdk::kModeRGBColor, 8, 4, 1);
    *t.in_at(10, 20, 3, 1) = 0;  // a fourth plane that is not transparency
    PixelValue p;
    ASSERT_TRUE(read_pixel(t.record, 10, 20, t.area, true, p));
    EXPECT_EQ(p.alpha, 1.0f);

    t.record.filterCase = sdk::kFilterCaseEditableTransparencyWithSelection;
    t.record.inLayerPlanes = 3;
    *t.in_at(10, 20, 3, 1) = 102;
    ASSERT_TRUE(read_pixel(t.record, 10, 20, t.area, true, p));
    EXPECT_FLOAT_EQ(p.alpha, 0.4f);
    ASSERT_TRUE(write_host_pixel(t.record, 10, 20, {0.0f, 0.0f, 0.0f, 0.5f}, true));
    EXPECT_EQ(*t.out_at(10, 20, 3, 1), 127);
}

TEST(PixelAccess, GreyReadsOneSampleAndWritesGreen) {
    Tile t(sdk::kModeGrayScale, 8, 2, 1);
    t.record.filterCase = sdk::kFilterCaseEditableTransparencyNoSelection;
    t.record.inLayerPlanes = 1;
    *t.in_at(11, 20, 0, 1) = 255;
    *t.in_at(11, 20, 1, 1) = 0;
    PixelValue p;
    ASSERT_TRUE(read_pixel(t.record, 11, 20, t.area, true, p));
    EXPECT_EQ(p.red, 1.0f);
    EXPECT_EQ(p.green, 1.0f);
    EXPECT_EQ(p.blue, 1.0f);
    EXPECT_EQ(p.alpha, 0.0f);
    ASSERT_TRUE(write_host_pixel(t.record, 11, 20, {0.0f, 0.2f, 1.0f, 1.0f}, true));
    EXPECT_EQ(*t.out_at(11, 20, 0, 1), 51);
    EXPECT_EQ(*t.out_at(11, 20, 1, 1), 255);
}

TEST(PixelAccess, FloatsTravelUnscaled) {
    Tile t(sdk::kModeRGB96, 32, 3, 4);
    const float bright = 2.5f;
    std::memcpy(t.in_at(13, 22, 1, 4), &bright, 4);
    PixelValue p;
    ASSERT_TRUE(read_pixel(t.record, 13, 22, t.area, true, p));
    EXPECT_EQ(p.green, 2.5f);
    ASSERT_TRUE(write_host_pixel(t.record, 13, 22, {-0.5f, 3.0f, 0.25f, 1.0f}, true));
    float stored[3];
    std::memcpy(stored, t.out_at(13, 22, 0, 4), sizeof stored);
    EXPECT_EQ(stored[0], -0.5f);
    EXPECT_EQ(stored[1], 3.0f);
    EXPECT_EQ(stored[2], 0.25f);
}

TEST(PixelAccess, OutsideTheTileNothingIsReadOrWritten) {
    Tile t(sdk::kModeRGBColor, 8, 3, 1);
    std::memset(t.in.data(), 200, t.in.size());
    PixelValue p{0.125f, 0.125f, 0.125f, 0.125f};
    for (auto [x, y] : {std::pair{9, 20}, {14, 20}, {10, 19}, {10, 23}}) {
        EXPECT_FALSE(read_pixel(t.record, x, y, t.area, true, p));
        EXPECT_FALSE(write_host_pixel(t.record, x, y, {1, 1, 1, 1}, true));
    }
    EXPECT_EQ(p.red, 0.125f);
    EXPECT_EQ(p.alpha, 0.125f);
    EXPECT_EQ(std::vector<unsigned char>(t.out.size(), 0), t.out);
}

TEST(PixelAccess, WithoutTheRowFlagTheRowIsNotAddressed) {
    Tile t(sdk::kModeRGBColor, 8, 3, 1);
    *t.in_at(12, 20, 0, 1) = 255;
    PixelValue p;
    ASSERT_TRUE(read_pixel(t.record, 12, 22, t.area, false, p));
    EXPECT_EQ(p.red, 1.0f);
    ASSERT_TRUE(read_pixel(t.record, 12, 22, t.area, true, p));
    EXPECT_EQ(p.red, 0.0f);
}

TEST(MaskAccess, NoMaskReadsOneAndTheMaskIsScaledByRow) {
    Tile t(sdk::kModeRGBColor, 8, 3, 1);
    EXPECT_EQ(read_mask(t.record, 11, 21, t.area, true), 1.0f);
    EXPECT_EQ(read_mask(t.record, 500, -7, t.area, true), 1.0f);

    t.mask.assign(3 * 6, 0);
    t.record.maskData = t.mask.data();
    t.record.maskRowBytes = 6;
    t.mask[2 * 6 + 3] = 51;  // (13, 22)
    EXPECT_FLOAT_EQ(read_mask(t.record, 13, 22, t.area, true), 0.2f);
    EXPECT_EQ(read_mask(t.record, 13, 21, t.area, true), 0.0f);
    EXPECT_EQ(read_mask(t.record, 14, 22, t.area, true), 0.0f);  // outside the tile
}

// 8-bit samples and selection values are the exact quotients v / 255, on single reads and runs.
TEST(PixelAccess, EveryByteReadsAsItsQuotientBy255) {
    Tile t(sdk::kModeRGBColor, 8, 3, 1);
    t.mask.assign(3 * 6, 0);
    t.record.maskData = t.mask.data();
    t.record.maskRowBytes = 6;
    volatile float divisor = 255.0f;  // divided at run time, as the reference
    for (int v = 0; v < 256; ++v) {
        const float want = float(v) / divisor;
        *t.in_at(11, 21, 1, 1) = uint8_t(v);
        t.mask[1 * 6 + 1] = uint8_t(v);
        const HostPixels host = host_pixels(t.record, t.area);
        PixelValue one;
        ASSERT_TRUE(read_pixel(host, 11, 21, true, one));
        PixelValue run[2];
        float masks[2];
        read_host_run(host, 10, 21, 2, run, masks);
        for (const float got : {one.green, run[1].green, read_mask(host, 11, 21, true), masks[1]})
            ASSERT_EQ(std::memcmp(&got, &want, sizeof want), 0) << v;
    }
}

// The glue writes colour tiles in place: the SamplePiece of an area addresses exactly the
// samples and selection values that the pixel reads and writes address.
TEST(PixelAccess, ColourTilesLieOpenWhereTheyCoverTheArea) {
    Tile t(sdk::kModeRGBColor, 8, 4, 1);
    t.record.filterCase = sdk::kFilterCaseEditableTransparencyNoSelection;
    t.record.inLayerPlanes = 3;
    t.mask.assign(3 * 6, 0);
    t.record.maskData = t.mask.data();
    t.record.maskRowBytes = 6;
    SamplePiece bytes;
    ASSERT_TRUE(sample_piece_of(host_pixels(t.record, t.area), {21, 11, 23, 14}, bytes));
    EXPECT_EQ(bytes.sample_bytes, 1);
    EXPECT_EQ(bytes.in_alpha, 3);
    EXPECT_EQ(bytes.out_alpha, 3);
    for (int32_t y = 21; y < 23; ++y)
        for (int32_t x = 11; x < 14; ++x) {
            const int64_t row = y - 21, column = x - 11;
            EXPECT_EQ(bytes.in + row * bytes.in_row_bytes + column * bytes.in_pixel_bytes, t.in_at(x, y, 0, 1));
            EXPECT_EQ(bytes.out + row * bytes.out_row_bytes + column * bytes.out_pixel_bytes, t.out_at(x, y, 0, 1));
            EXPECT_EQ(bytes.mask + row * bytes.mask_row_bytes + column, &t.mask[size_t((y - 20) * 6 + x - 10)]);
        }

    // Opaque documents have no alpha sample; without a selection there is no mask.
    Tile opaque(sdk::kModeRGBColor, 8, 3, 1);
    ASSERT_TRUE(sample_piece_of(host_pixels(opaque.record, opaque.area), opaque.area, bytes));
    EXPECT_EQ(bytes.in_alpha, -1);
    EXPECT_EQ(bytes.out_alpha, -1);
    EXPECT_EQ(bytes.mask, nullptr);

    // 16-bit samples are two bytes apart.
    Tile wide(sdk::kModeRGB48, 16, 3, 2);
    ASSERT_TRUE(sample_piece_of(host_pixels(wide.record, wide.area), {22, 13, 23, 14}, bytes));
    EXPECT_EQ(bytes.sample_bytes, 2);
    EXPECT_EQ(bytes.in, wide.in_at(13, 22, 0, 2));
    EXPECT_EQ(bytes.out, wide.out_at(13, 22, 0, 2));
    EXPECT_EQ(bytes.in_pixel_bytes, 6);

    // Grey, areas the tile does not cover and tiles without output stay closed.
    Tile grey(sdk::kModeGrayScale, 8, 1, 1);
    EXPECT_FALSE(sample_piece_of(host_pixels(grey.record, grey.area), grey.area, bytes));
    EXPECT_FALSE(sample_piece_of(host_pixels(opaque.record, opaque.area), {20, 10, 23, 15}, bytes));
    EXPECT_FALSE(sample_piece_of(host_pixels(opaque.record, opaque.area), {19, 10, 22, 14}, bytes));
    EXPECT_FALSE(sample_piece_of(host_pixels(opaque.record, opaque.area), {21, 11, 21, 14}, bytes));
    set_rect(opaque.record, HostRect::kOut, {21, 10, 23, 14});
    EXPECT_FALSE(sample_piece_of(host_pixels(opaque.record, opaque.area), opaque.area, bytes));
    opaque.record.outData = nullptr;
    EXPECT_FALSE(sample_piece_of(host_pixels(opaque.record, {21, 10, 23, 14}), {21, 10, 23, 14}, bytes));
}

TEST(HostRects, BigDocumentFieldsOnlyWhenThePluginUsesThem) {
    FilterRecord r{};
    sdk::BigDocumentData big{};
    r.filterRect = {1, 2, 3, 4};
    r.floatCoord = {5, 6};
    big.filterRect32 = {100000, 200000, 300000, 400000};
    big.floatCoord32 = {70000, 80000};
    r.bigDocumentData = &big;

    EXPECT_EQ(get_rect(r, HostRect::kFilter).right, 4);
    EXPECT_EQ(float_coord(r).h, 6);
    set_rect(r, HostRect::kOut, {7, 8, 9, 10});
    EXPECT_EQ(r.outRect.bottom, 9);
    EXPECT_EQ(big.outRect32.bottom, 0);

    big.PluginUsing32BitCoordinates = 1;
    EXPECT_EQ(get_rect(r, HostRect::kFilter).right, 400000);
    EXPECT_EQ(float_coord(r).v, 70000);
    set_rect(r, HostRect::kIn, {40000, 50000, 60000, 70000});
    EXPECT_EQ(big.inRect32.left, 50000);
    EXPECT_EQ(r.inRect.left, 0);

    big.maskRect32 = {1, 1, 2, 2};
    clear_host_rects(r);
    for (const VRect& v : {big.inRect32, big.outRect32, big.maskRect32})
        EXPECT_TRUE(v.top == 0 && v.left == 0 && v.bottom == 0 && v.right == 0);
}

namespace {
int advance_calls = 0;
int16_t advance_answer = 0;
int16_t CORVANTHE_HOST_API fake_advance() {
    ++advance_calls;
    return advance_answer;
}
int32_t progress_done = -1, progress_total = -1;
void CORVANTHE_HOST_API fake_progress(int32_t done, int32_t total) {
    progress_done = done;
    progress_total = total;
}
}  // namespace

TEST(TileRequest, PreviewAtDivisorFourAsksForEveryFourthPixel) {
    FilterRecord r{};
    r.planes = 4;
    r.floatCoord = {40, 81};  // v, h
    r.isFloating = 1;
    r.haveMask = 1;
    r.autoMask = 1;
    r.inPreDummyPlanes = 2;
    SunSettings s{};
    s.scale_divisor = 4;
    s.preview_offset_x = 9;
    s.preview_offset_y = -6;
    HostContext context;
    context.record = &r;
    context.settings = &s;

    request_tile(context, {0, 0, 64, 100});
    // Shifted by floatCoord / 4 = (10, 20) and the offsets / 4 = (-1, 2), truncated toward zero.
    const VRect expected{9, 22, 73, 122};
    for (HostRect which : {HostRect::kIn, HostRect::kOut, HostRect::kMask}) {
        const VRect got = get_rect(r, which);
        EXPECT_TRUE(got.top == expected.top && got.left == expected.left && got.bottom == expected.bottom &&
                    got.right == expected.right);
    }
    EXPECT_EQ(r.inputRate, 0x00040000);
    EXPECT_EQ(r.maskRate, 0x00040000);
    EXPECT_EQ(r.inputPadding, -1);
    EXPECT_EQ(r.outputPadding, -1);
    EXPECT_EQ(r.maskPadding, -1);
    EXPECT_EQ(r.inLoPlane, 0);
    EXPECT_EQ(r.inHiPlane, 3);
    EXPECT_EQ(r.outHiPlane, 3);
    EXPECT_EQ(r.inPreDummyPlanes, 0);
    EXPECT_EQ(r.autoMask, 0);

    r.haveMask = 0;
    r.maskRect = {};
    s.scale_divisor = 1;
    s.preview_offset_x = s.preview_offset_y = 0;
    request_tile(context, {0, 0, 5, 5});
    EXPECT_EQ(r.inputRate, 0x00010000);
    EXPECT_EQ(r.inRect.top, 40);
    EXPECT_EQ(r.maskRect.bottom, 0);  // no mask, no mask rectangle

    r.isFloating = 0;  // an ordinary selection: floatCoord does not move it
    request_tile(context, {0, 0, 5, 5});
    EXPECT_EQ(r.inRect.top, 0);
    EXPECT_EQ(r.inRect.left, 0);
}

TEST(TileRequest, AdvanceKeepsTheHostsAnswerAndProgressCountsFromOne) {
    FilterRecord r{};
    int16_t result = 0;
    HostContext context;
    context.record = &r;
    context.result = &result;

    advance_calls = 0;
    EXPECT_EQ(advance(context), 1);  // no advanceState: refused, and nothing called
    EXPECT_EQ(result, 1);

    r.advanceState = fake_advance;
    advance_answer = -128;
    EXPECT_EQ(advance(context), -128);
    EXPECT_EQ(result, -128);
    advance_answer = 0;
    EXPECT_EQ(advance(context), 0);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(advance_calls, 2);

    report_progress(context, 0, 5);  // no progressProc: nothing happens
    r.progressProc = fake_progress;
    report_progress(context, 4, 9);
    EXPECT_EQ(progress_done, 5);
    EXPECT_EQ(progress_total, 9);
}

TEST(HostQueries, ColoursUseTheHighByteAndDocumentsTheirPlanes) {
    FilterRecord r{};
    r.foreground = {0xFFFF, 0x00FF, 0x3300};
    r.background = {0x8000, 0x7FFF, 0};
    const PixelValue f = foreground_pixel(r), b = background_pixel(r);
    EXPECT_EQ(f.red, 1.0f);
    EXPECT_EQ(f.green, 0.0f);
    EXPECT_FLOAT_EQ(f.blue, 0.2f);
    EXPECT_EQ(f.alpha, 1.0f);
    EXPECT_FLOAT_EQ(b.red, 128 / 255.0f);
    EXPECT_FLOAT_EQ(b.green, 127 / 255.0f);

    r.planes = 2;
    EXPECT_TRUE(is_grey(r));
    r.planes = 3;
    EXPECT_FALSE(is_grey(r));
    for (int16_t c = 1; c <= 7; ++c) {
        r.filterCase = c;
        EXPECT_EQ(has_transparency(r), c == 4 || c == 5) << c;
    }
}

// Runs of pixels against the same pixels one by one, on runs that start left of the tile,
// end right of it, miss it on either side or lie in rows above and below it: every depth,
// grey and colour, with and without transparency and a selection mask.
TEST(PixelAccess, RunsReadAndWriteWhatSinglePixelsDo) {
    struct Kind {
        int16_t mode;
        int32_t depth;
        int16_t planes;
        int bytes;
        bool transparency, mask;
    } kinds[] = {{sdk::kModeRGBColor, 8, 4, 1, true, true},   {sdk::kModeRGBColor, 8, 3, 1, false, false},
                 {sdk::kModeGray16, 16, 1, 2, false, true},   {sdk::kModeRGB48, 16, 4, 2, true, false},
                 {sdk::kModeRGB96, 32, 3, 4, false, true},    {sdk::kModeGray32, 32, 2, 4, true, false}};
    constexpr int32_t kRuns[][3] = {{7, 21, 10}, {5, 20, 6}, {12, 22, 1}, {13, 22, 4}, {0, 21, 3},
                                    {14, 21, 5}, {9, 19, 6}, {9, 23, 6}, {10, 20, 0}};
    for (const Kind& k : kinds) {
        Tile t(k.mode, k.depth, k.planes, k.bytes);
        if (k.transparency) {
            t.record.filterCase = sdk::kFilterCaseEditableTransparencyNoSelection;
            t.record.inLayerPlanes = k.planes - 1;
        }
        for (size_t i = 0; i < t.in.size(); ++i) t.in[i] = (k.bytes == 4 && i % 4 == 3) ? 0x3F : uint8_t(i * 37 + 11);
        if (k.mask) {
            t.mask.assign(3 * 6, 0);
            for (size_t i = 0; i < t.mask.size(); ++i) t.mask[i] = uint8_t(i * 53);
            t.record.maskData = t.mask.data();
            t.record.maskRowBytes = 6;
        }
        const HostPixels host = host_pixels(t.record, t.area);
        for (const auto& run : kRuns) {
            const int32_t x0 = run[0], y = run[1], count = run[2];
            const std::string where = "mode " + std::to_string(k.mode) + ", run at (" + std::to_string(x0) + ", " +
                                      std::to_string(y) + ") of " + std::to_string(count);
            const PixelValue untouched{-1, -2, -3, -4};
            std::vector<PixelValue> pixels(size_t(count), untouched);
            std::vector<float> masks(size_t(count), -1);
            read_host_run(host, x0, y, count, pixels.data(), masks.data());
            std::vector<PixelValue> written(static_cast<size_t>(count));
            for (int32_t i = 0; i < count; ++i) {
                PixelValue one = untouched;
                read_pixel(host, x0 + i, y, true, one);
                EXPECT_EQ(std::memcmp(&one, &pixels[size_t(i)], sizeof one), 0) << where << ", pixel " << i;
                EXPECT_EQ(masks[size_t(i)], read_mask(host, x0 + i, y, true)) << where << ", pixel " << i;
                written[size_t(i)] = {0.1f * float(i), 1.5f - 0.2f * float(i), 0.5f, 0.25f * float(i % 5)};
            }
            const std::vector<unsigned char> before = t.out;
            for (int32_t i = 0; i < count; ++i) write_host_pixel(host, x0 + i, y, written[size_t(i)], true);
            const std::vector<unsigned char> by_pixel = t.out;
            t.out = before;
            write_host_run(host, x0, y, count, written.data());
            EXPECT_EQ(t.out, by_pixel) << where;
        }
    }
}

}  // namespace corvanthe
