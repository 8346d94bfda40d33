// The jobs' kernel against the plain reference kernel: every cell bit for bit.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "platform/c_random.h"
#include "render/fast_kernel.h"
#include "render/golden_image.h"
#include "render/pixel_kernel.h"
#include "render/render_fixture.h"
#include "settings/random_settings.h"

namespace corvanthe {
namespace {

using namespace corvanthe::testing;

// Renders the piece with both kernels and reports the first cell where they differ.
::testing::AssertionResult same_cells(const RenderContext& context, const RenderRect& piece) {
    OwnedCellBuffer reference(piece), fast(piece);
    render_piece(context, piece, reference.buffer);
    render_piece_fast(context, piece, fast.buffer);
    for (size_t i = 0; i < reference.cells.size(); ++i)
        if (std::memcmp(&reference.cells[i], &fast.cells[i], sizeof(Cell)) != 0)
            return ::testing::AssertionFailure() << "cell " << i << " of piece (" << piece.left << ", " << piece.top
                                                 << ")-(" << piece.right << ", " << piece.bottom << ") differs";
    return ::testing::AssertionSuccess();
}

int32_t pick(std::mt19937& random, int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(random);
}

// A random request: image size, render mode, scale divisor, depth, view origin.
RenderRequest random_request(std::mt19937& random) {
    static constexpr DepthClass kDepths[] = {DepthClass::Eight, DepthClass::Sixteen, DepthClass::Float};
    RenderRequest r = full_request(pick(random, 1, 400), pick(random, 1, 300), kDepths[pick(random, 0, 2)]);
    r.render_mode = pick(random, 0, 2);
    r.scale_divisor = pick(random, 1, 8);
    if (r.render_mode != 0) {
        // A preview or picture smaller than the image, somewhere over it.
        r.rect.right = pick(random, 1, r.image_width);
        r.rect.bottom = pick(random, 1, r.image_height);
        r.view_origin_x = pick(random, -50, r.image_width);
        r.view_origin_y = pick(random, -50, r.image_height);
    }
    return r;
}

// A piece of the request's rectangle, now and then reaching past it.
RenderRect random_piece(std::mt19937& random, const RenderRect& rect) {
    const int32_t left = pick(random, rect.left - 8, rect.right), top = pick(random, rect.top - 8, rect.bottom);
    return {left, top, left + pick(random, 1, 300), top + pick(random, 1, 90)};
}

TEST(FastKernel, RandomSunsRequestsAndPiecesMatchTheReference) {
    std::mt19937 random(20261208);
    CRandom dice_random;
    dice_random.seed(77);
    for (int round = 0; round < 48; ++round) {
        SunSettings s = default_settings();
        dice(s, dice_random);
        s.sun_type = pick(random, kSunNormal, kSunEclipse);
        s.x_center = std::uniform_real_distribution<float>(-0.5f, 1.5f)(random);
        s.y_center = std::uniform_real_distribution<float>(-0.5f, 1.5f)(random);
        const RenderRequest request = random_request(random);
        const auto context = prepared(s, request);
        for (int p = 0; p < 3; ++p) {
            const RenderRect piece = random_piece(random, request.rect);
            EXPECT_TRUE(same_cells(*context, piece)) << "round " << round << ", mode " << request.render_mode
                                                     << ", divisor " << request.scale_divisor;
        }
    }
}

TEST(FastKernel, GoldenMatrixMatchesTheReference) {
    for (const GoldenCase& c : golden_cases()) EXPECT_TRUE(same_cells(*prepared(c.settings, c.request), c.area)) << c.name;
}

// The strips of hand-set spike lines: level and upright lines (a zero coefficient), negative
// coefficients, lines steeper than one pixel per row, and the widest and narrowest strips.
TEST(FastKernel, SpikeStripsOfEveryOrientation) {
    SunSettings s = default_settings();
    s.spike_count = 12;
    auto context = prepared(s, full_request(160, 120));
    static constexpr int32_t kLines[][4] = {
        {0, 300, 0, 9000},  {300, 0, 9000, 0},     {0, -1, 0, 50},       {-1, 0, 50, 0},  {7, -3, 400, 900},
        {-7, 3, -400, 900}, {1, 1, 100, 100},      {-250, 1, 3000, -7},  {1, -250, 7, 3000},
        {0, 0, 0, 0},       {301, 299, -200, 200}, {-1000, -1000, 90, 90}};
    for (int k = 0; k < 12; ++k) {
        context->spike_a[k] = kLines[k][0];
        context->spike_b[k] = kLines[k][1];
        context->spike_c[k] = kLines[k][2];
        context->spike_d[k] = kLines[k][3];
    }
    EXPECT_TRUE(same_cells(*context, {0, 0, 160, 120}));
    EXPECT_TRUE(same_cells(*context, {37, 11, 101, 90}));
}

// Short spikes whose light ends inside the image: both ends of a strip cut off by the fall along
// the line, with the last lit column (|along| exactly at the reach, fall 1) on the centre row
// where the profile is at its peak; along steps of either sign, and none (whole rows lit or dark).
// Each line is drawn 8 times so that a lost light of 1 shows in the colour.
TEST(FastKernel, SpikesEndingInsideTheImage) {
    SunSettings s = default_settings();
    s.spike_count = 48;
    auto context = prepared(s, full_request(400, 300));
    static constexpr int32_t kLines[][4] = {{1, 0, 0, 254},  {1, 0, 0, -254}, {-1, 0, 3, 400},
                                            {0, 1, 254, 0}, {1, 1, -90, 333}, {2, -1, 0, -255}};
    for (int k = 0; k < 48; ++k) {
        context->spike_a[k] = kLines[k % 6][0];
        context->spike_b[k] = kLines[k % 6][1];
        context->spike_c[k] = kLines[k % 6][2];
        context->spike_d[k] = kLines[k % 6][3];
    }
    EXPECT_TRUE(same_cells(*context, {0, 0, 400, 300}));
    EXPECT_TRUE(same_cells(*context, {5, 130, 395, 160}));
}

// Spikes whose last lit pixel is the one nearest the centre in a block of the kernel (blocks
// are 256 columns by 64 rows from the piece's corner): a block is passed over only when no pixel
// of it lies within a spike's reach. The spikes run along the row and the column through the
// centre and end 1016 pixels out, where 1016 x 32 is the reach; the other pixels of those blocks
// are out of reach, and each spike is drawn 24 times so that a light of 1 shows.
TEST(FastKernel, SpikesEndingOnTheNearestPixelOfABlock) {
    SunSettings s = default_settings();
    s.spike_count = 48;
    auto context = prepared(s, full_request(3000, 2400));
    constexpr int32_t kEnd = 1016;
    static_assert(kEnd * 32 == kSpikeAlongReach);
    for (int k = 0; k < 48; ++k) {
        const bool level = k % 2 == 0;
        context->spike_a[k] = level ? 1 : 0;
        context->spike_b[k] = level ? 0 : 1;
        context->spike_c[k] = level ? 0 : 32;
        context->spike_d[k] = level ? 32 : 0;
    }
    const int32_t cx = int32_t(context->rings.centre_x), cy = int32_t(context->rings.centre_y);
    const int32_t left = cx - kEnd - 255, top = cy - kEnd - 63;
    ASSERT_TRUE(left >= 0 && top >= 0);
    EXPECT_TRUE(same_cells(*context, {left, cy - 2, left + 300, cy + 3}));
    EXPECT_TRUE(same_cells(*context, {cx - 2, top, cx + 3, top + 130}));
}

// Hand-set flare spans, each tried at every width from none to the widest: starts below 0 and
// past a whole turn, spans that cross angle 0, spans inside one angle bucket and spans over
// many, many flares on one angle and one flare alone; bright flares, so the streak matters.
TEST(FastKernel, FlareSpansOfEveryPlacementAndWidth) {
    SunSettings s = default_settings();
    s.flare_brightness = 100;
    s.flare_radius = 100;
    s.sun_radius = 5;
    static constexpr int32_t kStarts[] = {-4096, -1, 0, 1, 63, 64, 8191, 16000, 16383, 16384, 16400, 20480};
    for (const int32_t width : {0, 1, 2, 3, 5, 64, 65, 2007, 4095, 4096}) {
        for (const int32_t count : {1, 12, 100}) {
            s.flare_count = count;
            auto context = prepared(s, full_request(120, 90));
            context->rings.flare_width = width;
            for (int n = 0; n < count; ++n) context->flare_angles[n] = kStarts[n % 12] + (n / 12) * 37;
            EXPECT_TRUE(same_cells(*context, {0, 0, 120, 90})) << "width " << width << ", " << count << " flares";
        }
    }
}

// Flares two units wide light exactly one angle: one at the first or last angle of a 64-unit
// range of angles, both as itself and a whole turn further on, finds any candidate flare
// that the kernel's search by angle leaves out at the range's edges.
TEST(FastKernel, NarrowFlaresAtTheEdgesOfAngleRanges) {
    SunSettings s = default_settings();
    s.flare_brightness = 100;
    s.flare_radius = 100;
    s.sun_radius = 5;
    constexpr int32_t kWidth = 120, kHeight = 90;
    auto context = prepared(s, full_request(kWidth, kHeight));
    context->rings.flare_width = 2;
    int count = 0;
    for (int32_t y = 0; y < kHeight && count < kFlareAngles; y += 3) {
        for (int32_t x = 0; x < kWidth && count < kFlareAngles; ++x) {
            const int64_t a = diamond_angle(context->rings.centre_x - x, context->rings.centre_y - y);
            if ((a & 63) != 0 && (a & 63) != 63) continue;
            context->flare_angles[count] = int32_t(a - 1 + (count % 2) * kTurn);
            ++count;
        }
    }
    ASSERT_GT(count, 20);
    context->rings.flare_count = count;
    EXPECT_TRUE(same_cells(*context, {0, 0, kWidth, kHeight}));
}

// A centre far outside the image, and pieces so far from it that the strips fall back to
// the plain sum, still match.
TEST(FastKernel, FarCentreAndFarPiecesMatchTheReference) {
    SunSettings s = default_settings();
    s.x_center = 1e6f;
    s.y_center = -3e5f;
    const auto context = prepared(s, full_request(3000, 2000));
    EXPECT_TRUE(same_cells(*context, {0, 0, 40, 30}));
    EXPECT_TRUE(same_cells(*context, {2960, 1970, 3000, 2000}));
    EXPECT_TRUE(same_cells(*context, {-2000000000, 5, -1999999960, 35}));
    EXPECT_TRUE(same_cells(*context, {100, 2000000000, 140, 2000000030}));
}

}  // namespace
}  // namespace corvanthe
